// The reader of the serial X reading on its own: what the export's
// integration tests cannot reach easily through the printer.
#include "closing/reduction_reading.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "support/x_reading_sample.h"

namespace zel {
namespace {

using ::testing::HasSubstr;

// Banners in any case, accented capitals included ("NÃO TRIBUTADOS" for
// "Não Tributados"), are found.
TEST(ReductionReadingTest, BannersAreFoundInAnyCase) {
  std::vector<std::string> lines = SampleXReading();
  for (std::string& line : lines) {
    if (!line.starts_with("---")) continue;
    std::transform(line.begin(), line.end(), line.begin(), [](char c) {
      const auto byte = static_cast<unsigned char>(c);
      if (byte >= 'a' && byte <= 'z') return static_cast<char>(byte - 32);
      if (byte >= 0xE0 && byte <= 0xFE && byte != 0xF7) return static_cast<char>(byte - 32);
      return c;
    });
  }

  const ReductionReading reading = ParseReductionReading(lines);

  EXPECT_EQ(reading.counters.substitution, 1.00);
  EXPECT_EQ(reading.tax_rates.size(), 3u);
}

// The list sections end at their own markers, however long they grow.
TEST(ReductionReadingTest, ListsRunToTheirEnds) {
  const ReductionReading reading = ParseReductionReading(SampleXReading(1000));

  EXPECT_EQ(reading.payment_forms.size(), 1003u);
  ASSERT_EQ(reading.tax_rates.size(), 1003u);
  EXPECT_EQ(reading.tax_rates[1002].kind, 'S');
  EXPECT_EQ(reading.non_fiscal.size(), 2u);
}

// "Total" ends a rate list only as written; "TOTAL" is read as a rate line.
TEST(ReductionReadingTest, RateListEndsAtTotalAsWritten) {
  std::vector<std::string> lines = SampleXReading();
  for (std::string& line : lines) {
    if (line.starts_with("Total ")) line.replace(0, 5, "TOTAL");
  }

  try {
    ParseReductionReading(lines);
    FAIL() << "a list without its end was read";
  } catch (const ReadingFormatError& error) {
    EXPECT_THAT(error.what(), HasSubstr("colunas 5-9"));
  }
}

}  // namespace
}  // namespace zel
