// Keeps the printer's memory on disk, as a fiscal printer keeps it across a
// power cut: "memory.txt" in the printer's directory, one key=value line per
// figure, texts in UTF-8, so a person can read and even edit it.
//
// Saving writes a new file and renames it over the old one, so a crash never
// leaves half a memory. Not thread-safe; the printer serialises its commands.
#ifndef ECFSIM_STATE_STORE_H_
#define ECFSIM_STATE_STORE_H_

#include <string>

#include "printer_state.h"

namespace ecfsim {

// The memory file of a printer directory.
std::string MemoryPath(const std::string& directory);

// Loads the memory of `directory` into `state`. Returns false, leaving
// `state` as a factory-new printer, when there is no memory file yet. Keys
// the file lacks keep their factory values; unknown keys are ignored.
bool LoadState(const std::string& directory, PrinterState& state);

// Saves `state` into `directory`, creating the directory when needed.
// Returns false when the file cannot be written.
bool SaveState(const std::string& directory, const PrinterState& state);

// A factory-new printer: "Dinheiro" programmed as payment form 01 and a few
// tax rates programmed (18, 12, 7 and 25 % goods tax, 5 % service tax).
PrinterState FactoryState();

}  // namespace ecfsim

#endif  // ECFSIM_STATE_STORE_H_
