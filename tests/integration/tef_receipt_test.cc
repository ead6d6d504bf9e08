// The card-payment (TEF) receipts through the loaded driver, right after a
// coupon paid by card on the simulated printer: what the printer was sent
// and in which document, the pauses between copies, the operator's retry
// questions, and that no document is left open.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "host/codepage.h"
#include "support/sale_fixture.h"

namespace zel {
namespace {

using ::testing::Contains;
using ::testing::ElementsAre;
using ::testing::ElementsAreArray;
using ::testing::HasSubstr;
using ::testing::IsEmpty;
using ::testing::Not;

using Texts = std::vector<std::string>;
using ImprimeTefFn = bool(const std::string&, const Texts*, const Texts*, const Texts*,
                          const Texts*, const std::string&, const std::string&, const std::string&,
                          double, double, std::int32_t, const std::string&);
using TextEntry = int (*)(const char*);

constexpr char kScheme[] = "031";
constexpr char kUse[] = "Bematech_FI_UsaComprovanteNaoFiscalVinculado";
constexpr char kOpenLinked[] = "Bematech_FI_AbreComprovanteNaoFiscalVinculado";
constexpr char kOpenReport[] = "Bematech_FI_RelatorioGerencial";
constexpr char kClose[] = "Bematech_FI_FechaRelatorioGerencial";
constexpr char kRetry[] = "Impressora não responde. Imprimir novamente?";

const Texts kCustomer = {"VIA CLIENTE\nVISA 1\n", "VIA CLIENTE\nVISA 2\n"};
const Texts kShop = {"VIA LOJA\nVISA 1\n", "VIA LOJA\nVISA 2\n"};

// Stands in for the driver's print entry: the Nth call (from 1) fails once.
struct FailNthLine {
  static inline TextEntry printer_entry = nullptr;
  static inline void (*fail_entry)(const char*, int, int) = nullptr;
  static inline int calls = 0;
  static inline int failing_call = 0;
  static int Entry(const char* text) {
    if (++calls == failing_call) fail_entry(kUse, 0, 1);
    return printer_entry(text);
  }
};

class TefReceiptTest : public SaleFixture {
 protected:
  // A coupon of 30,00 paid by card, whose slips the tests print.
  void SetUp() override {
    SaleFixture::SetUp();
    BindPrinterEntries();
    const auto two = Sim<int(const char*, const char*)>("Bematech_FI_ProgramaFormaPagamentoMFD");
    ASSERT_EQ(two("Cartao de credit", "1"), 1);
    ASSERT_EQ(
        Sim<int(const char*, const char*, const char*)>("Bematech_FI_AbreCupomMFD")("", "", ""), 1);
    ASSERT_EQ(Sim<int(const char*, const char*, const char*, const char*, const char*, const char*,
                      const char*, const char*, const char*)>("Bematech_FI_VendeItemDepartamento")(
                  "789", "PRODUTO", "01", "30,000", "1,000", "00", "00000000", "01", "UN"),
              1);
    ASSERT_EQ(Sim<int(const char*, const char*, const char*)>("Bematech_FI_IniciaFechamentoCupom")(
                  "d", "$", "0"),
              1);
    ASSERT_EQ(Sim<int(const char*, const char*)>("Bematech_FI_EfetuaFormaPagamento")(
                  "Cartao de credit", "30,00"),
              1);
    ASSERT_EQ(Sim<int(const char*)>("Bematech_FI_TerminaFechamentoCupom")("Obrigado"), 1);
    ClearSimJournal();
  }

  bool Print(const Texts* first, const Texts* second, std::int32_t mode = 0,
             const std::string& linked = "N", const std::string& number = "") {
    return Op<ImprimeTefFn>("ImprimeTef")(kScheme, first, second, nullptr, nullptr, number,
                                          "Cartao de credito Visa", "", 30.0, 0, mode, linked);
  }

  void FailNthPrintedLine(int nth) {
    FailNthLine::printer_entry = Sim<int(const char*)>(kUse);
    FailNthLine::fail_entry = Sim<void(const char*, int, int)>("EcfSim_FailEntry");
    FailNthLine::calls = 0;
    FailNthLine::failing_call = nth;
    Var<TextEntry>(kUse) = &FailNthLine::Entry;
  }

  // The lines sent to the printer, in order.
  std::vector<std::string> Printed() {
    std::vector<std::string> lines;
    for (const std::string& call : Calls(kUse)) lines.push_back(call.substr(sizeof kUse));
    return lines;
  }

  // The printer's calls without the status reads around them and the return
  // analysis's leaving of TEF mode.
  std::vector<std::string> Documents() {
    std::vector<std::string> calls;
    for (const std::string& call : SimJournal()) {
      if (call != "Bematech_FI_RetornoImpressora" && !call.starts_with(kUse) &&
          call != "Bematech_FI_StatusEstendidoMFD" && call != "Bematech_FI_DataMovimento" &&
          call != "Bematech_FI_FinalizaModoTEF") {
        calls.push_back(call);
      }
    }
    return calls;
  }

