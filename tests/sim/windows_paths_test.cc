#include "windows_paths.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include "sim_files_fixture.h"

namespace ecfsim {
namespace {

namespace fs = std::filesystem;

TEST_F(SimFilesTest, DriveLettersAndLeadingBackslashMapBelowTheDriveDirectory) {
  EXPECT_EQ(fs::path(RealPath("C:\\MenuFiscal\\x.txt")), drive_c() / "MenuFiscal" / "x.txt");
  EXPECT_EQ(fs::path(RealPath("c:/MenuFiscal//x.txt")), drive_c() / "MenuFiscal" / "x.txt");
  EXPECT_EQ(fs::path(RealPath("\\Retorno.txt")), drive_c() / "Retorno.txt");
  EXPECT_EQ(fs::path(RealPath("C:\\")), drive_c());
}

TEST_F(SimFilesTest, OtherDrivesAndRelativePathsFollowTheirDefaults) {
  EXPECT_EQ(fs::path(RealPath("D:\\dados")), root() / "drive_d" / "dados");
  EXPECT_EQ(fs::path(RealPath("Dados\\x")), root() / "Dados" / "x");
  EXPECT_EQ(RealPath("/tmp/abs"), "/tmp/abs");
  EXPECT_EQ(RealPath(""), "");
  unsetenv("ZEL_DRIVE_C");
  EXPECT_EQ(fs::path(RealPath("C:\\x")), root() / "drive_c" / "x");
}

TEST_F(SimFilesTest, ExistingNamesAreFoundWhateverTheirCase) {
  fs::create_directories(drive_c() / "Bema" / "Sub");
  EXPECT_EQ(fs::path(RealPath("c:\\BEMA\\sub\\new.txt")), drive_c() / "Bema" / "Sub" / "new.txt");
  // Past the first missing component names stay as spelled.
  EXPECT_EQ(fs::path(RealPath("c:\\bema\\Missing\\SUB")), drive_c() / "Bema" / "Missing" / "SUB");
}

TEST_F(SimFilesTest, Windows1252NamesBecomeUtf8) {
  EXPECT_EQ(fs::path(RealPath("Dados\\Redu\xE7\xF5"
                              "es")),
            root() / "Dados" /
                "Redu\xC3\xA7\xC3\xB5"
                "es");
  EXPECT_EQ(fs::path(RealPath("Dados\\Redu\xC3\xA7\xC3\xB5"
                              "es")),
            root() / "Dados" /
                "Redu\xC3\xA7\xC3\xB5"
                "es");
}

TEST_F(SimFilesTest, SystemDirectoryComesFromTheEnvironment) {
  EXPECT_EQ(fs::path(SystemDirectory()), system_dir());
  unsetenv("ZEL_SYSTEM_DIR");
  EXPECT_EQ(fs::path(SystemDirectory()), drive_c() / "Windows" / "System32");
}

TEST_F(SimFilesTest, OutputDirectoryComesFromTheIniWhateverItsNameCase) {
  EXPECT_EQ(OutputDirectory(), "C:\\");
  WriteIni("bemafi32.INI", "[x]\nPATH=D:\\Saida\n");
  EXPECT_EQ(OutputDirectory(), "D:\\Saida\\");
}

TEST(IniValueTest, FirstEntryByNameIgnoringCaseAndNothingElse) {
  EXPECT_EQ(IniValue({"[Sistema]", "Path =x", "pAtH=C:\\A\\", "Path=C:\\B"}, "Path"), "C:\\A\\");
  EXPECT_EQ(IniValue({"Paths=x", "Impressora=0"}, "Path"), "");
  EXPECT_EQ(IniValue({"Path=a=b"}, "Path"), "a=b");
}

}  // namespace
}  // namespace ecfsim
