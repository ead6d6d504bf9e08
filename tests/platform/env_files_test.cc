// File operations of the real Env, on a temporary drive C.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>

#include "platform/env.h"
#include "platform/scoped_environment.h"
#include "support/temp_dir.h"

namespace zel {
namespace {

namespace fs = std::filesystem;
using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::IsEmpty;

// The FileError an action raises; fails the test when it raises none.
FileError ErrorFrom(const std::function<void()>& action) {
  try {
    action();
  } catch (const FileError& error) {
    return error;
  }
  ADD_FAILURE() << "no FileError raised";
  return FileError("", 0);
}

std::string Contents(const std::string& real) {
  std::ifstream file(real, std::ios::binary);
  return {std::istreambuf_iterator<char>(file), {}};
}

class EnvFilesTest : public ::testing::Test {
 protected:
  TempDir drive_;
  ScopedEnvironmentVariable drive_c_{"ZEL_DRIVE_C", drive_.path()};
  Env* env_ = Env::Default();
};

TEST_F(EnvFilesTest, WriteThenReadRoundTripsEveryByte) {
  using namespace std::string_literals;
  const std::string bytes = "linha 1\r\nUni\xE3o\0fim\xFF"s;
  ASSERT_EQ(bytes.size(), 19u);
  env_->WriteFile("C:\\dados.bin", bytes);
  EXPECT_EQ(Contents(drive_.Join("dados.bin")), bytes);
  EXPECT_EQ(env_->ReadFile("c:\\DADOS.BIN"), bytes);
  env_->WriteFile("C:\\dados.bin", "short");  // replaces, not overlays
  EXPECT_EQ(env_->ReadFile("C:\\dados.bin"), "short");
}

TEST_F(EnvFilesTest, AppendCreatesTheFileThenAddsToIt) {
  EXPECT_FALSE(env_->FileExists("C:\\impdebug1226.txt"));
  env_->AppendFile("C:\\impdebug1226.txt", "first\r\n");
  env_->AppendFile("C:\\impdebug1226.txt", "second\r\n");
  EXPECT_EQ(Contents(drive_.Join("impdebug1226.txt")), "first\r\nsecond\r\n");
}

TEST_F(EnvFilesTest, ReadLinesSplitsAtLfAndDropsTheCrBeforeIt) {
  std::ofstream(drive_.Join("r.txt"), std::ios::binary) << "a\r\nb\n\r\nlast";
  EXPECT_THAT(env_->ReadLines("C:\\r.txt"), ElementsAre("a", "b", "", "last"));
  std::ofstream(drive_.Join("s.txt"), std::ios::binary) << "one\r\n\r\n";
  EXPECT_THAT(env_->ReadLines("C:\\s.txt"), ElementsAre("one", ""));
  std::ofstream(drive_.Join("cr.txt"), std::ios::binary) << "x\ry\n";
  EXPECT_THAT(env_->ReadLines("C:\\cr.txt"), ElementsAre("x\ry"));
  std::ofstream(drive_.Join("empty.txt"), std::ios::binary);
  EXPECT_THAT(env_->ReadLines("C:\\empty.txt"), IsEmpty());
}

TEST_F(EnvFilesTest, WriteLinesEndsEveryLineWithCrLf) {
  env_->WriteLines("C:\\BemaFI32.ini", {"[Sistema]", "Impressora=0", ""});
  EXPECT_EQ(Contents(drive_.Join("BemaFI32.ini")), "[Sistema]\r\nImpressora=0\r\n\r\n");
  EXPECT_THAT(env_->ReadLines("C:\\BemaFI32.ini"), ElementsAre("[Sistema]", "Impressora=0", ""));
}

TEST_F(EnvFilesTest, AMissingFileIsNamedWithItsRealPathAndReason) {
  const FileError error = ErrorFrom([&] { env_->ReadFile("C:\\Bema\\Retorno.txt"); });
  EXPECT_THAT(error.what(), HasSubstr("\"C:\\Bema\\Retorno.txt\""));
  EXPECT_THAT(error.what(), HasSubstr(drive_.Join("Bema/Retorno.txt")));
  EXPECT_THAT(error.what(), HasSubstr("No such file or directory"));
  EXPECT_EQ(error.windows_code(), kWinPathNotFound);  // C:\Bema itself is missing

  fs::create_directory(drive_.Join("Bema"));
  EXPECT_EQ(ErrorFrom([&] { env_->ReadFile("C:\\Bema\\Retorno.txt"); }).windows_code(),
            kWinFileNotFound);
}

TEST_F(EnvFilesTest, WritingIntoAMissingDirectoryFailsWithoutCreatingIt) {
  const FileError error = ErrorFrom([&] { env_->WriteFile("C:\\MenuFiscal\\a.txt", "x"); });
  EXPECT_THAT(error.what(), HasSubstr("Cannot write file \"C:\\MenuFiscal\\a.txt\""));
  EXPECT_EQ(error.windows_code(), kWinPathNotFound);
  EXPECT_FALSE(fs::exists(drive_.Join("MenuFiscal")));
  EXPECT_EQ(ErrorFrom([&] { env_->AppendFile("C:\\MenuFiscal\\a.txt", "x"); }).windows_code(),
            kWinPathNotFound);
}

TEST_F(EnvFilesTest, ADirectoryIsNotAFile) {
  fs::create_directory(drive_.Join("MenuFiscal"));
  EXPECT_FALSE(env_->FileExists("C:\\MenuFiscal"));
  EXPECT_TRUE(env_->DirectoryExists("C:\\MenuFiscal"));
  EXPECT_TRUE(env_->DirectoryExists("C:\\menufiscal\\"));
  EXPECT_FALSE(env_->DirectoryExists("C:\\Outro"));
  EXPECT_FALSE(env_->FileExists(""));
  EXPECT_EQ(ErrorFrom([&] { env_->ReadFile("C:\\MenuFiscal"); }).windows_code(), kWinAccessDenied);
  EXPECT_EQ(ErrorFrom([&] { env_->WriteFile("C:\\MenuFiscal", "x"); }).windows_code(),
            kWinAccessDenied);
}

TEST_F(EnvFilesTest, CopyReplacesTheTargetAndLeavesTheSource) {
  fs::create_directories(drive_.Join("Bema"));
  fs::create_directories(drive_.Join("MenuFiscal"));
  std::ofstream(drive_.Join("Bema/Retorno.txt"), std::ios::binary) << "leitura nova\r\n";
  std::ofstream(drive_.Join("MenuFiscal/LMFC_1.txt"), std::ios::binary) << "a much longer old text";
  env_->CopyFileTo("C:\\Bema\\Retorno.txt", "C:\\MenuFiscal\\LMFC_1.txt");
  EXPECT_EQ(Contents(drive_.Join("MenuFiscal/LMFC_1.txt")), "leitura nova\r\n");
  EXPECT_EQ(Contents(drive_.Join("Bema/Retorno.txt")), "leitura nova\r\n");
}

TEST_F(EnvFilesTest, CopyFailuresTellWhichSideAndTheWindowsCode) {
  fs::create_directories(drive_.Join("Bema"));
  std::ofstream(drive_.Join("Bema/Retorno.txt")) << "x";
  // No C:\MenuFiscal: Windows says "path not found" (3) here.
  const FileError no_target =
      ErrorFrom([&] { env_->CopyFileTo("C:\\Bema\\Retorno.txt", "C:\\MenuFiscal\\LMFC_1.txt"); });
  EXPECT_EQ(no_target.windows_code(), kWinPathNotFound);
  EXPECT_THAT(no_target.what(), HasSubstr("creating the target"));
  EXPECT_THAT(no_target.what(), HasSubstr("\"C:\\MenuFiscal\\LMFC_1.txt\""));

  const FileError no_source =
      ErrorFrom([&] { env_->CopyFileTo("C:\\Bema\\Nada.txt", "C:\\Bema\\Copia.txt"); });
  EXPECT_EQ(no_source.windows_code(), kWinFileNotFound);
  EXPECT_THAT(no_source.what(), HasSubstr("opening the source"));
  EXPECT_FALSE(fs::exists(drive_.Join("Bema/Copia.txt")));
}

TEST_F(EnvFilesTest, CopyOntoItselfKeepsTheData) {
  std::ofstream(drive_.Join("Retorno.txt")) << "precious";
  const FileError error =
      ErrorFrom([&] { env_->CopyFileTo("C:\\Retorno.txt", "c:\\RETORNO.TXT"); });
  EXPECT_THAT(error.what(), HasSubstr("same file"));
  EXPECT_EQ(Contents(drive_.Join("Retorno.txt")), "precious");
}

TEST_F(EnvFilesTest, RemoveSaysWhetherThereWasAFile) {
  std::ofstream(drive_.Join("Download.MFD")) << "x";
  EXPECT_TRUE(env_->RemoveFile("c:\\download.mfd"));
  EXPECT_FALSE(fs::exists(drive_.Join("Download.MFD")));
  EXPECT_FALSE(env_->RemoveFile("C:\\Download.MFD"));
  EXPECT_FALSE(env_->RemoveFile("C:\\NoDir\\Download.MFD"));
  fs::create_directory(drive_.Join("Dir"));
  EXPECT_THAT(ErrorFrom([&] { env_->RemoveFile("C:\\Dir"); }).what(),
              HasSubstr("Cannot remove file \"C:\\Dir\""));
  EXPECT_TRUE(fs::is_directory(drive_.Join("Dir")));
}

TEST_F(EnvFilesTest, CreateDirectoriesMakesParentsAndAcceptsExistingOnes) {
  ScopedWorkingDirectory in_drive(drive_.path());
  env_->CreateDirectories(
      "Dados\\Redu\xE7\xF5"
      "es");
  EXPECT_TRUE(
      fs::is_directory(drive_.Join("Dados/Redu\xC3\xA7\xC3\xB5"
                                   "es")));
  EXPECT_TRUE(
      env_->DirectoryExists("Dados\\Redu\xE7\xF5"
                            "es"));
  env_->CreateDirectories(
      "DADOS\\Redu\xE7\xF5"
      "es");  // exists, in another case
  EXPECT_EQ(std::distance(fs::directory_iterator(drive_.path()), fs::directory_iterator()), 1);
  env_->CreateDirectories("C:\\MenuFiscal");
  EXPECT_TRUE(fs::is_directory(drive_.Join("MenuFiscal")));
}

TEST_F(EnvFilesTest, CreateDirectoriesStopsAtAFileInTheWay) {
  std::ofstream(drive_.Join("Dados")) << "x";
  const FileError error = ErrorFrom([&] { env_->CreateDirectories("C:\\Dados\\Sub"); });
  EXPECT_THAT(error.what(), HasSubstr("Cannot create directory \"C:\\Dados\\Sub\""));
  EXPECT_EQ(error.windows_code(), kWinPathNotFound);
  EXPECT_TRUE(fs::is_regular_file(drive_.Join("Dados")));
}

TEST_F(EnvFilesTest, ListFilesMatchesThePatternSortedWithoutDirectories) {
  fs::create_directories(drive_.Join("MenuFiscal/LMFC_dir"));
  for (const char* name : {"LMFC_2.txt", "LMFC_1.txt", "lmfc_3.TXT", "LMFS_1.txt", "notes"}) {
    std::ofstream(drive_.Join(std::string("MenuFiscal/") + name)) << "x";
  }
  EXPECT_THAT(env_->ListFiles("C:\\MenuFiscal", "LMFC_*.txt"),
              ElementsAre("LMFC_1.txt", "LMFC_2.txt", "lmfc_3.TXT"));
  EXPECT_THAT(env_->ListFiles("C:\\menufiscal\\", "*"),
              ElementsAre("LMFC_1.txt", "LMFC_2.txt", "LMFS_1.txt", "lmfc_3.TXT", "notes"));
  EXPECT_THAT(env_->ListFiles("C:\\MenuFiscal", "*.mfd"), IsEmpty());
}

TEST_F(EnvFilesTest, ListingAMissingDirectoryIsPathNotFound) {
  const FileError error = ErrorFrom([&] { env_->ListFiles("C:\\MenuFiscal", "*"); });
  EXPECT_EQ(error.windows_code(), kWinPathNotFound);
  EXPECT_THAT(error.what(), HasSubstr("Cannot list directory \"C:\\MenuFiscal\""));
}

}  // namespace
}  // namespace zel
