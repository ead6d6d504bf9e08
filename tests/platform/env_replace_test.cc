// The real Env's renaming, whole-file replacement and file lock, on a
// temporary drive C: the calls that keep the driver's files whole across a
// power loss and keep a second user off the simulated printer's port. Runs
// on Linux and, under wine, on Windows.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>

#include "platform/env.h"
#include "platform/scoped_environment.h"
#include "support/temp_dir.h"

namespace zel {
namespace {

namespace fs = std::filesystem;
using ::testing::ElementsAre;
using ::testing::HasSubstr;

std::string Contents(const std::string& real) {
  std::ifstream file(real, std::ios::binary);
  return {std::istreambuf_iterator<char>(file), {}};
}

// The names in a real directory, sorted.
std::vector<std::string> Names(const std::string& real) {
  std::vector<std::string> names;
  for (const fs::directory_entry& entry : fs::directory_iterator(real)) {
    names.push_back(entry.path().filename().string());
  }
  std::sort(names.begin(), names.end());
  return names;
}

class EnvReplaceTest : public ::testing::Test {
 protected:
  void SetUp() override { fs::create_directory(drive_.Join("Dados")); }

  TempDir drive_;
  ScopedEnvironmentVariable drive_c_{"ZEL_DRIVE_C", drive_.path()};
  Env* env_ = Env::Default();
};

TEST_F(EnvReplaceTest, RenameReplacesAnExistingTargetAndTheSourceIsGone) {
  env_->WriteFile("C:\\Dados\\novo.tmp", "novo");
  env_->WriteFile("C:\\Dados\\cdsVenda.cds", "antigo e mais longo");
  env_->RenameFile("C:\\Dados\\novo.tmp", "C:\\Dados\\cdsVenda.cds");
  EXPECT_EQ(Contents(drive_.Join("Dados/cdsVenda.cds")), "novo");
  EXPECT_THAT(Names(drive_.Join("Dados")), ElementsAre("cdsVenda.cds"));

  // Onto a name that does not exist yet, too.
  env_->RenameFile("C:\\Dados\\cdsVenda.cds", "C:\\Dados\\Ploteva.cds");
  EXPECT_THAT(Names(drive_.Join("Dados")), ElementsAre("Ploteva.cds"));
}

TEST_F(EnvReplaceTest, RenamingAMissingFileRaisesAndTouchesNothing) {
  env_->WriteFile("C:\\Dados\\Ploteva.cds", "intacto");
  try {
    env_->RenameFile("C:\\Dados\\falta.tmp", "C:\\Dados\\Ploteva.cds");
    ADD_FAILURE() << "no FileError raised";
  } catch (const FileError& error) {
    EXPECT_EQ(error.windows_code(), kWinFileNotFound);
    EXPECT_THAT(error.what(), HasSubstr("Cannot rename file \"C:\\Dados\\falta.tmp\""));
  }
  EXPECT_EQ(Contents(drive_.Join("Dados/Ploteva.cds")), "intacto");
}

TEST_F(EnvReplaceTest, ReplaceLeavesTheNewBytesAndNoTemporaryFile) {
  env_->WriteFile("C:\\Dados\\Ploteva.cds", "versao 1, mais longa");
  env_->ReplaceFile("C:\\Dados\\Ploteva.cds", "versao 2");
  EXPECT_EQ(env_->ReadFile("C:\\Dados\\Ploteva.cds"), "versao 2");
  env_->WriteLines("C:\\Dados\\BemaFI32.ini", {"[Sistema]", "Porta=COM1"});
  EXPECT_EQ(Contents(drive_.Join("Dados/BemaFI32.ini")), "[Sistema]\r\nPorta=COM1\r\n");
  EXPECT_THAT(Names(drive_.Join("Dados")), ElementsAre("BemaFI32.ini", "Ploteva.cds"));
}

TEST_F(EnvReplaceTest, ReplaceIntoAMissingFolderFailsAndLeavesNothing) {
  EXPECT_THROW(env_->ReplaceFile("C:\\Falta\\Ploteva.cds", "x"), FileError);
  EXPECT_FALSE(fs::exists(drive_.Join("Falta")));
}

TEST_F(EnvReplaceTest, ALockedFileRefusesASecondLockUntilReleased) {
  std::unique_ptr<FileLock> first = env_->TryLockFile("C:\\Dados\\port.lock");
  ASSERT_NE(first, nullptr);
  EXPECT_TRUE(fs::is_regular_file(drive_.Join("Dados/port.lock"))) << "made when missing";
  EXPECT_EQ(env_->TryLockFile("C:\\Dados\\port.lock"), nullptr) << "held in this process";
  EXPECT_EQ(env_->TryLockFile("c:\\dados\\PORT.LOCK"), nullptr) << "in any spelling";
  EXPECT_NE(env_->TryLockFile("C:\\Dados\\outro.lock"), nullptr) << "another file is free";
  first.reset();
  EXPECT_NE(env_->TryLockFile("C:\\Dados\\port.lock"), nullptr) << "free again once released";
}

TEST_F(EnvReplaceTest, ALockInAMissingFolderRaises) {
  try {
    env_->TryLockFile("C:\\Falta\\port.lock");
    ADD_FAILURE() << "no FileError raised";
  } catch (const FileError& error) {
    EXPECT_EQ(error.windows_code(), kWinPathNotFound);
    EXPECT_THAT(error.what(), HasSubstr("C:\\Falta\\port.lock"));
  }
}

}  // namespace
}  // namespace zel
