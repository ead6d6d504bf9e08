// Data packets and files: round trips, corrupt input, write-back on close.
#include "host/dataset_packet.h"

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "gmock/gmock.h"
#include "gtest/gtest.h"
#include "platform/env.h"
#include "support/test_env.h"
#include "zel/dataset.h"
#include "zel/error.h"

namespace zel {
namespace {

using ::testing::HasSubstr;

std::string ErrorText(const std::function<void()>& action) {
  try {
    action();
  } catch (const Error& error) {
    return error.what();
  }
  return "no error";
}

// Every field type, with a row of values, a row of nulls and a row of
// Windows-1252 bytes.
Dataset MakeEveryType() {
  Dataset table("cdsTeste");
  table.AddField("NMPRODUTO", FieldType::kText, 50);
  table.AddField("QTPRODVEND", FieldType::kInteger);
  table.AddField("VRTOTAL", FieldType::kFloat);
  table.AddField("IDVALE", FieldType::kBoolean);
  table.AddField("DTHRINCMOV", FieldType::kDateTime);
  table.CreateDataSet();
  table.Append();
  table.SetValue("NMPRODUTO", "Refrigerante");
  table.SetValue("QTPRODVEND", std::int64_t{-9007199254740993});
  table.SetValue("VRTOTAL", 0.1 + 0.2);
  table.SetValue("IDVALE", true);
  table.SetValue("DTHRINCMOV", DateTime{46000.421875});
  table.Post();
  table.Append();  // every field null
  table.Post();
  table.Append();
  std::string every_high_byte;
  for (int byte = 0x80; byte <= 0xB1; ++byte) every_high_byte += static_cast<char>(byte);
  table.SetValue("NMPRODUTO", every_high_byte);
  table.SetValue("QTPRODVEND", 0);
  table.SetValue("VRTOTAL", -1e300);
  table.SetValue("IDVALE", false);
  table.SetValue("DTHRINCMOV", DateTime{-700.5});
  table.Post();
  return table;
}

// The rows as variants, in walk order.
std::vector<std::vector<Variant>> Contents(Dataset& table) {
  std::vector<std::vector<Variant>> rows;
  for (table.First(); !table.Eof(); table.Next()) {
    std::vector<Variant> row;
    for (const FieldDef& def : table.FieldDefs()) row.push_back(table.FieldValue(def.name));
    rows.push_back(std::move(row));
  }
  return rows;
}

void ExpectSameStructure(const Dataset& a, const Dataset& b) {
  ASSERT_EQ(a.FieldCount(), b.FieldCount());
  for (int i = 0; i < a.FieldCount(); ++i) {
    EXPECT_EQ(a.FieldDefs()[i].name, b.FieldDefs()[i].name);
    EXPECT_EQ(a.FieldDefs()[i].type, b.FieldDefs()[i].type);
    EXPECT_EQ(a.FieldDefs()[i].size, b.FieldDefs()[i].size);
  }
}

std::string PacketBytes(Dataset& table) { return table.Data().AsPacket().bytes; }

// Re-seals bytes edited on purpose, so the check under test is not the
// checksum.
std::string Resealed(std::string bytes) {
  bytes.resize(bytes.size() - 4);
  const std::uint32_t sum = dataset::Crc32(bytes);
  for (int i = 0; i < 4; ++i) bytes.push_back(static_cast<char>((sum >> (8 * i)) & 0xFF));
  return bytes;
}

TEST(DatasetPacketTest, RoundTripKeepsEveryTypeNullsAndHighBytes) {
  Dataset source = MakeEveryType();
  Dataset copy("cdsProdVend");  // defined at run time: the packet brings the fields
  copy.SetData(source.Data());
  ExpectSameStructure(source, copy);
  EXPECT_EQ(copy.RecNo(), 1);  // a new packet opens on the first row
  EXPECT_EQ(Contents(copy), Contents(source));
  copy.First();
  copy.Next();
  EXPECT_TRUE(copy.IsNull("NMPRODUTO"));
  EXPECT_TRUE(copy.IsNull("QTPRODVEND"));
  EXPECT_TRUE(copy.IsNull("IDVALE"));
  // A packet of the copy is byte for byte the packet of the source.
  EXPECT_EQ(PacketBytes(copy), PacketBytes(source));
}

TEST(DatasetPacketTest, PacketHoldsEveryRowInNaturalOrderIgnoringFilterAndIndex) {
  Dataset source = MakeEveryType();
  source.AddIndex("idx", "VRTOTAL", "VRTOTAL");
  source.SetIndexName("idx");
  source.SetFilter("IDVALE = 1");
  source.SetFiltered(true);
  ASSERT_EQ(source.RecordCount(), 1);
  Dataset copy("cdsCopia");
  copy.SetData(source.Data());
  EXPECT_EQ(copy.RecordCount(), 3);
  EXPECT_EQ(copy.AsText("NMPRODUTO"), "Refrigerante");
}

TEST(DatasetPacketTest, PacketPostsAPendingEditAndAClosedTableGivesItsStructure) {
  Dataset source = MakeEveryType();
  source.First();
  source.Edit();
  source.SetValue("NMPRODUTO", "Suco");
  Dataset copy("cdsCopia");
  copy.SetData(source.Data());
  EXPECT_EQ(copy.AsText("NMPRODUTO"), "Suco");

  source.Close();
  copy.SetData(source.Data());
  ExpectSameStructure(source, copy);
  EXPECT_TRUE(copy.IsEmpty());
}

TEST(DatasetPacketTest, RecreatingUsesTheDesignTimeFieldsOverAPacketsLayout) {
  Dataset host("cdsHost");  // the host's result table, wider than ours
  host.AddField("NRECFREDZ", FieldType::kText, 10);
  host.AddField("EXTRA", FieldType::kFloat);
  host.CreateDataSet();
  Dataset reduction("cdsReducaoZ");
  reduction.AddField("NRECFREDZ", FieldType::kText, 4);
  reduction.SetData(host.Data());
  EXPECT_EQ(reduction.FieldCount(), 2);
  reduction.CreateDataSet();
  ASSERT_EQ(reduction.FieldCount(), 1);
  EXPECT_EQ(reduction.FieldDefs()[0].size, 4);

  Dataset runtime("cdsProdDeb");  // no fields of its own
  runtime.SetData(MakeEveryType().Data());
  runtime.CreateDataSet();
  EXPECT_EQ(runtime.FieldCount(), 5);
  EXPECT_TRUE(runtime.IsEmpty());
}

TEST(DatasetPacketTest, SetDataKeepsTheFilterAndRefusesWhatIsNotAPacket) {
  Dataset source = MakeEveryType();
  Dataset target("cdsAlvo");
  target.SetFilter("IDVALE = 0");
  target.SetFiltered(true);
  target.SetData(source.Data());
  EXPECT_EQ(target.RecordCount(), 1);
  const std::string message = ErrorText([&] { target.SetData(Variant("ZDSP")); });
  EXPECT_THAT(message, HasSubstr("cdsAlvo"));
  EXPECT_THAT(message, HasSubstr("String"));
  EXPECT_EQ(target.RecordCount(), 1);
}

TEST(DatasetPacketTest, EveryTruncationRaisesAndLeavesTheTableAsItWas) {
  Dataset source = MakeEveryType();
  const std::string bytes = PacketBytes(source);
  Dataset target("cdsAlvo");
  target.SetData(source.Data());
  for (std::size_t length = 0; length < bytes.size(); ++length) {
    const std::string message =
        ErrorText([&] { target.SetData(Variant(Packet{bytes.substr(0, length)})); });
    ASSERT_THAT(message, HasSubstr("cdsAlvo")) << "length " << length;
    ASSERT_THAT(message, HasSubstr("byte")) << "length " << length;
  }
  EXPECT_EQ(Contents(target), Contents(source));
}

TEST(DatasetPacketTest, EveryChangedByteRaises) {
  Dataset source = MakeEveryType();
  const std::string bytes = PacketBytes(source);
  Dataset target("cdsAlvo");
  for (std::size_t at = 0; at < bytes.size(); ++at) {
    std::string changed = bytes;
    changed[at] = static_cast<char>(changed[at] ^ 0x5A);
    ASSERT_THROW(target.SetData(Variant(Packet{changed})), Error) << "byte " << at;
  }
  EXPECT_FALSE(target.Active());
}

TEST(DatasetPacketTest, CorruptStructureIsNamedWithItsBytePosition) {
  Dataset source("cdsX");
  source.AddField("AB", FieldType::kText, 3);
  source.CreateDataSet();
  source.Append();
  source.SetValue("AB", "xyz");
  source.Post();
  // Layout: magic 0-3, version 4-5, field count 6-9, name size 10-11, name
  // 12-13, type 14, size 15-18, row count 19-22, presence 23, text size 24-27.
  const std::string good = PacketBytes(source);
  Dataset target("cdsAlvo");
  const auto error_for = [&](const std::function<void(std::string&)>& edit) {
    std::string bytes = good;
    edit(bytes);
    return ErrorText([&] { target.SetData(Variant(Packet{Resealed(bytes)})); });
  };
  EXPECT_THAT(error_for([](std::string& b) { b[0] = 'X'; }), HasSubstr("byte 0"));
  const std::string version = error_for([](std::string& b) { b[4] = 2; });
  EXPECT_THAT(version, HasSubstr("byte 4"));
  EXPECT_THAT(version, HasSubstr("esperada 1"));
  EXPECT_THAT(error_for([](std::string& b) { b[14] = 9; }), HasSubstr("byte 14"));
  EXPECT_THAT(error_for([](std::string& b) { b[15] = 2; }), HasSubstr("byte 24"));  // text > size
  EXPECT_THAT(error_for([](std::string& b) { b[19] = 100; }), HasSubstr("byte 19"));
  EXPECT_THAT(error_for([](std::string& b) { b[23] = 7; }), HasSubstr("byte 23"));
  EXPECT_THAT(error_for([](std::string& b) { b[24] = 0; }), HasSubstr("byte 24"));  // empty text
  EXPECT_THAT(error_for([](std::string& b) { b[6] = 0; }), HasSubstr("byte 6"));
  EXPECT_THAT(error_for([](std::string& b) { b.insert(b.size() - 4, "!"); }), HasSubstr("byte 31"));
  const std::string checksum = ErrorText([&] {
    std::string bytes = good;
    bytes[29] = 'Q';  // still a valid text: only the checksum tells
    target.SetData(Variant(Packet{bytes}));
  });
  EXPECT_THAT(checksum, HasSubstr("cdsAlvo"));
  EXPECT_THAT(checksum, HasSubstr("byte 31"));
  EXPECT_FALSE(target.Active());
}

TEST(DatasetPacketTest, HugeCountsAreRefusedBeforeAllocating) {
  Dataset source("cdsX");
  source.AddField("AB", FieldType::kText, 3);
  source.CreateDataSet();
  std::string bytes = PacketBytes(source);
  for (int i = 6; i < 10; ++i) bytes[i] = static_cast<char>(0xFF);  // 4 billion fields
  Dataset target("cdsAlvo");
  EXPECT_THAT(ErrorText([&] { target.SetData(Variant(Packet{Resealed(bytes)})); }),
              HasSubstr("byte 6"));
}

class DatasetFileTest : public ::testing::Test {
 protected:
  TestEnv env_;
  ScopedCurrentEnv use_env_{&env_};
};

TEST_F(DatasetFileTest, SaveAndLoadRoundTripInWindowsSpelling) {
  Dataset source = MakeEveryType();
  env_.CreateDirectories("C:\\Dados");
  source.SaveToFile("C:\\Dados\\cdsVenda.cds");
  ASSERT_TRUE(env_.FileExists("C:\\Dados\\cdsVenda.cds"));
  Dataset loaded("cdsVenda");
  loaded.LoadFromFile("c:\\dados\\CDSVENDA.CDS");
  ExpectSameStructure(source, loaded);
  EXPECT_EQ(Contents(loaded), Contents(source));
}

TEST_F(DatasetFileTest, CorruptOrMissingFileLeavesTheTableAsItWas) {
  Dataset source = MakeEveryType();
  source.SaveToFile("Ploteva.cds");
  std::string bytes = env_.ReadFile("Ploteva.cds");
  Dataset target("cdsCheckECF");
  target.SetData(source.Data());
  target.Last();

  env_.WriteFile("Ploteva.cds", bytes.substr(0, bytes.size() / 2));
  const std::string truncated = ErrorText([&] { target.LoadFromFile("Ploteva.cds"); });
  EXPECT_THAT(truncated, HasSubstr("cdsCheckECF"));
  EXPECT_THAT(truncated, HasSubstr("Ploteva.cds"));
  EXPECT_THAT(truncated, HasSubstr("byte"));

  env_.WriteFile("Ploteva.cds", "not a table at all");
  EXPECT_THAT(ErrorText([&] { target.LoadFromFile("Ploteva.cds"); }), HasSubstr("byte 0"));

  try {
    target.LoadFromFile("qrv001F001.cds");
    ADD_FAILURE() << "a missing file loaded";
  } catch (const FileError& error) {
    EXPECT_THAT(error.what(), HasSubstr("cdsCheckECF"));
    EXPECT_EQ(error.windows_code(), kWinFileNotFound);
  }
  EXPECT_EQ(Contents(target), Contents(source));
}

TEST_F(DatasetFileTest, TableWithAFileNameWritesItselfBackOnClose) {
  Dataset seed = MakeEveryType();
  seed.SaveToFile("cdsVenda.cds");

  Dataset sales("cdsVenda");
  sales.SetFileName("cdsVenda.cds");
  sales.Open();
  ASSERT_EQ(sales.RecordCount(), 3);
  sales.First();
  sales.Delete();
  sales.Edit();
  sales.SetValue("VRTOTAL", 0);  // left pending: closing posts it
  sales.Close();
  EXPECT_FALSE(sales.Active());

  Dataset check("cdsVenda");
  check.LoadFromFile("cdsVenda.cds");
  EXPECT_EQ(check.RecordCount(), 2);
  EXPECT_EQ(check.AsDouble("VRTOTAL"), 0.0);
  EXPECT_FALSE(check.IsNull("VRTOTAL"));
}

TEST_F(DatasetFileTest, FailedWriteBackKeepsTheTableOpen) {
  Dataset sales = MakeEveryType();
  sales.SetFileName("cdsVenda.cds");
  env_.InjectFailure(EnvOperation::kWriteFile, 1, "cdsVenda");
  EXPECT_THAT(ErrorText([&] { sales.Close(); }), HasSubstr("cdsVenda"));
  EXPECT_TRUE(sales.Active());
  EXPECT_EQ(sales.RecordCount(), 3);
  sales.Close();
  EXPECT_TRUE(env_.FileExists("cdsVenda.cds"));
}

TEST_F(DatasetFileTest, OpenWithAMissingFileRaisesAndStaysClosed) {
  Dataset sales("cdsVenda");
  sales.AddField("IDPRODIMPFIS", FieldType::kText, 1);
  sales.SetFileName("cdsVenda.cds");
  EXPECT_THROW(sales.Open(), FileError);
  EXPECT_FALSE(sales.Active());
}

}  // namespace
}  // namespace zel
