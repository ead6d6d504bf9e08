// The withdrawal receipt, the operator's and the general closing report and
// the closing questions (GeraReciboSangria), through the loaded driver
// against the simulated printer.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

#include "closing_fixture.h"

namespace zel {
namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::IsEmpty;

using GeraReciboSangriaFn = bool(const std::string&, const std::string&, const std::string&,
                                 const std::string&, const std::string&, std::int32_t, std::string&,
                                 Dataset&, Dataset&, Dataset&, Dataset&, Dataset&, Dataset&,
                                 Dataset&, DateTime, bool, bool, bool, Dataset&, Dataset&, Dataset&,
                                 Dataset&, bool&, Dataset&, const std::string&, const std::string&,
                                 const std::string&, const std::string&, const std::string&, bool,
                                 bool, bool);

constexpr char kScheme[] = "009";
const std::string kRule(48, '-');

std::string L(const std::string& text, std::size_t width) {
  const std::string cp = Cp(text);
  return cp.substr(0, width) + std::string(width - std::min(width, cp.size()), ' ');
}
std::string R(const std::string& text, std::size_t width) {
  return std::string(width - text.size(), ' ') + text;
}
std::string Centre(const std::string& text, std::size_t width) {
  const std::size_t left = (width - text.size()) / 2;
  return std::string(left, ' ') + text + std::string(width - text.size() - left, ' ');
}

// Every argument of one call, with a host's usual values.
struct ClosingArguments {
  std::string document;
  Dataset handed_in = ClosingMovements({});
  Dataset withdrawals{"Sangrias"};
  Dataset products = Products({});
  Dataset people = OperatorAndSupervisor();
  Dataset totals = TillMovements({});
  Dataset opening = TillMovements({});
  Dataset day_products = Products({});
  bool print_receipt = false;
  bool confirm_reduction = false;
  Dataset reduction{"RedZ"}, reduction_payments{"FormRedZ"}, reduction_taxes{"ImpostoRedZ"},
      reduction_totalizers{"TotNFis"};
  bool reduction_confirmed = false;
  Dataset payment_types{"TiposRece"};
  std::string product_mode = "N", grouping = "N", x_reading = "N", envelope = "N";
  bool withdrawal_only = false, continuation = false, ask_reduction = false;
};

class WithdrawalClosingTest : public ClosingFixture {
 protected:
  bool Close(ClosingArguments& a) {
    return Op<GeraReciboSangriaFn>("GeraReciboSangria")(
        "r1", "t2", "t3", "t4", "r5", 6, a.document, a.handed_in, a.withdrawals, a.products,
        a.people, a.totals, a.opening, a.day_products, DateTime{}, a.print_receipt,
        a.confirm_reduction, false, a.reduction, a.reduction_payments, a.reduction_taxes,
        a.reduction_totalizers, a.reduction_confirmed, a.payment_types, a.product_mode, a.grouping,
        a.x_reading, a.envelope, kScheme, a.withdrawal_only, a.continuation, a.ask_reduction);
  }
};

std::vector<HandedIn> SevenEnvelopes() {
  std::vector<HandedIn> rows;
  for (int i = 1; i <= 7; ++i) {
    rows.push_back(
        {"00000" + std::to_string(i), "TIPO " + std::to_string(i), i * 10.0, i * 10.0 + 0.5});
  }
  return rows;
}

TEST_F(WithdrawalClosingTest, NothingButTheCloseWithoutReceiptForAWithdrawalOnly) {
  ClosingArguments a;
  a.withdrawal_only = true;

  EXPECT_FALSE(Close(a));

  EXPECT_THAT(Steps(), ElementsAre("close"));
  EXPECT_THAT(host_.dialogs, IsEmpty());
}

TEST_F(WithdrawalClosingTest, TwoCopiesWithSevenLinesAndTheExtraLineFeed) {
  ClosingArguments a;
  a.handed_in = ClosingMovements(SevenEnvelopes());
  a.print_receipt = true;
  a.withdrawal_only = true;
  a.envelope = "S";
  const long long coo = SimFigure("coo");

  EXPECT_FALSE(Close(a));

  std::vector<std::string> expected;
  for (int copy = 1; copy <= 2; ++copy) {
    expected.push_back(
        std::string(copy == 1 ? "\n" : "") +
        Centre(copy == 1 ? "RECIBO SAIDA NUMERARIO" : "SAIDA DE NUMERARIO - SANGRIA", 48) + "\n" +
        kRule + "\nNR.ENV " + L("MODALIDADE", 25) + " " + R("VALOR", 15) + "\n");
    for (int i = 1; i <= 7; ++i) {
      // a withdrawal on its own shows the counted values
      expected.push_back("00000" + std::to_string(i) + " " + L("TIPO " + std::to_string(i), 25) +
                         " " + R(std::to_string(i * 10) + ",50", 15) + "\n");
    }
    // copy 1: the counter reaches 13 after its total, a line feed more
    expected.push_back(L("TOTAL SANGRIAS", 27) + R("283,50", 15) + "\n\n" +
                       (copy == 1 ? "\n" : "") + kRule + "\n" +
                       (copy == 1 ? "Supervisor : 01 BRUNO\n" : "Operador : 07 ANA\n"));
  }
  EXPECT_EQ(Pieces(), expected);
  std::vector<std::string> steps = {"receipt", "open"};
  steps.insert(steps.end(), 18, "piece");
  steps.push_back("close");
  EXPECT_EQ(Steps(), steps);
  EXPECT_EQ(a.document, SixDigits(coo + 1));
  EXPECT_EQ(ExtendedStatus(), 0);
  EXPECT_FALSE(a.reduction_confirmed);
}

TEST_F(WithdrawalClosingTest, NoEnvelopesGiveHeadersZeroTotalsAndSignatures) {
  ClosingArguments a;
  a.print_receipt = true;
  a.withdrawal_only = true;

  Close(a);

  const std::vector<std::string> pieces = Pieces();
  ASSERT_EQ(pieces.size(), 4u);
  EXPECT_THAT(pieces[0], HasSubstr(L("MODALIDADE", 25) + " " + R("VALOR", 15) + "\n"));
  EXPECT_EQ(pieces[1],
            L("TOTAL SANGRIAS", 27) + R("0,00", 15) + "\n\n" + kRule + "\nSupervisor : 01 BRUNO\n");
  // The counter runs on: 13 after the second copy's total.
  EXPECT_EQ(pieces[3],
            L("TOTAL SANGRIAS", 27) + R("0,00", 15) + "\n\n\n" + kRule + "\nOperador : 07 ANA\n");
}

TEST_F(WithdrawalClosingTest, AnXReadingFirstGivesItsNumberToTheHost) {
  ClosingArguments a;
  a.print_receipt = true;
  a.withdrawal_only = true;
  a.x_reading = "S";
  a.document = "999999";
  const long long coo = SimFigure("coo");

  Close(a);

  EXPECT_EQ(Steps().front(), "x");
  EXPECT_EQ(a.document, SixDigits(coo + 1)) << "the reading's, not the receipt's";
}

// The closing report's lines after its movement lines.
std::string ClosingTotals(const std::string& received, const std::string& issued,
                          const std::string& supply, const std::string& withdrawals,
                          const std::string& result_label, const std::string& result) {
  return L("CONTRA-VALE RECEBIDO(+)", 33) + R(received, 15) + "\n" +
         L("CONTRA-VALE EMITIDO(-)", 33) + R(issued, 15) + "\n" + L("SUPRIMENTO(-)", 33) +
         R(supply, 15) + "\n" + kRule + "\n" + L("TOTAL SANGRIAS", 33) + R(withdrawals, 15) +
         "\n\n" + L(result_label, 33) + R(result, 15) + "\n";
}

TEST_F(WithdrawalClosingTest, WithdrawalOperatorClosingAndContinuationEndToEnd) {
  ClosingArguments a;
  a.handed_in = ClosingMovements(SevenEnvelopes());  // informed: 280,00
  a.print_receipt = true;
  a.products = Products({{"1", "ARROZ", 2, 40}, {"2", "FEIJAO", 1, 15}});
  a.opening = TillMovements({{"1", "SANGRIA MANHA", 30},
                             {"5", "SANGRIA TARDE", 12.5},
                             {"2", "VALE", 5},
                             {"2", "VALE", 7},  // only the last voucher issued counts
                             {"3", "TROCO", 100},
                             {"4", "VALE RECEBIDO", 3}});
  a.totals = TillMovements({{"1", "SANGRIAS DO DIA", 50}, {"3", "TROCO", 100}});
  a.confirm_reduction = a.ask_reduction = true;
  host_.ScriptAnswers({false, true, false});  // open again? no; Z? yes; reports? no
  const long long coo = SimFigure("coo");

  EXPECT_FALSE(Close(a));

  EXPECT_THAT(Dialogs(), ElementsAre("Deseja abrir o caixa?", "Confirma impressão da redução z?",
                                     "Confirma impressão dos relatórios de fechamento?"));
  EXPECT_EQ(host_.dialogs[1], (RecordedDialog{Cp("Confirma impressão da redução z?"), "", "N", "S",
                                              1, "", kScheme, 0, false}));
  EXPECT_TRUE(a.reduction_confirmed);
  EXPECT_EQ(a.reduction.FieldIndex("NRECFREDZ"), 0);
  EXPECT_TRUE(a.reduction.IsEmpty());
  EXPECT_GE(a.reduction_totalizers.FieldIndex("VRACUTOTNFIS"), 0);
  EXPECT_EQ(a.document, SixDigits(coo + 1)) << "the withdrawal receipt's number";

  std::vector<std::string> steps = {"receipt", "open"};
  steps.insert(steps.end(), 18, "piece");
  // the product report closes the receipt and prints in its own
  for (const char* step : {"close", "receipt", "open", "piece", "piece", "piece", "piece", "close",
                           "receipt", "open", "piece", "piece", "piece", "piece", "close"}) {
    steps.push_back(step);
  }
  EXPECT_EQ(Steps(), steps);
  const std::vector<std::string> pieces = Pieces();
  ASSERT_EQ(pieces.size(), 26u);
  // 280 handed in + 42,50 earlier withdrawals + 3 received - 100 supply - 7
  // issued = 218,50 against 55 sold.
  EXPECT_THAT(std::vector<std::string>(pieces.end() - 4, pieces.end()),
              ElementsAre(Centre("RELATORIO DE FECHAMENTO", 47) + "\n\n" + L("TOTAL VENDAS", 35) +
                              R("55,00", 13) + "\n" + kRule + "\n",
                          L("SANGRIA MANHA", 33) + R("30,00", 15) + "\n",
                          L("SANGRIA TARDE", 33) + R("12,50", 15) + "\n",
                          ClosingTotals("3,00", "7,00", "100,00", "218,50", "SOBRA", "163,50")));
  EXPECT_EQ(ExtendedStatus(), 0);

  // The continuation: the previous datasets stand, only the reports'
  // question is asked, and the general report follows.
  ClosingArguments next;
  next.continuation = true;
  next.totals = TillMovements({{"1", "SANGRIAS DO DIA", 50}, {"3", "TROCO", 100}});
  next.day_products = Products({{"1", "ARROZ", 4, 80}});
  next.confirm_reduction = next.ask_reduction = true;
  host_.dialogs.clear();
  host_.ScriptAnswers({true});
  ClearSimJournal();

  EXPECT_FALSE(Close(next));

  EXPECT_THAT(Dialogs(), ElementsAre("Confirma impressão dos relatórios de fechamento?"));
  EXPECT_FALSE(next.reduction_confirmed);
  const std::vector<std::string> general = Pieces();
  ASSERT_GE(general.size(), 3u);
  EXPECT_THAT(std::vector<std::string>(general.end() - 3, general.end()),
              ElementsAre(Centre("RELATORIO DE FECHAMENTO GERAL", 47) + "\n\n" +
                              L("TOTAL VENDAS", 35) + R("80,00", 13) + "\n" + kRule + "\n",
                          L("SANGRIAS DO DIA", 33) + R("50,00", 15) + "\n",
                          ClosingTotals("0,00", "0,00", "100,00", "-50,00", "FALTA", "-130,00")));
  EXPECT_EQ(ExtendedStatus(), 0);
}

struct DifferenceCase {
  std::vector<TillMovement> totals;
  double sold;
  std::string label, amount;
};

class DifferenceTest : public WithdrawalClosingTest,
                       public ::testing::WithParamInterface<DifferenceCase> {};

TEST_P(DifferenceTest, SurplusOrShortageInCents) {
  ClosingArguments a;
  a.products = Products({{"1", "A", 1, GetParam().sold}});
  a.product_mode = "X";  // no product report: the closing report opens its own receipt
  a.totals = TillMovements({{"9", "IGNORED", 1}});
  a.opening = TillMovements(GetParam().totals);

  Close(a);

  EXPECT_THAT(Steps(), ElementsAre("receipt", "open", "piece", "piece", "piece", "piece", "close"));
  EXPECT_THAT(Pieces().back(), HasSubstr(L(GetParam().label, 33) + R(GetParam().amount, 15)));
}

INSTANTIATE_TEST_SUITE_P(
    Differences, DifferenceTest,
    ::testing::Values(
        // 0,1 + 0,2 against 0,3: exactly even, whatever the binary crumbs say
        DifferenceCase{{{"1", "A", 0.1}, {"5", "B", 0.2}}, 0.3, "SOBRA", "0,00"},
        DifferenceCase{{{"1", "A", 10}, {"5", "B", 5}}, 12, "SOBRA", "3,00"},
        DifferenceCase{{{"1", "A", 10}, {"5", "B", 5}}, 16.25, "FALTA", "-1,25"}));

struct QuestionCase {
  bool continuation, reduction_wanted;
  std::vector<bool> answers;
  std::vector<std::string> asked;
  bool result, reduction_confirmed, general_report;
};

class QuestionsTest : public WithdrawalClosingTest,
                      public ::testing::WithParamInterface<QuestionCase> {};

TEST_P(QuestionsTest, AskTheClosingQuestionsInOrder) {
  const QuestionCase& c = GetParam();
  ClosingArguments a;
  a.continuation = c.continuation;
  a.confirm_reduction = a.ask_reduction = c.reduction_wanted;
  a.totals = TillMovements({{"3", "TROCO", 10}});
  for (bool answer : c.answers) host_.ScriptAnswers({answer});

  EXPECT_EQ(Close(a), c.result);

  EXPECT_EQ(Dialogs(), c.asked);
  EXPECT_EQ(a.reduction_confirmed, c.reduction_confirmed);
  bool general = false;
  for (const std::string& piece : Pieces()) general |= piece.find("GERAL") != std::string::npos;
  EXPECT_EQ(general, c.general_report);
  EXPECT_EQ(ExtendedStatus(), 0);
}

const char kOpen[] = "Deseja abrir o caixa?";
const char kZ[] = "Confirma impressão da redução z?";
const char kReports[] = "Confirma impressão dos relatórios de fechamento?";

INSTANTIATE_TEST_SUITE_P(
    Answers, QuestionsTest,
    ::testing::Values(
        QuestionCase{false, true, {true}, {kOpen}, true, false, false},
        QuestionCase{false, false, {false}, {kOpen}, false, false, false},
        QuestionCase{false, true, {false, false}, {kOpen, kZ}, false, false, false},
        QuestionCase{false, true, {false, true, true}, {kOpen, kZ, kReports}, false, true, true},
        QuestionCase{true, true, {true}, {kReports}, false, false, true}));

TEST_F(WithdrawalClosingTest, AReceiptThatDidNotOpenStillCountsAndTheReportGetsItsOwn) {
  ClosingArguments a;
  a.handed_in = ClosingMovements({{"000001", "DINHEIRO", 40, 40}});
  a.print_receipt = true;
  a.product_mode = "X";
  a.products = Products({{"1", "A", 1, 40}});
  a.totals = TillMovements({{"3", "TROCO", 0}});
  Sim<void(const char*, int, int)>("EcfSim_FailEntry")(
      "Bematech_FI_AbreComprovanteNaoFiscalVinculado", 0, 1);

  Close(a);

  // No copies without the receipt; the closing report opens a receipt of
  // its own instead of printing into none, and the cash handed in counts.
  EXPECT_THAT(Steps(),
              ElementsAre("receipt", "open", "receipt", "open", "piece", "piece", "close"));
  EXPECT_THAT(Pieces().back(), HasSubstr(L("TOTAL SANGRIAS", 33) + R("40,00", 15)));
  EXPECT_THAT(Pieces().back(), HasSubstr(L("SOBRA", 33) + R("0,00", 15)));
  EXPECT_EQ(ExtendedStatus(), 0);
}

TEST_F(WithdrawalClosingTest, NoDocumentIsLeftOpenWithoutMovementTotals) {
  ClosingArguments a;
  a.handed_in = ClosingMovements({{"000001", "DINHEIRO", 10, 10}});
  a.print_receipt = true;
  a.product_mode = "S";
  host_.ScriptAnswers({false, false});  // no product report; do not open again

  Close(a);

  EXPECT_THAT(Dialogs(), ElementsAre("Confirma impressão do Relatório de Produtos?", kOpen));
  EXPECT_EQ(Steps().back(), "close");
  EXPECT_EQ(ExtendedStatus(), 0);
}

TEST_F(WithdrawalClosingTest, BadInputIsRefusedBeforeAnythingIsPrinted) {
  struct BadCase {
    const char* named;
    void (*spoil)(ClosingArguments&);
  } cases[] = {
      {"cdsOperadorSup", [](ClosingArguments& a) { a.people = OperatorAndSupervisor(false); }},
      {"VRSAIDA",
       [](ClosingArguments& a) {
         a.totals = Dataset("Movimentos");
         a.totals.SetFieldDefs({{"IDTIPOREG", FieldType::kText, 1},
                                {"NMTIPORECE", FieldType::kText, 10},
                                {"VRSAIDA", FieldType::kText, 10}});
         a.totals.CreateDataSet();
         a.totals.Append();
         a.totals.SetValue("VRSAIDA", "muito");
         a.totals.Post();
       }},
      {"VRTOTAL",
       [](ClosingArguments& a) {
         a.products = Dataset("Produtos");
         a.products.SetFieldDefs({{"CDPRODUTO", FieldType::kText, 5}});
         a.products.CreateDataSet();
         a.products.Append();
         a.products.Post();
         a.product_mode = "X";
       }},
  };
  for (const BadCase& c : cases) {
    SCOPED_TRACE(c.named);
    ClosingArguments a;
    a.print_receipt = true;
    a.handed_in = ClosingMovements({{"000001", "DINHEIRO", 10, 10}});
    c.spoil(a);
    try {
      Close(a);
      ADD_FAILURE() << "no error";
    } catch (const std::exception& error) {
      EXPECT_THAT(error.what(), HasSubstr(c.named));
    }
    EXPECT_THAT(SimJournal(), IsEmpty());
    EXPECT_THAT(host_.dialogs, IsEmpty());
  }
}

}  // namespace
}  // namespace zel
