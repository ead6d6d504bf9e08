#include "last_reduction.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "sim_files_fixture.h"

namespace ecfsim {
namespace {

using ::testing::Each;
using ::testing::SizeIs;

// The documented layout: field widths in order, then blanks to 1278.
constexpr int kWidths[] = {4,  6,  4,  6,  6,  4,  6,  4,  6,  12, 18, 14,  14,  14,
                           14, 14, 14, 14, 14, 14, 14, 14, 14, 14, 80, 192, 240, 360};
constexpr int kFieldCount = sizeof(kWidths) / sizeof(kWidths[0]);

// Cuts the buffer by the documented widths, checking the commas between
// fields and the blanks after the last one.
std::vector<std::string> Fields(const std::string& data) {
  std::vector<std::string> fields;
  std::size_t at = 0;
  for (int i = 0; i < kFieldCount; ++i) {
    if (i > 0) {
      EXPECT_EQ(data.at(at), ',') << "before field " << i + 1;
      ++at;
    }
    fields.push_back(data.substr(at, kWidths[i]));
    at += kWidths[i];
  }
  EXPECT_EQ(data.find_first_not_of(' ', at), std::string::npos) << "after the last field";
  return fields;
}

// Piece `index` of `width` characters from a field of joined pieces.
std::string Piece(const std::string& field, int index, int width) {
  return field.substr(static_cast<std::size_t>(index) * width, width);
}

TEST(LastReductionTest, DescribesTheLastReductionInTheDocumentedLayout) {
  PrinterState state = BusyPrinter();
  ReductionRecord& last = state.reductions.back();
  last.cro = 2;
  last.gnf = 77;
  last.ccf = 310;
  last.cfc = 4;
  last.grg = 12;
  last.cdc = 9;
  last.day.cancellations = 500;
  last.day.iss_discounts = 30;
  last.day.supplies = 1000;
  last.day.withdrawals = 250;
  last.rates[2] = TaxRate{true, 500, true, 4321};
  last.payment_forms[1] = PaymentForm{"Cartao", true, 6000};
  last.totalizers[29] = NonFiscalTotalizer{"Ultimo", 777, 1};

  const std::string data = LastReductionData(state);
  ASSERT_EQ(data.size(), 1278u);
  const std::vector<std::string> f = Fields(data);
  ASSERT_THAT(f, SizeIs(kFieldCount));
  EXPECT_EQ(f[0], "0040");
  EXPECT_EQ(f[1], "004000");
  EXPECT_EQ(f[2], "0002");
  EXPECT_EQ(f[3], "000077");
  EXPECT_EQ(f[4], "000310");
  EXPECT_EQ(f[5], "0004");
  EXPECT_EQ(f[6], "000012");
  EXPECT_EQ(f[7], "0009");
  EXPECT_EQ(f[8], "061226");
  EXPECT_EQ(f[9], "061226235501");
  EXPECT_EQ(f[10], "000000000123130000");
  EXPECT_EQ(f[11], "00000000070000");                    // gross
  EXPECT_EQ(std::stoll(f[12]), 70000 - 400 - 500 - 30);  // net
  EXPECT_EQ(std::stoll(f[13]), 500);                     // cancellations
  EXPECT_EQ(std::stoll(f[14]), 400);                     // discounts
  EXPECT_EQ(std::stoll(f[17]), 30);                      // service-tax discounts
  EXPECT_EQ(std::stoll(f[22]), 1000);                    // supplies
  EXPECT_EQ(std::stoll(f[23]), 250);                     // withdrawals
  EXPECT_EQ(Piece(f[24], 0, 5), "T1800");
  EXPECT_EQ(Piece(f[24], 1, 5), "     ");
  EXPECT_EQ(Piece(f[24], 2, 5), "S0500");
  EXPECT_EQ(Piece(f[25], 0, 12), "000000069600");
  EXPECT_EQ(Piece(f[25], 2, 12), "000000004321");
  EXPECT_EQ(Piece(f[26], 1, 12), "000000006000");
  EXPECT_EQ(Piece(f[27], 29, 12), "000000000777");
  EXPECT_EQ(Piece(f[27], 0, 12), "000000000000");
}

TEST(LastReductionTest, APrinterThatNeverReducedHandsOverZeros) {
  PrinterState state;
  state.counters.crz = 0;
  const std::string data = LastReductionData(state);
  ASSERT_EQ(data.size(), 1278u);
  const std::vector<std::string> f = Fields(data);
  EXPECT_EQ(f[0], "0000");
  EXPECT_EQ(f[8], "000000");
  EXPECT_EQ(f[9], "000000000000");
  EXPECT_THAT(f[24], Each(' '));
  for (int i : {10, 11, 12, 25, 26, 27}) {
    EXPECT_EQ(f[i].find_first_not_of('0'), std::string::npos) << "field " << i + 1;
  }
}

}  // namespace
}  // namespace ecfsim
