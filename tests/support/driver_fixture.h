// DriverFixture: a test that plays the point-of-sale host. It loads the built
// driver (libzel00100.so) and the simulated printer (libBemaFI32.so) by path
// from ZEL_LIBRARY_PATH, as a host loads them, and reaches both only through
// their exported symbols.
//
// Each test gets its own directory tree (a TestEnv: host/, current/,
// drive_c/, drive_c/Windows/System32 with a BemaFI32.ini, ecfsim/ for the
// printer's memory). The environment variables the driver and the printer
// read (ZEL_SYSTEM_DIR, ZEL_DRIVE_C, ECFSIM_DIR) point there for the test and
// are restored after it. The driver's Env is the TestEnv (pinned clock), its
// host a RecordingHost, and the printer is reset to a new one.
//
//   class SaleTest : public DriverFixture {};
//   TEST_F(SaleTest, ...) {
//     BindPrinterEntries();                    // or run StartImpFiscal
//     auto* ok = Op<bool(const std::string&, bool, bool, bool)>("ImpressoraOK");
//     EXPECT_TRUE(ok("001", true, false, false));
//     EXPECT_THAT(SimJournal(), Contains("BemaStatus_Mp20FI"));
//     EXPECT_THAT(LogEntries(), Contains("ERRO!!! Cupom aberto."));
//   }
//
// The libraries are loaded once per process and never unloaded, so driver
// state (unit variables, the data module, the loaded printer library) lives
// on from one test to the next; TearDown empties the vendor entry table,
// frees the channel's busy flag and the pending log line, and gives the
// driver back its default host and Env. One test thread.
#ifndef ZEL_TESTS_SUPPORT_DRIVER_FIXTURE_H_
#define ZEL_TESTS_SUPPORT_DRIVER_FIXTURE_H_

#include <gtest/gtest.h>

#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <type_traits>
#include <vector>

#include "platform/env.h"
#include "support/recording_host.h"
#include "support/test_env.h"

namespace zel {

// The mangled symbol of a variable of the driver's unit (namespace
// Zel00101): UnitVariableSymbol("boComando") is "_ZN8Zel001019boComandoE".
// Variables carry no type in their symbol, except that a std::string one
// (`is_text`) carries the library's ABI tag:
// "_ZN8Zel0010110stImpDebugB5cxx11E".
std::string UnitVariableSymbol(std::string_view name, bool is_text = false);

// The address of `symbol` in `library`; raises zel::Error naming the symbol
// and the library when it is missing (GoogleTest reports it as the test's
// failure).
void* RequireSymbol(LibraryHandle library, std::string_view library_name, std::string_view symbol);

class DriverFixture : public ::testing::Test {
 protected:
  DriverFixture();
  ~DriverFixture() override;
  void SetUp() override;
  void TearDown() override;

  // An operation of the driver by its plain (C) name, as a host finds it.
  template <typename Signature>
  Signature* Op(std::string_view name) {
    return reinterpret_cast<Signature*>(RequireSymbol(driver_, "libzel00100.so", name));
  }
  // Any symbol of the driver by its exact (possibly mangled) name.
  template <typename Signature>
  Signature* Symbol(std::string_view symbol) {
    return reinterpret_cast<Signature*>(RequireSymbol(driver_, "libzel00100.so", symbol));
  }
  // An exported unit variable: Var<bool>("boComando"),
  // Var<std::string>("stImpDebug").
  template <typename T>
  T& Var(std::string_view name) {
    constexpr bool kIsText = std::is_same_v<T, std::string>;
    return *static_cast<T*>(
        RequireSymbol(driver_, "libzel00100.so", UnitVariableSymbol(name, kIsText)));
  }
  // A function of the simulated printer: its control API ("EcfSim_Reset")
  // or one of its entries, called directly as the printer's own side.
  template <typename Signature>
  Signature* Sim(std::string_view name) {
    return reinterpret_cast<Signature*>(RequireSymbol(printer_, "libBemaFI32.so", name));
  }

  // Fills the driver's vendor entry table (the 94 bound entries and the
  // older interface's) from the simulated printer, as a completed start
  // would, without running one.
  void BindPrinterEntries();

  // The printer's journal of calls ("Entry|arg1|arg2"), oldest first.
  std::vector<std::string> SimJournal();
  void ClearSimJournal();
  // A figure of the printer ("coo", "crz", "gross_sales"...); fails the test
  // for an unknown name.
  long long SimFigure(const char* name);

  // The physical lines of this month's debug log, in Windows-1252 as
  // written; none when there is no log yet.
  std::vector<std::string> LogLines();
  // The texts of the log's entries in UTF-8, each without its date, time
  // and " - " (an entry may span several lines: its CR LF stay inside).
  std::vector<std::string> LogEntries();

  // Replaces BemaFI32.ini in the system directory (lines joined by CR LF).
  void WriteBemaIni(const std::vector<std::string>& lines);

  TestEnv env_;
  RecordingHost host_;

 private:
  void SetVariable(const char* name, const std::string& value);

  ScopedCurrentEnv use_env_{&env_};
  LibraryHandle driver_ = nullptr;
  LibraryHandle printer_ = nullptr;
  std::map<std::string, std::optional<std::string>> saved_variables_;
};

}  // namespace zel

#endif  // ZEL_TESTS_SUPPORT_DRIVER_FIXTURE_H_
