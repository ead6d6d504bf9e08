// The product report's own check of its input, for the closing flow that
// checks every dataset before it prints anything. Host thread only.
#ifndef ZEL_NONFISCAL_PRODUCT_REPORT_H_
#define ZEL_NONFISCAL_PRODUCT_REPORT_H_

#include <string>
#include <string_view>

#include "zel/dataset.h"

namespace zel {

// Whether confirmation mode `mode` ("N" prints, "S" asks first) can print.
bool ProductReportMayPrint(const std::string& mode);

// Raises zel::Error, naming `what` and the field, unless every row of
// `products` has the fields the report reads (the tax situation and rate
// too when `grouped`) with numbers where it sums. A dataset without rows
// passes: the report prints nothing of it.
void CheckProducts(Dataset& products, std::string_view what, bool grouped);

}  // namespace zel

#endif  // ZEL_NONFISCAL_PRODUCT_REPORT_H_
