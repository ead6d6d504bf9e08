// FechaCupom through the loaded driver against the simulated printer: the
// three closing steps, their retries under TEF, the payments as the printer
// books them, and the input the driver refuses before printing anything.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <map>
#include <span>
#include <string>
#include <vector>

#include "support/sale_fixture.h"
#include "zel/dataset.h"
#include "zel/date_time.h"
#include "zel/format_settings.h"
#include "zel/variant.h"

namespace zel {
namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::IsEmpty;
using ::testing::Not;
using ::testing::StartsWith;

using FechaCupomFn = bool(std::span<const Variant>, const std::vector<std::string>*, Variant&);

constexpr char kScheme[] = "003";
constexpr char kStart[] = "Bematech_FI_IniciaFechamentoCupom";
constexpr char kPay[] = "Bematech_FI_EfetuaFormaPagamento";
constexpr char kEnd[] = "Bematech_FI_TerminaFechamentoCupom";
constexpr char kReceipt[] = "Bematech_FI_RecebimentoNaoFiscal";
constexpr char kPrintAgain[] = "Impressora não responde. Imprimir novamente?";
constexpr long long kIdle = 0, kItems = 1, kPaying = 3, kPaid = 4;

// The host's payment types; NMTIPORECE holds the printer's form names.
Variant PaymentTypes() {
  Dataset data("cdsRecebAux");
  data.AddField("CDTIPORECE", FieldType::kText, 4);
  data.AddField("NMTIPORECE", FieldType::kText, 40);
  data.AddField("IDTIPORECE", FieldType::kText, 1);
  data.CreateDataSet();
  const std::vector<std::vector<const char*>> rows = {
      {"001", "Dinheiro", "1"}, {"002", "Cheque", "2"},
      {"003", "Cartao", "4"},   {"004", "Rede de Cartoes Internacional", "5"},
      {"008", "Convenio", "8"}, {"009", "Credito", "9"}};
  for (const auto& row : rows) {
    data.Append();
    data.SetValue("CDTIPORECE", row[0]);
    data.SetValue("NMTIPORECE", row[1]);
    data.SetValue("IDTIPORECE", row[2]);
    data.Post();
  }
  return data.Data();
}

// The three payments of a 100,00 sale, oldest first: 30 cash, 50 cheque,
// 20 card.
std::vector<Movement> ThreePayments() {
  return {{"E", 1, "001", 30.0}, {"E", 2, "002", 50.0}, {"E", 3, "003", 20.0}};
}

class CouponClosingTest : public SaleFixture {
 protected:
  void SetUp() override {
    SaleFixture::SetUp();
    BindPrinterEntries();
    ASSERT_EQ(Sim<int(int, int, int)>("EcfSim_SetTaxRate")(1, 1800, 0), 1);
    for (const char* form : {"Cheque", "Cartao", "Rede de Cartoes ", "Convenio", "Credito"}) {
      ASSERT_EQ(
          Sim<int(const char*, const char*)>("Bematech_FI_ProgramaFormaPagamentoMFD")(form, "0"),
          1);
    }
    ASSERT_EQ(
        Sim<int(int, const char*)>("Bematech_FI_NomeiaTotalizadorNaoSujeitoIcms")(1, "RECEBIMENTO"),
        1);
    OpenACouponOfOneHundred();
    positions_ = ClosingPositions(kScheme);
    positions_[13] = Movements(ThreePayments());
    positions_[14] = PaymentTypes();
  }

  // A coupon holding one item of 100,00, opened on the printer's side.
  void OpenACouponOfOneHundred() {
    ASSERT_EQ(Sim<int(const char*)>("Bematech_FI_AbreCupom")(""), 1);
    ASSERT_EQ(
        Sim<int(const char*, const char*, const char*, const char*, const char*, const char*)>(
            "Bematech_FI_VendeItem")("001", "ITEM", "01", "100,00", "1,000", "0"),
        1);
    ClearSimJournal();
  }

