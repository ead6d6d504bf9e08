// One fiscal sale from end to end, the way a point-of-sale host runs it,
// through the loaded driver against the simulated printer: the host programs
// the printer (tax rates, non-fiscal totalizers, payment forms), opens a
// coupon for a buyer, sells three items, and closes it with a discount and
// two card-terminal (TEF) payments, the second of which the printer fails
// once: the operator asks to print again, or gives up and the host cancels
// the coupon.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <map>
#include <span>
#include <string>
#include <vector>

#include "host/codepage.h"
#include "support/sale_fixture.h"
#include "zel/dataset.h"
#include "zel/variant.h"

namespace zel {
namespace {

using ::testing::AllOf;
using ::testing::Contains;
using ::testing::ElementsAre;
using ::testing::EndsWith;
using ::testing::IsEmpty;
using ::testing::StartsWith;

using CarregaAliquotaFn = void(const std::string&, Dataset&);
using CarregaTotalizadorFn = void(std::string&, std::string&, std::string&, std::string&,
                                  std::string&, const std::string&, std::int32_t&, Dataset*);
using CarregaRecebimentoFn = void(const std::string&, const std::string&, std::int32_t, Dataset&);
using ParamsOp = bool(Variant&);
using FechaCupomFn = bool(std::span<const Variant>, const std::vector<std::string>*, Variant&);
using CancelaCupomFn = bool(std::span<const Variant>, Variant&);

constexpr char kScheme[] = "017";
constexpr char kNaming[] = "Bematech_FI_NomeiaTotalizadorNaoSujeitoIcms";
constexpr char kProgramForm[] = "Bematech_FI_ProgramaFormaPagamentoMFD";
constexpr char kOpen[] = "Bematech_FI_AbreCupomMFD";
constexpr char kSell[] = "Bematech_FI_VendeItemDepartamento";
constexpr char kStart[] = "Bematech_FI_IniciaFechamentoCupom";
constexpr char kPay[] = "Bematech_FI_EfetuaFormaPagamento";
constexpr char kEnd[] = "Bematech_FI_TerminaFechamentoCupom";
constexpr long long kIdle = 0, kPaying = 3;

// The buyer, as the host types it (accents in the host's code page).
const Buyer kBuyer{"123.456.789-09", Utf8ToCp1252("José da Silva"),
                   Utf8ToCp1252("Rua das Flores, 100 - São Paulo")};

// The sale: 2 x 21,90 + 3 x 7,49 (less 2,47 on the item) + 4,35 = 68,15,
// less 3,15 on the subtotal: 65,00, paid 40,00 by credit and 25,00 by debit
// card, in that order.
constexpr double kSubtotalDiscount = 3.15;
constexpr long long kGrossCents = 4380 + 2247 + 435;
constexpr long long kDiscountCents = 247 + 315;
constexpr long long kTotalCents = 6500;

class WholeSaleTest : public SaleFixture {
 protected:
  void SetUp() override {
    SaleFixture::SetUp();
    BindPrinterEntries();
  }

  // --- The host's side of the story ---------------------------------------------

  // 1. Programs a new printer through the driver. The rate table comes from
  // the printer and the items take their rate codes from it, as a host
  // does. The reconciliation of payment forms programs the two card forms
  // and the report form, and names them in the host's rows as the printer
  // now has them.
  void ProgramThePrinter() {
    Dataset rates("cdsAliquotas");
    Op<CarregaAliquotaFn>("CarregaAliquota")(kScheme, rates);
    rate18_ = RateCode(rates, 18.0);
    rate12_ = RateCode(rates, 12.0);
    rate7_ = RateCode(rates, 7.0);

    std::string cv, consumer, purchase, cancellation, report;
    std::int32_t reserved = 0;
    Op<CarregaTotalizadorFn>("CarregaTotalizador")(cv, consumer, purchase, cancellation, report,
                                                   kScheme, reserved, nullptr);
    EXPECT_EQ(Calls(kNaming).size(), 5u) << "a new printer lacks all five totalizers";
    EXPECT_EQ(Var<std::string>("IdTotRelatorio"), report);

    Dataset types = HostPaymentTypes({{"001", "5", "1", "S", "Dinheiro"},
                                      {"003", "5", "4", "S", "Cartao Credito"},
                                      {"004", "5", "5", "S", "CARTAO DEBITO"}});
    Reconcile(types);
    EXPECT_THAT(Calls(kProgramForm), ElementsAre(std::string(kProgramForm) + "|Cartao Credito|1",
                                                 std::string(kProgramForm) + "|CARTAO DEBITO|1",
                                                 std::string(kProgramForm) + "|Rel Gerencial|1"));
    EXPECT_EQ(PrinterName(types, "003"), "Cartao Credito");
    EXPECT_EQ(PrinterName(types, "004"), "CARTAO DEBITO");
    EXPECT_THAT(host_.dialogs, IsEmpty()) << "programming shows nothing to the operator";
    payment_types_ = types.Data();

    grand_total_before_ = SimFigure("grand_total");
    coupons_before_ = SimFigure("ccf");
    ClearSimJournal();
  }