  int RetryQuestions() {
    int questions = 0;
    for (const RecordedDialog& dialog : host_.dialogs) {
      if (Cp1252ToUtf8(dialog.text) == kRetry) {
        ++questions;
        EXPECT_EQ(dialog.question, "S");
        EXPECT_EQ(dialog.kind, 3);
        EXPECT_EQ(dialog.colour_scheme, kScheme);
      }
    }
    return questions;
  }

  std::string Coo() {
    char text[16];
    std::snprintf(text, sizeof text, "%06lld", SimFigure("coo"));
    return text;
  }
};

TEST_F(TefReceiptTest, LinkedReceiptPrintsBothCopiesOfEveryTransactionLineByLine) {
  const std::string coupon = Coo();

  EXPECT_TRUE(Print(&kCustomer, &kShop));

  EXPECT_THAT(Documents(), ElementsAre("Bematech_FI_NumeroCupom",
                                       std::string(kOpenLinked) + "|Cartao de credit||", kClose));
  EXPECT_THAT(Printed(), ElementsAre("VIA CLIENTE\n", "VISA 1\n", "VIA LOJA\n", "VISA 1\n",
                                     "VIA CLIENTE\n", "VISA 2\n", "VIA LOJA\n", "VISA 2\n"));
  EXPECT_THAT(host_.delays, ElementsAre(4, 4));
  EXPECT_EQ(Var<std::string>("stRetorno"), coupon);
  const std::string tape = env_.ReadFile(env_.root() + "/ecfsim/tape.txt");
  const std::size_t slip =
      tape.find("VIA CLIENTE\nVISA 1\nVIA LOJA\nVISA 1\nVIA CLIENTE\nVISA 2\n");
  EXPECT_NE(slip, std::string::npos) << tape;
  EXPECT_NE(tape.find("VIA LOJA\nVISA 2\n", slip), std::string::npos);
  EXPECT_THAT(host_.dialogs, IsEmpty());
  EXPECT_EQ(SimFigure("document"), 0);
}

TEST_F(TefReceiptTest, AnUnreadDocumentNumberIsNoNumber) {
  FailEntry("Bematech_FI_NumeroCupom", 0, 1);  // Nr_Cupom gives "ERRO"

  EXPECT_FALSE(Print(&kCustomer, &kShop));

  EXPECT_EQ(Var<std::string>("stRetorno"), "ERRO");
  EXPECT_EQ(Printed().size(), 8u) << "the slips still print";
  EXPECT_EQ(SimFigure("document"), 0);
}

struct Case {
  const char* name;
  Texts first, second;
  std::int32_t mode;
  const char* linked;
  const char* number;
  bool result;
  const char* opening;  // the entry that opened the document, or none
  Texts printed;
};

const Case kCases[] = {
    {"EmptyFirstListPrintsNothing", {}, kShop, 0, "N", "", false, nullptr, {}},
    {"NotLinkedPrintsOnlySecondCopiesInAReport",
     kCustomer,
     kShop,
     0,
     "S",
     "",
     true,
     kOpenReport,
     {"VIA LOJA\n", "VISA 1\n", "VIA LOJA\n", "VISA 2\n"}},
    {"ShortSecondListPrintsSecondCopiesOfTheFirstItemsOnly",
     kCustomer,
     {"VIA LOJA\nVISA 1\n"},
     0,
     "N",
     "",
     true,
     kOpenLinked,
     {"VIA CLIENTE\n", "VISA 1\n", "VIA LOJA\n", "VISA 1\n", "VIA CLIENTE\n", "VISA 2\n"}},
    {"TextAfterTheLastLineFeedIsPrintedToo",
     {"VIA CLIENTE\nAPROVADA"},
     {"SEM QUEBRA"},
     0,
     "N",
     "",
     true,
     kOpenLinked,
     {"VIA CLIENTE\n", "APROVADA\n", "SEM QUEBRA\n"}},
    {"ReportModeWithoutNumberIsFalseThoughPrinted",
     kCustomer,
     {},
     2,
     "N",
     "",
     false,
     kOpenReport,
     {"VIA CLIENTE\n", "VISA 1\n", "VIA CLIENTE\n", "VISA 2\n"}},
    {"ReportModeKeepsTheHostsNumber",
     {"VIA CLIENTE\n"},
     {},
     2,
     "N",
     "000042",
     true,
     kOpenReport,
     {"VIA CLIENTE\n"}},
};

class TefReceiptCaseTest : public TefReceiptTest, public ::testing::WithParamInterface<Case> {};

TEST_P(TefReceiptCaseTest, PrintsWhatTheModeAsks) {
  const Case& c = GetParam();

  EXPECT_EQ(Print(&c.first, &c.second, c.mode, c.linked, c.number), c.result);

  EXPECT_THAT(Printed(), ElementsAreArray(c.printed));
  const std::vector<std::string> documents = Documents();
  if (c.opening == nullptr) {
    EXPECT_THAT(documents, IsEmpty());
  } else {
    EXPECT_THAT(documents, Contains(HasSubstr(c.opening)));
    EXPECT_EQ(documents.back(), kClose);
    // The number is read from the printer unless the mode is 2.
    EXPECT_EQ(documents[0] == "Bematech_FI_NumeroCupom", c.mode != 2);
  }
  EXPECT_EQ(SimFigure("document"), 0);
  EXPECT_EQ(RetryQuestions(), 0);
}

INSTANTIATE_TEST_SUITE_P(Modes, TefReceiptCaseTest, ::testing::ValuesIn(kCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(TefReceiptTest, NullListsCountAsEmpty) {
  EXPECT_FALSE(Print(nullptr, &kShop));
  EXPECT_TRUE(Print(&kCustomer, nullptr, 2, "N", "000001"));

  EXPECT_THAT(Printed(), ElementsAre("VIA CLIENTE\n", "VISA 1\n", "VIA CLIENTE\n", "VISA 2\n"));
}

TEST_F(TefReceiptTest, FailureInTheSecondItemPrintsEverythingAgainInAReport) {
  const Texts first = {"A1\nA2\n", "B1\nB2\nB3\n"};
  FailNthPrintedLine(5);  // B3, the third line of the second item
  host_.ScriptAnswers({true});

  EXPECT_TRUE(Print(&first, nullptr));

  EXPECT_THAT(Printed(), ElementsAre("A1\n", "A2\n", "B1\n", "B2\n", "B3\n",  // refused
                                     "A1\n", "A2\n", "B1\n", "B2\n", "B3\n"));
  EXPECT_THAT(Documents(), ElementsAre("Bematech_FI_NumeroCupom",
                                       std::string(kOpenLinked) + "|Cartao de credit||", kClose,
                                       std::string(kOpenReport) + "| ", kClose));
  EXPECT_EQ(RetryQuestions(), 1);
  EXPECT_EQ(SimFigure("document"), 0);
}

// A failure at each step, answered yes (printed again) or no (given up).
struct Failure {
  const char* name;
  const char* entry;
  bool answer;
  bool result;
  int lines_printed;
  bool reprinted_in_a_report;
};

const Failure kFailures[] = {
    {"PrinterCheckYes", "Bematech_FI_RetornoImpressora", true, true, 2, false},
    {"PrinterCheckNo", "Bematech_FI_RetornoImpressora", false, false, 0, false},
    {"OpeningYes", kOpenLinked, true, true, 2, true},
    {"OpeningNo", kOpenLinked, false, false, 0, false},
    {"PrintingYes", kUse, true, true, 3, true},  // the refused line, then both again
    {"PrintingNo", kUse, false, false, 1, false},
    {"ClosingYes", kClose, true, true, 4, true},
    {"ClosingNo", kClose, false, false, 2, false},
};

class TefReceiptFailureTest : public TefReceiptTest,
                              public ::testing::WithParamInterface<Failure> {};

TEST_P(TefReceiptFailureTest, AsksTheOperatorAndLeavesNothingOpen) {
  const Failure& f = GetParam();
  const Texts first = {"VIA CLIENTE\nVISA\n"};
  FailEntry(f.entry, 0, 1);
  host_.ScriptAnswers({f.answer});

  EXPECT_EQ(Print(&first, nullptr), f.result);

  EXPECT_EQ(RetryQuestions(), 1);
  EXPECT_EQ(Printed().size(), static_cast<std::size_t>(f.lines_printed));
  // The printer's refusal was shown before the question.
  ASSERT_GE(host_.dialogs.size(), 2u);
  EXPECT_NE(Cp1252ToUtf8(host_.dialogs[0].text), kRetry);
  EXPECT_EQ(SimFigure("document"), 0);
  const bool reported = std::ranges::count(Documents(), std::string(kOpenReport) + "| ") == 1;
  EXPECT_EQ(reported, f.reprinted_in_a_report);
  if (f.result) {
    EXPECT_EQ(Printed().back(), "VISA\n");
  }
}

INSTANTIATE_TEST_SUITE_P(Steps, TefReceiptFailureTest, ::testing::ValuesIn(kFailures),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(TefReceiptTest, NegativeAmountIsRefusedBeforeThePrinterHearsOfIt) {
  EXPECT_THROW(Op<ImprimeTefFn>("ImprimeTef")(kScheme, &kCustomer, &kShop, nullptr, nullptr, "",
                                              "Cartao", "", -1.0, 0, 0, "N"),
               Error);
  EXPECT_THAT(SimJournal(), IsEmpty());
}

}  // namespace
}  // namespace zel
