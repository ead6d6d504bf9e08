// The printer's paper: every printed line goes to two files in the printer's
// directory.
//
// - "tape.txt": the paper roll for people, UTF-8, 48 columns, documents one
//   after the other, appended as they are printed.
// - "journal.txt": every call the printer received, as the journal of the
//   control API shows it (ecfsim.h), kept from one process to the next.
// - "mfd.txt": the detail-tape memory (MFD), one printed line per file line
//   as "COO|kind|yyyymmddhhmmss|text" with the text in Windows-1252; what the
//   detail-tape files are made from.
//
// Each append opens and closes the files, so the paper is complete on disk
// after every command. Not thread-safe; the printer serialises its commands.
#ifndef ECFSIM_TAPE_H_
#define ECFSIM_TAPE_H_

#include <cstdint>
#include <string>
#include <vector>

#include "printer_state.h"

namespace ecfsim {

inline constexpr int kTapeWidth = 48;

class Tape {
 public:
  explicit Tape(std::string directory) : directory_(std::move(directory)) {}

  // Appends lines (Windows-1252, at most 48 bytes each) printed for the
  // document `coo` of `kind` at `moment`.
  void Print(int coo, const std::string& kind, std::int64_t moment,
             const std::vector<std::string>& lines) const;
  // Appends lines (Windows-1252) to the paper roll alone: marks of the
  // simulation, which no document printed and the detail tape never holds.
  void Mark(const std::vector<std::string>& lines) const;
  // Appends a call of the journal (Windows-1252) to "journal.txt", the
  // journal kept across processes, in UTF-8, one call a line.
  void Journal(const std::string& call) const;

  std::string TapePath() const;
  std::string DetailPath() const;
  std::string JournalPath() const;

 private:
  std::string directory_;
};

// Reads the detail-tape memory of `directory` back into documents, oldest
// first; an absent file gives none. Lines that do not parse are skipped.
std::vector<PrintedDocument> LoadDetailTape(const std::string& directory);

}  // namespace ecfsim

#endif  // ECFSIM_TAPE_H_
