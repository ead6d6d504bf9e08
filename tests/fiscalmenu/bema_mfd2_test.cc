// The detail-tape file stand-in on its own, loaded as the driver loads it,
// on a download file made with the simulated printer's own encoder.
#include "bema_mfd2.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/env.h"
#include "support/temp_dir.h"
#include "tape_files.h"

namespace zel {
namespace {

using ::testing::ElementsAre;
using ::testing::SizeIs;
using ::testing::StartsWith;

class BemaMfd2Test : public ::testing::Test {
 protected:
  void SetUp() override {
    LibraryHandle library = Env::Default()->OpenLibrary("BemaMFD2.dll");
    ASSERT_NE(library, nullptr) << Env::Default()->LastLibraryError();
    mirror_ = reinterpret_cast<decltype(BemaGeraTxtPorCOO)*>(
        Env::Default()->GetSymbol(library, "BemaGeraTxtPorCOO"));
    type_e_ = reinterpret_cast<decltype(BemaGeraRegistrosTipoE)*>(
        Env::Default()->GetSymbol(library, "BemaGeraRegistrosTipoE"));
    ecfsim::DetailTapeDownload download;
    download.documents = {{1, "CNF", 20261201080000, {"SUPRIMENTO", "10,00"}},
                          {2, "CF", 20261202090000, {"CUPOM FISCAL"}},
                          {3, "RZ", 20261203100000, {"REDUCAO Z", "", "FIM"}}};
    Env::Default()->WriteFile(download_, ecfsim::EncodeDownload(download));
  }
  int TypeE(const char* first, const char* last, const char* layout = "2",
            const char* source = nullptr) {
    return type_e_(source != nullptr ? source : download_.c_str(), target_.c_str(), first, last,
                   "PDV", "1.0", nullptr, layout, nullptr, nullptr, nullptr, nullptr, nullptr,
                   nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr);
  }
  std::vector<std::string> Target() { return Env::Default()->ReadLines(target_); }

  TempDir dir_;
  std::string download_ = dir_.Join("download.mfd");
  std::string target_ = dir_.Join("saida.txt");
  decltype(BemaGeraTxtPorCOO)* mirror_ = nullptr;
  decltype(BemaGeraRegistrosTipoE)* type_e_ = nullptr;
};

TEST_F(BemaMfd2Test, MirrorOfACooRangeKeepsTheDatesWhereTheyAreRead) {
  ASSERT_EQ(mirror_(download_.c_str(), target_.c_str(), 1, 2, 3), 1);

  const std::vector<std::string> lines = Target();
  ASSERT_GE(lines.size(), 8u);
  EXPECT_EQ(lines[7].substr(0, 10), "02/12/2026");
  EXPECT_EQ(lines[lines.size() - 2].substr(19, 10), "03/12/2026");
}

TEST_F(BemaMfd2Test, TypeERecordsHaveTheirFixedWidths) {
  ASSERT_EQ(TypeE("02/12/2026", "031226"), 1);

  const std::vector<std::string> lines = Target();
  ASSERT_THAT(lines, SizeIs(2 + 2 + 4 + 1));
  EXPECT_EQ(lines[0].substr(63, 16), "2026120220261203");
  const std::vector<std::pair<std::string, std::size_t>> widths = {
      {"E01", 129}, {"E02", 38}, {"E14", 35}, {"E15", 61}, {"E99", 11}};
  for (const std::string& line : lines) {
    for (const auto& [kind, width] : widths) {
      if (line.starts_with(kind)) {
        EXPECT_EQ(line.size(), width) << line;
      }
    }
  }
  EXPECT_EQ(lines[2], "E14000002CF      202612020900000001");
  EXPECT_EQ(lines.back(), "E9900000008");
}

TEST_F(BemaMfd2Test, RefusalsLeaveNoTarget) {
  EXPECT_EQ(mirror_(download_.c_str(), target_.c_str(), 2, 1, 3), kMfdBadArgument);  // user
  EXPECT_EQ(mirror_(download_.c_str(), target_.c_str(), 1, 3, 2), kMfdBadArgument);
  EXPECT_EQ(TypeE("ontem", "hoje"), kMfdBadArgument);
  EXPECT_EQ(TypeE("01/12/2026", "03/12/2026", "1"), kMfdBadArgument);
  EXPECT_EQ(TypeE("01/12/2026", "03/12/2026", "2", "/nenhum/arquivo"), kMfdCannotRead);
  Env::Default()->WriteFile(dir_.Join("lixo.mfd"), "nada");
  EXPECT_EQ(TypeE("01/12/2026", "03/12/2026", "2", dir_.Join("lixo.mfd").c_str()), kMfdBadArgument);
  EXPECT_FALSE(Env::Default()->FileExists(target_));
  EXPECT_EQ(mirror_(download_.c_str(), dir_.Join("falta/saida.txt").c_str(), 1, 1, 3),
            kMfdCannotWrite);
  EXPECT_THAT(Env::Default()->ListFiles(dir_.path(), "*"), ElementsAre("download.mfd", "lixo.mfd"));
}

}  // namespace
}  // namespace zel
