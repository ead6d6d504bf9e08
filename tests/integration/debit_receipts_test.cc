// Consumer debit receipts and the cancellation of a credit purchase through
// the loaded driver: the texts the fiscal printer received, the receipts it
// registered and the debug-log steps.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "credit_fixture.h"
#include "host/codepage.h"

namespace zel {
namespace {

using ::testing::Contains;
using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::IsEmpty;
using ::testing::Not;

using S = const std::string&;
using DebitoConsFn = bool(S, const Variant&, double, S, S, S, S, S, S, double, double, double, S);
using ImpDebitoFn = void(S, S, S, S, S, S, S, double, double, Dataset&);
using CancelaFn = bool(S, S, S, S, S, std::string&, S, S, S, S, S, double, double, S);

const std::string kRule(48, '-');
const std::string kBlank48(48, ' ');

std::string Left(const std::string& text, std::size_t n) {
  return text.size() >= n ? text.substr(0, n) : text + std::string(n - text.size(), ' ');
}
std::string Right(const std::string& text, std::size_t n) {
  return text.size() >= n ? text.substr(0, n) : std::string(n - text.size(), ' ') + text;
}
std::string Centred(const std::string& text) {
  const std::size_t room = 48 - text.size();
  return std::string(room / 2, ' ') + text + std::string(room - room / 2, ' ');
}

class DebitReceiptsTest : public CreditFixture {
 protected:
  Variant Products() {
    Dataset products = MakeTable("cdsProdutos",
                                 {{"CDARVPROD", FieldType::kText, 20},
                                  {"NMPRODUTO", FieldType::kText, 40},
                                  {"QTPRODCOMVEN", FieldType::kFloat, 0},
                                  {"VRPRECCOMVEN", FieldType::kFloat, 0}},
                                 {{"7891000", "SUCO LARANJA 300ML", 3.0, 3.333}});
    return products.Data();
  }
  bool Debito(double total, const std::string& mode, const std::string& ticket = "42",
              double subsidy = 1.5, double complement = 2.0) {
    return Op<DebitoConsFn>("Comp_DebitoCons")("006", Products(), total, "Cartao", "123", "ANA",
                                               "55", "EMPRESA X", ticket, 20.0, subsidy, complement,
                                               mode);
  }
};

const std::string kDebitHeading = "\n" + Centred("Venda - Debito Consumidor") + "\n" + kRule +
                                  "\nCliente: 55\n" + std::string(9, ' ') + "EMPRESA X\n" + kRule +
                                  "\nMatricula: 123\nConsumidor..: ANA\n" + kRule + "\n" +
                                  Centred("Produtos da Venda") + "\n" + kBlank48 +
                                  "\nCODIGO     NOME          QTDE   VR.UNIT. VR.TOT.\n";
// 3 x 3.333 is 9.999, truncated to 9.99.
const std::string kProductLine =
    Left("7891000 SUCO LARANJA  3,00", 30) + "  " + Right("3,33", 8) + Right("9,99", 8) + "\n";

TEST_F(DebitReceiptsTest, ADebitReceiptWithBalanceSubsidyAndComplement) {
  EXPECT_TRUE(Debito(9.99, "1"));

  EXPECT_THAT(
      PrintedPieces(),
      ElementsAre(kDebitHeading, kProductLine,
                  kBlank48 + "\n" + Left("Total Geral", 15) + Right("9,99", 33) + "\n" + kRule +
                      "\nSENHA PEDIDO:  42\r\n\nSaldo Final : R$ 13,51\n" +
                      Utf8ToCp1252("Preço subsidiado: R$ 1,50") + "Valor complemento: R$ 2,00"));
  EXPECT_THAT(FiscalCalls("Bematech_FI_RecebimentoNaoFiscal"),
              ElementsAre("Bematech_FI_RecebimentoNaoFiscal|02|00000000000001|Cartao"));
  EXPECT_THAT(FiscalCalls("Bematech_FI_AbreComprovanteNaoFiscalVinculado"),
              ElementsAre("Bematech_FI_AbreComprovanteNaoFiscalVinculado|Cartao||"));
  EXPECT_EQ(FiscalCalls("Bematech_FI_FechaRelatorioGerencial").size(), 1u);
}

TEST_F(DebitReceiptsTest, ModeTwoAndNoTicketLeaveTheirLinesOut) {
  EXPECT_TRUE(Debito(9.99, "2", "", 0, 0));

  EXPECT_EQ(PrintedPieces().back(),
            kBlank48 + "\n" + Left("Total Geral", 15) + Right("9,99", 33) + "\n" + kRule + "\n\n");
}

TEST_F(DebitReceiptsTest, ATotalThatRoundsToZeroPrintsNothing) {
  for (double total : {0.0, 0.004, -3.0}) {
    EXPECT_TRUE(Debito(total, "1")) << total;
  }
  EXPECT_THAT(SimJournal(), IsEmpty());
}

// A refused line must not leave the receipt open (it would hold the
// printer until the next start); the answer stays false.
TEST_F(DebitReceiptsTest, ARefusedLineClosesTheReceiptAndAnswersFalse) {
  Sim<void(const char*, int, int)>("EcfSim_FailEntry")(
      "Bematech_FI_UsaComprovanteNaoFiscalVinculado", -2, 1);

  EXPECT_FALSE(Debito(9.99, "1"));

  EXPECT_EQ(FiscalCalls("Bematech_FI_UsaComprovanteNaoFiscalVinculado").size(), 1u)
      << "no product after the refused heading";
  EXPECT_EQ(FiscalCalls("Bematech_FI_FechaRelatorioGerencial").size(), 1u);
  EXPECT_EQ(SimFigure("document"), 0);
}

class DebitTicketTest : public DebitReceiptsTest {
 protected:
  Dataset items_ = MakeTable("cdsItens",
                             {{"QTPRODCOMVEN", FieldType::kFloat, 0},
                              {"VRPRECCOMVEN", FieldType::kFloat, 0},
                              {"VRDESCCOMVEN", FieldType::kFloat, 0},
                              {"NMPRODUTO", FieldType::kText, 40}},
                             {{3.0, 3.333, 0.0, "SUCO"}, {1.0, 5.0, 0.5, "PAO"}});
  void Print(const std::string& ticket) {
    Op<ImpDebitoFn>("ImpDebito_Consumidor")("", "", "006", ticket, "ANA", "Caixa 1", "obs", 20.0,
                                            5.0, items_);
  }
  // The log entries of the ticket's own steps.
  std::vector<std::string> StepEntries() {
    std::vector<std::string> steps;
    for (const std::string& entry : LogEntries()) {
      if (entry.rfind("Bematech_FI_", 0) != 0 && !entry.empty()) steps.push_back(entry);
    }
    return steps;
  }
};

TEST_F(DebitTicketTest, TicketTextAndItsLogSteps) {
  Print("42");

  const std::string totals = Right("Total", 20) + "  " + Right("14,49", 24) + "\n\n";
  const std::string date = "Fecha: 07/12/2026 Hora: 10:05:07\n";
  const std::string consumer = kRule + "\nConsumidor  : ANA\n";
  const std::string balance = "Saldo Final :  10,51\n";
  const std::string cashier = "Caixa 1\n\n";
  const std::string ticket = Utf8ToCp1252("seña: 42\n");
  EXPECT_THAT(PrintedPieces(),
              ElementsAre("\n" + Left("3", 5) + Left("SUCO", 29) + "  " + Right("9,99", 10) + "\n",
                          Left("1", 5) + Left("PAO", 29) + "  " + Right("4,5", 10) + "\n",
                          totals + date + consumer + balance + cashier + ticket,
                          kRule + "\nobs\n\n", "Zelvora PDV (11)5555-0123 www.zelvora.example\n"));
  EXPECT_EQ(FiscalCalls("Bematech_FI_RelatorioGerencial").size(), 1u);
  auto crlf = [](std::string text) {
    std::string out;
    for (char c : text) out += c == '\n' ? std::string("\r\n") : std::string(1, c);
    return Cp1252ToUtf8(out);
  };
  EXPECT_THAT(
      StepEntries(),
      ElementsAre(
          "Inicia - Debito_Consumidor", "imprimindo Produto Venda_Item",
          "imprimindo Produto Venda_Item", crlf("imprime o total da venda" + totals),
          crlf("imprime a data e hora debito consumidor " + totals + date),
          crlf("Nome do consumidor ImpDebito_Consumidor" + totals + date + consumer),
          crlf("Saldo do consumidor ImpDebito_Consumidor" + totals + date + consumer + balance),
          crlf("Cajero: ImpDebito_Consumidor" + totals + date + consumer + balance + cashier),
          crlf("imprime a senha do cupom" + totals + date + consumer + balance + cashier + ticket),
          "Obs cupom - Isent_Simpl", "Fim - ImpDebito_Consumidor"));
}

TEST_F(DebitTicketTest, WithoutTicketTheTicketLineAndItsStepAreLeftOut) {
  Print("");

  EXPECT_THAT(PrintedText(), Not(HasSubstr(Utf8ToCp1252("seña"))));
  EXPECT_THAT(StepEntries(), Not(Contains(HasSubstr("imprime a senha do cupom"))));
}

TEST_F(DebitReceiptsTest, CancellationPrintsItsReceiptThenTakesTheAmountOut) {
  std::string number = "old";

  EXPECT_TRUE(Op<CancelaFn>("Cancela_Cred_Pessoal")("04", "", "", "", "006", number, "000123", "55",
                                                    "ANA", "", "Dinheiro", 25.5, 4.5, "SILVA"));

  EXPECT_EQ(number, std::string(6 - std::to_string(SimFigure("coo") - 2).size(), '0') +
                        std::to_string(SimFigure("coo") - 2))
      << "the number of the one-cent receipt";
  EXPECT_THAT(PrintedPieces(),
              ElementsAre("\n" + Centred("CANCELAMENTO DE COMPRA DE CREDITO") + "\n" + kRule +
                          "\n\n" + Utf8ToCp1252("Cancelamento do depósito: 000123\n") + kBlank48 +
                          "\nCliente: 55\nConsumidor: ANA\nFamilia.....: SILVA\n"
                          "Valor ......: R$ 25,50\nSaldo Final : R$ 4,50\n"));
  EXPECT_THAT(FiscalCalls("Bematech_FI_RecebimentoNaoFiscal"),
              ElementsAre("Bematech_FI_RecebimentoNaoFiscal|02|00000000000001|Rel Gerencial",
                          "Bematech_FI_RecebimentoNaoFiscal|04|00000000002550|Dinheiro"));
}

TEST_F(DebitReceiptsTest, ARefusedFirstReceiptStopsTheCancellation) {
  Sim<void(const char*, int, int)>("EcfSim_FailEntry")("Bematech_FI_RecebimentoNaoFiscal", -2, 1);
  std::string number = "old";

  EXPECT_FALSE(Op<CancelaFn>("Cancela_Cred_Pessoal")(
      "04", "", "", "", "006", number, "000123", "55", "ANA", "", "Dinheiro", 25.5, 4.5, "SILVA"));

  EXPECT_EQ(number, "old");
  EXPECT_EQ(FiscalCalls("Bematech_FI_RecebimentoNaoFiscal").size(), 1u);
  EXPECT_THAT(PrintedPieces(), IsEmpty());
}

}  // namespace
}  // namespace zel
