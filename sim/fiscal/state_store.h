// Keeps the printer's memory on disk, as a fiscal printer keeps it across a
// power cut: "memory.txt" in the printer's directory, one key=value line per
// figure, texts in UTF-8, so a person can read and even edit it.
//
// Saving writes a new file (of a name unique to the process) and renames it
// over the old one, so a crash never leaves half a memory. The last line,
// "end=" and a checksum of everything before it, seals the file: a file cut
// short or altered does not load. A file edited by hand ends with "end="
// alone and is loaded without the checksum. Not thread-safe; the printer serialises its
// commands.
#ifndef ECFSIM_STATE_STORE_H_
#define ECFSIM_STATE_STORE_H_

#include <string>
#include <string_view>

#include "printer_state.h"

namespace ecfsim {

// The memory file of a printer directory.
std::string MemoryPath(const std::string& directory);

inline constexpr std::string_view kEndMarker = "end=";

enum class LoadStatus {
  kLoaded,
  kMissing,  // no memory file
  kDamaged,  // cut short, altered, or holding an impossible figure
};
struct MemoryLoad {
  LoadStatus status;
  std::string problem;  // for kDamaged: what is wrong, in Portuguese
};

// The checksum that seals a memory file's bytes.
std::string MemoryChecksum(std::string_view bytes);

// Loads the memory of `directory` into `state`. Leaves `state` as a
// factory-new printer unless the file loaded. Keys the file lacks keep their
// factory values; unknown keys are ignored; a list count larger than the
// file could hold is refused before anything is allocated.
MemoryLoad LoadState(const std::string& directory, PrinterState& state);

// Saves `state` into `directory`, creating the directory when needed.
// Returns false when the file cannot be written.
bool SaveState(const std::string& directory, const PrinterState& state);

// A factory-new printer: "Dinheiro" programmed as payment form 01 and a few
// tax rates programmed (18, 12, 7 and 25 % goods tax, 5 % service tax).
PrinterState FactoryState();

}  // namespace ecfsim

#endif  // ECFSIM_STATE_STORE_H_
