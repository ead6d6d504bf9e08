#include "printer.h"

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <mutex>
#include <thread>

#include "state_store.h"
#include "text.h"

namespace ecfsim {
namespace {

std::mutex& Lock() {
  static std::mutex lock;
  return lock;
}

Printer& ThePrinter() {
  static Printer printer;
  return printer;
}

std::string DirectoryFromEnvironment() {
  const char* dir = std::getenv("ECFSIM_DIR");
  return dir && *dir ? std::string(dir) : std::string("ecfsim");
}

int LatencyFromEnvironment() {
  const char* ms = std::getenv("ECFSIM_LATENCY_MS");
  auto value = ms ? ParseCount(ms) : std::nullopt;
  return value ? *value : 0;
}

// Takes one use of the fault set for `entry`, or for every entry ("*").
const Harness::Fault* TakeFault(std::map<std::string, Harness::Fault>& faults,
                                const std::string& entry) {
  for (const std::string& key : {entry, std::string("*")}) {
    auto it = faults.find(key);
    if (it == faults.end() || it->second.remaining == 0) continue;
    if (it->second.remaining > 0) --it->second.remaining;
    return &it->second;
  }
  return nullptr;
}

// A paper condition set for a number of commands (-1: until reset).
bool Consume(int& commands) {
  if (commands == 0) return false;
  if (commands > 0) --commands;
  return true;
}

bool ShowsFailure(const StatusBytes& s) {
  const int informative = st1::kPaperLow | st1::kCouponOpen;
  return !s.replied || s.ack == kNak || (s.st1 & ~informative) != 0 || s.st2 != 0;
}

const StatusBytes kNoReplyStatus{false, 0, 0, 0};

}  // namespace

std::int64_t Printer::Now() const {
  auto epoch = std::chrono::duration_cast<std::chrono::seconds>(
                   std::chrono::system_clock::now().time_since_epoch())
                   .count();
  return MomentFromEpoch(epoch + state_.clock_offset_seconds);
}

int Printer::Today() const { return DateOf(Now()); }

Outcome Printer::CheckDay() const {
  const int today = Today();
  if (today < state_.movement_date || today < state_.last_reduced_date) {
    return Refuse(st1::kClockError, 0);
  }
  if (state_.movement_date != 0 && state_.movement_date < today) return NotNow();       // Z pending
  if (state_.movement_date == 0 && state_.last_reduced_date == today) return NotNow();  // closed
  return Done();
}

void Printer::OpenDayIfNeeded() {
  if (state_.movement_date != 0) return;
  state_.movement_date = Today();
  state_.day.opened_at = Now();
}

bool Printer::CouponOpen() const {
  switch (state_.document) {
    case DocumentState::kCouponItems:
    case DocumentState::kCouponTotalled:
    case DocumentState::kCouponPaying:
    case DocumentState::kCouponPaid:
      return true;
    default:
      return false;
  }
}

void Printer::StartDocument(const std::string& kind, const std::string& title) {
  Counters& c = state_.counters;
  ++c.coo;
  state_.open_document_coo = c.coo;
  state_.open_document_kind = kind;
  if (state_.movement_date != 0 && state_.day.first_coo == 0) state_.day.first_coo = c.coo;
  state_.last_coupon_cancellable = false;
  state_.linkable_payments.clear();
  const PrinterIdentity& id = state_.identity;
  std::vector<std::string> lines = {std::string(kTapeWidth, '=')};
  for (const std::string& line : WrapLines(id.owner_name, kTapeWidth)) {
    lines.push_back(Centre(line, kTapeWidth));
  }
  for (const std::string& line : WrapLines(id.owner_address, kTapeWidth)) {
    lines.push_back(Centre(line, kTapeWidth));
  }
  lines.push_back(Spread("CNPJ:" + id.owner_cnpj, "IE:" + id.owner_ie, kTapeWidth));
  lines.push_back(std::string(kTapeWidth, '-'));
  lines.push_back(Spread(ShowMoment(Now()), "COO:" + Digits(c.coo, 6), kTapeWidth));
  lines.push_back(Centre(title, kTapeWidth));
  PrintLines(lines);
}

void Printer::Print(const std::string& text) { PrintLines(WrapLines(text, kTapeWidth)); }

void Printer::PrintLines(const std::vector<std::string>& lines) {
  tape_.Print(state_.open_document_coo, state_.open_document_kind, Now(), lines);
}

void Printer::FinishDocument() {
  const PrinterIdentity& id = state_.identity;
  PrintLines({std::string(kTapeWidth, '-'),
              Spread(id.brand + " " + id.model, "ECF:" + id.register_number, kTapeWidth),
              Spread("FAB:" + id.serial_number, ShowMoment(Now()), kTapeWidth), ""});
  state_.open_document_coo = 0;
  state_.open_document_kind.clear();
}

void Printer::EnsureLoaded() {
  if (loaded_) return;
  ReleasePort();  // the folder may have changed
  directory_ = DirectoryFromEnvironment();
  tape_ = Tape(directory_);
  const MemoryLoad load = LoadState(directory_, state_);
  memory_problem_.clear();
  if (load.status == LoadStatus::kDamaged) {
    memory_problem_ = "memória danificada em " + MemoryPath(directory_) + ": " + load.problem;
  } else if (load.status == LoadStatus::kMissing && std::filesystem::exists(tape_.TapePath())) {
    // A printer that has printed has a memory: starting afresh would issue
    // its document numbers again.
    memory_problem_ = "memória ausente em " + MemoryPath(directory_) +
                      ", mas a impressora já imprimiu (" + tape_.TapePath() + ")";
  }
  if (harness_.latency_ms == 0) harness_.latency_ms = LatencyFromEnvironment();
  last_status_ = StatusBytes{};
  loaded_ = true;
}

void Printer::Restart() {
  loaded_ = false;
  ReleasePort();
}

bool Printer::TakePort() {
  if (!port_lock_) port_lock_ = TryLockPort(directory_);
  return port_lock_ != nullptr;
}

void Printer::Reset() {
  ReleasePort();
  directory_ = DirectoryFromEnvironment();
  tape_ = Tape(directory_);
  std::error_code ec;
  for (const std::string& path :
       {MemoryPath(directory_), tape_.TapePath(), tape_.DetailPath(), tape_.JournalPath()}) {
    std::filesystem::remove(path, ec);
  }
  state_ = FactoryState();
  harness_ = Harness{};
  harness_.latency_ms = LatencyFromEnvironment();
  last_status_ = StatusBytes{};
  last_reply_.clear();
  memory_problem_.clear();
  loaded_ = true;
  Save();
}

bool Printer::Save() { return memory_problem_.empty() && SaveState(directory_, state_); }

int Run(const char* entry, const std::vector<std::string>& args, CommandKind kind,
        const std::function<Outcome(Printer&)>& command, int no_reply) {
  std::lock_guard<std::mutex> lock(Lock());
  Printer& printer = ThePrinter();
  printer.EnsureLoaded();
  Harness& harness = printer.harness();
  std::string call = entry;
  for (const std::string& arg : args) call += "|" + arg;
  harness.journal.push_back(call);
  printer.tape().Journal(call);

  if (!printer.TakePort()) {
    printer.last_status() = kNoReplyStatus;
    return kPortInUse;
  }
  if (!printer.memory_problem().empty()) {
    printer.last_status() = StatusBytes{true, kAck, 0, st2::kMemoryError};
    return kind == CommandKind::kStatusRead ? kOk : kRefused;
  }
  if (kind == CommandKind::kStatusRead) {
    if (const Harness::Fault* forced = TakeFault(harness.forced_codes, entry)) return forced->code;
    return command(printer).code;
  }
  if (harness.latency_ms > 0) {
    std::this_thread::sleep_for(std::chrono::milliseconds(harness.latency_ms));
  }
  if (harness.powered_off) {
    printer.last_status() = kNoReplyStatus;
    return std::string(entry) == "Bematech_FI_VerificaImpressoraLigada" ? kPrinterOff : no_reply;
  }
  PrinterState& state = printer.state();
  const bool paper_out = Consume(state.paper_out_commands);
  const bool paper_low = Consume(state.paper_low_commands);
  auto informative = [&](StatusBytes bytes) {
    if (printer.CouponOpen()) bytes.st1 |= st1::kCouponOpen;
    if (paper_low) bytes.st1 |= st1::kPaperLow;
    if (paper_out) bytes.st1 |= st1::kPaperOut;
    return bytes;
  };

  if (const Harness::Fault* forced = TakeFault(harness.forced_codes, entry)) {
    printer.last_status() = forced->code == kNoReply ? kNoReplyStatus : informative(StatusBytes{});
    printer.Save();
    return forced->code;
  }
  const Harness::Fault* forced_status = TakeFault(harness.forced_status, entry);
  Outcome outcome;
  if (forced_status && ShowsFailure(forced_status->status)) {
    outcome = Refuse(0, 0);  // the printer reports a failure: nothing is carried out
  } else if (paper_out && kind == CommandKind::kPrinting) {
    outcome = Refuse(st1::kPaperOut, 0);
  } else {
    outcome = command(printer);
  }
  StatusBytes bytes = informative(StatusBytes{true, kAck, outcome.st1, outcome.st2});
  if (forced_status) bytes = forced_status->status;
  printer.last_status() = bytes;
  if (TakeFault(harness.dropped_replies, entry)) {
    printer.last_status() = kNoReplyStatus;
    outcome.code = no_reply;
  }
  if (!printer.Save()) printer.last_status().st2 |= st2::kMemoryError;
  return outcome.code;
}

int Query(const char* entry, const std::function<void(Printer&)>& fill) {
  return Run(entry, {}, CommandKind::kQuery, [&fill](Printer& printer) {
    fill(printer);
    return Done();
  });
}

void WithPrinter(const std::function<void(Printer&)>& action) {
  std::lock_guard<std::mutex> lock(Lock());
  Printer& printer = ThePrinter();
  printer.EnsureLoaded();
  action(printer);
}

}  // namespace ecfsim
