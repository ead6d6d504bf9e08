// Shared ground for the tests of the simulated printer's files: a scratch
// workspace that stands in for drive C, the Windows system directory and the
// current directory, and a printer state with figures in every section.
#ifndef ECFSIM_TESTS_SIM_FILES_FIXTURE_H_
#define ECFSIM_TESTS_SIM_FILES_FIXTURE_H_

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "printer_state.h"

namespace ecfsim {

// A fresh directory for each test, made the current directory, with
// ZEL_DRIVE_C and ZEL_SYSTEM_DIR pointing below it ("c" and "c/Windows/System32",
// both created). Everything is undone and removed on tear-down.
class SimFilesTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  const std::filesystem::path& root() const { return root_; }
  std::filesystem::path drive_c() const { return root_ / "c"; }
  std::filesystem::path system_dir() const { return drive_c() / "Windows" / "System32"; }
  // Writes BemaFI32.ini into the system directory.
  void WriteIni(const std::string& name, const std::string& bytes) const;

 private:
  std::filesystem::path root_;
  std::filesystem::path previous_directory_;
};

std::string ReadBytes(const std::filesystem::path& file);
void WriteBytes(const std::filesystem::path& file, const std::string& bytes);

// A printer in the middle of a fiscal day: five goods-tax rates and two
// service-tax rates (some with sales), three payment forms with gaps between
// their positions, four non-fiscal totalizers, counters well past zero and
// three past reductions.
PrinterState BusyPrinter();

}  // namespace ecfsim

#endif  // ECFSIM_TESTS_SIM_FILES_FIXTURE_H_
