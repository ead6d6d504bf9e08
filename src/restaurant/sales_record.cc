// The host's sales-record file, cdsVenda.cds, prepared for the cancellation
// of a table's sale: only the items printed on the fiscal coupon stay, and
// nothing of the service fee or the discounts.
//
// The table is loaded whole before anything changes and written back through
// the dataset's own save, which replaces the file in one step; so a file
// that does not load, or a write that fails, leaves the old file as it was.
#include <exception>
#include <string>

#include "core/data_module.h"
#include "core/dialogs.h"
#include "platform/env.h"
#include "zel/dataset.h"
#include "zel/driver_state.h"
#include "zel/operations.h"

namespace zel {
namespace {

constexpr char kSalesRecordFile[] = "cdsVenda.cds";

void KeepOnlyCouponItems(Dataset& sales) {
  sales.First();
  while (!sales.Eof()) {
    if (sales.AsText("IDPRODIMPFIS") != "S") {
      sales.Delete();  // the cursor moves to the next row
      continue;
    }
    sales.Edit();
    sales.SetValue("VRTXSERVICO", Variant(0.0));
    sales.SetValue("VRDESCOMANDA", Variant(0.0));
    sales.SetValue("VRDESCCOMVEN", Variant(0.0));
    sales.Post();
    sales.Next();
  }
}

}  // namespace
}  // namespace zel

namespace Zel00101 {

void CancRegistroVenda(const std::string& EsquemaCor) {
  using namespace zel;
  EnsureDataModule();
  const std::string path = dsDirCad + kSalesRecordFile;
  if (!Env::Current()->FileExists(path)) return;
  // Owned here for the one call; the module's datasets hold the host's
  // data, not its files.
  Dataset sales("cdsVenda");
  try {
    sales.SetFileName(path);
    sales.Open();
    KeepOnlyCouponItems(sales);
    sales.Close();
  } catch (const std::exception& error) {
    ShowDialog(error.what(), EsquemaCor, kStartDialog);
  }
}

}  // namespace Zel00101
