#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>

#include "core/data_module.h"
#include "fake_fiscal_entries.h"
#include "fake_start_entries.h"
#include "host/codepage.h"
#include "support/recording_host.h"
#include "support/test_env.h"
#include "zel/operations.h"

namespace zel {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

constexpr char kScheme[] = "004";
const char kDataDif[] =
    "Data da impressora fiscal difere da data do sistema em mais de 15 minutos.";

class PrinterClockTest : public ::testing::Test {
 protected:
  PrinterClockTest() {
    EnsureDataModule();
    env_.SetNow(EncodeDateTime({.year = 2026, .month = 12, .day = 7, .hour = 10, .minute = 5}));
  }

  // VerificaData on a printer text, without reading the printer.
  bool Check(std::string printer_text, const std::string& movement = "") {
    return Zel00101::VerificaData(kScheme, date_, printer_text, movement, false);
  }
  RecordedDialog DataDifDialog() {
    return RecordedDialog{Utf8ToCp1252(kDataDif), "", "N", "N", 3, "", kScheme, 0, false};
  }
  DateTime Today() { return EncodeDate(2026, 12, 7); }

  TestEnv env_;
  ScopedCurrentEnv use_env_{&env_};
  JournalingHost host_;
  ScopedHost use_host_{&host_};
  FakeFiscalPrinter printer_;
  FakeStartPrinter start_;
  DateTime date_{-1};
};

TEST_F(PrinterClockTest, FifteenMinutesEitherWayIsAccepted) {
  EXPECT_TRUE(Check("0712261020"));
  EXPECT_TRUE(Check("071226095000"));
  EXPECT_THAT(host_.dialogs, IsEmpty());
}

TEST_F(PrinterClockTest, SixteenMinutesEitherWayFailsWithDataDif) {
  EXPECT_FALSE(Check("071226102100"));
  EXPECT_FALSE(Check("071226094900"));
  EXPECT_THAT(host_.dialogs, ElementsAre(DataDifDialog(), DataDifDialog()));
}

TEST_F(PrinterClockTest, HoursApartFail) {
  EXPECT_FALSE(Check("071226120500"));
  EXPECT_FALSE(Check("071226000000"));
  EXPECT_EQ(host_.dialogs.size(), 2u);
}

// Read as hours and minutes alone, a whole day apart looks like no
// difference at all; it must fail like any other wrong clock.
TEST_F(PrinterClockTest, ADayOrMoreApartFails) {
  EXPECT_FALSE(Check("081226100500"));
  EXPECT_FALSE(Check("061226100500"));
  EXPECT_FALSE(Check("081226101000"));
  EXPECT_FALSE(Check("071227100500"));
  EXPECT_THAT(host_.dialogs,
              ElementsAre(DataDifDialog(), DataDifDialog(), DataDifDialog(), DataDifDialog()));
}

TEST_F(PrinterClockTest, APrinterDateThatIsNoDateFails) {
  for (const char* text :
       {"320126100500", "071326100500", "0712261", "07122610x500", "            "}) {
    host_.dialogs.clear();
    EXPECT_FALSE(Check(text)) << text;
    EXPECT_THAT(host_.dialogs, ElementsAre(DataDifDialog())) << text;
  }
}

TEST_F(PrinterClockTest, NoPrinterTextChecksNothing) {
  EXPECT_TRUE(Check(""));
  EXPECT_THAT(host_.dialogs, IsEmpty());
  EXPECT_THAT(printer_.journal, IsEmpty());
  EXPECT_EQ(date_, Today());
}

TEST_F(PrinterClockTest, MovementDateTakesTheCurrentCentury) {
  EXPECT_TRUE(Check("", "311299"));
  EXPECT_EQ(date_, EncodeDate(2099, 12, 31));
  EXPECT_TRUE(Check("071226100500", "050126"));
  EXPECT_EQ(date_, EncodeDate(2026, 1, 5));
}

TEST_F(PrinterClockTest, InvalidMovementDateGivesTodayAndKeepsTheVerdict) {
  EXPECT_TRUE(Check("", "310226"));
  EXPECT_EQ(date_, Today());
  EXPECT_FALSE(Check("071226110500", "ab"));
  EXPECT_EQ(date_, Today());
}

TEST_F(PrinterClockTest, DataImpReadsLogsAndAnalysesWithDialogs) {
  start_.date = "071226";
  start_.time = "101112";
  std::string date_time = "junk";
  EXPECT_TRUE(Zel00101::Data_Imp(kScheme, date_time));
  EXPECT_EQ(date_time, "071226101112");
  EXPECT_THAT(printer_.journal, ElementsAre("DataHoraImpressora", "RetornoImpressora"));
  EXPECT_THAT(
      DebugLogEntries(env_),
      ElementsAre("Bematech_FI_DataHoraImpressora\r\nRetorno da Impressora : 071226101112", ""));

  start_.clock_result = 0;
  EXPECT_FALSE(Zel00101::Data_Imp(kScheme, date_time));
  EXPECT_THAT(host_.DialogTexts(), ElementsAre(Utf8ToCp1252("Erro de comunicação.")));
}

TEST_F(PrinterClockTest, ReadingThePrinterChecksItsClock) {
  start_.time = "102200";
  std::string date_time;
  EXPECT_FALSE(Zel00101::VerificaData(kScheme, date_, date_time, "", true));
  EXPECT_EQ(date_time, "071226102200");
  EXPECT_THAT(host_.dialogs, ElementsAre(DataDifDialog()));

  host_.dialogs.clear();
  start_.time = "100900";
  EXPECT_TRUE(Zel00101::VerificaData(kScheme, date_, date_time, "", true));
  EXPECT_THAT(host_.dialogs, IsEmpty());
}

TEST_F(PrinterClockTest, AFailedReadingEndsTheCheckWithoutDataDif) {
  start_.clock_result = -1;
  std::string date_time;
  date_ = DateTime{-5};
  EXPECT_FALSE(Zel00101::VerificaData(kScheme, date_, date_time, "010126", true));
  EXPECT_THAT(host_.DialogTexts(), ElementsAre(Utf8ToCp1252("Erro de execução na função.")));
  EXPECT_EQ(date_, DateTime{-5});  // the check ended before the date
}

}  // namespace
}  // namespace zel
