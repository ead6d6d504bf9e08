// The real Env: clock, directories, path mapping, the current Env.
#include "platform/env.h"

#include <errno.h>
#include <gtest/gtest.h>
#include <time.h>

#include <algorithm>
#include <filesystem>
#include <fstream>

#include "platform/scoped_environment.h"
#include "support/temp_dir.h"

namespace zel {
namespace {

namespace fs = std::filesystem;

TEST(EnvClockTest, NowIsTheLocalTimeOfDay) {
  const DateTime before = Env::Default()->Now();
  const time_t seconds = ::time(nullptr);
  tm local{};
  ::localtime_r(&seconds, &local);
  const DateTime expected = EncodeDateTime({.year = local.tm_year + 1900,
                                            .month = local.tm_mon + 1,
                                            .day = local.tm_mday,
                                            .hour = local.tm_hour,
                                            .minute = local.tm_min,
                                            .second = std::min(local.tm_sec, 59)});
  const double two_seconds = 2.0 / 86400;
  EXPECT_NEAR(before.value, expected.value, two_seconds);
}

TEST(EnvDirectoryTest, CurrentDirectoryIsTheProcessWorkingDirectory) {
  TempDir temp;
  ScopedWorkingDirectory in_temp(temp.path());
  EXPECT_EQ(Env::Default()->CurrentDirectory(), fs::canonical(temp.path()).string());
}

TEST(EnvDirectoryTest, HostExecutableDirectoryHoldsThisProgram) {
  const std::string directory = Env::Default()->HostExecutableDirectory();
  ASSERT_FALSE(directory.empty());
  EXPECT_NE(directory.back(), '/');
  EXPECT_TRUE(fs::is_regular_file(fs::path(directory) / program_invocation_short_name))
      << directory;
}

TEST(EnvDirectoryTest, SystemDirectoryComesFromTheEnvironmentOrDriveC) {
  TempDir temp;
  ScopedWorkingDirectory in_temp(temp.path());
  const std::string here = fs::canonical(temp.path()).string();
  {
    ScopedEnvironmentVariable system("ZEL_SYSTEM_DIR", "/opt/windows/system32");
    EXPECT_EQ(Env::Default()->SystemDirectory(), "/opt/windows/system32");
  }
  {
    ScopedEnvironmentVariable system("ZEL_SYSTEM_DIR", "sys");
    EXPECT_EQ(Env::Default()->SystemDirectory(), here + "/sys");
  }
  ScopedEnvironmentVariable no_system("ZEL_SYSTEM_DIR", std::nullopt);
  ScopedEnvironmentVariable no_drive("ZEL_DRIVE_C", std::nullopt);
  EXPECT_EQ(Env::Default()->SystemDirectory(), here + "/drive_c/Windows/System32");
  ScopedEnvironmentVariable drive("ZEL_DRIVE_C", "/mnt/c");
  EXPECT_EQ(Env::Default()->SystemDirectory(), "/mnt/c/Windows/System32");
}

TEST(EnvMapPathTest, DriveRootsFollowTheirVariablesElseStayUnderTheCurrentDirectory) {
  TempDir temp;
  ScopedWorkingDirectory in_temp(temp.path());
  const std::string here = fs::canonical(temp.path()).string();
  Env* env = Env::Default();
  ScopedEnvironmentVariable c("ZEL_DRIVE_C", "/srv/cdrive/");
  ScopedEnvironmentVariable d("ZEL_DRIVE_D", std::nullopt);
  ScopedEnvironmentVariable e("ZEL_DRIVE_E", "edrive");
  EXPECT_EQ(env->MapPath("C:\\MenuFiscal\\LMFC_1.txt"), "/srv/cdrive/MenuFiscal/LMFC_1.txt");
  EXPECT_EQ(env->MapPath("c:\\Download.MFD"), "/srv/cdrive/Download.MFD");
  EXPECT_EQ(env->MapPath("D:\\Bema\\Retorno.txt"), here + "/drive_d/Bema/Retorno.txt");
  EXPECT_EQ(env->MapPath("E:\\x"), here + "/edrive/x");
  EXPECT_EQ(env->MapPath("Dados\\Reducoes\\a.txt"), here + "/Dados/Reducoes/a.txt");
  EXPECT_EQ(env->MapPath(temp.path() + "\\impdebug1226.txt"), temp.path() + "/impdebug1226.txt");
  EXPECT_EQ(env->ShortPath("C:\\Arquivos de programas\\x"), "C:\\Arquivos de programas\\x");
}

TEST(EnvMapPathTest, NamesInAnotherCaseFindTheExistingEntry) {
  TempDir temp;
  fs::create_directories(temp.Join("Windows/System32"));
  std::ofstream(temp.Join("Windows/System32/BemaFI32.ini")) << "Impressora=0\r\n";
  ScopedEnvironmentVariable c("ZEL_DRIVE_C", temp.path());
  Env* env = Env::Default();
  EXPECT_EQ(env->MapPath("C:\\WINDOWS\\system32\\Bemafi32.ini"),
            temp.Join("Windows/System32/BemaFI32.ini"));
  EXPECT_TRUE(env->FileExists("c:\\windows\\SYSTEM32\\BEMAFI32.INI"));
  // A missing name keeps its spelling, and so does everything below it.
  EXPECT_EQ(env->MapPath("C:\\windows\\Novo\\Arq.txt"), temp.Join("Windows/Novo/Arq.txt"));
  // An exact match wins over another case.
  std::ofstream(temp.Join("Windows/System32/bemafi32.ini")) << "x";
  EXPECT_EQ(env->MapPath("C:\\Windows\\System32\\bemafi32.ini"),
            temp.Join("Windows/System32/bemafi32.ini"));
}

TEST(EnvMapPathTest, MappingIsStableWhenRepeated) {
  TempDir temp;
  ScopedEnvironmentVariable c("ZEL_DRIVE_C", temp.path());
  Env* env = Env::Default();
  for (const char* path : {"C:\\MenuFiscal\\a.txt",
                           "C:\\Redu\xE7\xF5"
                           "es",
                           "rel\\x"}) {
    const std::string once = env->MapPath(path);
    EXPECT_EQ(env->MapPath(once), once) << path;
  }
}

TEST(EnvCurrentTest, SetCurrentSwapsAndNullRestoresTheDefault) {
  EXPECT_EQ(Env::Current(), Env::Default());
  EnvWrapper wrapper(Env::Default());
  Env::SetCurrent(&wrapper);
  EXPECT_EQ(Env::Current(), &wrapper);
  Env::SetCurrent(nullptr);
  EXPECT_EQ(Env::Current(), Env::Default());
}

}  // namespace
}  // namespace zel
