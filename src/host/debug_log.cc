#include "zel/debug_log.h"

#include <deque>

#include "host/date_format.h"
#include "platform/env.h"
#include "zel/error.h"

namespace zel {
namespace {

struct HeldEntry {
  DateTime when;  // picks the month's file when the entry is finally written
  std::string bytes;
};

struct LogState {
  std::deque<HeldEntry> held;
  DebugLogStatus status;
};

LogState& State() {
  static LogState state;
  return state;
}

// Writes the entries held from earlier failures, oldest first; stops at the
// first that still fails so their order is kept.
void WriteHeldEntries(Env& env, LogState& state) {
  while (!state.held.empty()) {
    const HeldEntry& entry = state.held.front();
    env.AppendFile(DebugLogPath(entry.when), entry.bytes);
    state.held.pop_front();
  }
}

void Hold(LogState& state, HeldEntry entry, const std::string& reason) {
  if (state.held.size() == kMaxHeldEntries) {
    state.held.pop_front();
    ++state.status.dropped_entries;
  }
  state.held.push_back(std::move(entry));
  state.status.last_error = reason;
}

}  // namespace

std::string DebugLogPath(DateTime when) {
  std::string directory = Env::Current()->HostExecutableDirectory();
  if (!directory.empty() && directory.back() != '/' && directory.back() != '\\') directory += '\\';
  return directory + "impdebug" + FormatDateTime("MMYY", when) + ".txt";
}

}  // namespace zel

namespace Zel00101 {

void ImpFisDebug(const std::string& text) {
  using namespace zel;
  LogState& state = State();
  Env& env = *Env::Current();
  HeldEntry entry{env.Now(), ""};
  entry.bytes = DateToText(entry.when) + " " + TimeToText(entry.when) + " - " + text + "\r\n";
  try {
    WriteHeldEntries(env, state);
    env.AppendFile(DebugLogPath(entry.when), entry.bytes);
    state.status.last_error.clear();
  } catch (const std::exception& error) {
    Hold(state, std::move(entry), error.what());
  }
}

}  // namespace Zel00101

extern "C" void ZelEstadoLog(zel::DebugLogStatus* status) {
  if (status == nullptr) return;
  zel::LogState& state = zel::State();
  state.status.held_entries = state.held.size();
  *status = state.status;
}