  // 2. A coupon for the buyer, under TEF. The array comes back rewritten
  // with the buyer whole.
  void OpenTheCouponForTheBuyer() {
    Variant opening = OpeningParams(kScheme, kBuyer, "S", true);
    ASSERT_TRUE(Op<ParamsOp>("AbreCupom")(opening));
    EXPECT_EQ(opening, MakeParams({{"INTTEFERRO", 0},
                                   {"INCLUICPF", kBuyer.cpf},
                                   {"INCLUINOME", kBuyer.name},
                                   {"INCLUIENDERECO", kBuyer.address},
                                   {"CUPNR", "000017"},
                                   {"CONTCUPOM", "3"}}));
  }

  // 3. Three items, the second with a discount of its own. Each array comes
  // back as the one retry-flag pair.
  void SellTheThreeItems() {
    const std::vector<Item> items = {UnderTef({.code = "7891000100017",
                                               .name = "ARROZ TIPO 1 5KG",
                                               .rate = rate18_,
                                               .quantity = 2,
                                               .price = 21.90,
                                               .unit = "UN"}),
                                     UnderTef({.code = "7891000200014",
                                               .name = Utf8ToCp1252("FEIJÃO CARIOCA 1KG"),
                                               .rate = rate12_,
                                               .quantity = 3,
                                               .price = 7.49,
                                               .discount = 2.47,
                                               .unit = "UN"}),
                                     UnderTef({.code = "7891000300011",
                                               .name = "DETERGENTE 500ML",
                                               .rate = rate7_,
                                               .quantity = 1,
                                               .price = 4.35,
                                               .unit = "UN"})};
    for (const Item& item : items) {
      Variant params = ItemParams(kScheme, item);
      ASSERT_TRUE(Op<ParamsOp>("VendaItem")(params)) << item.code;
      EXPECT_EQ(params, MakeParams({{"INTTEFERRO", 5}}));
    }
  }

  // 4. The closing under TEF: a discount on the subtotal, two card payments
  // (debit taken after credit), the message for the client, the table and
  // its password.
  std::vector<Variant> TheClosing() const {
    std::vector<Variant> positions = ClosingPositions(kScheme);
    positions[1] = Utf8ToCp1252("Obrigado pela preferência!");
    positions[6] = kSubtotalDiscount;
    positions[9] = "S";
    positions[10] = "Volte sempre";
    positions[11] = true;
    positions[13] = Movements({{"E", 2, "004", 25.0}, {"E", 1, "003", 40.0}});
    positions[14] = payment_types_;
    positions[15] = "0042";
    positions[16] = kBuyer.name;
    positions[21] = "12";
    positions[31] = "0815";
    positions[42] = "pedido 77";
    return positions;
  }

  bool Close(const std::vector<Variant>& positions) {
    return Op<FechaCupomFn>("FechaCupom")(positions, nullptr, result_);
  }

  // --- Helpers ---------------------------------------------------------------------

  // The code of the goods-tax rate of `percent` in the table the driver read.
  static std::string RateCode(Dataset& rates, double percent) {
    for (rates.First(); !rates.Eof(); rates.Next()) {
      if (rates.AsText("IDALIQIMPFIS") == "T" && rates.AsDouble("VRALIQIMPFIS") == percent) {
        return rates.AsText("CDALIQIMPFIS");
      }
    }
    ADD_FAILURE() << "No goods-tax rate of " << percent << "% in the table";
    return "";
  }

  void Reconcile(Dataset& types) {
    Op<CarregaRecebimentoFn>("CarregaRecebimento")("", kScheme, 0, types);
  }

  // NMTIPORECE of the host row `code`: the printer's spelling of its form.
  static std::string PrinterName(Dataset& types, const char* code) {
    EXPECT_TRUE(types.Locate("CDTIPORECE", Variant(code))) << code;
    return types.AsText("NMTIPORECE");
  }

