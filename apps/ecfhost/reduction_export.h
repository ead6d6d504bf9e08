// The day's fiscal figures as data: the driver's Z-reduction export into
// this host's four datasets, shown as readable tables or as one JSON
// document for scripts.
#ifndef ECFHOST_REDUCTION_EXPORT_H_
#define ECFHOST_REDUCTION_EXPORT_H_

#include <cstdio>

#include "session.h"
#include "zel/dataset.h"

namespace ecfhost {

// The host's datasets, named as the driver's tables.
struct ReductionExport {
  zel::Dataset reduction{"cdsReducaoZ"};
  zel::Dataset payment_forms{"cdsFormPgtoRedZ"};
  zel::Dataset tax_rates{"cdsImpostoRedZ"};
  zel::Dataset non_fiscal{"cdsTotNFiscRedZ"};
};

// Runs ExportRedZ with this host's payment types (matched with the
// printer's forms first). The session must have been started. Raises
// zel::Error when the driver answers false (the reason is in its log).
void ExportReduction(Session& session, ReductionExport& figures);

// The one-row table field by field, the others as columns; texts in UTF-8,
// amounts with two decimals.
void PrintTables(std::FILE* out, ReductionExport& figures);

// {"cdsReducaoZ": [{"NRECFREDZ": "0001", ...}], "cdsFormPgtoRedZ": [...],
//  ...}: one array of row objects per table; texts as strings (UTF-8),
// amounts as numbers, dates as "yyyy-mm-dd" or "yyyy-mm-ddThh:mm:ss", null
// for a field without value.
void PrintJson(std::FILE* out, ReductionExport& figures);

}  // namespace ecfhost

#endif  // ECFHOST_REDUCTION_EXPORT_H_
