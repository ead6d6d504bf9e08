// The built driver, loaded as a host loads it, offers the binding and
// analysis operations under the names a host looks up.
#include <gtest/gtest.h>

#include <string>

#include "platform/env.h"

namespace zel {
namespace {

class VendorExportsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    driver_ = Env::Default()->OpenLibrary(ZEL_TEST_LIBRARY_DIR "/zel00100.dll");
    ASSERT_NE(driver_, nullptr) << Env::Default()->LastLibraryError();
  }
  void* Symbol(const char* name) { return Env::Default()->GetSymbol(driver_, name); }

  LibraryHandle driver_ = nullptr;
};

TEST_F(VendorExportsTest, PlainNamesAreExported) {
  EXPECT_NE(Symbol("StopImpFiscal"), nullptr);
  EXPECT_NE(Symbol("FechaPorta"), nullptr);
  EXPECT_NE(Symbol("RetornoImpFiscal"), nullptr);
}

TEST_F(VendorExportsTest, AnalysisIsExportedUnderItsUnitQualifiedNameOnly) {
  EXPECT_EQ(Symbol("AnalisaRetorno"), nullptr);
  EXPECT_NE(Symbol("_ZN8Zel0010114AnalisaRetornoERKNSt7__cxx1112basic_stringIcSt11char_"
                   "traitsIcESaIcEEEibbb"),
            nullptr);
}

TEST_F(VendorExportsTest, TheEntryTableIsExportedAndStartsEmpty) {
  for (const char* name :
       {"_ZN8Zel0010127Bematech_FI_AbrePortaSerialE", "_ZN8Zel0010114BemaFechaPortaE",
        "_ZN8Zel0010121Bematech_FI_GranTotalE"}) {
    void* const* pointer = static_cast<void* const*>(Symbol(name));
    ASSERT_NE(pointer, nullptr) << name;
    EXPECT_EQ(*pointer, nullptr) << name;
  }
}

TEST_F(VendorExportsTest, PlainFechaPortaFailsWhileNothingIsBound) {
  auto stop = reinterpret_cast<void (*)()>(Symbol("StopImpFiscal"));
  auto close = reinterpret_cast<bool (*)()>(Symbol("FechaPorta"));
  ASSERT_NE(stop, nullptr);
  ASSERT_NE(close, nullptr);
  stop();
  EXPECT_FALSE(close());
}

}  // namespace
}  // namespace zel
