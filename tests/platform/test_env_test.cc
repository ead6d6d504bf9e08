// The test Env: pinned clock, redirected directories, injected failures.
#include "support/test_env.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "platform/scoped_environment.h"

namespace zel {
namespace {

namespace fs = std::filesystem;
using std::chrono::milliseconds;

// A path as the system spells it (on Windows with backslashes).
std::string Real(const std::string& path) { return Env::Default()->MapPath(path); }
using ::testing::HasSubstr;
using ::testing::StartsWith;

TEST(TestEnvClockTest, StandsStillUntilSetOrAdvanced) {
  TestEnv env;
  const DateParts start = DecodeDateTime(env.Now());
  EXPECT_EQ(start.year, 2026);
  EXPECT_EQ(start.month, 12);
  EXPECT_EQ(start.day, 7);
  EXPECT_EQ(start.hour, 10);
  EXPECT_EQ(start.minute, 5);
  EXPECT_EQ(start.second, 7);
  EXPECT_EQ(env.Now(), env.Now());

  env.SetNow(EncodeDateTime(
      {.year = 2026, .month = 12, .day = 31, .hour = 23, .minute = 59, .second = 59}));
  env.AdvanceClock(milliseconds(1500));
  const DateParts later = DecodeDateTime(env.Now());
  EXPECT_EQ(later.year, 2027);
  EXPECT_EQ(later.month, 1);
  EXPECT_EQ(later.day, 1);
  EXPECT_EQ(later.second, 0);
  EXPECT_EQ(later.millisecond, 500);
}

TEST(TestEnvClockTest, SleepAdvancesTheClockWithoutWaiting) {
  TestEnv env;
  const DateTime before = env.Now();
  const auto start = std::chrono::steady_clock::now();
  env.SleepFor(std::chrono::hours(2));
  EXPECT_LT(std::chrono::steady_clock::now() - start, milliseconds(500));
  EXPECT_EQ(DecodeDateTime(env.Now()).hour, DecodeDateTime(before).hour + 2);
}

TEST(TestEnvDirectoryTest, EverythingLivesUnderItsOwnTemporaryDirectory) {
  std::string root;
  {
    TestEnv env;
    root = env.root();
    EXPECT_EQ(env.HostExecutableDirectory(), Real(root + "/host"));
    EXPECT_EQ(env.CurrentDirectory(), Real(root + "/current"));
    EXPECT_EQ(env.SystemDirectory(), Real(root + "/drive_c/Windows/System32"));
    for (const std::string& directory :
         {env.HostExecutableDirectory(), env.CurrentDirectory(), env.SystemDirectory()}) {
      EXPECT_TRUE(fs::is_directory(directory)) << directory;
    }
    EXPECT_EQ(env.MapPath("C:\\MenuFiscal\\a.txt"), Real(root + "/drive_c/MenuFiscal/a.txt"));
    EXPECT_EQ(env.MapPath("d:\\x"), Real(root + "/drive_d/x"));
    EXPECT_EQ(env.MapPath("Dados\\b.txt"), Real(root + "/current/Dados/b.txt"));
    EXPECT_EQ(env.MapPath("\\c.txt"), Real(root + "/drive_c/c.txt"));
    EXPECT_EQ(env.MapPath("/etc\\hosts"), Real("/etc/hosts"));
    // A real path it gave out is not redirected again.
    EXPECT_EQ(env.MapPath(env.CurrentDirectory() + "\\x"), Real(root + "/current/x"));
  }
  EXPECT_FALSE(fs::exists(root));
}

TEST(TestEnvDirectoryTest, TheProcessSettingsDoNotLeakIn) {
  ScopedEnvironmentVariable drive("ZEL_DRIVE_C", "/somewhere/else");
  ScopedEnvironmentVariable system("ZEL_SYSTEM_DIR", "/somewhere/system");
  TestEnv env;
  EXPECT_THAT(env.MapPath("C:\\x"), StartsWith(env.root()));
  EXPECT_THAT(env.SystemDirectory(), StartsWith(env.root()));
}

TEST(TestEnvDirectoryTest, FilesGoToTheRedirectedFoldersInEitherSpelling) {
  TestEnv env;
  env.CreateDirectories("C:\\MenuFiscal");
  env.WriteFile("C:\\MenuFiscal\\LMFC_1.txt", "leitura");
  env.CopyFileTo("c:\\menufiscal\\lmfc_1.txt", "copia.txt");
  env.AppendFile(env.HostExecutableDirectory() + "\\impdebug1226.txt", "x");
  EXPECT_TRUE(fs::is_regular_file(env.root() + "/drive_c/MenuFiscal/LMFC_1.txt"));
  EXPECT_EQ(env.ReadFile(env.root() + "/current/copia.txt"), "leitura");
  EXPECT_TRUE(fs::exists(env.root() + "/host/impdebug1226.txt"));
}

TEST(TestEnvDirectoryTest, TheCurrentDirectoryCanBeMoved) {
  TestEnv env;
  env.set_current_directory(env.DriveRoot('C'));
  env.WriteFile("Download.MFD", "x");
  EXPECT_TRUE(env.FileExists("c:\\Download.MFD"));
}

TEST(TestEnvFailureTest, TheNextCallsFailThenCallsWorkAgain) {
  TestEnv env;
  env.InjectFailure(EnvOperation::kAppendFile, 2);
  for (int call = 0; call < 2; ++call) {
    try {
      env.AppendFile("C:\\log.txt", "x");
      ADD_FAILURE() << "call " << call << " did not fail";
    } catch (const FileError& error) {
      EXPECT_THAT(error.what(), HasSubstr("AppendFile"));
      EXPECT_THAT(error.what(), HasSubstr("C:\\log.txt"));
      EXPECT_EQ(error.windows_code(), kWinAccessDenied);
    }
  }
  EXPECT_FALSE(env.FileExists("C:\\log.txt"));
  env.AppendFile("C:\\log.txt", "y");
  EXPECT_EQ(env.ReadFile("C:\\log.txt"), "y");
}

TEST(TestEnvFailureTest, OnlyPathsWithTheTextFailAndTheyAlwaysDo) {
  TestEnv env;
  env.InjectFailure(EnvOperation::kWriteFile, TestEnv::kEveryCall, "MenuFiscal", kWinPathNotFound);
  env.WriteFile("C:\\outro.txt", "ok");
  for (int call = 0; call < 3; ++call) {
    try {
      env.WriteLines("C:\\MenuFiscal\\a.txt", {"x"});
      ADD_FAILURE() << "call " << call << " did not fail";
    } catch (const FileError& error) {
      EXPECT_EQ(error.windows_code(), kWinPathNotFound);
    }
  }
  env.ClearFailures();
  env.CreateDirectories("C:\\MenuFiscal");
  EXPECT_NO_THROW(env.WriteFile("C:\\MenuFiscal\\a.txt", "x"));
}

TEST(TestEnvFailureTest, EveryFileOperationCanBeMadeToFail) {
  TestEnv env;
  env.CreateDirectories("C:\\d");
  env.WriteFile("C:\\d\\f.txt", "x");
  const std::vector<std::pair<EnvOperation, std::function<void()>>> calls = {
      {EnvOperation::kReadFile, [&] { env.ReadLines("C:\\d\\f.txt"); }},
      {EnvOperation::kCopyFile, [&] { env.CopyFileTo("C:\\d\\f.txt", "C:\\d\\g.txt"); }},
      {EnvOperation::kRemoveFile, [&] { env.RemoveFile("C:\\d\\f.txt"); }},
      {EnvOperation::kCreateDirectories, [&] { env.CreateDirectories("C:\\e"); }},
      {EnvOperation::kListFiles, [&] { env.ListFiles("C:\\d", "*"); }},
  };
  for (const auto& [operation, call] : calls) {
    env.InjectFailure(operation, 1);
    EXPECT_THROW(call(), FileError) << static_cast<int>(operation);
    EXPECT_NO_THROW(call()) << static_cast<int>(operation);
  }
}

TEST(TestEnvFailureTest, CopyFailuresMatchEitherPath) {
  TestEnv env;
  env.WriteFile("C:\\Retorno.txt", "x");
  env.InjectFailure(EnvOperation::kCopyFile, TestEnv::kEveryCall, "LMFC_");
  EXPECT_NO_THROW(env.CopyFileTo("C:\\Retorno.txt", "C:\\copia.txt"));
  EXPECT_THROW(env.CopyFileTo("C:\\Retorno.txt", "C:\\LMFC_1.txt"), FileError);
  EXPECT_FALSE(env.FileExists("C:\\LMFC_1.txt"));
}

TEST(TestEnvFailureTest, ALibraryFailureIsANullHandleWithAReason) {
  TestEnv env;
  env.InjectFailure(EnvOperation::kOpenLibrary, 1, "BemaFI32");
  EXPECT_EQ(env.OpenLibrary("BemaFI32.dll"), nullptr);
  EXPECT_THAT(env.LastLibraryError(), HasSubstr("Injected failure of OpenLibrary"));
  // The next failure is the real one.
  EXPECT_EQ(env.OpenLibrary("NoSuchLibrary.dll"), nullptr);
  EXPECT_THAT(env.LastLibraryError(), HasSubstr("NoSuchLibrary"));
}

TEST(TestEnvFailureTest, ASerialPortFailureRaisesAndTheProbeSaysNo) {
  TestEnv env;
  env.InjectFailure(EnvOperation::kOpenSerialPort, TestEnv::kEveryCall, "COM2");
  EXPECT_FALSE(env.CanOpenSerialPort("COM2:"));
  EXPECT_THROW(env.OpenSerialPort("COM2", {}), FileError);
}

TEST(ScopedCurrentEnvTest, InstallsForItsLifetimeAndRestoresWhatWasThere) {
  Env* const before = Env::Current();
  TestEnv outer;
  {
    ScopedCurrentEnv use_outer(&outer);
    EXPECT_EQ(Env::Current(), &outer);
    {
      TestEnv inner;
      ScopedCurrentEnv use_inner(&inner);
      EXPECT_EQ(Env::Current(), &inner);
    }
    EXPECT_EQ(Env::Current(), &outer);
  }
  EXPECT_EQ(Env::Current(), before);
}

}  // namespace
}  // namespace zel
