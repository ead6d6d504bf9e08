// Cancelling items and coupons and the raw-command adjustments, through the
// loaded driver against the simulated printer.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <span>
#include <string>
#include <vector>

#include "support/driver_fixture.h"
#include "zel/error.h"
#include "zel/variant.h"

namespace zel {
namespace {

using ::testing::Contains;
using ::testing::ElementsAre;
using ::testing::IsEmpty;
using ::testing::Not;

using CancelaItGenericoOp = bool(const std::string&, const std::string&, const std::wstring&,
                                 const std::wstring&, const std::wstring&, const std::wstring&,
                                 const std::wstring&, const std::wstring&, const std::wstring&,
                                 double, double);
using SchemeOp = bool(const std::string&);
using CancelaCupomOp = bool(std::span<const Variant>, Variant&);
using AcrescimoOp = bool(const std::string&, std::string&);
using EstornoOp = bool(const std::string&, const std::string&, const std::string&, double);

constexpr char kScheme[] = "042";
const std::string kEsc = "\x1b";

std::string FrameSent(const std::string& inner) { return "BemaFormataTX|" + kEsc + inner + kEsc; }

class CancellationsTest : public DriverFixture {
 protected:
  void SetUp() override {
    DriverFixture::SetUp();
    BindPrinterEntries();
  }

  // The printer's own side: a coupon with `items` items of 1,00 each.
  void SellItems(int items) {
    ASSERT_EQ(Sim<int(const char*)>("Bematech_FI_AbreCupom")(""), 1);
    using VendeItem =
        int(const char*, const char*, const char*, const char*, const char*, const char*);
    for (int i = 0; i < items; ++i) {
      ASSERT_EQ(Sim<VendeItem>("Bematech_FI_VendeItem")("1", "ITEM", "01", "1,000", "1,000", "0"),
                1);
    }
    ClearSimJournal();
  }
  void CloseCoupon() {
    using TwoTexts = int(const char*, const char*);
    ASSERT_EQ(Sim<int(const char*, const char*, const char*)>("Bematech_FI_IniciaFechamentoCupom")(
                  "d", "$", "0"),
              1);
    ASSERT_EQ(Sim<TwoTexts>("Bematech_FI_EfetuaFormaPagamento")("Dinheiro", "100,00"), 1);
    ASSERT_EQ(Sim<int(const char*)>("Bematech_FI_TerminaFechamentoCupom")("Obrigado"), 1);
    ClearSimJournal();
  }
  void FailEntry(const char* entry, int code, int times) {
    Sim<void(const char*, int, int)>("EcfSim_FailEntry")(entry, code, times);
  }

