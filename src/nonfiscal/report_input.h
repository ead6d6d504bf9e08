// Checks of the host's datasets that a report reads, made before anything
// is printed, so that bad data stops a report with a clear reason instead
// of halfway through a document. Each raises zel::Error naming the
// dataset (`what`, as the operation calls it) and the field.
//
// The checks walk the dataset's rows: call them on the driver's own copy
// (a data-module dataset, or CopyOf), never on the host's dataset, whose
// cursor stays where the host left it. Host thread only.
#ifndef ZEL_NONFISCAL_REPORT_INPUT_H_
#define ZEL_NONFISCAL_REPORT_INPUT_H_

#include <initializer_list>
#include <string_view>

#include "zel/dataset.h"

namespace zel {

// Gives `target` the structure and every row of `source` through its data
// packet. A source without any field (a dataset the host never defined)
// has no packet to give: `target` is left with no rows (see OpenIfClosed).
void CopyInto(Dataset& source, Dataset& target);

// Opens `dataset` empty when it is closed, as a data-module dataset is
// until a call first fills it, so that it can be walked. One without any
// field stays closed: it reads as empty, and no report walks it.
void OpenIfClosed(Dataset& dataset);

// A copy of `source` as CopyInto makes it.
Dataset CopyOf(Dataset& source, std::string_view name);

// Raises unless `dataset` has each of `fields`.
void RequireFields(const Dataset& dataset, std::string_view what,
                   std::initializer_list<std::string_view> fields);

// RequireFields, then raises unless `fields` read as numbers on every row
// (an empty value reads as 0).
void RequireNumbers(Dataset& dataset, std::string_view what,
                    std::initializer_list<std::string_view> fields);

// Raises when `dataset` has no row.
void RequireRecord(const Dataset& dataset, std::string_view what);

// The sum of `field` over every row of `dataset`, from the first.
double SumOf(Dataset& dataset, std::string_view field);

}  // namespace zel

#endif  // ZEL_NONFISCAL_REPORT_INPUT_H_
