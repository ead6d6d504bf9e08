// Amounts as the closing and product reports print them, and the pieces of
// whole lines a long report text is sent in.
#include "nonfiscal/report_layout.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "host/separator_fixture.h"

namespace zel {
namespace {

std::string Line(char fill, std::size_t length_with_feed) {
  return std::string(length_with_feed - 1, fill) + "\n";
}

TEST(SplitIntoWholeLinePieces, KeepsEveryLineAndNeverPassesTheLimit) {
  struct Case {
    std::string text;
    std::vector<std::string> pieces;
  } cases[] = {
      // fits: one piece, exactly the text
      {Line('a', 300) + Line('b', 320), {Line('a', 300) + Line('b', 320)}},
      // one character over: the last line starts the next piece
      {Line('a', 300) + Line('b', 321), {Line('a', 300), Line('b', 321)}},
      // a last line without its feed is kept too
      {Line('a', 618) + "tail", {Line('a', 618), "tail"}},
      // a line longer than a piece goes out in slices, nothing dropped
      {Line('a', 10) + Line('b', 1300),
       {Line('a', 10), std::string(620, 'b'), std::string(620, 'b'), std::string(59, 'b') + "\n"}},
      {"", {}},
  };
  std::string group_list;
  for (int i = 0; i < 13; ++i) group_list += Line(static_cast<char>('a' + i), 49);
  for (const Case& c : cases) {
    EXPECT_EQ(SplitIntoWholeLinePieces(c.text), c.pieces) << c.text.size();
  }
  // thirteen 49-character lines (637): twelve, then one
  const std::vector<std::string> pieces = SplitIntoWholeLinePieces(group_list);
  ASSERT_EQ(pieces.size(), 2u);
  EXPECT_EQ(pieces[0].size(), 12u * 49);
  EXPECT_EQ(pieces[0] + pieces[1], group_list);
}

class ReportAmountTest : public BothSeparators {};

TEST_P(ReportAmountTest, TwoDecimalsNoThousandsNoNegativeZero) {
  EXPECT_EQ(ReportAmount(1234567.891), Local("1234567,89"));
  EXPECT_EQ(ReportAmount(2.675), Local("2,68"));
  EXPECT_EQ(ReportAmount(0.1 + 0.2 - 0.3), Local("0,00"));
  EXPECT_EQ(ReportAmount(-0.001), Local("0,00"));
  EXPECT_EQ(ReportAmount(-1.25), Local("-1,25"));
  // right-aligned; a number wider than its column keeps every digit
  EXPECT_EQ(AmountColumn(3, 6), Local("  3,00"));
  EXPECT_EQ(AmountColumn(1234567, 6), Local("1234567,00"));
}

INSTANTIATE_TEST_SUITE_P(Separators, ReportAmountTest, ::testing::Values(',', '.'));

}  // namespace
}  // namespace zel
