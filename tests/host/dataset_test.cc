// The dataset's cursor, editing and field access.
#include "zel/dataset.h"

#include <cmath>
#include <functional>
#include <string>
#include <vector>

#include "gmock/gmock.h"
#include "gtest/gtest.h"
#include "zel/error.h"

namespace zel {
namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;

// A payment-type table with a text code, a name and an amount.
Dataset MakePayments(const std::vector<std::string>& codes) {
  Dataset table("cdsTipoRece");
  table.AddField("CDTIPORECE", FieldType::kText, 3);
  table.AddField("NMTIPORECE", FieldType::kText, 40);
  table.AddField("VRTAXAADMI", FieldType::kFloat);
  table.CreateDataSet();
  for (const std::string& code : codes) {
    table.Append();
    table.SetValue("CDTIPORECE", code);
    table.SetValue("NMTIPORECE", "Tipo " + code);
    table.Post();
  }
  return table;
}

std::vector<std::string> WalkCodes(Dataset& table) {
  std::vector<std::string> codes;
  for (table.First(); !table.Eof(); table.Next()) codes.push_back(table.AsText("CDTIPORECE"));
  return codes;
}

std::string ErrorText(const std::function<void()>& action) {
  try {
    action();
  } catch (const Error& error) {
    return error.what();
  }
  return "no error";
}

TEST(DatasetCursorTest, EmptyTableIsAtBothEndsAndReadsNull) {
  Dataset table = MakePayments({});
  EXPECT_TRUE(table.Bof());
  EXPECT_TRUE(table.Eof());
  EXPECT_TRUE(table.IsEmpty());
  EXPECT_EQ(table.RecordCount(), 0);
  EXPECT_EQ(table.RecNo(), 0);
  EXPECT_TRUE(table.IsNull("CDTIPORECE"));
  EXPECT_EQ(table.AsText("CDTIPORECE"), "");
  EXPECT_EQ(table.AsDouble("VRTAXAADMI"), 0.0);
  table.Next();
  table.Prior();
  EXPECT_TRUE(table.Bof() && table.Eof());
}

TEST(DatasetCursorTest, WalksBothWaysAndStopsAtTheEnds) {
  Dataset table = MakePayments({"1", "2", "3"});
  EXPECT_THAT(WalkCodes(table), ElementsAre("1", "2", "3"));
  // Past the end the last row stays current.
  EXPECT_TRUE(table.Eof());
  EXPECT_EQ(table.AsText("CDTIPORECE"), "3");
  EXPECT_EQ(table.RecNo(), 3);

  table.First();
  EXPECT_TRUE(table.Bof());
  EXPECT_FALSE(table.Eof());
  table.Next();
  EXPECT_FALSE(table.Bof());
  EXPECT_EQ(table.RecNo(), 2);

  table.Last();
  EXPECT_TRUE(table.Eof());
  EXPECT_FALSE(table.Bof());
  std::vector<std::string> backwards;
  for (; !table.Bof(); table.Prior()) backwards.push_back(table.AsText("CDTIPORECE"));
  EXPECT_THAT(backwards, ElementsAre("3", "2", "1"));
  EXPECT_EQ(table.AsText("CDTIPORECE"), "1");
  EXPECT_EQ(table.RecordCount(), 3);
}

TEST(DatasetCursorTest, InsertGoesBeforeTheCurrentRowAndAppendAfterTheLast) {
  Dataset table = MakePayments({"1", "3"});
  table.First();
  table.Next();
  table.Insert();
  EXPECT_EQ(table.state(), Dataset::State::kInsert);
  EXPECT_EQ(table.RecNo(), 0);
  table.SetValue("CDTIPORECE", "2");
  table.Post();
  EXPECT_EQ(table.AsText("CDTIPORECE"), "2");
  EXPECT_EQ(table.RecNo(), 2);
  table.First();
  table.Append();
  table.SetValue("CDTIPORECE", "4");
  table.Post();
  EXPECT_EQ(table.RecNo(), 4);
  EXPECT_THAT(WalkCodes(table), ElementsAre("1", "2", "3", "4"));
}

TEST(DatasetCursorTest, CancelDropsTheChangeAndKeepsTheCursor) {
  Dataset table = MakePayments({"1", "2"});
  table.Last();
  table.Edit();
  table.SetValue("CDTIPORECE", "9");
  EXPECT_EQ(table.AsText("CDTIPORECE"), "9");  // the pending value reads back
  table.Cancel();
  EXPECT_EQ(table.AsText("CDTIPORECE"), "2");

  table.First();
  table.Insert();
  table.SetValue("CDTIPORECE", "0");
  table.Cancel();
  EXPECT_EQ(table.state(), Dataset::State::kBrowse);
  EXPECT_EQ(table.AsText("CDTIPORECE"), "1");
  EXPECT_EQ(table.RecNo(), 1);
  EXPECT_THAT(WalkCodes(table), ElementsAre("1", "2"));
}

TEST(DatasetCursorTest, MovingPostsAPendingEdit) {
  Dataset table = MakePayments({"1", "2"});
  table.First();
  table.Edit();
  table.SetValue("VRTAXAADMI", 2.5);
  table.Next();
  EXPECT_EQ(table.state(), Dataset::State::kBrowse);
  table.First();
  EXPECT_EQ(table.AsDouble("VRTAXAADMI"), 2.5);
}

TEST(DatasetCursorTest, EditOnAnEmptyTableInserts) {
  Dataset table = MakePayments({});
  table.Edit();
  EXPECT_EQ(table.state(), Dataset::State::kInsert);
  table.SetValue("CDTIPORECE", "7");
  table.Post();
  EXPECT_EQ(table.RecordCount(), 1);
}

TEST(DatasetCursorTest, DeleteMakesTheNextRowCurrentAndTheLastSetsEof) {
  Dataset table = MakePayments({"1", "2", "3"});
  table.First();
  table.Next();
  table.Delete();
  EXPECT_EQ(table.AsText("CDTIPORECE"), "3");
  EXPECT_FALSE(table.Eof());
  table.Delete();
  EXPECT_EQ(table.AsText("CDTIPORECE"), "1");
  EXPECT_TRUE(table.Eof());
  table.Delete();
  EXPECT_TRUE(table.IsEmpty());
  EXPECT_TRUE(table.Bof() && table.Eof());
  EXPECT_THAT(ErrorText([&] { table.Delete(); }), HasSubstr("cdsTipoRece"));
}

TEST(DatasetCursorTest, WalkThatDeletesSomeRowsVisitsEveryRowOnce) {
  // The way the sales-record file is cleaned: delete some rows, edit the rest.
  Dataset table = MakePayments({"1", "2", "3", "4", "5", "6"});
  int visited = 0;
  table.First();
  while (!table.Eof()) {
    ++visited;
    if (std::stoi(table.AsText("CDTIPORECE")) % 2 == 0) {
      table.Delete();
    } else {
      table.Edit();
      table.SetValue("VRTAXAADMI", 1.0);
      table.Post();
      table.Next();
    }
  }
  EXPECT_EQ(visited, 6);
  EXPECT_THAT(WalkCodes(table), ElementsAre("1", "3", "5"));
  for (table.First(); !table.Eof(); table.Next()) EXPECT_EQ(table.AsDouble("VRTAXAADMI"), 1.0);
}

TEST(DatasetCursorTest, DeleteDuringInsertOnlyCancelsTheNewRow) {
  Dataset table = MakePayments({"1"});
  table.Append();
  table.Delete();
  EXPECT_EQ(table.RecordCount(), 1);
  EXPECT_EQ(table.AsText("CDTIPORECE"), "1");
}

TEST(DatasetCursorTest, EmptyDataSetKeepsTheStructure) {
  Dataset table = MakePayments({"1", "2"});
  table.EmptyDataSet();
  EXPECT_TRUE(table.Active());
  EXPECT_TRUE(table.IsEmpty());
  EXPECT_EQ(table.FieldCount(), 3);
  table.Append();
  table.SetValue("cdtiporece", "5");
  table.Post();
  EXPECT_THAT(WalkCodes(table), ElementsAre("5"));
}

TEST(DatasetFieldTest, NamesIgnoreCaseAndUnknownNamesAreNamed) {
  Dataset table = MakePayments({"1"});
  EXPECT_EQ(table.AsText("cdTipoRece"), "1");
  EXPECT_EQ(table.FieldIndex("nmtiporece"), 1);
  EXPECT_EQ(table.FieldIndex("NOPE"), -1);
  const std::string message = ErrorText([&] { table.AsText("CDPRODUTO"); });
  EXPECT_THAT(message, HasSubstr("cdsTipoRece"));
  EXPECT_THAT(message, HasSubstr("CDPRODUTO"));
}

TEST(DatasetFieldTest, TextIsCutToTheFieldSizeAndEmptyTextIsNull) {
  Dataset table = MakePayments({});
  table.Append();
  table.SetValue("CDTIPORECE", "12345");
  table.SetValue("NMTIPORECE", "");
  table.Post();
  EXPECT_EQ(table.AsText("CDTIPORECE"), "123");
  EXPECT_TRUE(table.IsNull("NMTIPORECE"));
  EXPECT_TRUE(table.IsNull("VRTAXAADMI"));
}

TEST(DatasetFieldTest, ValueThatDoesNotFitRaisesAndLeavesTheField) {
  Dataset table("cdsProdVend");
  table.AddField("QTPRODVEND", FieldType::kInteger);
  table.AddField("VRTOTAL", FieldType::kFloat);
  table.CreateDataSet();
  table.Append();
  table.SetValue("QTPRODVEND", 4);
  const std::string message = ErrorText([&] { table.SetValue("QTPRODVEND", "abc"); });
  EXPECT_THAT(message, HasSubstr("cdsProdVend"));
  EXPECT_THAT(message, HasSubstr("QTPRODVEND"));
  EXPECT_EQ(table.AsInteger("QTPRODVEND"), 4);
  EXPECT_THAT(ErrorText([&] { table.SetValue("VRTOTAL", std::nan("")); }), HasSubstr("VRTOTAL"));
  EXPECT_TRUE(table.IsNull("VRTOTAL"));
}

TEST(DatasetFieldTest, ValuesConvertToTheFieldTypeAndBack) {
  Dataset table("cdsTeste");
  table.AddField("NR", FieldType::kInteger);
  table.AddField("VR", FieldType::kFloat);
  table.AddField("ID", FieldType::kBoolean);
  table.AddField("DT", FieldType::kDateTime);
  table.AddField("DS", FieldType::kText, 10);
  table.CreateDataSet();
  table.Append();
  table.SetValue("NR", "42");
  table.SetValue("VR", 7);
  table.SetValue("ID", "True");
  table.SetValue("DT", DateTime{45000.5});
  table.SetValue("DS", 12);
  table.Post();
  EXPECT_EQ(table.FieldValue("NR"), Variant(std::int64_t{42}));
  EXPECT_EQ(table.FieldValue("VR"), Variant(7.0));
  EXPECT_EQ(table.AsText("NR"), "42");
  EXPECT_TRUE(table.AsBoolean("ID"));
  EXPECT_EQ(table.AsDateTime("DT").value, 45000.5);
  EXPECT_EQ(table.AsText("DS"), "12");
  EXPECT_EQ(table.AsInteger("DS"), 12);
  table.Edit();
  table.SetNull("NR");
  table.Post();
  EXPECT_TRUE(table.IsNull("NR"));
  table.Edit();
  table.SetValue("DS", "x");
  table.Post();
  const std::string message = ErrorText([&] { table.AsInteger("DS"); });
  EXPECT_THAT(message, HasSubstr("cdsTeste"));
  EXPECT_THAT(message, HasSubstr("DS"));
}

TEST(DatasetFieldTest, WritingOutsideEditModeRaises) {
  Dataset table = MakePayments({"1"});
  const std::string message = ErrorText([&] { table.SetValue("CDTIPORECE", "2"); });
  EXPECT_THAT(message, HasSubstr("cdsTipoRece"));
  EXPECT_THAT(message, HasSubstr("CDTIPORECE"));
  EXPECT_EQ(table.AsText("CDTIPORECE"), "1");
}

TEST(DatasetStructureTest, ClosedTableRefusesWorkButKeepsItsDefinitions) {
  Dataset table = MakePayments({"1"});
  table.Close();
  EXPECT_FALSE(table.Active());
  EXPECT_EQ(table.FieldCount(), 3);
  EXPECT_THAT(ErrorText([&] { table.First(); }), HasSubstr("cdsTipoRece"));
  EXPECT_THAT(ErrorText([&] { table.AsText("CDTIPORECE"); }), HasSubstr("fechada"));
  table.Open();  // no file name: a new empty table
  EXPECT_TRUE(table.Active());
  EXPECT_TRUE(table.IsEmpty());
}

TEST(DatasetStructureTest, BadDefinitionsAreRefused) {
  Dataset table("cdsMovFecha");
  table.AddField("CDTIPORECE", FieldType::kText, 3);
  EXPECT_THAT(ErrorText([&] { table.AddField("cdtiporece", FieldType::kFloat); }),
              HasSubstr("cdtiporece"));
  EXPECT_THAT(ErrorText([&] { table.AddField("NMTIPORECE", FieldType::kText, 0); }),
              HasSubstr("NMTIPORECE"));
  EXPECT_THAT(ErrorText([&] { table.AddField("", FieldType::kFloat); }), HasSubstr("cdsMovFecha"));
  EXPECT_EQ(table.FieldCount(), 1);
  table.CreateDataSet();
  EXPECT_THAT(ErrorText([&] { table.AddField("VRFECHAINF", FieldType::kFloat); }),
              HasSubstr("aberta"));
  Dataset no_fields("cdsParametros");
  EXPECT_THAT(ErrorText([&] { no_fields.CreateDataSet(); }), HasSubstr("cdsParametros"));
}

}  // namespace
}  // namespace zel