  static Item UnderTef(Item item) {
    item.tef_indicator = "S";
    item.tef = true;
    return item;
  }

  // The paper tape, as the printer keeps it for people (UTF-8).
  std::vector<std::string> Tape() { return env_.ReadLines(env_.root() + "/ecfsim/tape.txt"); }

  std::vector<RecordedDialog> Questions() const {
    std::vector<RecordedDialog> questions;
    for (const RecordedDialog& dialog : host_.dialogs) {
      if (dialog.question == "S") questions.push_back(dialog);
    }
    return questions;
  }

  const VariantArray& ResultRow() const { return result_.AsArray().at(1).AsArray(); }

  std::string rate18_, rate12_, rate7_;
  Variant payment_types_;
  long long grand_total_before_ = 0;
  long long coupons_before_ = 0;
  Variant result_{VariantArray{Variant(VariantArray{}),
                               Variant(VariantArray{Variant("untouched"), Variant(), Variant()})}};
};

TEST_F(WholeSaleTest, ProgrammedPrinterSellsThreeItemsAndResumesAFailedCardPayment) {
  ProgramThePrinter();
  OpenTheCouponForTheBuyer();
  SellTheThreeItems();
  // The printer fails the second payment once; the operator answers yes.
  FailNthPayment(2);
  host_.ScriptAnswers({true});

  ASSERT_TRUE(Close(TheClosing()));

  // What the printer was sent: the buyer as typed, the items with
  // three-decimal quantities and prices, the discount cut to two decimals,
  // the failed payment once more and nothing twice that it had accepted.
  EXPECT_THAT(Calls(kOpen), ElementsAre(std::string(kOpen) + "|" + kBuyer.cpf + "|" + kBuyer.name +
                                        "|" + kBuyer.address));
  EXPECT_THAT(Calls(kSell), ElementsAre(std::string(kSell) + "|7891000100017|ARROZ TIPO 1 5KG|" +
                                            rate18_ + "|21,900|2,000|00|0000|01|UN",
                                        std::string(kSell) + "|7891000200014|" +
                                            Utf8ToCp1252("FEIJÃO CARIOCA 1KG") + "|" + rate12_ +
                                            "|7,490|3,000|00|00000247|01|UN",
                                        std::string(kSell) + "|7891000300011|DETERGENTE 500ML|" +
                                            rate7_ + "|4,350|1,000|00|0000|01|UN"));
  EXPECT_THAT(Calls(kStart), ElementsAre(std::string(kStart) + "|d|$|3,15"));
  EXPECT_THAT(Calls(kPay), ElementsAre(std::string(kPay) + "|Cartao Credito|40,00",
                                       std::string(kPay) + "|CARTAO DEBITO|25,00",
                                       std::string(kPay) + "|CARTAO DEBITO|25,00"));
  const std::vector<std::string> ends = Calls(kEnd);
  ASSERT_EQ(ends.size(), 1u);

  // The operator was asked once, in the host's colours.
  const std::vector<RecordedDialog> questions = Questions();
  ASSERT_EQ(questions.size(), 1u);
  EXPECT_EQ(questions[0].text, Utf8ToCp1252("Impressora não responde. Imprimir novamente?"));
  EXPECT_EQ(questions[0].colour_scheme, kScheme);

  // What the printer booked: one coupon of 65,00, closed; the grand total
  // grew by the items' value; each card form took its own payment.
  EXPECT_EQ(SimFigure("document"), kIdle);
  EXPECT_EQ(SimFigure("ccf"), coupons_before_ + 1);
  EXPECT_EQ(SimFigure("net_sales"), kTotalCents);
  EXPECT_EQ(SimFigure("gross_sales"), kGrossCents);
  EXPECT_EQ(SimFigure("discounts"), kDiscountCents);
  EXPECT_EQ(SimFigure("grand_total") - grand_total_before_, kGrossCents);
  EXPECT_EQ(FormTotals(),
            (std::map<std::string, long long>{{"CARTAO DEBITO", 2500}, {"Cartao Credito", 4000}}));

  // The result row the host reads: retried, its own value, no receipt.
  ASSERT_EQ(ResultRow().size(), 3u);
  EXPECT_EQ(ResultRow()[0].AsInteger(), 1);
  EXPECT_EQ(ResultRow()[1].AsText(), "pedido 77");
  EXPECT_TRUE(ResultRow()[2].IsEmpty());

  // The paper: the buyer, the coupon's total, and the closing message with
  // the client, the table and its password, the operator and the free line.
  const std::vector<std::string> tape = Tape();
  EXPECT_THAT(tape, Contains("NOME: José da Silva"));
  EXPECT_THAT(tape, Contains("END: Rua das Flores, 100 - São Paulo"));
  EXPECT_THAT(tape, Contains(AllOf(StartsWith("TOTAL R$"), EndsWith(" 65,00"))));
  const auto header = std::find(tape.begin(), tape.end(), "Obrigado pela preferência!");
  ASSERT_NE(header, tape.end()) << "no closing message on the tape";
  ASSERT_GE(tape.end() - header, 7);
  EXPECT_THAT(
      std::vector<std::string>(header, header + 7),
      ElementsAre("Obrigado pela preferência!", "", "", "Cliente: 0042 - José da Silva",
                  "Mesa  : 12           - SENHA : 0815", "Operador: 07 - ANA", "Volte sempre"));
  EXPECT_THAT(ends[0], StartsWith(std::string(kEnd) + "|" +
                                  Utf8ToCp1252("Obrigado pela preferência!\r\n\n\nCliente: 0042 - "
                                               "José da Silva\nMesa  : 12           - SENHA : "
                                               "0815\nOperador: 07 - ANA\r\nVolte sempre\r\n")));

  // The debug log shows the retried payment twice, the message not at all.
  const std::vector<std::string> log = LogEntries();
  EXPECT_EQ(std::count(log.begin(), log.end(), std::string(kPay) + " : CARTAO DEBITO - 25,00"), 2);
  EXPECT_THAT(log, Contains(std::string(kEnd)));
}

TEST_F(WholeSaleTest, OperatorGivingUpAtTheFailedPaymentLeavesTheCouponForTheHostToCancel) {
  ProgramThePrinter();
  OpenTheCouponForTheBuyer();
  SellTheThreeItems();
  FailNthPayment(2);
  host_.ScriptAnswers({false});

  EXPECT_FALSE(Close(TheClosing()));

  // The printer stays where it stopped: the credit payment taken, the
  // coupon waiting for the rest; the host's result row is not touched.
  EXPECT_EQ(SimFigure("document"), kPaying);
  EXPECT_EQ(FormTotals(), (std::map<std::string, long long>{{"Cartao Credito", 4000}}));
  EXPECT_THAT(Calls(kEnd), IsEmpty());
  EXPECT_EQ(ResultRow()[0].AsText(), "untouched");

  // The host cancels the coupon: the sale and its payment are taken back,
  // while the grand total keeps what was sold. Reading the coupon number
  // already cancels a coupon left open, so the cancellation command that
  // follows finds nothing to cancel and the answer is false.
  const std::string coupon = std::to_string(SimFigure("coo"));
  Variant cancelled{
      VariantArray{Variant(VariantArray{Variant()}), Variant(VariantArray{Variant()})}};
  const std::vector<Variant> cancel = {kScheme, false, false, Variant(), "0001", "0002", "BE0123"};
  EXPECT_FALSE(Op<CancelaCupomFn>("Cancela_Cupom_Imp")(cancel, cancelled));

  EXPECT_EQ(cancelled.AsArray()[1].AsArray()[0].AsText(),
            std::string(6 - coupon.size(), ' ') + coupon);
  EXPECT_EQ(SimFigure("document"), kIdle);
  EXPECT_EQ(SimFigure("cancellations"), kTotalCents);
  EXPECT_EQ(SimFigure("net_sales"), 0);
  EXPECT_THAT(FormTotals(), IsEmpty());
  EXPECT_EQ(SimFigure("grand_total") - grand_total_before_, kGrossCents);
}

TEST_F(WholeSaleTest, FormsProgrammedInThisVeryStartPayTheFirstSale) {
  // One reconciliation, as at a start on a new printer: the first sale pays
  // with the forms it programmed, under the names the printer gave them.
  ProgramThePrinter();
  OpenTheCouponForTheBuyer();
  SellTheThreeItems();

  ASSERT_TRUE(Close(TheClosing()));

  EXPECT_THAT(Calls(kPay), ElementsAre(std::string(kPay) + "|Cartao Credito|40,00",
                                       std::string(kPay) + "|CARTAO DEBITO|25,00"));
  EXPECT_EQ(SimFigure("document"), kIdle);
  EXPECT_EQ(FormTotals(),
            (std::map<std::string, long long>{{"CARTAO DEBITO", 2500}, {"Cartao Credito", 4000}}));
}

}  // namespace
}  // namespace zel
