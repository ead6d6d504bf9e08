// Steering the simulated fiscal printer from one run of ecfhost to the next.
//
// The simulated printer keeps its paper conditions and its clock in its own
// memory, but a switched-off printer and the faults set on its entries live
// only in the process that set them, and ecfhost is a new process for every
// command. So the steering that must outlive a run is written to
// "simulador.txt" in the working folder and set again on the printer by each
// run (SimSteering), before the driver starts:
//   power off                 the printer is switched off
//   fail ENTRY CODE           the next call to ENTRY returns CODE undone
//   lose ENTRY                the next call to ENTRY is done, its reply lost
// A fault is kept until a run calls its entry.
#ifndef ECFHOST_SIM_STEERING_H_
#define ECFHOST_SIM_STEERING_H_

#include <string>
#include <vector>

#include "workspace.h"

namespace ecfhost {

// The simulated printer's control API (sim/fiscal/ecfsim.h), reached in the
// printer library the driver loads: the same library, so the same printer.
class SimulatedPrinter {
 public:
  // Raises zel::Error when the printer library cannot be loaded or is not
  // the simulated printer.
  explicit SimulatedPrinter(zel::Env& env);

  template <typename Function>
  Function* Control(const std::string& name) const {
    return reinterpret_cast<Function*>(Symbol(name));
  }
  // Whether the library has the entry `name` ("Bematech_FI_...").
  bool HasEntry(const std::string& name) const;
  // Writes the marked line "*** text ***" (UTF-8 here) on the paper roll;
  // the printer's journal records it.
  void Mark(const std::string& utf8_text) const;
  // The journal of calls of this process, oldest first.
  std::vector<std::string> Journal() const;

 private:
  void* Symbol(const std::string& name) const;

  zel::Env& env_;
  zel::LibraryHandle library_;
};

struct EntryFault {
  enum class Kind { kFail, kLoseReply };
  Kind kind = Kind::kFail;
  std::string entry;
  int code = 0;
};

// What "simulador.txt" holds.
struct SteeringState {
  bool powered_off = false;
  std::vector<EntryFault> faults;
};

SteeringState LoadSteering(const Workspace& workspace);
// Writes the state; an empty state removes the file.
void SaveSteering(const Workspace& workspace, const SteeringState& state);
// Sets the state on the printer of this process.
void ApplySteering(const SimulatedPrinter& printer, const SteeringState& state);

// For one run: sets the kept steering on the printer when it starts and, when
// it ends, forgets the faults whose entry the run called.
class SimSteering {
 public:
  explicit SimSteering(Workspace& workspace);
  ~SimSteering();
  SimSteering(const SimSteering&) = delete;
  SimSteering& operator=(const SimSteering&) = delete;

 private:
  Workspace& workspace_;
  std::vector<EntryFault> applied_;
  bool powered_off_ = false;
};

}  // namespace ecfhost

#endif  // ECFHOST_SIM_STEERING_H_
