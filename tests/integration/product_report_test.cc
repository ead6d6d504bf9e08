// The product report through the loaded driver against the simulated
// printer: the confirmation modes, the receipt flag, both layouts line by
// line, and long reports that must reach the paper whole.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <stdexcept>
#include <string>
#include <vector>

#include "closing_fixture.h"

namespace zel {
namespace {

using ::testing::ElementsAre;
using ::testing::ElementsAreArray;
using ::testing::HasSubstr;
using ::testing::IsEmpty;

using ProductReportFn = void(const std::string&, const std::string&, const std::string&,
                             const std::string&, const std::string&, std::string&, Dataset&,
                             const std::string&, const std::string&, const std::string&, bool&);

constexpr char kScheme[] = "005";
const std::string kRule(48, '-');

std::string L(const std::string& text, std::size_t width) {
  return Cp(text).substr(0, width) + std::string(width - std::min(width, Cp(text).size()), ' ');
}
std::string R(const std::string& text, std::size_t width) {
  return std::string(width - text.size(), ' ') + text;
}

const std::string kTitle = std::string(13, ' ') + "RELATORIO DE PRODUTOS" + std::string(13, ' ');
const std::string kHeader = "CODIGO      NOME                  QTDE  VLR.TOT.";

std::string ProductLine(const std::string& code, const std::string& name,
                        const std::string& quantity, const std::string& value) {
  return L(code, 11) + " " + L(name, 19) + " " + R(quantity, 6) + R(value, 10) + "\n";
}

std::string Totals(const std::string& surcharges, const std::string& discounts,
                   const std::string& quantity, const std::string& value) {
  return L("Total de Acréscimos", 35) + R(surcharges, 13) + "\n\n" + L("Total de Descontos", 35) +
         R(discounts, 13) + "\n\n" + L("Total das Vendas", 29) + R(quantity, 9) + R(value, 10) +
         "\n\n\n";
}

class ProductReportTest : public ClosingFixture {
 protected:
  // Runs the report; returns the receipt flag after it.
  bool Report(Dataset& products, const std::string& mode, const std::string& grouping,
              bool receipt_flag = true) {
    Op<ProductReportFn>("Relatorio_Produto")("a", "b", "c", "d", "e", number_, products, mode,
                                             grouping, kScheme, receipt_flag);
    return receipt_flag;
  }
  std::string number_;
};

TEST_F(ProductReportTest, PlainListLineByLineInTheHostsOrder) {
  Dataset products = Products({{"202", "FEIJAO PRETO TIPO 1 ESPECIAL", 3, 25.47, 0.50, 0, "T", 12},
                               {"101", "ARROZ 5KG", 2, 43.80, 0, 1.00, "T", 18}});
  // A grouped report before must not reorder the plain one.
  ASSERT_TRUE(Report(products, "N", "S"));
  ClearSimJournal();
  const long long coo = SimFigure("coo");

  EXPECT_TRUE(Report(products, "N", "N"));

  EXPECT_THAT(Steps(), ElementsAre("receipt", "open", "piece", "piece", "piece", "piece", "close"));
  EXPECT_THAT(Pieces(), ElementsAre("\n" + kTitle + "\n\n" + kHeader + "\n\n",
                                    // a name longer than 19 characters is cut to 19
                                    ProductLine("202", "FEIJAO PRETO TIPO 1", "3,00", "25,47"),
                                    ProductLine("101", "ARROZ 5KG", "2,00", "43,80"),
                                    "\n" + Totals("0,50", "1,00", "5,00", "69,27")));
  EXPECT_EQ(number_, SixDigits(coo + 1));
  EXPECT_EQ(Var<std::string>("stRetorno"), SixDigits(coo + 1));
  EXPECT_EQ(ExtendedStatus(), 0);
  EXPECT_THAT(host_.dialogs, IsEmpty());
}

TEST_F(ProductReportTest, GroupedByTaxWithHeadingsAndGroupTotals) {
  Dataset products = Products({{"1", "A", 1, 10, 0, 0, "T", 18},
                               {"2", "B", 1, 20, 0, 0, "T", 18},
                               {"3", "C", 1, 5, 0, 0, "F", 0},
                               {"4", "D", 1, 6, 0, 0, "F", 0},
                               {"5", "E", 1, 7, 0, 0, "I", 0},
                               {"6", "F", 2, 8, 0, 0, "T", 7},
                               {"7", "G", 1, 4, 0.25, 0, "T", 0}});

  EXPECT_TRUE(Report(products, "N", "S"));

  EXPECT_THAT(
      Pieces(),
      ElementsAre("\n" + kTitle + "\n\n" + kHeader + "\n", "Subst. Trib.\n",
                  ProductLine("3", "C", "1,00", "5,00"),
                  // same situation and rate: no heading of its own
                  ProductLine("4", "D", "1,00", "6,00"), "Isento :\n",
                  ProductLine("5", "E", "1,00", "7,00"),
                  // a zero rate in a taxed situation has no heading
                  ProductLine("7", "G", "1,00", "4,00"), "Tributacao  7\n",
                  ProductLine("6", "F", "2,00", "8,00"), "Tributacao  18\n",
                  ProductLine("1", "A", "1,00", "10,00"), ProductLine("2", "B", "1,00", "20,00"),
                  L("VALOR", 29) + R("8,00", 9) + R("60,00", 10) + "\n\n",
                  L("Tributados", 35) + "\n",
                  L("Subst. Trib.", 35) + R("11,00", 13) + "\n" + L("Isento :", 35) +
                      R("7,00", 13) + "\n" + L("0,00", 35) + R("4,00", 13) + "\n" + L("7,00", 35) +
                      R("8,00", 13) + "\n" + L("18,00", 35) + R("30,00", 13) + "\n",
                  Totals("0,25", "0,00", "8,00", "60,00")));
  EXPECT_EQ(ExtendedStatus(), 0);
}

TEST_F(ProductReportTest, ALongTaxGroupListGoesOutInPiecesOfWholeLines) {
  std::vector<SoldProduct> sold;
  std::vector<std::string> group_lines;
  for (int rate = 1; rate <= 20; ++rate) {
    sold.push_back({std::to_string(rate), "P", 1, 1, 0, 0, "T", static_cast<double>(rate)});
    group_lines.push_back(L(std::to_string(rate) + ",00", 35) + R("1,00", 13) + "\n");
  }
  Dataset products = Products(sold);

  Report(products, "N", "S");

  // The 20 group lines (980 characters) follow the "Tributados" piece.
  const std::vector<std::string> pieces = Pieces();
  auto tributados = std::find(pieces.begin(), pieces.end(), L("Tributados", 35) + "\n");
  ASSERT_NE(tributados, pieces.end());
  ASSERT_EQ(pieces.end() - tributados, 4) << "groups in two pieces, then the totals";
  std::string groups_sent;
  for (auto piece = tributados + 1; piece != tributados + 3; ++piece) {
    EXPECT_LE(piece->size(), 620u);
    EXPECT_EQ(piece->back(), '\n');
    groups_sent += *piece;
  }
  std::string groups_expected;
  for (const std::string& line : group_lines) groups_expected += line;
  EXPECT_EQ(groups_sent, groups_expected);
}

TEST_F(ProductReportTest, ThreeHundredProductsGroupedByTaxPrintEveryProduct) {
  std::vector<SoldProduct> sold;
  const double rates[] = {0, 7, 12, 18, 25};
  const char* situations[] = {"F", "T", "T", "T", "T"};
  for (int i = 0; i < 300; ++i) {
    sold.push_back({"P" + std::to_string(i), "PRODUTO " + std::to_string(i), 1, 2.5, 0, 0,
                    situations[i % 5], rates[i % 5]});
  }
  Dataset products = Products(sold);

  Report(products, "N", "S");

  std::vector<std::string> printed;
  for (const std::string& piece : Pieces()) {
    if (piece.starts_with("P")) printed.push_back(piece.substr(0, piece.find(' ')));
  }
  ASSERT_EQ(printed.size(), 300u);
  std::sort(printed.begin(), printed.end());
  std::vector<std::string> expected;
  for (int i = 0; i < 300; ++i) expected.push_back("P" + std::to_string(i));
  std::sort(expected.begin(), expected.end());
  EXPECT_EQ(printed, expected);
  EXPECT_EQ(Pieces().back(), Totals("0,00", "0,00", "300,00", "750,00"));
  EXPECT_EQ(ExtendedStatus(), 0);
}

struct ModeCase {
  const char* mode;
  std::vector<bool> answers;
  bool asked;
  bool prints;
};

class ConfirmationModeTest : public ProductReportTest,
                             public ::testing::WithParamInterface<ModeCase> {};

TEST_P(ConfirmationModeTest, AsksAndPrintsAsTheModeSays) {
  const ModeCase& c = GetParam();
  host_.ScriptAnswers({c.answers.empty() ? false : c.answers[0]});
  Dataset products = Products({{"1", "A", 1, 10}});

  const bool flag = Report(products, c.mode, "N", false);

  if (c.asked) {
    ASSERT_EQ(host_.dialogs.size(), 1u);
    EXPECT_EQ(host_.dialogs[0], (RecordedDialog{Cp("Confirma impressão do Relatório de Produtos?"),
                                                "", "N", "S", 1, "", kScheme, 0, false}));
  } else {
    EXPECT_THAT(host_.dialogs, IsEmpty());
  }
  if (c.prints) {
    EXPECT_TRUE(flag);
    // The caller's document is closed before the report's own receipt.
    EXPECT_THAT(Steps(),
                ElementsAre("close", "receipt", "open", "piece", "piece", "piece", "close"));
  } else {
    EXPECT_FALSE(flag) << "stopping leaves the flag as it was";
    EXPECT_THAT(SimJournal(), IsEmpty());
  }
}

INSTANTIATE_TEST_SUITE_P(Modes, ConfirmationModeTest,
                         ::testing::Values(ModeCase{"N", {}, false, true},
                                           ModeCase{"S", {true}, true, true},
                                           ModeCase{"S", {false}, true, false},
                                           ModeCase{"X", {}, false, false},
                                           ModeCase{"n", {}, false, false}));

TEST_F(ProductReportTest, NoProductsClosesTheCallersDocumentAndPrintsNothing) {
  ASSERT_EQ(Sim<int(const char*)>("Bematech_FI_RelatorioGerencial")("left open\n"), 1);
  ClearSimJournal();
  Dataset products = Products({});

  EXPECT_TRUE(Report(products, "N", "S", false));

  EXPECT_THAT(Steps(), ElementsAre("close"));
  EXPECT_EQ(ExtendedStatus(), 0);
  EXPECT_THAT(number_, IsEmpty());
}

// One product row with `missing` left out of the fields and VRTOTAL a text
// field holding `total`.
Dataset OddProducts(const std::string& missing, const std::string& total) {
  Dataset products("Produtos");
  std::vector<FieldDef> fields = {
      {"CDPRODUTO", FieldType::kText, 5},    {"NMPRODUTO", FieldType::kText, 5},
      {"QTPRODVEND", FieldType::kFloat, 0},  {"VRTOTAL", FieldType::kText, 10},
      {"VRACRE", FieldType::kFloat, 0},      {"VRDESC", FieldType::kFloat, 0},
      {"IDTPIMPOSFIS", FieldType::kText, 1}, {"VRPEALIMPFIS", FieldType::kFloat, 0}};
  std::erase_if(fields, [&](const FieldDef& field) { return field.name == missing; });
  products.SetFieldDefs(fields);
  products.CreateDataSet();
  products.Append();
  products.SetValue("VRTOTAL", total);
  products.Post();
  return products;
}

TEST_F(ProductReportTest, BadProductsAreRefusedBeforeAnythingIsAskedOrPrinted) {
  struct BadCase {
    const char* missing;
    const char* total;
    const char* grouping;
    const char* named;
  } cases[] = {{"VRDESC", "10", "N", "VRDESC"},
               {"", "dez reais", "N", "VRTOTAL"},
               {"IDTPIMPOSFIS", "10", "S", "IDTPIMPOSFIS"}};
  for (const BadCase& c : cases) {
    SCOPED_TRACE(c.named);
    Dataset products = OddProducts(c.missing, c.total);
    try {
      Report(products, "S", c.grouping, false);
      ADD_FAILURE() << "no error";
    } catch (const std::exception& error) {
      EXPECT_THAT(error.what(), HasSubstr("products dataset"));
      EXPECT_THAT(error.what(), HasSubstr(c.named));
    }
    EXPECT_THAT(SimJournal(), IsEmpty());
    EXPECT_THAT(host_.dialogs, IsEmpty());
  }
  // The same shape without the tax fields is sound for the plain list.
  Dataset plain = OddProducts("IDTPIMPOSFIS", "10");
  EXPECT_TRUE(Report(plain, "N", "N", false));
}

}  // namespace
}  // namespace zel