  bool CancelaItGenerico(const std::string& number) {
    const std::wstring unused = L"x";
    return Op<CancelaItGenericoOp>("Cancela_ItGenerico")(kScheme, number, unused, unused, unused,
                                                         unused, unused, unused, unused, 1.5, 2.5);
  }
  bool CancelaCupom(const std::vector<Variant>& params, Variant& result) {
    return Op<CancelaCupomOp>("Cancela_Cupom_Imp")(params, result);
  }
  static std::vector<Variant> CouponCancelParams() {
    return {kScheme, true, false, Variant(), "0001", "0002", "BE0123"};
  }
  static Variant EmptyResultArray() {
    return Variant(VariantArray{Variant(VariantArray{Variant(), Variant()}),
                                Variant(VariantArray{Variant(), Variant()})});
  }
  static Variant ResultCell(const Variant& result) { return result.AsArray()[1].AsArray()[0]; }
  // A dialog of the grand-total refresh: it reports the missing
  // configuration file of this test's host in the colour scheme passed.
  std::vector<RecordedDialog> RefreshDialogs() {
    std::vector<RecordedDialog> found;
    for (const RecordedDialog& dialog : host_.dialogs) {
      if (dialog.kind == 3 && dialog.colour_scheme == kScheme) found.push_back(dialog);
    }
    return found;
  }
  std::vector<std::string> FramesSent() {
    std::vector<std::string> frames;
    for (const std::string& line : SimJournal()) {
      if (line.starts_with("BemaFormataTX|") && line != FrameSent("|19|")) frames.push_back(line);
    }
    return frames;
  }
};

// --- Items -------------------------------------------------------------------------

TEST_F(CancellationsTest, ItemNumberDropsItsFirstCharacter) {
  SellItems(2);

  EXPECT_TRUE(CancelaItGenerico("0002"));

  EXPECT_THAT(SimJournal(), Contains("Bematech_FI_CancelaItemGenerico|002"));
  EXPECT_THAT(LogEntries(), Contains("Bematech_FI_CancelaItemGenerico : 002"));
  EXPECT_EQ(SimFigure("cancellations"), 100);
  EXPECT_THAT(host_.dialogs, IsEmpty());
}

TEST_F(CancellationsTest, ItemNumberTakesFourCharactersAfterTheFirst) {
  SellItems(1);

  EXPECT_FALSE(CancelaItGenerico("00012"));

  EXPECT_THAT(SimJournal(), Contains("Bematech_FI_CancelaItemGenerico|0012"));
  EXPECT_EQ(SimFigure("cancellations"), 0);
  EXPECT_THAT(host_.dialogs, IsEmpty()) << "a refused item cancellation is shown to nobody";
}

TEST_F(CancellationsTest, ItemNumberOfOneCharacterSendsNothingUsable) {
  SellItems(1);

  EXPECT_FALSE(CancelaItGenerico("1"));

  EXPECT_THAT(SimJournal(), Contains("Bematech_FI_CancelaItemGenerico|"));
  EXPECT_EQ(SimFigure("cancellations"), 0);
}

TEST_F(CancellationsTest, LastItemIsCancelled) {
  SellItems(3);

  EXPECT_TRUE(Op<SchemeOp>("Cancela_UltimoItem")(kScheme));

  EXPECT_THAT(SimJournal(), Contains("Bematech_FI_CancelaItemAnterior"));
  EXPECT_THAT(LogEntries(), Contains("Bematech_FI_CancelaItemAnterior"));
  EXPECT_EQ(SimFigure("cancellations"), 100);
  EXPECT_THAT(host_.dialogs, IsEmpty());
}

TEST_F(CancellationsTest, LastItemWithoutACouponFailsAndIsExplained) {
  EXPECT_FALSE(Op<SchemeOp>("Cancela_UltimoItem")(kScheme));

  EXPECT_THAT(host_.dialogs, Not(IsEmpty()));
  EXPECT_EQ(host_.dialogs[0].colour_scheme, kScheme);
}

// --- The whole coupon ------------------------------------------------------------------

TEST_F(CancellationsTest, ClosedCouponIsCancelledAndItsNumberReturned) {
  SellItems(2);
  CloseCoupon();
  const long long coupon = SimFigure("coo");
  Variant result = EmptyResultArray();

  EXPECT_TRUE(CancelaCupom(CouponCancelParams(), result));

  EXPECT_THAT(SimJournal(), Contains("Bematech_FI_CancelaCupom"));
  EXPECT_THAT(LogEntries(), Contains("Bematech_FI_CancelaCupom"));
  EXPECT_EQ(SimFigure("cancellations"), 200);
  const std::string number = std::to_string(coupon);
  EXPECT_EQ(ResultCell(result), Variant(std::string(6 - number.size(), ' ') + number));
  EXPECT_EQ(RefreshDialogs().size(), 1u) << "the grand total is refreshed";
}

TEST_F(CancellationsTest, OpenCouponIsAlreadyCancelledByTheNumberQuery) {
  SellItems(2);
  const long long coupon = SimFigure("coo");
  Variant result = EmptyResultArray();

  CancelaCupom(CouponCancelParams(), result);

  EXPECT_EQ(SimFigure("document"), 0);
  EXPECT_EQ(SimFigure("cancellations"), 200) << "cancelled once, not twice";
  const std::string number = std::to_string(coupon);
  EXPECT_EQ(ResultCell(result), Variant(std::string(6 - number.size(), ' ') + number));
  EXPECT_EQ(RefreshDialogs().size(), 1u);
}

TEST_F(CancellationsTest, UnansweredCouponNumberCancelsNothingButStillRefreshes) {
  SellItems(1);
  CloseCoupon();
  FailEntry("Bematech_FI_NumeroCupom", 0, 1);
  Variant result = EmptyResultArray();

  EXPECT_FALSE(CancelaCupom(CouponCancelParams(), result));

  EXPECT_THAT(SimJournal(), Not(Contains("Bematech_FI_CancelaCupom")));
  EXPECT_EQ(SimFigure("cancellations"), 0);
  EXPECT_EQ(ResultCell(result), Variant(""));
  EXPECT_EQ(RefreshDialogs().size(), 1u) << "the grand total is refreshed all the same";
}

TEST_F(CancellationsTest, RefusedCancellationStillRefreshesTheGrandTotal) {
  SellItems(1);
  CloseCoupon();
  FailEntry("Bematech_FI_CancelaCupom", 0, 1);
  Variant result = EmptyResultArray();

  EXPECT_FALSE(CancelaCupom(CouponCancelParams(), result));

  EXPECT_NE(ResultCell(result), Variant(""));
  EXPECT_EQ(RefreshDialogs().size(), 1u);
}

TEST_F(CancellationsTest, NumberReachesAResultArrayTheHostLeftEmpty) {
  SellItems(1);
  CloseCoupon();
  Variant result;

  EXPECT_TRUE(CancelaCupom(CouponCancelParams(), result));

  ASSERT_TRUE(result.IsArray());
  EXPECT_NE(ResultCell(result).AsText().find_first_not_of(' '), std::string::npos);
}

TEST_F(CancellationsTest, ShortPositionalArrayIsFalseWithoutTouchingThePrinter) {
  Variant result = EmptyResultArray();
  const Variant before = result;

  EXPECT_FALSE(CancelaCupom({kScheme, true, false}, result));

  EXPECT_THAT(SimJournal(), IsEmpty());
  EXPECT_EQ(result, before);
}

// --- Adjustments -----------------------------------------------------------------------

TEST_F(CancellationsTest, SurchargeGoesAsTenDigitsWithImpliedCents) {
  SellItems(2);
  std::string amount = "1,50";

  EXPECT_TRUE(Op<AcrescimoOp>("Acrescimo_Imp")(kScheme, amount));

  EXPECT_THAT(FramesSent(), ElementsAre(FrameSent("|62|50|0000000150|")));
  EXPECT_EQ(SimFigure("surcharges"), 150);
  EXPECT_EQ(amount, "1,50");
}

TEST_F(CancellationsTest, SurchargeThatIsNoAmountOrTooLargeIsRefusedUnsent) {
  SellItems(1);
  std::string not_a_number = "abc";
  std::string too_large = "100000000";

  EXPECT_THROW(Op<AcrescimoOp>("Acrescimo_Imp")(kScheme, not_a_number), Error);
  EXPECT_THROW(Op<AcrescimoOp>("Acrescimo_Imp")(kScheme, too_large), Error);

  EXPECT_THAT(FramesSent(), IsEmpty());
}

TEST_F(CancellationsTest, ReversalSendsBothFormsAndFourDigits) {
  Op<EstornoOp>("Estorno")(kScheme, "Dinheiro", "Cheque", 12.5);

  EXPECT_THAT(FramesSent(), ElementsAre(FrameSent("|74|Dinheiro|Cheque|1250|")));
}

TEST_F(CancellationsTest, ReversalOfAPaidAmountMovesItBetweenForms) {
  ASSERT_EQ(
      Sim<int(const char*, const char*)>("Bematech_FI_ProgramaFormaPagamentoMFD")("Cheque", "0"),
      1);
  SellItems(1);
  CloseCoupon();
  ClearSimJournal();

  EXPECT_TRUE(Op<EstornoOp>("Estorno")(kScheme, "Dinheiro", "Cheque", 0.75));

  EXPECT_THAT(FramesSent(), ElementsAre(FrameSent("|74|Dinheiro|Cheque|0075|")));
}

TEST_F(CancellationsTest, ReversalOfOneHundredOrMoreIsRefusedBeforePrinting) {
  for (const double amount : {100.0, 99.999, 250.0, -1.0}) {
    EXPECT_THROW(Op<EstornoOp>("Estorno")(kScheme, "Dinheiro", "Cheque", amount), Error) << amount;
  }
  EXPECT_THAT(FramesSent(), IsEmpty());
}

}  // namespace
}  // namespace zel
