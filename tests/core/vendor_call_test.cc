#include "core/vendor_call.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "core/vendor_table.h"
#include "fake_fiscal_entries.h"
#include "host/codepage.h"
#include "support/test_env.h"
#include "zel/debug_log.h"

namespace zel {
namespace {

using ::testing::ElementsAre;

// What the fake entries below received.
struct Received {
  std::vector<std::string> texts;  // "<null>" for a null pointer
  int index = 0;
};
Received g_received;

std::string Seen(const char* text) { return text == nullptr ? "<null>" : text; }

int FakeAbreComprovante(const char* form, const char* value, const char* coo) {
  g_received.texts = {Seen(form), Seen(value), Seen(coo)};
  return 1;
}

int FakeNumeroCupom(char* coo) {
  std::memcpy(coo, "000123", 6);
  return 1;
}

int FakeDataHora(char* date, char* time) {
  std::memcpy(date, "071226", 6);
  std::memcpy(time, "100507", 6);
  return -27;
}

int FakeEstadoGaveta(int* state) {
  g_received.index = *state;
  *state = 0;
  return 1;
}

int FakeNomeiaTotalizador(int index, const char* name) {
  g_received.index = index;
  g_received.texts = {Seen(name)};
  return 1;
}

class VendorCallTest : public ::testing::Test {
 protected:
  VendorCallTest() { g_received = {}; }
  ~VendorCallTest() override { Zel00101::StopImpFiscal(); }

