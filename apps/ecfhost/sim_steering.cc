#include "sim_steering.h"

#include <algorithm>
#include <cstdio>
#include <sstream>

#include "zel/codepage.h"
#include "zel/error.h"

namespace ecfhost {
namespace {

constexpr char kSteeringFile[] = "simulador.txt";

std::string SteeringPath(const Workspace& workspace) {
  return workspace.folder() + "/" + kSteeringFile;
}

std::string EntryOf(const std::string& call) { return call.substr(0, call.find('|')); }

}  // namespace

SimulatedPrinter::SimulatedPrinter(zel::Env& env)
    : env_(env), library_(env.OpenLibrary("BemaFI32.dll")) {
  if (library_ == nullptr) {
    throw zel::Error(zel::Utf8ToCp1252("a biblioteca da impressora não pôde ser carregada: ") +
                     env_.LastLibraryError());
  }
  if (env_.GetSymbol(library_, "EcfSim_Mark") == nullptr) {
    throw zel::Error(zel::Utf8ToCp1252("a biblioteca da impressora não é a impressora simulada"));
  }
}

void* SimulatedPrinter::Symbol(const std::string& name) const {
  void* symbol = env_.GetSymbol(library_, name);
  if (symbol == nullptr)
    throw zel::Error(zel::Utf8ToCp1252("a impressora simulada não tem ") + name);
  return symbol;
}

bool SimulatedPrinter::HasEntry(const std::string& name) const {
  return name.starts_with("Bematech_FI_") && env_.GetSymbol(library_, name) != nullptr;
}

void SimulatedPrinter::Mark(const std::string& utf8_text) const {
  Control<void(const char*)>("EcfSim_Mark")(zel::Utf8ToCp1252(utf8_text).c_str());
}

std::vector<std::string> SimulatedPrinter::Journal() const {
  const int count = Control<int()>("EcfSim_JournalCount")();
  auto* get = Control<int(int, char*, int)>("EcfSim_JournalGet");
  std::vector<std::string> journal;
  for (int i = 0; i < count; ++i) {
    std::string call(static_cast<std::size_t>(std::max(0, get(i, nullptr, 0))) + 1, '\0');
    const int length = get(i, call.data(), static_cast<int>(call.size()));
    if (length < 0) break;
    call.resize(static_cast<std::size_t>(length));
    journal.push_back(zel::Cp1252ToUtf8(call));
  }
  return journal;
}

SteeringState LoadSteering(const Workspace& workspace) {
  SteeringState state;
  zel::Env* env = zel::Env::Default();
  const std::string path = SteeringPath(workspace);
  if (!env->FileExists(path)) return state;
  for (const std::string& line : env->ReadLines(path)) {
    std::istringstream words(line);
    std::string what;
    words >> what;
    EntryFault fault;
    if (what.empty()) continue;
    if (what == "power") {
      std::string how;
      words >> how;
      state.powered_off = how == "off";
    } else if (what == "fail" && words >> fault.entry >> fault.code) {
      state.faults.push_back(fault);
    } else if (what == "lose" && words >> fault.entry) {
      fault.kind = EntryFault::Kind::kLoseReply;
      state.faults.push_back(fault);
    } else {
      throw zel::Error(zel::Utf8ToCp1252(path + " tem uma linha que o ecfhost não conhece: \"" +
                                         line + "\" (ecfhost sim reset recomeça)"));
    }
  }
  return state;
}

void SaveSteering(const Workspace& workspace, const SteeringState& state) {
  zel::Env* env = zel::Env::Default();
  const std::string path = SteeringPath(workspace);
  if (!state.powered_off && state.faults.empty()) {
    env->RemoveFile(path);
    return;
  }
  std::vector<std::string> lines;
  if (state.powered_off) lines.push_back("power off");
  for (const EntryFault& fault : state.faults) {
    lines.push_back(fault.kind == EntryFault::Kind::kFail
                        ? "fail " + fault.entry + " " + std::to_string(fault.code)
                        : "lose " + fault.entry);
  }
  env->WriteLines(path, lines);
}

void ApplySteering(const SimulatedPrinter& printer, const SteeringState& state) {
  printer.Control<void(int)>("EcfSim_SetPower")(state.powered_off ? 0 : 1);
  for (const EntryFault& fault : state.faults) {
    if (fault.kind == EntryFault::Kind::kFail) {
      printer.Control<void(const char*, int, int)>("EcfSim_FailEntry")(fault.entry.c_str(),
                                                                       fault.code, 1);
    } else {
      printer.Control<void(const char*, int)>("EcfSim_DropReply")(fault.entry.c_str(), 1);
    }
  }
}

SimSteering::SimSteering(Workspace& workspace) : workspace_(workspace) {
  const SteeringState state = LoadSteering(workspace_);
  if (!state.powered_off && state.faults.empty()) return;
  ApplySteering(SimulatedPrinter(workspace_), state);
  applied_ = state.faults;
  powered_off_ = state.powered_off;
}

SimSteering::~SimSteering() {
  // A switched-off printer takes no fault: the calls it received did not
  // use them up.
  if (applied_.empty() || powered_off_) return;
  try {
    const std::vector<std::string> journal = SimulatedPrinter(workspace_).Journal();
    auto called = [&](const std::string& entry) {
      return std::any_of(journal.begin(), journal.end(),
                         [&](const std::string& call) { return EntryOf(call) == entry; });
    };
    SteeringState state = LoadSteering(workspace_);
    std::erase_if(state.faults, [&](const EntryFault& fault) {
      return called(fault.entry) &&
             std::any_of(applied_.begin(), applied_.end(), [&](const EntryFault& applied) {
               return applied.entry == fault.entry && applied.kind == fault.kind;
             });
    });
    SaveSteering(workspace_, state);
  } catch (const std::exception& error) {
    std::fprintf(stderr, "ecfhost: aviso: o estado do simulador não pôde ser atualizado: %s\n",
                 error.what());
  }
}

}  // namespace ecfhost
