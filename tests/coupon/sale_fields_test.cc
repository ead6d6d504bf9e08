// The amount fields a sale sends to the printer at the edges of their
// widths, with both decimal separators.
#include "coupon/sale_fields.h"

#include <gtest/gtest.h>

#include <limits>

#include "host/separator_fixture.h"
#include "zel/error.h"

namespace zel {
namespace {

class SaleFieldsTest : public BothSeparators {};

TEST_P(SaleFieldsTest, QuantityAndPriceUseTheSystemSeparatorWithoutThousands) {
  EXPECT_EQ(ItemQuantityText(1234.5), Local("1234,500"));
  EXPECT_EQ(ItemPriceText(1.15), Local("1,150"));  // cut on the decimal form, not 1,140
}

TEST_P(SaleFieldsTest, DiscountFillsItsEightDigitsOrIsTheShortLiteral) {
  EXPECT_EQ(ItemDiscountField(999999.99), "99999999");
  EXPECT_EQ(ItemDiscountField(12.349), "00001234");  // cut, not rounded
  EXPECT_EQ(ItemDiscountField(0), "0000");
  EXPECT_EQ(ItemDiscountField(-3), "0000");
  EXPECT_EQ(ItemDiscountField(std::numeric_limits<double>::quiet_NaN()), "0000");
  EXPECT_THROW(ItemDiscountField(1000000), Error);
}

TEST_P(SaleFieldsTest, ImpliedDecimalsAtTheEdgesOfTheField) {
  EXPECT_EQ(ImpliedDecimalsField("00.00", 0.07), "0007");
  EXPECT_EQ(ImpliedDecimalsField("00.00", 99.99), "9999");
  EXPECT_EQ(ImpliedDecimalsField("00000000.00", 99999999.99), "9999999999");
}

TEST_P(SaleFieldsTest, AmountsOutsideTheFieldAreRefusedNamingTheAmount) {
  try {
    ImpliedDecimalsField("00.00", 100);
    FAIL() << "100 does not fit four digits";
  } catch (const Error& error) {
    EXPECT_NE(std::string(error.what()).find(Local("100,00")), std::string::npos) << error.what();
  }
  // 99.999 rounds up to 100.00, one digit too many.
  EXPECT_THROW(ImpliedDecimalsField("00.00", 99.999), Error);
  EXPECT_THROW(ImpliedDecimalsField("00.00", -1), Error);
  EXPECT_THROW(ImpliedDecimalsField("00000000.00", 100000000), Error);
  EXPECT_THROW(ImpliedDecimalsField("00.00", std::numeric_limits<double>::infinity()), Error);
}

INSTANTIATE_TEST_SUITE_P(Separators, SaleFieldsTest, ::testing::Values(',', '.'));

}  // namespace
}  // namespace zel
