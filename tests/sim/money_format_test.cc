// Amounts on the simulated printer's paper: the Brazilian way, a dot every
// three digits however large, a comma before the cents.
#include <gtest/gtest.h>

#include <cstdint>

#include "text.h"

namespace ecfsim {
namespace {

TEST(MoneyFormatTest, WritesAmountsTheBrazilianWay) {
  const struct {
    std::int64_t cents;
    const char* text;
  } cases[] = {
      {0, "0,00"},
      {5, "0,05"},
      {-50, "-0,50"},
      {99999, "999,99"},
      {100000, "1.000,00"},
      {123456, "1.234,56"},
      {-123456789, "-1.234.567,89"},
      {179999822474, "1.799.998.224,74"},
      {999999013742, "9.999.990.137,42"},
      {999999999999999999, "9.999.999.999.999.999,99"},
  };
  for (const auto& c : cases) EXPECT_EQ(Money(c.cents), c.text) << c.cents;
}

}  // namespace
}  // namespace ecfsim
