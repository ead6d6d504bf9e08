// Filter expressions: parsing, evaluation and what the cursor walks.
#include <functional>
#include <string>
#include <vector>

#include "gmock/gmock.h"
#include "gtest/gtest.h"
#include "zel/dataset.h"
#include "zel/error.h"

namespace zel {
namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::IsEmpty;

struct Movement {
  const char* id;
  const char* branch;
  const char* register_code;
  const char* serial;
  Variant amount;  // empty for null
};

// One row per movement: ID, CDFILIAL, CDCAIXA, NRSERIEECF, VRMOV.
Dataset MakeTable(const std::vector<Movement>& rows) {
  Dataset table("cdsCheckECF");
  table.AddField("ID", FieldType::kText, 10);
  table.AddField("CDFILIAL", FieldType::kText, 4);
  table.AddField("CDCAIXA", FieldType::kText, 3);
  table.AddField("NRSERIEECF", FieldType::kText, 20);
  table.AddField("VRMOV", FieldType::kFloat);
  table.CreateDataSet();
  for (const Movement& row : rows) {
    table.Append();
    table.SetValue("ID", row.id);
    table.SetValue("CDFILIAL", row.branch);
    table.SetValue("CDCAIXA", row.register_code);
    table.SetValue("NRSERIEECF", row.serial);
    table.SetValue("VRMOV", row.amount);
    table.Post();
  }
  return table;
}

const std::vector<Movement> kRows = {
    {"a", "0001", "001", "BE0001", 10.0},      {"b", "0001", "002", "BE0001", 20.5},
    {"c", "0002", "001", "BE0002", -5.0},      {"d", "0001", "001", "BE0003", Variant()},
    {"e", "0001", "001  ", "BE0001  ", 100.0},
};

std::vector<std::string> Ids(Dataset& table, std::string_view filter) {
  table.SetFilter(filter);
  table.SetFiltered(true);
  std::vector<std::string> ids;
  for (table.First(); !table.Eof(); table.Next()) ids.push_back(table.AsText("ID"));
  return ids;
}

std::string ErrorText(const std::function<void()>& action) {
  try {
    action();
  } catch (const Error& error) {
    return error.what();
  }
  return "no error";
}

TEST(DatasetFilterTest, ConjunctionOfTextEqualitiesIgnoresTrailingBlanks) {
  Dataset table = MakeTable(kRows);
  EXPECT_THAT(Ids(table, "CDFILIAL = '0001' AND CDCAIXA = '001' AND NRSERIEECF = 'BE0001'"),
              ElementsAre("a", "e"));
  EXPECT_THAT(Ids(table, "CDCAIXA = '001   '"), ElementsAre("a", "c", "d", "e"));
  // Leading blanks count.
  EXPECT_THAT(Ids(table, "CDCAIXA = ' 001'"), IsEmpty());
}

TEST(DatasetFilterTest, QuotedTextMayTouchTheNextKeyword) {
  Dataset table = MakeTable(kRows);
  EXPECT_THAT(Ids(table, "CDCAIXA = '002'AND CDFILIAL = '0001'"), ElementsAre("b"));
  EXPECT_THAT(Ids(table, "CDCAIXA='002'OR(ID='c')"), ElementsAre("b", "c"));
}

TEST(DatasetFilterTest, NotBlankExcludesNullAndBlankTexts) {
  Dataset table("cdsReceb");
  table.AddField("CDTIPORECE", FieldType::kText, 3);
  table.AddField("CDFPIMPFIS", FieldType::kText, 10);
  table.CreateDataSet();
  const std::vector<std::pair<const char*, const char*>> rows = {
      {"1", "S"}, {"2", " "}, {"3", ""}, {"4", "03"}};
  for (auto [code, form] : rows) {
    table.Append();
    table.SetValue("CDTIPORECE", code);
    table.SetValue("CDFPIMPFIS", form);
    table.Post();
  }
  table.SetFilter("CDFPIMPFIS <> ' '");
  table.SetFiltered(true);
  std::vector<std::string> codes;
  for (table.First(); !table.Eof(); table.Next()) codes.push_back(table.AsText("CDTIPORECE"));
  EXPECT_THAT(codes, ElementsAre("1", "4"));
}

TEST(DatasetFilterTest, AndBindsTighterThanOrAndParenthesesAndNotWork) {
  Dataset table = MakeTable(kRows);
  EXPECT_THAT(Ids(table, "ID = 'c' OR CDFILIAL = '0001' AND CDCAIXA = '002'"),
              ElementsAre("b", "c"));
  EXPECT_THAT(Ids(table, "(ID = 'c' OR CDFILIAL = '0001') AND CDCAIXA = '002'"), ElementsAre("b"));
  EXPECT_THAT(Ids(table, "NOT CDFILIAL = '0001'"), ElementsAre("c"));
  EXPECT_THAT(Ids(table, "not (ID = 'a' or ID = 'b') and not ID = 'e'"), ElementsAre("c", "d"));
  EXPECT_THAT(Ids(table, "NOT NOT ID = 'a'"), ElementsAre("a"));
}

TEST(DatasetFilterTest, NumbersCompareAsNumbersAndNullMatchesOnlyNotEqual) {
  Dataset table = MakeTable(kRows);
  EXPECT_THAT(Ids(table, "VRMOV < 20"), ElementsAre("a", "c"));
  EXPECT_THAT(Ids(table, "VRMOV >= 20.5"), ElementsAre("b", "e"));
  EXPECT_THAT(Ids(table, "VRMOV > -5"), ElementsAre("a", "b", "e"));
  EXPECT_THAT(Ids(table, "VRMOV <= -5.0"), ElementsAre("c"));
  EXPECT_THAT(Ids(table, "VRMOV = 100"), ElementsAre("e"));
  EXPECT_THAT(Ids(table, "VRMOV <> 10"), ElementsAre("b", "c", "d", "e"));
  // A quoted number meets a float field as a number.
  EXPECT_THAT(Ids(table, "VRMOV = '10'"), ElementsAre("a"));
  EXPECT_THAT(Ids(table, "100 = VRMOV"), ElementsAre("e"));
}

TEST(DatasetFilterTest, TextOrderIsByteOrder) {
  Dataset table = MakeTable(kRows);
  EXPECT_THAT(Ids(table, "NRSERIEECF > 'BE0001'"), ElementsAre("c", "d"));
  EXPECT_THAT(Ids(table, "ID < 'c'"), ElementsAre("a", "b"));
}

TEST(DatasetFilterTest, QuotesKeywordsAndBracketedNames) {
  Dataset table = MakeTable({{"it's", "0001", "001", "X", 1.0}, {"b", "0001", "001", "Y", 2.0}});
  EXPECT_THAT(Ids(table, "ID = 'it''s'"), ElementsAre("it's"));
  EXPECT_THAT(Ids(table, "ID = \"it's\""), ElementsAre("it's"));
  EXPECT_THAT(Ids(table, "[id] = 'b' And nrserieecf = 'Y'"), ElementsAre("b"));
}

TEST(DatasetFilterTest, IntegerDateAndBooleanFields) {
  Dataset table("cdsEmprestimo");
  table.AddField("NR", FieldType::kInteger);
  table.AddField("DT", FieldType::kDateTime);
  table.AddField("OK", FieldType::kBoolean);
  table.CreateDataSet();
  for (int i = 1; i <= 4; ++i) {
    table.Append();
    table.SetValue("NR", i);
    table.SetValue("DT", DateTime{45000.0 + i});
    table.SetValue("OK", i % 2 == 0);
    table.Post();
  }
  const auto numbers = [&](std::string_view filter) {
    table.SetFilter(filter);
    table.SetFiltered(true);
    std::vector<std::int64_t> found;
    for (table.First(); !table.Eof(); table.Next()) found.push_back(table.AsInteger("NR"));
    return found;
  };
  EXPECT_THAT(numbers("NR = '12' OR NR >= 3"), ElementsAre(3, 4));
  EXPECT_THAT(numbers("DT < 45002.5"), ElementsAre(1, 2));
  EXPECT_THAT(numbers("OK = 'True'"), ElementsAre(2, 4));
  EXPECT_THAT(numbers("OK <> 1"), ElementsAre(1, 3));
}

TEST(DatasetFilterTest, FilterOnAndOffChangesWhatTheCursorWalks) {
  Dataset table = MakeTable(kRows);
  table.Last();
  table.SetFilter("CDFILIAL = '0002'");
  EXPECT_EQ(table.RecordCount(), 5);  // set but not yet on
  table.SetFiltered(true);
  EXPECT_EQ(table.RecordCount(), 1);
  EXPECT_EQ(table.AsText("ID"), "c");
  EXPECT_TRUE(table.Bof());
  table.SetFiltered(false);
  EXPECT_EQ(table.RecordCount(), 5);
  EXPECT_EQ(table.AsText("ID"), "a");
  table.SetFiltered(true);
  table.SetFilter("");
  EXPECT_EQ(table.RecordCount(), 5);
}

TEST(DatasetFilterTest, PostedRowsFollowTheFilter) {
  Dataset table = MakeTable(kRows);
  table.SetFilter("CDFILIAL = '0002'");
  table.SetFiltered(true);
  table.Append();
  table.SetValue("ID", "f");
  table.SetValue("CDFILIAL", "0002");
  table.Post();
  EXPECT_EQ(table.RecordCount(), 2);
  EXPECT_EQ(table.AsText("ID"), "f");
  // An edit that leaves the filter hides the row.
  table.Edit();
  table.SetValue("CDFILIAL", "0009");
  table.Post();
  EXPECT_EQ(table.RecordCount(), 1);
  EXPECT_EQ(table.AsText("ID"), "c");
  table.SetFiltered(false);
  EXPECT_EQ(table.RecordCount(), 6);
}

TEST(DatasetFilterTest, SyntaxErrorsNameTableExpressionAndPosition) {
  Dataset table = MakeTable(kRows);
  table.SetFilter("ID = 'a'");
  table.SetFiltered(true);
  struct Case {
    const char* expression;
    const char* position;
  };
  for (const Case& c : {Case{"ID = ", "6"}, Case{"ID = 'a", "6"}, Case{"ID 'a'", "4"},
                        Case{"(ID = 'a'", "10"}, Case{"ID = 'a' ID", "10"}, Case{"ID # 1", "4"},
                        Case{"AND ID = 'a'", "1"}, Case{"ID = 'a' AND", "13"}}) {
    const std::string message = ErrorText([&] { table.SetFilter(c.expression); });
    EXPECT_THAT(message, HasSubstr("cdsCheckECF")) << c.expression;
    EXPECT_THAT(message, HasSubstr(c.expression)) << c.expression;
    EXPECT_THAT(message, HasSubstr(std::string(" ") + c.position + ":")) << c.expression;
  }
  // The previous filter stays in force.
  EXPECT_EQ(table.Filter(), "ID = 'a'");
  EXPECT_EQ(table.RecordCount(), 1);
}

TEST(DatasetFilterTest, UnknownFieldOrTypeMismatchRaisesWhenTheFilterApplies) {
  Dataset table = MakeTable(kRows);
  table.SetFilter("CDPRODUTO = '1'");  // parses; fields are checked when it applies
  const std::string missing = ErrorText([&] { table.SetFiltered(true); });
  EXPECT_THAT(missing, HasSubstr("cdsCheckECF"));
  EXPECT_THAT(missing, HasSubstr("CDPRODUTO"));
  EXPECT_FALSE(table.Filtered());
  EXPECT_EQ(table.RecordCount(), 5);

  table.SetFilter("");
  table.SetFiltered(true);
  EXPECT_THAT(ErrorText([&] { table.SetFilter("CDFILIAL = 1"); }), HasSubstr("CDFILIAL"));
  EXPECT_THAT(ErrorText([&] { table.SetFilter("VRMOV = 'abc'"); }), HasSubstr("VRMOV"));
  EXPECT_THAT(ErrorText([&] { table.SetFilter("1 = 'a'"); }), HasSubstr("cdsCheckECF"));
  EXPECT_EQ(table.RecordCount(), 5);
}

TEST(DatasetFilterTest, DeepNestingIsRefusedAndLongChainsWork) {
  Dataset table = MakeTable(kRows);
  const std::string deep = std::string(100000, '(') + "ID = 'a'" + std::string(100000, ')');
  EXPECT_THAT(ErrorText([&] { table.SetFilter(deep); }), HasSubstr("cdsCheckECF"));
  std::string chain = "ID = 'a'";
  for (int i = 0; i < 20000; ++i) chain += " OR ID = 'zz'";
  EXPECT_THAT(Ids(table, chain), ElementsAre("a"));
}

}  // namespace
}  // namespace zel
