// FiscalMenuFixture: the driver fixture with what the fiscal-menu tests
// share. The printer's entries are bound, C:\MenuFiscal exists, and the
// process runs in the test's current directory, so the outside libraries
// (which resolve relative names themselves) and the driver's Env agree on
// where "Download.MFD" is. The signing library is reached as a host would
// check a file: its validateFile with the driver's public key.
#ifndef ZEL_TESTS_INTEGRATION_FISCAL_MENU_FIXTURE_H_
#define ZEL_TESTS_INTEGRATION_FISCAL_MENU_FIXTURE_H_

#include <span>
#include <string>
#include <vector>

#include "support/driver_fixture.h"
#include "zel/variant.h"

namespace zel {

class FiscalMenuFixture : public DriverFixture {
 protected:
  using ArrayOp = bool(std::span<const Variant>, Variant&);

  void SetUp() override;
  void TearDown() override;

  // A fiscal-menu array with `values` at their indexes, empty elsewhere.
  static std::vector<Variant> MenuArray(std::initializer_list<std::pair<int, Variant>> values);
  bool CallArrayOp(const char* name, const std::vector<Variant>& params);

  // The file's bytes; raises when it cannot be read.
  std::string FileText(const std::string& path);
  // The signing library's verdict on the file (1 holds, 0 does not or no
  // signature, negative when it cannot be checked).
  int Validate(const std::string& path);
  // The dialogs shown, in UTF-8.
  std::vector<std::string> Dialogs();
  // The files in C:\MenuFiscal.
  std::vector<std::string> MenuFiles();

  void FailEntry(const char* entry, int code, int times = 1);
  // Prints `count` cash supplies, each a document of the detail tape.
  void PrintSupplies(int count);

 private:
  std::string saved_directory_;
};

}  // namespace zel

#endif  // ZEL_TESTS_INTEGRATION_FISCAL_MENU_FIXTURE_H_
