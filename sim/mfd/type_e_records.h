// The records of the type-E file (layout in bema_mfd2.h), built from a
// detail-tape download. Pure functions.
#ifndef BEMA_MFD2_TYPE_E_RECORDS_H_
#define BEMA_MFD2_TYPE_E_RECORDS_H_

#include <string>
#include <vector>

#include "tape_files.h"

namespace bemamfd2 {

struct SoftwareIdentity {
  std::string name;
  std::string version;
};

// The lines of the type-E file for the documents of `download` printed on
// `dates` (a by-date range), header and trailer included.
std::vector<std::string> TypeERecords(const ecfsim::DetailTapeDownload& download,
                                      const ecfsim::DetailTapeRange& dates,
                                      const SoftwareIdentity& software);

}  // namespace bemamfd2

#endif  // BEMA_MFD2_TYPE_E_RECORDS_H_
