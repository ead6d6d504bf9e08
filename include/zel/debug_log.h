// The driver's debug log: one plain-text file per month beside the host
// executable ("impdebug" + MMYY + ".txt"), one entry per call, so support
// staff can rebuild what the printer was asked and what it answered.
//
// An entry is the date (short date format), a blank, the time (long time
// format), " - ", the text byte for byte, CR LF. The file is opened and
// closed for each entry, so the log is complete on disk even if the host
// dies right after.
//
// A log that cannot be written never breaks the operation that logged:
// ImpFisDebug does not throw. An entry that could not be written is kept in
// memory (up to kMaxHeldEntries; beyond that the oldest are dropped and
// counted) and written, in order and to the file of the month it was made
// in, before the next entry that can be written. ZelEstadoLog tells the host
// how many entries are held or were dropped and why the last write failed.
// Single-threaded, like every operation.
#ifndef ZEL_DEBUG_LOG_H_
#define ZEL_DEBUG_LOG_H_

#include <cstddef>
#include <string>

#include "zel/date_time.h"
#include "zel/export.h"

namespace Zel00101 {

ZEL_EXPORT void ImpFisDebug(const std::string& text);

}  // namespace Zel00101

namespace zel {

inline constexpr std::size_t kMaxHeldEntries = 1000;

struct DebugLogStatus {
  std::size_t held_entries = 0;     // waiting in memory for the file
  std::size_t dropped_entries = 0;  // lost since the process started
  std::string last_error;           // why the last write failed; empty after a success
};

// The file name of the log for a given date-time, with the directory.
std::string DebugLogPath(DateTime when);

}  // namespace zel

// Copies the log's status into *status (the text is owned by the caller's
// struct).
extern "C" ZEL_EXPORT void ZelEstadoLog(zel::DebugLogStatus* status);

#endif  // ZEL_DEBUG_LOG_H_
