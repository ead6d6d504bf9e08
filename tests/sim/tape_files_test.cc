#include "tape_files.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <stdexcept>

#include "sim_files_fixture.h"

namespace ecfsim {
namespace {

namespace fs = std::filesystem;
using ::testing::ElementsAre;
using ::testing::HasSubstr;

std::vector<PrintedDocument> SampleTape() {
  return {
      {10, "CF", 20261201090000, {"CUPOM FISCAL", "01 Caf\xE9 1,000 UN x 3,50"}},
      {11, "RG", 20261201180000, {"RELAT\xD3RIO GERENCIAL", "", "linha depois de vazia"}},
      {12, "RZ", 20261201235900, {"REDU\xC7\xC3O Z"}},
      {13, "CF", 20261202083000, {"DOC=000001;CF;1;1", "FIM", "ECFSIM-MFD 1"}},
      {14, "CF", 20261203100000, {"CUPOM FISCAL"}},
  };
}

std::vector<int> Coos(const std::vector<PrintedDocument>& documents) {
  std::vector<int> coos;
  for (const PrintedDocument& document : documents) coos.push_back(document.coo);
  return coos;
}

TEST(DetailTapeRangeTest, ReadsTheThreeDownloadTypes) {
  EXPECT_EQ(ParseDetailTapeRange("0", "", "").kind, DetailTapeRange::Kind::kAll);
  const DetailTapeRange dates = ParseDetailTapeRange("1", "011226", "02/12/2026");
  EXPECT_EQ(dates.kind, DetailTapeRange::Kind::kByDate);
  EXPECT_EQ(dates.first, 20261201);
  EXPECT_EQ(dates.last, 20261202);
  const DetailTapeRange coos = ParseDetailTapeRange("2", "000011", "13");
  EXPECT_EQ(coos.kind, DetailTapeRange::Kind::kByCoo);
  EXPECT_EQ(coos.first, 11);
  EXPECT_EQ(coos.last, 13);
}

TEST(DetailTapeRangeTest, RefusesUnknownTypesAndBadBounds) {
  EXPECT_THROW(ParseDetailTapeRange("3", "1", "2"), std::invalid_argument);
  EXPECT_THROW(ParseDetailTapeRange("", "1", "2"), std::invalid_argument);
  EXPECT_THROW(ParseDetailTapeRange("1", "31/02", "01/03/2026"), std::invalid_argument);
  EXPECT_THROW(ParseDetailTapeRange("2", "12a", "20"), std::invalid_argument);
  EXPECT_THROW(ParseDetailTapeRange("2", "20", "12"), std::invalid_argument);
}

TEST(DetailTapeRangeTest, SelectsBothBoundsIncluded) {
  const std::vector<PrintedDocument> tape = SampleTape();
  EXPECT_THAT(Coos(SelectDocuments(tape, ParseDetailTapeRange("2", "11", "13"))),
              ElementsAre(11, 12, 13));
  EXPECT_THAT(Coos(SelectDocuments(tape, ParseDetailTapeRange("1", "011226", "011226"))),
              ElementsAre(10, 11, 12));
  EXPECT_THAT(Coos(SelectDocuments(tape, ParseDetailTapeRange("0", "", ""))),
              ElementsAre(10, 11, 12, 13, 14));
  EXPECT_TRUE(SelectDocuments(tape, ParseDetailTapeRange("2", "20", "30")).empty());
}

TEST(DownloadFormatTest, RoundTripsDocumentsWhateverTheirLinesHold) {
  DetailTapeDownload download{PrinterIdentity{}, ParseDetailTapeRange("2", "10", "14"),
                              SampleTape()};
  download.identity.user_number = 2;
  const std::string bytes = EncodeDownload(download);
  EXPECT_THAT(bytes, HasSubstr("\r\n"));
  const DetailTapeDownload back = DecodeDownload(bytes);
  EXPECT_EQ(back.identity.serial_number, download.identity.serial_number);
  EXPECT_EQ(back.identity.user_number, 2);
  EXPECT_EQ(back.range.kind, DetailTapeRange::Kind::kByCoo);
  EXPECT_EQ(back.range.first, 10);
  EXPECT_EQ(back.range.last, 14);
  ASSERT_EQ(back.documents.size(), download.documents.size());
  for (std::size_t i = 0; i < back.documents.size(); ++i) {
    EXPECT_EQ(back.documents[i].coo, download.documents[i].coo);
    EXPECT_EQ(back.documents[i].kind, download.documents[i].kind);
    EXPECT_EQ(back.documents[i].printed_at, download.documents[i].printed_at);
    EXPECT_EQ(back.documents[i].lines, download.documents[i].lines);
  }
}

TEST(DownloadFormatTest, RefusesFilesThatAreNotDownloads) {
  const std::string good = EncodeDownload({PrinterIdentity{}, {}, SampleTape()});
  EXPECT_NO_THROW(DecodeDownload(good));
  EXPECT_THROW(DecodeDownload(""), std::invalid_argument);
  EXPECT_THROW(DecodeDownload("MZ\x90\x00 binary"), std::invalid_argument);
  // Cut before the closing line, and cut inside a document.
  EXPECT_THROW(DecodeDownload(good.substr(0, good.rfind("FIM\r\n"))), std::invalid_argument);
  EXPECT_THROW(DecodeDownload(good.substr(0, good.find("CUPOM FISCAL"))), std::invalid_argument);
  std::string bad_count = good;
  bad_count.replace(bad_count.find(";2\r\n"), 4, ";x\r\n");
  EXPECT_THROW(DecodeDownload(bad_count), std::invalid_argument);
}

TEST(MirrorTest, FirstAndLastDatesSitWhereTheTypeEStepReadsThem) {
  const DetailTapeDownload download{PrinterIdentity{}, {}, SampleTape()};
  const std::vector<std::string> lines =
      MirrorLines(download, ParseDetailTapeRange("2", "11", "14"));
  for (const std::string& line : lines) EXPECT_LE(line.size(), 48u) << line;
  // Read as the COO-range step does: empty lines left out, then characters
  // 1-10 of the eighth line and 20-29 of the second-to-last line.
  std::vector<std::string> kept;
  for (const std::string& line : lines) {
    if (!line.empty()) kept.push_back(line);
  }
  ASSERT_GE(kept.size(), 9u);
  EXPECT_EQ(kept[7].substr(0, 10), "01/12/2026");
  EXPECT_EQ(kept[kept.size() - 2].substr(19, 10), "03/12/2026");
  // The same positions hold in the file as written, empty lines included.
  EXPECT_EQ(lines[7].substr(0, 10), "01/12/2026");
  EXPECT_EQ(lines[lines.size() - 2].substr(19, 10), "03/12/2026");
  EXPECT_THAT(lines, testing::Contains("linha depois de vazia"));
  EXPECT_THAT(lines.back(), HasSubstr("0004"));
}

TEST(MirrorTest, ARangeWithoutDocumentsSaysSo) {
  const DetailTapeDownload download{PrinterIdentity{}, {}, SampleTape()};
  const std::vector<std::string> lines =
      MirrorLines(download, ParseDetailTapeRange("1", "010127", "020127"));
  EXPECT_EQ(lines[7], "Nenhum documento no intervalo.");
  EXPECT_THAT(lines.back(), HasSubstr("0000"));
}

TEST_F(SimFilesTest, DownloadAndMirrorLandWhereTheirWindowsNamesSay) {
  PrinterState state;
  fs::create_directories(drive_c() / "MenuFiscal");
  const std::string download =
      WriteDownloadFile("c:\\Download.MFD", state, SampleTape(), "2", "11", "13", "1");
  EXPECT_EQ(fs::path(download), drive_c() / "Download.MFD");
  EXPECT_THAT(Coos(DecodeDownload(ReadBytes(download)).documents), ElementsAre(11, 12, 13));

  const std::string mirror =
      WriteMirrorFile("C:\\download.mfd", "C:\\MenuFiscal\\Espelho_MFD_07122026020509.txt", "0",
                      "2", "12", "13", "1");
  EXPECT_EQ(fs::path(mirror), drive_c() / "MenuFiscal" / "Espelho_MFD_07122026020509.txt");
  const std::string bytes = ReadBytes(mirror);
  EXPECT_THAT(bytes, HasSubstr("\r\n01/12/2026 23:59:00 COO:000012 RZ\r\nREDU\xC7\xC3O Z\r\n"));
  EXPECT_THAT(bytes, testing::Not(HasSubstr("COO:000011")));
}

TEST_F(SimFilesTest, RelativeDownloadNamesHangBelowTheCurrentDirectory) {
  PrinterState state;
  WriteDownloadFile("Download.MFD", state, SampleTape(), "1", "02122026", "03122026", "1");
  EXPECT_THAT(Coos(DecodeDownload(ReadBytes(root() / "Download.MFD")).documents),
              ElementsAre(13, 14));
}

TEST_F(SimFilesTest, MissingDirectoriesAndBadArgumentsFailWithoutWriting) {
  PrinterState state;
  WriteDownloadFile("c:\\Download.MFD", state, SampleTape(), "0", "", "", "1");
  // The library does not create the fiscal-menu directory for its caller.
  EXPECT_THROW(
      WriteMirrorFile("c:\\Download.MFD", "C:\\MenuFiscal\\Espelho.txt", "0", "0", "", "", "1"),
      std::runtime_error);
  fs::create_directories(drive_c() / "MenuFiscal");
  EXPECT_THROW(
      WriteMirrorFile("c:\\Download.MFD", "C:\\MenuFiscal\\Espelho.txt", "1", "0", "", "", "1"),
      std::invalid_argument);
  EXPECT_THROW(
      WriteMirrorFile("c:\\Nothing.MFD", "C:\\MenuFiscal\\Espelho.txt", "0", "0", "", "", "1"),
      std::runtime_error);
  EXPECT_THROW(WriteDownloadFile("c:\\Other.MFD", state, SampleTape(), "0", "", "", "2"),
               std::invalid_argument);
  EXPECT_FALSE(fs::exists(drive_c() / "MenuFiscal" / "Espelho.txt"));
  EXPECT_FALSE(fs::exists(drive_c() / "Other.MFD"));
}

}  // namespace
}  // namespace ecfsim
