// The fiscal coupon: figures, grand total, COO and the refusals of a printer.
#include <string>

#include "printer_fixture.h"

namespace ecfsim_test {
namespace {

using CouponTest = PrinterTest;

long long Amount(int (*entry)(char*), int width) {
  return std::stoll(PrinterTest::Out(entry, width));
}

TEST_F(CouponTest, GrandTotalGrowsByGrossSalesAndNeverDecreases) {
  long long previous = Figure("grand_total");
  auto never_down = [&previous] {
    long long now = EcfSim_Figure("grand_total");
    EXPECT_GE(now, previous);
    previous = now;
  };
  OpenCoupon();
  Sell("01", "10,000", "2,000", "00000150");  // 20.00, discount 1.50
  never_down();
  Sell("02", "3,450", "1,000");  // 3.45
  ASSERT_EQ(Bematech_FI_CancelaItemAnterior(), 1);
  never_down();
  CloseWithCash("50,00", "1,00");
  never_down();
  OpenCoupon();
  Sell("05", "7,000", "1,000");  // 7.00 on the service tax
  ASSERT_EQ(Bematech_FI_CancelaCupom(), 1);
  never_down();

  EXPECT_EQ(Figure("gross_sales"), 2000 + 345 + 700);
  EXPECT_EQ(Figure("grand_total"), 2000 + 345 + 700);
  EXPECT_EQ(Figure("cancellations"), 345 + 700);
  EXPECT_EQ(Figure("discounts"), 150 + 100);
  EXPECT_EQ(Figure("net_sales"), 2000 - 150 - 100);
  EXPECT_EQ(Amount(Bematech_FI_GrandeTotal, 18), 3045);
  EXPECT_EQ(Amount(Bematech_FI_VendaBruta, 18), 3045);
  EXPECT_EQ(Amount(Bematech_FI_Cancelamentos, 14), 1045);
  EXPECT_EQ(Amount(Bematech_FI_Descontos, 14), 250);

  // The next day starts from the reduced total.
  ASSERT_EQ(Bematech_FI_ReducaoZ(nullptr, nullptr), 1);
  EXPECT_EQ(Figure("grand_total"), 3045);
  EXPECT_EQ(Figure("gross_sales"), 0);
  EcfSim_SetClockOffset(86400);
  OpenCoupon();
  Sell("01", "5,000", "1,000");
  EXPECT_EQ(Figure("grand_total"), 3045 + 500);
}

TEST_F(CouponTest, AmountsAreReadInEveryFormTheHostSends) {
  OpenCoupon();
  Sell("01", "3,450", "0,500");               // 1.725 truncated
  Sell("01", "3.450", "2.000");               // point as separator
  Sell("01", "1000", "2000");                 // implied decimals
  Sell("01", "12,340", "1,000", "00000234");  // discount 2.34
  EXPECT_EQ(Figure("gross_sales"), 172 + 690 + 200 + 1234);
  EXPECT_EQ(Figure("discounts"), 234);
  EXPECT_EQ(
      Bematech_FI_VendeItemDepartamento("1", "X", "01", "abc", "1,000", "00", "0000", "01", "UN"),
      -2);
  EXPECT_EQ(
      Bematech_FI_VendeItemDepartamento("1", "X", "01", "1,000", "0,000", "00", "0000", "01", "UN"),
      -2);
  EXPECT_EQ(Bematech_FI_VendeItemDepartamento("1", "X", "01", "99999999999,000", "9999,000", "00",
                                              "0000", "01", "UN"),
            -2);  // past the printer's largest unit price
  EXPECT_EQ(Figure("gross_sales"), 172 + 690 + 200 + 1234);
}

TEST_F(CouponTest, CooGrowsByOnePerDocumentAndQueriesLeaveIt) {
  auto coo = [] { return std::stoi(Out(Bematech_FI_NumeroCupom, 6)); };
  int start = coo();
  OpenCoupon();
  EXPECT_EQ(coo(), start + 1);
  Sell("01", "1,000", "1,000");
  CloseWithCash("1,00");
  EXPECT_EQ(coo(), start + 1);
  ASSERT_EQ(Bematech_FI_LeituraX(), 1);
  EXPECT_EQ(coo(), start + 2);
  ASSERT_EQ(Bematech_FI_RelatorioGerencial("linha\n"), 1);
  ASSERT_EQ(Bematech_FI_RelatorioGerencial("outra\n"), 1);
  ASSERT_EQ(Bematech_FI_FechaRelatorioGerencial(), 1);
  EXPECT_EQ(coo(), start + 3);
  ASSERT_EQ(Bematech_FI_Suprimento("10,00", "Dinheiro"), 1);
  EXPECT_EQ(coo(), start + 4);
  ASSERT_EQ(Bematech_FI_ReducaoZ(nullptr, nullptr), 1);
  EXPECT_EQ(coo(), start + 5);
  EXPECT_EQ(Figure("coo"), start + 5);
  EXPECT_EQ(Figure("ccf"), 1);
}

TEST_F(CouponTest, ItemOnAnUnprogrammedRateIsRefused) {
  OpenCoupon();
  EXPECT_EQ(
      Bematech_FI_VendeItemDepartamento("1", "X", "07", "1,000", "1,000", "00", "0000", "01", "UN"),
      -3);
  Status s = LastStatus();
  EXPECT_EQ(s.ack, 6);
  EXPECT_EQ(s.st2 & 16, 16);
  EXPECT_EQ(s.st1 & 2, 2);  // the coupon stays open
  EXPECT_EQ(Figure("gross_sales"), 0);
  EcfSim_SetTaxRate(7, 450, 0);
  Sell("07", "1,000", "1,000");
  EXPECT_EQ(LastStatus().st2, 0);
}

TEST_F(CouponTest, SecondCouponWhileOneIsOpenIsRefused) {
  OpenCoupon();
  long long coo = Figure("coo");
  EXPECT_EQ(Bematech_FI_AbreCupomMFD("123", "Maria", nullptr), -27);
  Status s = LastStatus();
  EXPECT_EQ(s.st1, 2);
  EXPECT_EQ(s.st2, 1);
  EXPECT_EQ(Figure("coo"), coo);
}

TEST_F(CouponTest, ClosingStepsGoInOrder) {
  OpenCoupon();
  EXPECT_EQ(Bematech_FI_IniciaFechamentoCupom("d", "$", "0"), -27);  // no item yet
  Sell("01", "10,000", "1,000");
  EXPECT_EQ(Bematech_FI_EfetuaFormaPagamento("Dinheiro", "10,00"), -27);
  ASSERT_EQ(Bematech_FI_IniciaFechamentoCupom("a", "%", "1000"), 1);  // 10 % surcharge
  EXPECT_EQ(
      Bematech_FI_VendeItemDepartamento("2", "Y", "01", "1,000", "1,000", "00", "0000", "01", "UN"),
      -27);
  EXPECT_EQ(Bematech_FI_EfetuaFormaPagamento("Cheque", "5,00"), -24);
  ASSERT_EQ(Bematech_FI_EfetuaFormaPagamento("dinheiro", "5,00"), 1);
  EXPECT_EQ(Bematech_FI_TerminaFechamentoCupom("msg"), -27);  // 6.00 still due
  ASSERT_EQ(Bematech_FI_EfetuaFormaPagamento("Dinheiro", "20,00"), 1);
  ASSERT_EQ(Bematech_FI_TerminaFechamentoCupom("msg"), 1);
  EXPECT_EQ(Figure("document"), 0);
  EXPECT_EQ(Figure("surcharges"), 100);
  EXPECT_EQ(Figure("grand_total"), 1100);
  // The change (25.00 - 11.00) is not cash kept in the till.
  std::string forms = Out(Bematech_FI_VerificaFormasPagamento, 3016);
  EXPECT_EQ(forms.substr(0, 37), std::string("Dinheiro        ") + "00000000000000001100" + "0");
}

TEST_F(CouponTest, SubtotalDiscountIsSharedOverTheRates) {
  OpenCoupon();
  Sell("01", "30,000", "1,000");
  Sell("05", "10,000", "1,000");
  CloseWithCash("40,00", "4,00");
  std::string totals = Out(Bematech_FI_VerificaTotalizadoresParciais, 329);
  EXPECT_EQ(totals.substr(0, 14), "00000000002700");        // 30.00 - 3.00 on 18 %
  EXPECT_EQ(totals.substr(4 * 15, 14), "00000000000900");   // 10.00 - 1.00 on the service tax
  EXPECT_EQ(totals.substr(19 * 15, 14), "00000000000400");  // all discounts
  EXPECT_EQ(Figure("net_sales"), 3600);
}

TEST_F(CouponTest, LastCouponCanBeCancelledUntilAnotherDocument) {
  OpenCoupon();
  Sell("01", "8,000", "1,000");
  CloseWithCash("10,00");
  long long coo = Figure("coo");
  ASSERT_EQ(Bematech_FI_CancelaCupom(), 1);
  EXPECT_EQ(Figure("coo"), coo + 1);  // the cancellation is a document of its own
  EXPECT_EQ(Figure("cfc"), 1);
  EXPECT_EQ(Figure("cancellations"), 800);
  EXPECT_EQ(Figure("grand_total"), 800);
  EXPECT_EQ(Bematech_FI_CancelaCupom(), -27);
  EXPECT_EQ(LastStatus().st2, 4);
  std::string forms = Out(Bematech_FI_VerificaFormasPagamento, 3016);
  EXPECT_EQ(forms.substr(16, 20), std::string(20, '0'));  // the payment was taken back

  OpenCoupon();
  Sell("01", "8,000", "1,000");
  CloseWithCash("8,00");
  ASSERT_EQ(Bematech_FI_LeituraX(), 1);
  EXPECT_EQ(Bematech_FI_CancelaCupom(), -27);
  EXPECT_EQ(Figure("cfc"), 1);
}

TEST_F(CouponTest, ItemCancellationByNumber) {
  OpenCoupon();
  Sell("01", "1,000", "1,000");
  Sell("02", "2,000", "1,000");
  EXPECT_EQ(Bematech_FI_CancelaItemGenerico("012"), -27);
  EXPECT_EQ(LastStatus().st2, 4);
  EXPECT_EQ(Bematech_FI_CancelaItemGenerico("x1"), -2);
  ASSERT_EQ(Bematech_FI_CancelaItemGenerico("0001"), 1);
  EXPECT_EQ(Bematech_FI_CancelaItemGenerico("1"), -27);  // already cancelled
  EXPECT_EQ(Figure("cancellations"), 100);
  ASSERT_EQ(Bematech_FI_IniciaFechamentoCupom("d", "$", "0"), 1);
  EXPECT_EQ(Bematech_FI_CancelaItemAnterior(), -27);  // closing started
}

}  // namespace
}  // namespace ecfsim_test
