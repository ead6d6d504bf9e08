// Named indexes (order, stability, switching) and locate.
#include <functional>
#include <string>
#include <tuple>
#include <vector>

#include "gmock/gmock.h"
#include "gtest/gtest.h"
#include "zel/dataset.h"
#include "zel/error.h"

namespace zel {
namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;

std::string ErrorText(const std::function<void()>& action) {
  try {
    action();
  } catch (const Error& error) {
    return error.what();
  }
  return "no error";
}

struct Payment {
  const char* id;
  const char* change_order;  // NRORDTROCO; nullptr for null
  double taken_at;           // DTHRINCMOV
};

// The sale's cash movements with the two indexes the closing uses.
Dataset MakeMovements(const std::vector<Payment>& payments) {
  Dataset table("cdsMovCaixa");
  table.AddField("ID", FieldType::kText, 5);
  table.AddField("NRORDTROCO", FieldType::kText, 3);
  table.AddField("DTHRINCMOV", FieldType::kDateTime);
  table.AddIndex("idxNRORDTROCO", "NRORDTROCO;DTHRINCMOV", "DTHRINCMOV");
  table.AddIndex("idxDTHRINCMOV", "DTHRINCMOV");
  table.SetIndexName("idxNRORDTROCO");
  table.CreateDataSet();
  for (const Payment& payment : payments) {
    table.Append();
    table.SetValue("ID", payment.id);
    table.SetValue("NRORDTROCO", payment.change_order ? Variant(payment.change_order) : Variant());
    table.SetValue("DTHRINCMOV", DateTime{payment.taken_at});
    table.Post();
  }
  return table;
}

std::vector<std::string> Walk(Dataset& table) {
  std::vector<std::string> ids;
  for (table.First(); !table.Eof(); table.Next()) ids.push_back(table.AsText("ID"));
  return ids;
}

const std::vector<Payment> kPayments = {
    {"p1", "1", 10.0}, {"p2", "1", 30.0}, {"p3", "0", 20.0},
    {"p4", "1", 30.0}, {"p5", "1", 20.0}, {"p6", nullptr, 5.0},
};

TEST(DatasetIndexTest, DescendingSecondFieldAndEqualKeysKeepInsertionOrder) {
  Dataset table = MakeMovements(kPayments);
  // Null first; then "0"; then "1" with the newest first, p2 before p4 (equal keys).
  EXPECT_THAT(Walk(table), ElementsAre("p6", "p3", "p2", "p4", "p5", "p1"));
  EXPECT_EQ(table.IndexName(), "idxNRORDTROCO");
}

TEST(DatasetIndexTest, SwitchingIndexesKeepsTheCurrentRow) {
  Dataset table = MakeMovements(kPayments);
  table.First();
  table.Next();
  EXPECT_EQ(table.AsText("ID"), "p3");
  table.SetIndexName("IDXDTHRINCMOV");  // names ignore case
  EXPECT_EQ(table.AsText("ID"), "p3");
  EXPECT_EQ(table.RecNo(), 3);
  EXPECT_THAT(Walk(table), ElementsAre("p6", "p1", "p3", "p5", "p2", "p4"));
  table.SetIndexName("");
  EXPECT_THAT(Walk(table), ElementsAre("p1", "p2", "p3", "p4", "p5", "p6"));
  table.SetIndexName("idxNRORDTROCO");
  EXPECT_THAT(Walk(table), ElementsAre("p6", "p3", "p2", "p4", "p5", "p1"));
}

TEST(DatasetIndexTest, PostedRowsTakeTheirPlaceInTheIndex) {
  Dataset table = MakeMovements(kPayments);
  table.First();
  table.Insert();
  table.SetValue("ID", "p7");
  table.SetValue("NRORDTROCO", "1");
  table.SetValue("DTHRINCMOV", DateTime{25.0});
  table.Post();
  EXPECT_EQ(table.AsText("ID"), "p7");
  EXPECT_EQ(table.RecNo(), 5);
  EXPECT_THAT(Walk(table), ElementsAre("p6", "p3", "p2", "p4", "p7", "p5", "p1"));

  // An edit of a key field moves the row.
  table.First();
  table.Edit();
  table.SetValue("NRORDTROCO", "2");
  table.Post();
  EXPECT_EQ(table.AsText("ID"), "p6");
  EXPECT_EQ(table.RecNo(), 7);
  EXPECT_THAT(Walk(table), ElementsAre("p3", "p2", "p4", "p7", "p5", "p1", "p6"));
}

TEST(DatasetIndexTest, IndexWalksOnlyFilteredRows) {
  Dataset table = MakeMovements(kPayments);
  table.SetFilter("NRORDTROCO = '1'");
  table.SetFiltered(true);
  EXPECT_THAT(Walk(table), ElementsAre("p2", "p4", "p5", "p1"));
}

TEST(DatasetIndexTest, BadIndexesAreRefusedAndTheOldOrderKept) {
  Dataset table = MakeMovements(kPayments);
  EXPECT_THAT(ErrorText([&] { table.SetIndexName("idxNada"); }), HasSubstr("idxNada"));
  EXPECT_THAT(ErrorText([&] { table.AddIndex("idxNRORDTROCO", "ID"); }),
              HasSubstr("idxNRORDTROCO"));
  EXPECT_THAT(ErrorText([&] { table.AddIndex("idxX", "ID", "DTHRINCMOV"); }),
              HasSubstr("DTHRINCMOV"));
  table.AddIndex("idxProduto", "CDPRODUTO");  // fields are checked on use
  const std::string message = ErrorText([&] { table.SetIndexName("idxProduto"); });
  EXPECT_THAT(message, HasSubstr("cdsMovCaixa"));
  EXPECT_THAT(message, HasSubstr("CDPRODUTO"));
  EXPECT_EQ(table.IndexName(), "idxNRORDTROCO");
  EXPECT_THAT(Walk(table), ElementsAre("p6", "p3", "p2", "p4", "p5", "p1"));
}

TEST(DatasetIndexTest, IndexDeclaredBeforeTheFieldsAppliesToAPacket) {
  // A table "defined at run time": the structure comes with the packet.
  Dataset runtime("cdsMovCaixaTef");
  runtime.AddIndex("idxNRORDTROCO", "NRORDTROCO;DTHRINCMOV", "DTHRINCMOV");
  runtime.SetIndexName("idxNRORDTROCO");
  Dataset source = MakeMovements(kPayments);
  runtime.SetData(source.Data());
  EXPECT_EQ(runtime.FieldCount(), 3);
  EXPECT_THAT(Walk(runtime), ElementsAre("p6", "p3", "p2", "p4", "p5", "p1"));

  Dataset other("cdsOutra");
  other.AddField("ID", FieldType::kText, 5);
  other.CreateDataSet();
  EXPECT_THAT(ErrorText([&] { runtime.SetData(other.Data()); }), HasSubstr("NRORDTROCO"));
  EXPECT_EQ(runtime.FieldCount(), 3);
  EXPECT_EQ(runtime.RecordCount(), 6);
}

// Family movements as the closing message looks them up.
Dataset MakeFamilyMovements() {
  Dataset table("cdsEmprestimo");
  table.AddField("CDFAMILISALD", FieldType::kText, 10);
  table.AddField("IDTPMOVEXT", FieldType::kText, 1);
  table.AddField("VRMOVEXTCONS", FieldType::kFloat);
  table.CreateDataSet();
  const std::vector<std::tuple<const char*, const char*, double>> rows = {
      {"Lanche", "C", 5.0}, {"LANCHE", "D", 7.0}, {"Almoco", "D", 9.0}, {"lanche ", "D", 11.0}};
  for (const auto& [family, kind, amount] : rows) {
    table.Append();
    table.SetValue("CDFAMILISALD", family);
    table.SetValue("IDTPMOVEXT", kind);
    table.SetValue("VRMOVEXTCONS", amount);
    table.Post();
  }
  return table;
}

TEST(DatasetLocateTest, TwoFieldsIgnoringCase) {
  Dataset table = MakeFamilyMovements();
  EXPECT_TRUE(table.Locate("CDFAMILISALD;IDTPMOVEXT", VariantArray{"lanche", "d"},
                           {.case_insensitive = true}));
  EXPECT_EQ(table.AsDouble("VRMOVEXTCONS"), 7.0);
  EXPECT_TRUE(table.Locate("cdfamilisald; idtpmovext", VariantArray{"LANCHE", "C"},
                           {.case_insensitive = true}));
  EXPECT_EQ(table.AsDouble("VRMOVEXTCONS"), 5.0);
}

TEST(DatasetLocateTest, CaseCountsUnlessAskedAndTrailingBlanksNeverCount) {
  Dataset table = MakeFamilyMovements();
  EXPECT_TRUE(table.Locate("CDFAMILISALD;IDTPMOVEXT", VariantArray{"lanche", "D"}));
  EXPECT_EQ(table.AsDouble("VRMOVEXTCONS"), 11.0);
  EXPECT_FALSE(table.Locate("IDTPMOVEXT", "d"));
  EXPECT_TRUE(table.Locate("CDFAMILISALD", "Lanche   "));
  EXPECT_EQ(table.AsDouble("VRMOVEXTCONS"), 5.0);
}

TEST(DatasetLocateTest, AccentedLettersFoldInWindows1252) {
  Dataset table("cdsReceb");
  table.AddField("DSIMPFISCAL", FieldType::kText, 50);
  table.CreateDataSet();
  table.Append();
  table.SetValue("DSIMPFISCAL", std::string("Cart\xE3o Cr\xE9"
                                            "dito"));  // Cartão Crédito
  table.Post();
  table.Append();
  table.SetValue("DSIMPFISCAL", "Dinheiro");
  table.Post();
  EXPECT_TRUE(table.Locate("DSIMPFISCAL",
                           std::string("CART\xC3O CR\xC9"
                                       "DITO"),
                           {.case_insensitive = true}));
  EXPECT_EQ(table.RecNo(), 1);
  EXPECT_FALSE(table.Locate("DSIMPFISCAL", std::string("CART\xC3O CR\xC9"
                                                       "DITO")));
}

TEST(DatasetLocateTest, NotFoundLeavesTheCursorAndFilterLimitsTheSearch) {
  Dataset table = MakeFamilyMovements();
  table.Last();
  EXPECT_FALSE(table.Locate("IDTPMOVEXT", "X"));
  EXPECT_EQ(table.RecNo(), 4);
  EXPECT_TRUE(table.Eof());
  table.SetFilter("IDTPMOVEXT = 'D'");
  table.SetFiltered(true);
  EXPECT_FALSE(table.Locate("IDTPMOVEXT", "C"));
  EXPECT_TRUE(table.Locate("VRMOVEXTCONS", 9));
  EXPECT_EQ(table.RecNo(), 2);
  EXPECT_FALSE(table.Eof());
}

TEST(DatasetLocateTest, KeyLongerThanTheFieldFindsNothing) {
  Dataset table = MakeFamilyMovements();
  EXPECT_FALSE(table.Locate("IDTPMOVEXT", "DD"));
}

TEST(DatasetLocateTest, BadKeysRaiseNamingTableAndField) {
  Dataset table = MakeFamilyMovements();
  EXPECT_THAT(ErrorText([&] { table.Locate("CDFAMILISALD;IDTPMOVEXT", "Lanche"); }),
              HasSubstr("cdsEmprestimo"));
  const std::string missing = ErrorText([&] { table.Locate("CDFAMILIA", "Lanche"); });
  EXPECT_THAT(missing, HasSubstr("CDFAMILIA"));
  const std::string mismatch = ErrorText([&] { table.Locate("VRMOVEXTCONS", "abc"); });
  EXPECT_THAT(mismatch, HasSubstr("cdsEmprestimo"));
  EXPECT_THAT(mismatch, HasSubstr("VRMOVEXTCONS"));
}

TEST(DatasetLocateTest, NullKeyFindsNullField) {
  Dataset table = MakeMovements(kPayments);
  EXPECT_TRUE(table.Locate("NRORDTROCO", Variant()));
  EXPECT_EQ(table.AsText("ID"), "p6");
  EXPECT_TRUE(table.Locate("DTHRINCMOV", DateTime{30.0}));
  EXPECT_EQ(table.AsText("ID"), "p2");  // the first in the current order
}

}  // namespace
}  // namespace zel