  TestEnv env_;
  ScopedCurrentEnv use_env_{&env_};
};

TEST_F(VendorCallTest, BlanksMakeAnOutBufferOfTheWidth) {
  EXPECT_EQ(Blanks(6), "      ");
  EXPECT_EQ(Blanks(0), "");
}

TEST_F(VendorCallTest, TextsGoZeroTerminatedAndEmptyTextsAsNullPointers) {
  Zel00101::Bematech_FI_AbreComprovanteNaoFiscalVinculado = FakeAbreComprovante;
  const std::string form = "Dinheiro";
  EXPECT_EQ(
      CallVendor(Zel00101::Bematech_FI_AbreComprovanteNaoFiscalVinculado, form, std::string(), ""),
      1);
  EXPECT_THAT(g_received.texts, ElementsAre("Dinheiro", "<null>", "<null>"));

  // A temporary text lives through the call.
  CallVendor(Zel00101::Bematech_FI_AbreComprovanteNaoFiscalVinculado, form.substr(0, 3), "12,50",
             std::string("000123"));
  EXPECT_THAT(g_received.texts, ElementsAre("Din", "12,50", "000123"));
}

TEST_F(VendorCallTest, OutBuffersAreFilledInPlace) {
  Zel00101::Bematech_FI_NumeroCupom = FakeNumeroCupom;
  std::string coo = Blanks(6);
  EXPECT_EQ(CallVendor(Zel00101::Bematech_FI_NumeroCupom, coo), 1);
  EXPECT_EQ(coo, "000123");

  Zel00101::Bematech_FI_DataHoraImpressora = FakeDataHora;
  std::string date = Blanks(6), time = Blanks(6);
  EXPECT_EQ(CallVendor(Zel00101::Bematech_FI_DataHoraImpressora, date, time), -27);
  EXPECT_EQ(date + time, "071226100507");
}

TEST_F(VendorCallTest, IntegersGoByValueAndOutIntegersByAddress) {
  Zel00101::Bematech_FI_VerificaEstadoGaveta = FakeEstadoGaveta;
  int state = 1;
  CallVendor(Zel00101::Bematech_FI_VerificaEstadoGaveta, state);
  EXPECT_EQ(g_received.index, 1);  // the preset value reached the entry
  EXPECT_EQ(state, 0);

  Zel00101::Bematech_FI_NomeiaTotalizadorNaoSujeitoIcms = FakeNomeiaTotalizador;
  CallVendor(Zel00101::Bematech_FI_NomeiaTotalizadorNaoSujeitoIcms, 7, "Cred Pessoal");
  EXPECT_EQ(g_received.index, 7);
  EXPECT_THAT(g_received.texts, ElementsAre("Cred Pessoal"));
}

TEST_F(VendorCallTest, EmptyEntryAnswersLikeAPrinterThatDoesNotAnswer) {
  Zel00101::StopImpFiscal();
  std::string coo = Blanks(6);
  EXPECT_EQ(CallVendor(Zel00101::Bematech_FI_NumeroCupom, coo), kVendorNoAnswer);
  EXPECT_EQ(coo, "      ");
  int ack = 0, st1 = 0, st2 = 0;
  EXPECT_EQ(CallVendor(Zel00101::Bematech_FI_RetornoImpressora, ack, st1, st2), 0);
  EXPECT_EQ(CallVendor(Zel00101::Bematech_FI_LeituraX), 0);
  // 0 is success in the older interface, so there "no answer" must be 1.
  EXPECT_EQ(CallOlderInterface(Zel00101::BemaFechaPorta), 1);
  EXPECT_EQ(CallOlderInterface(Zel00101::BemaFormataTX, "\x1b|19|\x1b"), 1);
}

TEST_F(VendorCallTest, CallLinesNameTheEntryAndJoinTheArguments) {
  EXPECT_EQ(CallLine("Bematech_FI_LeituraX", {}), "Bematech_FI_LeituraX");
  EXPECT_EQ(CallLine("Bematech_FI_CancelaItemGenerico", {"003"}),
            "Bematech_FI_CancelaItemGenerico : 003");
  EXPECT_EQ(CallLine("Bematech_FI_RecebimentoNaoFiscal", {"01", "0,01", "Dinheiro"}),
            "Bematech_FI_RecebimentoNaoFiscal : 01 - 0,01 - Dinheiro");
  // Empty arguments keep their separators.
  EXPECT_EQ(CallLine("Bematech_FI_AbreComprovanteNaoFiscalVinculado", {"Dinheiro", "", ""}),
            "Bematech_FI_AbreComprovanteNaoFiscalVinculado : Dinheiro -  - ");
  EXPECT_EQ(CallLine("Bematech_FI_CancelaItemGenerico", {""}),
            "Bematech_FI_CancelaItemGenerico : ");
}

TEST_F(VendorCallTest, ReplyLineShowsTheBufferOnTheNextLine) {
  EXPECT_EQ(ReplyLine("Bematech_FI_NumeroCaixa", "0001"),
            "Bematech_FI_NumeroCaixa\r\nRetorno da Impressora : 0001");
  EXPECT_EQ(ReplyLine("Bematech_FI_NumeroSerieMFD : ", "   "),
            "Bematech_FI_NumeroSerieMFD : \r\nRetorno da Impressora :    ");
}

TEST_F(VendorCallTest, LogLinesAreOneEntryEachEvenAcrossLineBreaks) {
  LogReply("Bematech_FI_NumeroCaixa", "0001");
  LogCall("Bematech_FI_Suprimento", {"10,00", "Dinheiro"});
  LogCall("Bematech_FI_LeituraX");
  const std::string raw = env_.ReadFile(DebugLogPath(env_.Now()));
  EXPECT_EQ(raw,
            "07/12/2026 10:05:07 - Bematech_FI_NumeroCaixa\r\nRetorno da Impressora : 0001\r\n"
            "07/12/2026 10:05:07 - Bematech_FI_Suprimento : 10,00 - Dinheiro\r\n"
            "07/12/2026 10:05:07 - Bematech_FI_LeituraX\r\n");
}

TEST_F(VendorCallTest, LogLinesKeepTheDriversCodePage) {
  LogCall("Bematech_FI_UsaComprovanteNaoFiscalVinculado", {Utf8ToCp1252("Crédito")});
  EXPECT_THAT(DebugLogEntries(env_),
              ElementsAre("Bematech_FI_UsaComprovanteNaoFiscalVinculado : Crédito"));
}

}  // namespace
}  // namespace zel
