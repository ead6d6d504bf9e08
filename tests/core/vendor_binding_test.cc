// Binding runs against the stand-in fiscal library built by this project
// (lib/libBemaFI32.so and lib/nofirmware/libBemaFI32.so); the tests that
// need it are skipped while it has not been built.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <type_traits>
#include <vector>

#include "bemafi32.h"
#include "core/vendor_call.h"
#include "core/vendor_table.h"
#include "support/test_env.h"
#include "zel/debug_log.h"
#include "zel/driver_state.h"
#include "zel/operations.h"

namespace zel {
namespace {

using ::testing::Each;
using ::testing::ElementsAre;
using ::testing::IsEmpty;

// Each pointer has the type of the library entry of the same name, so a
// call through the table passes exactly what the entry expects.
#define ZEL_EXPECT_SAME_TYPE(name, parameters)                        \
  static_assert(std::is_same_v<decltype(&::name), Zel00101::T##name>, \
                #name " is declared differently from the library entry");
ZEL_BOUND_VENDOR_ENTRIES(ZEL_EXPECT_SAME_TYPE)
ZEL_OLDER_INTERFACE_ENTRIES(ZEL_EXPECT_SAME_TYPE)
#undef ZEL_EXPECT_SAME_TYPE

// The test's Env: loads "BemaFI32.dll" from a chosen directory and counts
// the loads and symbol look-ups.
class LibraryEnv : public TestEnv {
 public:
  explicit LibraryEnv(std::string directory) : directory_(std::move(directory)) {}

  LibraryHandle OpenLibrary(std::string_view name) override {
    ++open_calls;
    return TestEnv::OpenLibrary(name == "BemaFI32.dll" ? directory_ + "/BemaFI32.dll"
                                                       : std::string(name));
  }
  void* GetSymbol(LibraryHandle library, std::string_view name) override {
    looked_up.emplace_back(name);
    return TestEnv::GetSymbol(library, name);
  }
  bool LibraryBuilt() { return FileExists(directory_ + "/libBemaFI32.so"); }

  int open_calls = 0;
  std::vector<std::string> looked_up;

 private:
  std::string directory_;
};

std::vector<void*> Addresses(std::span<const VendorEntrySlot> entries) {
  std::vector<void*> addresses;
  for (const VendorEntrySlot& entry : entries) addresses.push_back(entry.get());
  return addresses;
}

std::vector<void*> SpanishAddresses() {
#define ZEL_SPANISH_ADDRESS(name, parameters) reinterpret_cast<void*>(Zel00101::name),
  return {ZEL_SPANISH_VENDOR_ENTRIES(ZEL_SPANISH_ADDRESS)};
#undef ZEL_SPANISH_ADDRESS
}

class VendorBindingTest : public ::testing::Test {
 protected:
  explicit VendorBindingTest(std::string directory = ZEL_TEST_LIBRARY_DIR) : env_(directory) {
    Zel00101::ImpFisDLLHandle = nullptr;
  }
  ~VendorBindingTest() override {
    Zel00101::StopImpFiscal();
    // Loaded libraries stay loaded; forgetting the handle makes the next
    // test load again, as a fresh process would.
    Zel00101::ImpFisDLLHandle = nullptr;
  }
  void SetUp() override {
    if (!env_.LibraryBuilt()) GTEST_SKIP() << "the stand-in fiscal library is not built";
  }

  LibraryEnv env_;
  ScopedCurrentEnv use_env_{&env_};
};

TEST_F(VendorBindingTest, BindsEveryEntryToTheLibraryEntryOfTheSameName) {
  ASSERT_TRUE(LoadAndBindVendorLibrary());
  ASSERT_NE(Zel00101::ImpFisDLLHandle, nullptr);
  EXPECT_EQ(env_.open_calls, 1);
  ASSERT_EQ(BoundVendorEntries().size(), 94u);
  for (const VendorEntrySlot& entry : BoundVendorEntries()) {
    void* expected = Env::Default()->GetSymbol(Zel00101::ImpFisDLLHandle, entry.name);
    ASSERT_NE(expected, nullptr) << entry.name;
    EXPECT_EQ(entry.get(), expected) << entry.name;
  }
  EXPECT_EQ(reinterpret_cast<void*>(Zel00101::Bematech_FI_AbrePortaSerial),
            Env::Default()->GetSymbol(Zel00101::ImpFisDLLHandle, "Bematech_FI_AbrePortaSerial"));
  // The binding order is the table's: first and last.
  EXPECT_EQ(env_.looked_up.front(), "Bematech_FI_AbrePortaSerial");
  EXPECT_EQ(env_.looked_up.at(93), "Bematech_FI_VersaoFirmwareMFD");
}

TEST_F(VendorBindingTest, BindsTheOlderInterfaceTooAndLeavesTheSpanishNamesEmpty) {
  ASSERT_TRUE(LoadAndBindVendorLibrary());
  for (const VendorEntrySlot& entry : OlderInterfaceEntries()) {
    EXPECT_EQ(entry.get(), Env::Default()->GetSymbol(Zel00101::ImpFisDLLHandle, entry.name))
        << entry.name;
    EXPECT_NE(entry.get(), nullptr) << entry.name;
  }
  const std::vector<void*> spanish = SpanishAddresses();
  EXPECT_EQ(spanish.size(), 38u);
  EXPECT_THAT(spanish, Each(nullptr));
}

TEST_F(VendorBindingTest, StopEmptiesTheTableAndBindingAgainDoesNotLoadAgain) {
  ASSERT_TRUE(LoadAndBindVendorLibrary());
  void* const handle = Zel00101::ImpFisDLLHandle;
  Zel00101::boImpFiscalOK = true;

  Zel00101::StopImpFiscal();
  EXPECT_THAT(Addresses(BoundVendorEntries()), Each(nullptr));
  EXPECT_THAT(Addresses(OlderInterfaceEntries()), Each(nullptr));
  EXPECT_EQ(Zel00101::ImpFisDLLHandle, handle);
  EXPECT_TRUE(Zel00101::boImpFiscalOK);
  Zel00101::boImpFiscalOK = false;

  ASSERT_TRUE(LoadAndBindVendorLibrary());
  EXPECT_EQ(env_.open_calls, 1);
  EXPECT_THAT(Addresses(BoundVendorEntries()), Each(testing::Ne(nullptr)));
}

TEST_F(VendorBindingTest, LibraryThatCannotBeLoadedFailsQuietly) {
  env_.InjectFailure(EnvOperation::kOpenLibrary, 1);
  EXPECT_FALSE(LoadAndBindVendorLibrary());
  EXPECT_EQ(Zel00101::ImpFisDLLHandle, nullptr);
  EXPECT_THAT(env_.looked_up, IsEmpty());
  EXPECT_THAT(Addresses(BoundVendorEntries()), Each(nullptr));
  // No log line either.
  EXPECT_FALSE(env_.FileExists(DebugLogPath(env_.Now())));
}

class NoFirmwareBindingTest : public VendorBindingTest {
 protected:
  NoFirmwareBindingTest() : VendorBindingTest(ZEL_TEST_LIBRARY_DIR "/nofirmware") {}
};

TEST_F(NoFirmwareBindingTest, OneMissingEntryFailsTheBindingAfterTheOthersAndEmptiesTheTable) {
  EXPECT_FALSE(LoadAndBindVendorLibrary());
  ASSERT_EQ(env_.looked_up.size(), 94u);  // 93 found, the last not; nothing after
  EXPECT_EQ(env_.looked_up.back(), "Bematech_FI_VersaoFirmwareMFD");
  EXPECT_THAT(Addresses(BoundVendorEntries()), Each(nullptr));
  EXPECT_THAT(Addresses(OlderInterfaceEntries()), Each(nullptr));
  // The library stays loaded for a later attempt.
  EXPECT_NE(Zel00101::ImpFisDLLHandle, nullptr);
  EXPECT_FALSE(env_.FileExists(DebugLogPath(env_.Now())));
}

// --- Without the library ----------------------------------------------------

int g_close_result = 0;
int FakeFechaPorta() { return g_close_result; }

class UnboundTableTest : public ::testing::Test {
 protected:
  ~UnboundTableTest() override { Zel00101::StopImpFiscal(); }
  TestEnv env_;
  ScopedCurrentEnv use_env_{&env_};
};

TEST_F(UnboundTableTest, FechaPortaSucceedsExactlyWhenTheEntryAnswersZero) {
  Zel00101::BemaFechaPorta = FakeFechaPorta;
  g_close_result = 0;
  EXPECT_TRUE(Zel00101::FechaPorta());
  for (int result : {1, -1, -2, 21}) {
    g_close_result = result;
    EXPECT_FALSE(Zel00101::FechaPorta()) << result;
  }
}

TEST_F(UnboundTableTest, CallsThroughAnEmptyTableFailWithoutCrashing) {
  Zel00101::StopImpFiscal();
  EXPECT_FALSE(Zel00101::FechaPorta());
  std::string serial = Blanks(15);
  EXPECT_EQ(CallVendor(Zel00101::Bematech_FI_NumeroSerieMFD, serial), 0);
  EXPECT_EQ(CallVendor(Zel00101::Bematech_FI_VendeItemDepartamento, "1", "Cafe", "01", "1,00",
                       "1,000", "00", "00000000", "01", "UN"),
            0);
  EXPECT_EQ(CallVendor(Zel00101::Bematech_FI_AnulaCupon), 0);
  EXPECT_EQ(serial, std::string(15, ' '));
}

}  // namespace
}  // namespace zel
