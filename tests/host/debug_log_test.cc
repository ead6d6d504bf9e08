#include "zel/debug_log.h"

#include <gtest/gtest.h>

#include <chrono>
#include <string>

#include "platform/env.h"
#include "support/test_env.h"
#include "zel/format_settings.h"

namespace zel {
namespace {

using Zel00101::ImpFisDebug;

class DebugLogTest : public ::testing::Test {
 protected:
  void SetUp() override {
    env_.SetNow(EncodeDateTime({2026, 12, 8, 9, 5, 7, 0}));
    DrainHeldEntries();
  }
  void TearDown() override {
    env_.ClearFailures();
    SetFormatSettings(FormatSettings{});
  }

  // Entries held by an earlier test must not leak into this one's files.
  void DrainHeldEntries() {
    DebugLogStatus status;
    ZelEstadoLog(&status);
    if (status.held_entries > 0) ImpFisDebug("");
    for (const std::string& name : env_.ListFiles(env_.HostExecutableDirectory(), "*"))
      env_.RemoveFile(env_.HostExecutableDirectory() + "/" + name);
  }

  std::string LogFile(const std::string& mmyy) {
    return env_.ReadFile(env_.HostExecutableDirectory() + "/impdebug" + mmyy + ".txt");
  }
  bool LogExists(const std::string& mmyy) {
    return env_.FileExists(env_.HostExecutableDirectory() + "/impdebug" + mmyy + ".txt");
  }
  void FailAppends(int times) { env_.InjectFailure(EnvOperation::kAppendFile, times, "impdebug"); }
  DebugLogStatus Status() {
    DebugLogStatus status;
    ZelEstadoLog(&status);
    return status;
  }

  TestEnv env_;
  ScopedCurrentEnv use_env_{&env_};
};

TEST_F(DebugLogTest, EntriesCarryDateTimeDashAndTextWithCrLf) {
  ImpFisDebug("Bematech_FI_LeituraX");
  env_.AdvanceClock(std::chrono::seconds(61));
  ImpFisDebug("Bematech_FI_CancelaItemGenerico : 003");
  EXPECT_EQ(LogFile("1226"),
            "08/12/2026 09:05:07 - Bematech_FI_LeituraX\r\n"
            "08/12/2026 09:06:08 - Bematech_FI_CancelaItemGenerico : 003\r\n");
}

TEST_F(DebugLogTest, EmptyTextLineBreaksAndAccentedBytesAreWrittenUnchanged) {
  ImpFisDebug("");
  ImpFisDebug("Bematech_FI_NumeroCaixa\r\nRetorno da Impressora : 0001");
  ImpFisDebug("ERRO!!! Al\xEDquota n\xE3o programada");
  EXPECT_EQ(LogFile("1226"),
            "08/12/2026 09:05:07 - \r\n"
            "08/12/2026 09:05:07 - Bematech_FI_NumeroCaixa\r\nRetorno da Impressora : 0001\r\n"
            "08/12/2026 09:05:07 - ERRO!!! Al\xEDquota n\xE3o programada\r\n");
}

TEST_F(DebugLogTest, ANewMonthStartsANewFileAndLeavesTheOldOne) {
  env_.SetNow(EncodeDateTime({2026, 12, 31, 23, 59, 59, 0}));
  ImpFisDebug("last of the year");
  env_.AdvanceClock(std::chrono::seconds(2));
  ImpFisDebug("first of the year");
  EXPECT_EQ(LogFile("1226"), "31/12/2026 23:59:59 - last of the year\r\n");
  EXPECT_EQ(LogFile("0127"), "01/01/2027 00:00:01 - first of the year\r\n");
}

TEST_F(DebugLogTest, DateAndTimeFollowTheRegionalSettings) {
  FormatSettings settings;
  settings.short_date_format = "yyyy-mm-dd";
  settings.date_separator = '-';
  settings.long_time_format = "hh.nn.ss";
  settings.time_separator = '.';
  SetFormatSettings(settings);
  ImpFisDebug("x");
  EXPECT_EQ(LogFile("1226"), "2026-12-08 09.05.07 - x\r\n");
}

TEST_F(DebugLogTest, AFailedWriteNeitherThrowsNorLosesTheEntry) {
  FailAppends(1);
  EXPECT_NO_THROW(ImpFisDebug("first"));
  EXPECT_FALSE(LogExists("1226"));
  DebugLogStatus status = Status();
  EXPECT_EQ(status.held_entries, 1u);
  EXPECT_NE(status.last_error, "");

  env_.AdvanceClock(std::chrono::seconds(1));
  ImpFisDebug("second");
  EXPECT_EQ(LogFile("1226"),
            "08/12/2026 09:05:07 - first\r\n"
            "08/12/2026 09:05:08 - second\r\n");
  status = Status();
  EXPECT_EQ(status.held_entries, 0u);
  EXPECT_EQ(status.last_error, "");
}

TEST_F(DebugLogTest, AHeldEntryGoesToTheFileOfTheMonthItWasMadeIn) {
  env_.SetNow(EncodeDateTime({2026, 11, 30, 23, 59, 0, 0}));
  FailAppends(1);
  ImpFisDebug("november");
  env_.SetNow(EncodeDateTime({2026, 12, 1, 8, 0, 0, 0}));
  ImpFisDebug("december");
  EXPECT_EQ(LogFile("1126"), "30/11/2026 23:59:00 - november\r\n");
  EXPECT_EQ(LogFile("1226"), "01/12/2026 08:00:00 - december\r\n");
}

TEST_F(DebugLogTest, BeyondTheHoldingLimitTheOldestEntriesAreDroppedAndCounted) {
  const std::size_t dropped_before = Status().dropped_entries;
  FailAppends(TestEnv::kEveryCall);
  for (std::size_t i = 0; i < kMaxHeldEntries + 2; ++i) ImpFisDebug(std::to_string(i));
  DebugLogStatus status = Status();
  EXPECT_EQ(status.held_entries, kMaxHeldEntries);
  EXPECT_EQ(status.dropped_entries, dropped_before + 2);

  env_.ClearFailures();
  ImpFisDebug("after");
  std::string log = LogFile("1226");
  EXPECT_EQ(log.find(" - 0\r\n"), std::string::npos);
  EXPECT_EQ(log.find(" - 1\r\n"), std::string::npos);
  EXPECT_EQ(log.rfind("08/12/2026 09:05:07 - 2\r\n", 0), 0u);
  EXPECT_NE(log.find(" - 1001\r\n08/12/2026 09:05:07 - after\r\n"), std::string::npos);
}

}  // namespace
}  // namespace zel
