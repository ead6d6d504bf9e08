// The host SDK as a host sees it: the driver and the host share one copy of
// the SDK library, so what the host hands the driver (an Env, regional
// settings) is what the host itself then sees; a host that sets nothing
// gets the documented defaults; and a second copy of the driver under
// another name loads and answers beside the first.
#include <gtest/gtest.h>

#include <string>

#include "support/temp_dir.h"
#include "zel/env.h"
#include "zel/format_settings.h"
#include "zel/host_services.h"
#include "zel/variant.h"

namespace zel {
namespace {

class PinnedClock : public EnvWrapper {
 public:
  PinnedClock() : EnvWrapper(Env::Default()) {}
  DateTime Now() override { return EncodeDate(2026, 12, 7); }
};

class HostSdkTest : public ::testing::Test {
 protected:
  HostSdkTest() : driver_(Env::Default()->OpenLibrary("zel00100.dll")) {}
  ~HostSdkTest() override {
    if (driver_ == nullptr) return;
    Op<void(Env*)>("ZelDefineEnv")(nullptr);
    Op<bool(const FormatSettings*)>("ZelDefineFormatos")(nullptr);
  }

  template <typename Signature>
  Signature* Op(const char* name) {
    void* symbol = Env::Default()->GetSymbol(driver_, name);
    if (symbol == nullptr) throw Error(std::string("the driver does not export ") + name);
    return reinterpret_cast<Signature*>(symbol);
  }

  LibraryHandle driver_;
};

TEST_F(HostSdkTest, WhatTheHostHandsTheDriverIsWhatBothSee) {
  ASSERT_NE(driver_, nullptr) << Env::Default()->LastLibraryError();
  PinnedClock clock;
  Op<void(Env*)>("ZelDefineEnv")(&clock);
  EXPECT_EQ(Env::Current(), &clock);
  EXPECT_EQ(Env::Current()->Now(), EncodeDate(2026, 12, 7));

  FormatSettings dotted;
  dotted.decimal_separator = '.';
  dotted.thousand_separator = ',';
  ASSERT_TRUE(Op<bool(const FormatSettings*)>("ZelDefineFormatos")(&dotted));
  EXPECT_EQ(CurrentFormatSettings().decimal_separator, '.');
  EXPECT_EQ(Variant(2.5).AsText(), "2.5");
}

TEST_F(HostSdkTest, NothingHandedOverMeansTheDefaults) {
  ASSERT_NE(driver_, nullptr) << Env::Default()->LastLibraryError();
  Op<void(Env*)>("ZelDefineEnv")(nullptr);
  EXPECT_EQ(Env::Current(), Env::Default());

  FormatSettings clash;
  clash.thousand_separator = clash.decimal_separator;
  EXPECT_FALSE(Op<bool(const FormatSettings*)>("ZelDefineFormatos")(&clash));
  EXPECT_TRUE(Op<bool(const FormatSettings*)>("ZelDefineFormatos")(nullptr));
  EXPECT_EQ(CurrentFormatSettings().decimal_separator, ',');
}

TEST_F(HostSdkTest, ASecondCopyUnderAnotherNameLoadsBesideTheFirst) {
  ASSERT_NE(driver_, nullptr) << Env::Default()->LastLibraryError();
  // The copy keeps the system's spelling of a library file name
  // (libzel00100.so, zel00100.dll) with another name in it.
  const std::string original = FindLibrary("zel00100.dll", {});
  ASSERT_FALSE(original.empty());
  std::string file = original.substr(original.find_last_of("/\\") + 1);
  file.replace(file.find("zel00100"), 8, "zelcopy1");
  TempDir folder;
  Env::Default()->CopyFileTo(original, folder.Join(file));
  LibraryHandle copy = Env::Default()->OpenLibrary(folder.Join("zelcopy1.dll"));
  ASSERT_NE(copy, nullptr) << Env::Default()->LastLibraryError();
  ASSERT_NE(copy, driver_);

  using CodeOp = std::string(int, const std::string&);
  auto* code_in_copy =
      reinterpret_cast<CodeOp*>(Env::Default()->GetSymbol(copy, "Codigo_Nacional_ECF"));
  ASSERT_NE(code_in_copy, nullptr);
  EXPECT_EQ(code_in_copy(20, "01.00.01"), Op<CodeOp>("Codigo_Nacional_ECF")(20, "01.00.01"));
  // Both copies share the host's Env.
  PinnedClock clock;
  auto* define_env_in_copy =
      reinterpret_cast<void (*)(Env*)>(Env::Default()->GetSymbol(copy, "ZelDefineEnv"));
  define_env_in_copy(&clock);
  EXPECT_EQ(Env::Current(), &clock);
  define_env_in_copy(nullptr);
}

}  // namespace
}  // namespace zel
