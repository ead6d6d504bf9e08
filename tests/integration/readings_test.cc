// The X and Z readings, the fiscal-memory readings, the movement date and
// the daylight-saving mode, through the loaded driver against the simulated
// printer.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "host/codepage.h"
#include "support/driver_fixture.h"
#include "zel/date_time.h"

namespace zel {
namespace {

using ::testing::Contains;
using ::testing::ElementsAre;
using ::testing::IsEmpty;

using ReadingFn = bool(const std::string&, const std::string&, const std::string&);
using SchemeFn = bool(const std::string&);

constexpr char kScheme[] = "004";

class ReadingsTest : public DriverFixture {
 protected:
  void SetUp() override {
    DriverFixture::SetUp();
    BindPrinterEntries();
  }

  void FailEntry(const char* entry, int code, int times = 1) {
    Sim<void(const char*, int, int)>("EcfSim_FailEntry")(entry, code, times);
  }
  // Opens the printer's fiscal day with a supply registered directly.
  void OpenFiscalDay() {
    ASSERT_EQ(Sim<int(const char*, const char*)>("Bematech_FI_Suprimento")("10,00", "Dinheiro"), 1);
    ASSERT_NE(SimFigure("movement_date"), 0);
  }
  // The printer's movement date as it reports it, DDMMYY.
  std::string SimMovementDate() {
    const long long yyyymmdd = SimFigure("movement_date");
    char text[64];
    std::snprintf(text, sizeof text, "%02lld%02lld%02lld", yyyymmdd % 100, yyyymmdd / 100 % 100,
                  yyyymmdd / 10000 % 100);
    return text;
  }
  // The dialogs shown, in UTF-8.
  std::vector<std::string> Dialogs() {
    std::vector<std::string> texts;
    for (const std::string& text : host_.DialogTexts()) texts.push_back(Cp1252ToUtf8(text));
    return texts;
  }
  DateTime DataMoviFiscal() { return Op<DateTime(const std::string&)>("DataMoviFiscal")(kScheme); }
};

TEST_F(ReadingsTest, LeituraXPrintsTheReadingAndLogsTheEntry) {
  ClearSimJournal();

  EXPECT_TRUE(Op<ReadingFn>("Leitura_X_Imp")("ignored", kScheme, "ignored"));

  EXPECT_THAT(SimJournal(), ElementsAre("Bematech_FI_LeituraX", "Bematech_FI_RetornoImpressora"));
  EXPECT_THAT(LogEntries(), ElementsAre("Bematech_FI_LeituraX", ""));
  EXPECT_THAT(host_.dialogs, IsEmpty());
}

TEST_F(ReadingsTest, LeituraXFailureIsShownInTheCallersColours) {
  FailEntry("Bematech_FI_LeituraX", -6);

  EXPECT_FALSE(Op<ReadingFn>("Leitura_X_Imp")("", kScheme, ""));

  ASSERT_EQ(host_.dialogs.size(), 1u);
  EXPECT_EQ(host_.dialogs[0].colour_scheme, kScheme);
  EXPECT_THAT(LogEntries(), Contains("ERRO!!! Impressora desligada ou desconectada."));
}

TEST_F(ReadingsTest, ReducaoZKeepsTheMovementDateAndReducesOnThePrinterClock) {
  OpenFiscalDay();
  const std::string movement = SimMovementDate();
  const long long reductions = SimFigure("crz");
  ClearSimJournal();

  EXPECT_TRUE(Op<ReadingFn>("Reducao_Z_Imp")("", kScheme, ""));

  EXPECT_EQ(Var<std::string>("stDataCat"), movement);
  EXPECT_EQ(SimFigure("crz"), reductions + 1);
  // Date and time go empty: the printer uses its own clock.
  EXPECT_THAT(SimJournal(), ElementsAre("Bematech_FI_DataMovimento", "Bematech_FI_ReducaoZ||",
                                        "Bematech_FI_RetornoImpressora"));
  EXPECT_THAT(LogEntries(), ElementsAre("Bematech_FI_ReducaoZ;", ""));
}

TEST_F(ReadingsTest, ReducaoZUpdatesTheDateEvenWhenTheReductionFails) {
  OpenFiscalDay();
  Var<std::string>("stDataCat") = "left";
  FailEntry("Bematech_FI_ReducaoZ", -2);

  EXPECT_FALSE(Op<ReadingFn>("Reducao_Z_Imp")("", kScheme, ""));

  EXPECT_EQ(Var<std::string>("stDataCat"), SimMovementDate());
  EXPECT_EQ(SimFigure("crz"), 0);
  EXPECT_THAT(Dialogs(), ElementsAre("Parâmetro inválido."));
}

TEST_F(ReadingsTest, DadosUltimaRedZWritesOverTheFrontOfTheHostsText) {
  OpenFiscalDay();
  ASSERT_TRUE(Op<ReadingFn>("Reducao_Z_Imp")("", kScheme, ""));
  std::string expected(1278, ' ');
  ASSERT_EQ(Sim<int(char*)>("Bematech_FI_DadosUltimaReducaoMFD")(expected.data()), 1);
  std::string data = "abc";

  EXPECT_TRUE(Op<bool(const std::string&, std::string&)>("DadosUltimaRedZ")(kScheme, data));

  // The buffer was the host's three characters followed by 1278 blanks.
  ASSERT_EQ(data.size(), 3u + 1278u);
  EXPECT_EQ(data.substr(0, 1278), expected);
  EXPECT_EQ(data.substr(1278), "   ");
  EXPECT_THAT(LogEntries(), Contains("Bematech_FI_DadosUltimaReducaoMFD"));
}

TEST_F(ReadingsTest, DataMoviFiscalWithoutAnOpenDayIsToday) {
  ASSERT_EQ(SimFigure("movement_date"), 0);

  EXPECT_EQ(DataMoviFiscal(), EncodeDate(2026, 12, 7));  // the pinned clock's day

  EXPECT_THAT(LogEntries(),
              ElementsAre("Bematech_FI_DataMovimento\r\nRetorno da Impressora : 000000", ""));
}

TEST_F(ReadingsTest, DataMoviFiscalTakesTheCenturyFromTheComputer) {
  // The printer's clock at noon of 31/12/2099; the computer is in 2026.
  const auto now = std::chrono::system_clock::now();
  const auto target =
      std::chrono::sys_days{std::chrono::year{2099} / 12 / 31} + std::chrono::hours{12};
  Sim<void(long long)>("EcfSim_SetClockOffset")(
      std::chrono::duration_cast<std::chrono::seconds>(target - now).count());
  OpenFiscalDay();
  ASSERT_EQ(SimMovementDate(), "311299");

  EXPECT_EQ(DataMoviFiscal(), EncodeDate(2099, 12, 31));
}

TEST_F(ReadingsTest, DataMoviFiscalNeverFailsAndShowsNothing) {
  OpenFiscalDay();
  FailEntry("Bematech_FI_DataMovimento", 0);

  EXPECT_EQ(DataMoviFiscal(), EncodeDate(2026, 12, 7));

  EXPECT_THAT(host_.dialogs, IsEmpty());
  EXPECT_THAT(LogEntries(), Contains("ERRO!!! Erro de comunicação."));
}

using MemoryFn = bool(const std::string&, const std::string&, const std::string&,
                      const std::string&, const std::string&);

TEST_F(ReadingsTest, MemoriaFiscalByDateOrByReductionPassesTheLimitsAsGiven) {
  OpenFiscalDay();
  ASSERT_TRUE(Op<ReadingFn>("Reducao_Z_Imp")("", kScheme, ""));
  const std::string today = Var<std::string>("stDataCat");
  ClearSimJournal();

  EXPECT_TRUE(Op<MemoryFn>("Memoria_Fiscal_Imp")(kScheme, "D", today, today, "x"));
  EXPECT_TRUE(Op<MemoryFn>("Memoria_Fiscal_Imp")(kScheme, "R", "1", "1", "x"));

  EXPECT_THAT(
      SimJournal(),
      ElementsAre("Bematech_FI_LeituraMemoriaFiscalData|" + today + "|" + today,
                  "Bematech_FI_RetornoImpressora", "Bematech_FI_LeituraMemoriaFiscalReducao|1|1",
                  "Bematech_FI_RetornoImpressora"));
  EXPECT_THAT(LogEntries(),
              Contains("Bematech_FI_LeituraMemoriaFiscalData : " + today + " - " + today));
  EXPECT_THAT(LogEntries(), Contains("Bematech_FI_LeituraMemoriaFiscalReducao : 1 - 1"));
}

TEST_F(ReadingsTest, MemoriaFiscalOfAnotherKindSendsNothing) {
  for (const char* kind : {"d", "r", "", "DR", "X"}) {
    EXPECT_FALSE(Op<MemoryFn>("Memoria_Fiscal_Imp")(kScheme, kind, "010126", "311226", "")) << kind;
  }
  EXPECT_THAT(SimJournal(), IsEmpty());
  EXPECT_THAT(LogEntries(), IsEmpty());
}

TEST_F(ReadingsTest, DaylightSavingIsReadFromTheFlagsAndToggled) {
  EXPECT_FALSE(Op<SchemeFn>("Estado_HorVerao")(kScheme));

  EXPECT_TRUE(Op<SchemeFn>("Muda_Horario")(kScheme));

  EXPECT_EQ(SimFigure("daylight_saving"), 1);
  EXPECT_TRUE(Op<SchemeFn>("Estado_HorVerao")(kScheme));
  EXPECT_THAT(LogEntries(), Contains("Bematech_FI_ProgramaHorarioVerao"));
  EXPECT_THAT(LogEntries(), Contains("Bematech_FI_FlagsFiscais\r\nRetorno da Impressora : 0"));
  EXPECT_THAT(LogEntries(), Contains("Bematech_FI_FlagsFiscais\r\nRetorno da Impressora : 4"));
}

TEST_F(ReadingsTest, DaylightSavingFailuresFollowTheirOwnDialogRules) {
  FailEntry("Bematech_FI_FlagsFiscais", 0);
  EXPECT_FALSE(Op<SchemeFn>("Estado_HorVerao")(kScheme));
  EXPECT_THAT(Dialogs(), ElementsAre("Erro de comunicação."));

  FailEntry("Bematech_FI_ProgramaHorarioVerao", -1);
  EXPECT_FALSE(Op<SchemeFn>("Muda_Horario")(kScheme));
  EXPECT_EQ(host_.dialogs.size(), 1u) << "Muda_Horario only logs";
  EXPECT_THAT(LogEntries(), Contains("ERRO!!! Erro de execução na função."));
  EXPECT_EQ(SimFigure("daylight_saving"), 0);
}

}  // namespace
}  // namespace zel