  void TearDown() override {
    DefineFormats(nullptr);
    SaleFixture::TearDown();
  }

  // The driver's own regional settings (not this program's copy).
  bool DefineFormats(const FormatSettings* settings) {
    return Op<bool(const FormatSettings*)>("ZelDefineFormatos")(settings);
  }

  void UnderTef() {
    positions_[9] = "S";
    positions_[11] = true;
  }

  bool Close(const std::vector<std::string>* tef_lines = nullptr) {
    return Op<FechaCupomFn>("FechaCupom")(positions_, tef_lines, result_);
  }

  int Questions() const {
    int count = 0;
    for (const RecordedDialog& dialog : host_.dialogs) count += dialog.question == "S" ? 1 : 0;
    return count;
  }

  Variant ResultCell(std::size_t column) const {
    return result_.AsArray().at(1).AsArray().at(column);
  }

  std::vector<Variant> positions_;
  Variant result_{VariantArray{Variant(VariantArray{}),
                               Variant(VariantArray{Variant("untouched"), Variant(), Variant()})}};
};

// --- A printer fault at each step, under TEF --------------------------------

enum class Step { kStart, kSecondPayment, kEnd };

class FaultAtStepTest : public CouponClosingTest, public ::testing::WithParamInterface<Step> {
 protected:
  void InjectFault() {
    UnderTef();
    switch (GetParam()) {
      case Step::kStart:
        FailEntry(kStart, 0, 1);
        break;
      case Step::kSecondPayment:
        FailNthPayment(2);
        break;
      case Step::kEnd:
        FailEntry(kEnd, 0, 1);
        break;
    }
  }
};

TEST_P(FaultAtStepTest, YesResumesAtTheFailedStepAndBooksEachPaymentOnce) {
  InjectFault();
  host_.ScriptAnswers({true});

  ASSERT_TRUE(Close());

  const Step step = GetParam();
  EXPECT_EQ(Calls(kStart).size(), step == Step::kStart ? 2u : 1u);
  std::vector<std::string> payments = {std::string(kPay) + "|Dinheiro|30,00",
                                       std::string(kPay) + "|Cheque|50,00",
                                       std::string(kPay) + "|Cartao|20,00"};
  if (step == Step::kSecondPayment) payments.insert(payments.begin() + 1, payments[1]);
  EXPECT_EQ(Calls(kPay), payments);
  const std::vector<std::string> ends = Calls(kEnd);
  ASSERT_EQ(ends.size(), step == Step::kEnd ? 2u : 1u);
  EXPECT_EQ(ends.front(), ends.back());  // the retried message is the same text
  EXPECT_EQ(Questions(), 1);
  EXPECT_EQ(ResultCell(0).AsInteger(), 1);
  EXPECT_EQ(ResultCell(1).AsText(), "kept");
  EXPECT_EQ(SimFigure("document"), kIdle);
  EXPECT_EQ(SimFigure("gross_sales"), 10000);
  EXPECT_EQ(FormTotals(), (std::map<std::string, long long>{
                              {"Cartao", 2000}, {"Cheque", 5000}, {"Dinheiro", 3000}}));
}

TEST_P(FaultAtStepTest, NoStopsWhereThePrinterStoppedAndLeavesTheResultAlone) {
  InjectFault();
  host_.ScriptAnswers({false});

  EXPECT_FALSE(Close());

  const Step step = GetParam();
  EXPECT_EQ(Questions(), 1);
  EXPECT_EQ(ResultCell(0).AsText(), "untouched");
  EXPECT_THAT(Calls(kStart), ElementsAre(std::string(kStart) + "|d|$|0"));
  std::map<std::string, long long> booked;
  switch (step) {
    case Step::kStart:
      EXPECT_THAT(Calls(kPay), IsEmpty());
      EXPECT_EQ(SimFigure("document"), kItems);
      break;
    case Step::kSecondPayment:
      EXPECT_EQ(Calls(kPay).size(), 2u);
      EXPECT_EQ(SimFigure("document"), kPaying);
      booked = {{"Dinheiro", 3000}};
      break;
    case Step::kEnd:
      EXPECT_EQ(Calls(kPay).size(), 3u);
      EXPECT_EQ(SimFigure("document"), kPaid);
      booked = {{"Cartao", 2000}, {"Cheque", 5000}, {"Dinheiro", 3000}};
      break;
  }
  EXPECT_EQ(Calls(kEnd).size(), step == Step::kEnd ? 1u : 0u);
  EXPECT_EQ(FormTotals(), booked);
}

INSTANTIATE_TEST_SUITE_P(Steps, FaultAtStepTest,
                         ::testing::Values(Step::kStart, Step::kSecondPayment, Step::kEnd),
                         [](const ::testing::TestParamInfo<Step>& info) {
                           switch (info.param) {
                             case Step::kStart:
                               return std::string("Start");
                             case Step::kSecondPayment:
                               return std::string("SecondPayment");
                             case Step::kEnd:
                               return std::string("End");
                           }
                           return std::string();
                         });

TEST_F(CouponClosingTest, OutsideTefAFailureIsNotOfferedAgain) {
  FailEntry(kStart, 0, 1);
  host_.set_default_answer(true);

  EXPECT_FALSE(Close());

  EXPECT_EQ(Questions(), 0);
  EXPECT_EQ(Calls(kStart).size(), 1u);
  EXPECT_THAT(Calls(kPay), IsEmpty());
  EXPECT_EQ(ResultCell(0).AsText(), "untouched");
}

TEST_F(CouponClosingTest, ACreditPaymentRetriedTwiceCountsOnceInTheBalance) {
  UnderTef();
  positions_[13] = Movements({{"E", 1, "009", 30.0}, {"E", 2, "001", 70.0}});
  positions_[17] = "C1";
  positions_[18] = "MARIA";
  positions_[27] = "1";
  positions_[36] = "2";
  positions_[37] = 100.0;
  FailEntry(kPay, 0, 2);
  host_.ScriptAnswers({true, true});

  ASSERT_TRUE(Close());

  EXPECT_EQ(Calls(kPay).size(), 4u);
  ASSERT_EQ(Calls(kEnd).size(), 1u);
  EXPECT_THAT(Calls(kEnd).front(), HasSubstr("Saldo Final : 70,00\n"));
  EXPECT_EQ(ResultCell(0).AsInteger(), 1);
}

TEST_F(CouponClosingTest, UnderTefWithTheTIndicatorThePrinterMustAnswerFirst) {
  positions_[9] = "T";
  positions_[11] = true;
  FailEntry("Bematech_FI_RetornoImpressora", 0, 1);
  host_.ScriptAnswers({false});

  EXPECT_FALSE(Close());

  EXPECT_EQ(Questions(), 1);
  EXPECT_THAT(Calls(kStart), IsEmpty());
  EXPECT_EQ(ResultCell(0).AsText(), "untouched");
}

// --- Start of the closing ------------------------------------------------------

struct AdjustmentCase {
  double discount;
  double surcharge;
  char separator;
  const char* sent;     // the arguments as the printer got them
  const char* logged;   // and as the debug log shows them
  long long discounts;  // the printer's figures afterwards, in cents
  long long surcharges;
};

class AdjustmentTest : public CouponClosingTest,
                       public ::testing::WithParamInterface<AdjustmentCase> {};

TEST_P(AdjustmentTest, SendsTheAmountCutToTwoDecimals) {
  const AdjustmentCase& c = GetParam();
  FormatSettings settings;
  settings.decimal_separator = c.separator;
  settings.thousand_separator = c.separator == ',' ? '.' : ',';
  ASSERT_TRUE(DefineFormats(&settings));
  positions_[6] = c.discount;
  positions_[8] = c.surcharge;
  positions_[13] = Movements({{"E", 1, "001", 200.0}});

  ASSERT_TRUE(Close());

  EXPECT_THAT(Calls(kStart), ElementsAre(std::string(kStart) + "|" + c.sent));
  EXPECT_THAT(LogEntries(), testing::Contains(std::string(kStart) + " : " + c.logged));
  EXPECT_EQ(SimFigure("discounts"), c.discounts);
  EXPECT_EQ(SimFigure("surcharges"), c.surcharges);
}

INSTANTIATE_TEST_SUITE_P(
    Amounts, AdjustmentTest,
    ::testing::Values(AdjustmentCase{1.999, 0, ',', "d|$|1,99", "d - $ - 1,99", 199, 0},
                      AdjustmentCase{1.999, 0, '.', "d|$|1.99", "d - $ - 1.99", 199, 0},
                      AdjustmentCase{0, 5, ',', "a|$|5,00", "a - $ - 5,00", 0, 500},
                      AdjustmentCase{0, 0, ',', "d|$|0", "d - $ - 0", 0, 0}));

// --- Payments ------------------------------------------------------------------

TEST_F(CouponClosingTest, PaymentsAreRegisteredOldestFirst) {
  positions_[13] = Movements({{"E", 5, "001", 40.0}, {"E", 1, "002", 60.0}});

  ASSERT_TRUE(Close());

  EXPECT_THAT(Calls(kPay), ElementsAre(std::string(kPay) + "|Cheque|60,00",
                                       std::string(kPay) + "|Dinheiro|40,00"));
  EXPECT_THAT(LogEntries(), testing::Contains(std::string(kPay) + " : Cheque - 60,00"));
}

TEST_F(CouponClosingTest, UnderTefPaymentsOfOneTypeGoAsOne) {
  UnderTef();
  positions_[13] = Movements({{"E", 1, "002", 20.0}, {"E", 2, "002", 30.0}, {"E", 3, "001", 50.0}});

  ASSERT_TRUE(Close());

  EXPECT_THAT(Calls(kPay), ElementsAre(std::string(kPay) + "|Cheque|50,00",
                                       std::string(kPay) + "|Dinheiro|50,00"));
  EXPECT_EQ(FormTotals(), (std::map<std::string, long long>{{"Cheque", 5000}, {"Dinheiro", 5000}}));
}

TEST_F(CouponClosingTest, OutsideTefPaymentsOfOneTypeGoOneByOne) {
  positions_[13] = Movements({{"E", 1, "002", 20.0}, {"E", 2, "002", 30.0}, {"E", 3, "001", 50.0}});

  ASSERT_TRUE(Close());

  EXPECT_THAT(Calls(kPay),
              ElementsAre(std::string(kPay) + "|Cheque|20,00", std::string(kPay) + "|Cheque|30,00",
                          std::string(kPay) + "|Dinheiro|50,00"));
}

TEST_F(CouponClosingTest, ACardPaymentGoesUnderItsPaymentTypeOfOriginCutToSixteen) {
  positions_[13] = Movements({{"E", 1, "003", 100.0, "237", "004"}});

  ASSERT_TRUE(Close());

  EXPECT_THAT(Calls(kPay), ElementsAre(std::string(kPay) + "|Rede de Cartoes |100,00"));
  EXPECT_EQ(SimFigure("document"), kIdle);
}

// --- The end of the coupon and the receipt after it ------------------------------

TEST_F(CouponClosingTest, TheMessageIsSentButNotLogged) {
  positions_[1] = "OBRIGADO";
  positions_[21] = "12";
  positions_[31] = "77";

  ASSERT_TRUE(Close());

  const std::vector<std::string> ends = Calls(kEnd);
  ASSERT_EQ(ends.size(), 1u);
  EXPECT_THAT(ends.front(), StartsWith(std::string(kEnd) + "|OBRIGADO\r\n\n"));
  EXPECT_THAT(ends.front(), HasSubstr("Mesa  : 12           - SENHA : 77\n"));
  EXPECT_THAT(LogEntries(), testing::Contains(std::string(kEnd)));
  for (const std::string& entry : LogEntries()) EXPECT_THAT(entry, Not(HasSubstr("OBRIGADO")));
}

TEST_F(CouponClosingTest, AReceiptAfterTheCouponReturnsTheNonFiscalCounter) {
  positions_[4] = true;
  positions_[7] = 5.0;

  ASSERT_TRUE(Close());

  EXPECT_THAT(Calls(kReceipt), ElementsAre(std::string(kReceipt) + "|01|5,00|Dinheiro"));
  EXPECT_THAT(LogEntries(), testing::Contains(std::string(kReceipt) + " : 01 - 5,00 - Dinheiro"));
  const std::string counter = ResultCell(2).AsText();
  EXPECT_EQ(counter.size(), 6u);
  EXPECT_EQ(std::stoll(counter), SimFigure("gnf"));
}

TEST_F(CouponClosingTest, AFailedReceiptAfterTheCouponLeavesTheSaleClosed) {
  positions_[4] = true;
  positions_[7] = 5.0;
  FailEntry(kReceipt, 0, 1);

  EXPECT_TRUE(Close());

  EXPECT_EQ(Calls(kEnd).size(), 1u);
  EXPECT_EQ(SimFigure("document"), kIdle);
}

// --- Input refused before anything reaches the printer ----------------------------

// A consumer account of one family with a balance, in the layout the
// family-balance message reads (position 32).
Variant OneFamilyBalance() {
  Dataset data("cdsSaldCred");
  data.AddField("CDFAMILISALD", FieldType::kText, 4);
  data.AddField("NMFAMILISALD", FieldType::kText, 30);
  data.AddField("VRSALDCONFAM", FieldType::kFloat);
  data.CreateDataSet();
  data.Append();
  data.SetValue("CDFAMILISALD", "F1");
  data.SetValue("NMFAMILISALD", "LANCHE");
  data.SetValue("VRSALDCONFAM", 100.0);
  data.Post();
  return data.Data();
}

// The family movements (position 34): the layout only, no movement.
Variant NoFamilyMovements() {
  Dataset data("cdsEmprestimo");
  data.AddField("CDFAMILISALD", FieldType::kText, 4);
  data.AddField("IDTPMOVEXT", FieldType::kText, 1);
  data.AddField("VRMOVEXTCONS", FieldType::kFloat);
  data.CreateDataSet();
  return data.Data();
}

void FamilyBalancesLayout(std::vector<Variant>& positions) {
  positions[27] = "1";
  positions[36] = "1";
  positions[32] = OneFamilyBalance();
}

const std::vector<std::string> kShortSlip = {"LINHA 1\nLINHA 2\nSEM FIM"};

using Positions = std::vector<Variant>;

struct RefusalCase {
  const char* name;
  void (*spoil)(Positions&);
  const char* reason;  // part of what the log and the dialog say
  const std::vector<std::string>* slip = nullptr;
};

class RefusalTest : public CouponClosingTest, public ::testing::WithParamInterface<RefusalCase> {};

// Every refusal answers false with the result row written, leaves the coupon
// open as it was, sends the printer nothing, and says why once in the log and
// once on screen.
TEST_P(RefusalTest, AnswersFalseAndSaysWhyWithoutTouchingThePrinter) {
  const RefusalCase& c = GetParam();
  c.spoil(positions_);

  bool closed = true;
  EXPECT_NO_THROW(closed = Close(c.slip));

  EXPECT_FALSE(closed);
  EXPECT_THAT(SimJournal(), IsEmpty());
  EXPECT_EQ(SimFigure("document"), kItems) << "the coupon stays open for the host";
  EXPECT_EQ(ResultCell(0).AsInteger(), 0);
  EXPECT_EQ(ResultCell(1).AsText(), positions_.size() > 42 ? "kept" : "");
  EXPECT_TRUE(ResultCell(2).IsEmpty());
  std::vector<std::string> problems;
  for (const std::string& entry : LogEntries()) {
    if (entry.starts_with("ERRO!!! ")) problems.push_back(entry);
  }
  ASSERT_EQ(problems.size(), 1u);
  EXPECT_THAT(problems[0], HasSubstr(c.reason));
  ASSERT_EQ(host_.dialogs.size(), 1u);
  EXPECT_THAT(host_.dialogs[0].text, HasSubstr(c.reason));
  EXPECT_THAT(host_.dialogs[0].text, HasSubstr("FechaCupom"));
  EXPECT_EQ(host_.dialogs[0].colour_scheme, kScheme);
}

INSTANTIATE_TEST_SUITE_P(
    Inputs, RefusalTest,
    ::testing::Values(
        RefusalCase{"FewerThanFortyThreeValues", [](Positions& p) { p.pop_back(); },
                    "expected 43 positional values, got 42"},
        RefusalCase{"NegativeDiscount", [](Positions& p) { p[6] = -1.0; },
                    "must be a positive amount or zero"},
        // Only the discount would reach the printer: the coupon would be
        // short of the surcharge.
        RefusalCase{"DiscountAndSurcharge",
                    [](Positions& p) {
                      p[6] = 5.0;
                      p[8] = 3.0;
                    },
                    "a discount and a surcharge"},
        RefusalCase{"ReportCounterNoInteger",
                    [](Positions& p) {
                      p[28] = "123";
                      p[29] = "12A";
                    },
                    "\"12A\" is not an integer"},
        RefusalCase{"PaymentWithoutType",
                    [](Positions& p) {
                      p[13] = Movements({{"E", 1, "", 100.0}});
                    },
                    "payment type \"\" is not among the payment types"},
        RefusalCase{"UnknownPaymentType",
                    [](Positions& p) {
                      p[13] = Movements({{"E", 1, "001", 50.0}, {"E", 2, "999", 50.0}});
                    },
                    "payment type \"999\""},
        RefusalCase{"NegativePayment",
                    [](Positions& p) {
                      p[13] = Movements({{"E", 1, "001", 110.0}, {"E", 2, "002", -10.0}});
                    },
                    "a payment must be positive"},
        // A dataset error: the movements' indexes need fields these rows
        // lack.
        RefusalCase{"MovementsWithoutTheirFields", [](Positions& p) { p[13] = PaymentTypes(); },
                    "'NRORDTROCO'"},
        // Nothing to close: the host still has the coupon to pay or cancel.
        RefusalCase{"NoPayment",
                    [](Positions& p) {
                      p[13] = Movements({{"S", 1, "001", 10.0}});
                    },
                    "hold no payment"},
        RefusalCase{"FamilyBalancesWithoutFamilyMovements", FamilyBalancesLayout,
                    "need the family movements (position 34)"},
        RefusalCase{"CardSlipOfTwoLines",
                    [](Positions& p) {
                      p[9] = "T";
                      p[11] = true;
                      p[40] = "S";
                    },
                    "the card slip has 2 lines", &kShortSlip}),
    [](const ::testing::TestParamInfo<RefusalCase>& info) { return info.param.name; });

TEST_F(CouponClosingTest, ARefusalWithoutDialogsIsOnlyLogged) {
  positions_[5] = false;
  positions_[13] = Movements({{"E", 1, "999", 100.0}});

  EXPECT_FALSE(Close());

  EXPECT_THAT(host_.dialogs, IsEmpty());
  EXPECT_THAT(LogEntries(), testing::Contains(HasSubstr("ERRO!!! FechaCupom: payment type")));
  EXPECT_THAT(SimJournal(), IsEmpty());
}

TEST_F(CouponClosingTest, FamilyMovementsOfAnEarlierSaleDoNotStandInForMissingOnes) {
  FamilyBalancesLayout(positions_);
  positions_[34] = NoFamilyMovements();
  ASSERT_TRUE(Close());
  OpenACouponOfOneHundred();
  positions_[34] = Variant();

  EXPECT_FALSE(Close());

  EXPECT_THAT(SimJournal(), IsEmpty());
  EXPECT_EQ(SimFigure("document"), kItems);
}

}  // namespace
}  // namespace zel
