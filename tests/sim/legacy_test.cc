// The older interface: frames, their status and reply, and the commands the
// driver sends through it.
#include <string>

#include "printer_fixture.h"

namespace ecfsim_test {
namespace {

using LegacyTest = PrinterTest;

std::string Frame(const std::string& fields) { return "\x1b|" + fields + "|\x1b"; }

int Send(const std::string& fields) { return BemaFormataTX(Frame(fields).c_str()); }

struct OldStatus {
  int reply = -1, ack = -1, st1 = -1, st2 = -1;
};

OldStatus ReadOldStatus() {
  OldStatus s;
  EXPECT_EQ(BemaStatus_Mp20FI(&s.reply, &s.ack, &s.st1, &s.st2), 0);
  return s;
}

std::string Reply() {
  std::string buffer(3000, ' ');
  EXPECT_EQ(BemaLe_Variaveis(buffer.data()), 0);
  return buffer.substr(0, buffer.find_last_not_of(' ') + 1);
}

TEST_F(LegacyTest, StatusRequestIsAnswered) {
  ASSERT_EQ(Send("19"), 0);
  OldStatus s = ReadOldStatus();
  EXPECT_EQ(s.reply, 0);
  EXPECT_EQ(s.ack, 6);
  EXPECT_EQ(s.st1, 0);
  EXPECT_EQ(Reply(), "06000000");
  OpenCoupon();
  ASSERT_EQ(Send("19"), 0);
  EXPECT_EQ(ReadOldStatus().st1, 2);
  EXPECT_EQ(Reply(), "06002000");
  std::string codes(3000, ' ');
  ASSERT_EQ(BemaRetorna_ASCII(codes.data()), 0);
  EXPECT_EQ(codes.substr(0, 7), "048 054");
}

TEST_F(LegacyTest, CancelCommandCancelsTheOpenCoupon) {
  OpenCoupon();
  Sell("01", "5,000", "1,000");
  ASSERT_EQ(Send("14"), 0);
  EXPECT_EQ(ReadOldStatus().st1, 0);
  EXPECT_EQ(Figure("document"), 0);
  EXPECT_EQ(Figure("cfc"), 1);
  EXPECT_EQ(Figure("cancellations"), 500);
  ASSERT_EQ(Send("14"), 0);  // answered, but nothing left to cancel
  EXPECT_EQ(ReadOldStatus().st2, 4);
}

TEST_F(LegacyTest, MalformedFramesAndUnknownCommands) {
  EXPECT_EQ(BemaFormataTX("|19|"), -2);
  EXPECT_EQ(BemaFormataTX(nullptr), -2);
  ASSERT_EQ(Send("99"), 0);
  EXPECT_EQ(ReadOldStatus().st1, 4);
  ASSERT_EQ(Send("19|X"), 0);
  EXPECT_EQ(ReadOldStatus().st1, 1);
  EXPECT_EQ(BemaFechaPorta(), 0);
  EXPECT_EQ(BemaIniPortaStr("COM1"), 0);
}

TEST_F(LegacyTest, DroppedReplyShowsInTheReplyFlag) {
  EcfSim_DropReply("BemaFormataTX", 1);
  EXPECT_EQ(Send("19"), 1);
  EXPECT_EQ(ReadOldStatus().reply, 1);
  EXPECT_EQ(Send("19"), 0);
  EXPECT_EQ(ReadOldStatus().reply, 0);
}

TEST_F(LegacyTest, SurchargeReversalAndReceiptCommands) {
  OpenCoupon();
  Sell("01", "10,000", "1,000");
  ASSERT_EQ(Send("62|50|0000000150"), 0);
  EXPECT_EQ(ReadOldStatus().st2, 0);
  EXPECT_EQ(Figure("surcharges"), 150);
  CloseWithCash("11,50");
  ASSERT_EQ(Bematech_FI_ProgramaFormaPagamentoMFD("Cartao", "1"), 1);
  ASSERT_EQ(Send("74|Dinheiro|Cartao|0250"), 0);
  std::string forms = Out(Bematech_FI_VerificaFormasPagamento, 3016);
  EXPECT_EQ(forms.substr(16, 20), "00000000000000000900");
  EXPECT_EQ(forms.substr(38 + 16, 20), "00000000000000000250");
  ASSERT_EQ(Send("74|Dinheiro|Cartao|9999"), 0);  // more than the cash there is
  EXPECT_EQ(ReadOldStatus().st2, 1);
  ASSERT_EQ(Bematech_FI_NomeiaTotalizadorNaoSujeitoIcms(1, "CONTRA-VALE"), 1);
  ASSERT_EQ(Send("10|01|00000000001000"), 0);
  std::string receipts = Out(Bematech_FI_VerificaRecebimentoNaoFiscal, 1319);
  EXPECT_EQ(receipts.substr(0, 24), "0001" + std::string("00000000000000001000"));
}

TEST_F(LegacyTest, TableCommandsKeepTablesAndOpenACoupon) {
  // Register: table, price(8), rate, discount(8), quantity(6), code(14), name(17), unit.
  ASSERT_EQ(Send("80|48|0012|00000350|01|00000000|002000|00000000000123|REFRIGERANTE|UN"), 0);
  ASSERT_EQ(Send("80|48|0012|00002500|02|00000000|001000|00000000000456|PRATO DO DIA|UN"), 0);
  EXPECT_EQ(ReadOldStatus().st2, 0);
  ASSERT_EQ(Send("80|48|0012|00002500|09|00000000|001000|00000000000456|PRATO|UN"), 0);
  EXPECT_EQ(ReadOldStatus().st2, 16);  // rate 09 not programmed
  // Cancel one soft drink; the code comes fitted to 14 columns.
  ASSERT_EQ(Send("80|49|12  |00000350|01|00000000|001000|123           |REFRIGERANTE|UN"), 0);
  EXPECT_EQ(ReadOldStatus().st2, 0);
  ASSERT_EQ(Send("80|49|12  |00000350|01|00000000|005000|123           |REFRIGERANTE|UN"), 0);
  EXPECT_EQ(ReadOldStatus().st2, 4);      // not that many left
  ASSERT_EQ(Send("80|50|12|2|1000"), 0);  // check with 10 % service
  EXPECT_EQ(Figure("cer"), 1);
  std::string tape = ReadFile("tape.txt");
  EXPECT_NE(tape.find("CONFERÊNCIA DE MESA"), std::string::npos);
  EXPECT_NE(tape.find("TAXA DE SERVIÇO R$"), std::string::npos);
  ASSERT_EQ(Send("80|52|12|"), 0);
  EXPECT_EQ(Figure("document"), 1);
  EXPECT_EQ(Figure("gross_sales"), 350 + 2500);
  ASSERT_EQ(Send("80|52|12|"), 0);  // the table is gone
  EXPECT_EQ(ReadOldStatus().st2, 1);
}

TEST_F(LegacyTest, TablesCanBeJoinedTransferredAndListed) {
  ASSERT_EQ(Send("80|48|1|00000100|01|00000000|003000|1|AGUA|UN"), 0);
  ASSERT_EQ(Send("80|53|1|0000|2|00000100|002000|1|AGUA|01|UN"), 0);  // two waters to table 2
  EXPECT_EQ(ReadOldStatus().st2, 0);
  ASSERT_EQ(Send("80|51|2|1"), 0);  // table 2 joins table 1
  ASSERT_EQ(Send("80|54|"), 0);
  std::string tape = ReadFile("tape.txt");
  EXPECT_NE(tape.find("MESA 1 (2 itens)"), std::string::npos);
  EXPECT_EQ(tape.find("MESA 2 ("), std::string::npos);
  ASSERT_EQ(Send("80|58|1|00000000000300"), 0);
  ASSERT_EQ(Send("80|51|1|3"), 0);
  EXPECT_EQ(ReadOldStatus().st2, 1);  // table 1 was closed
  ASSERT_EQ(Send("80|55"), 0);
  EXPECT_NE(ReadFile("tape.txt").find("CARDÁPIO"), std::string::npos);
}

}  // namespace
}  // namespace ecfsim_test
