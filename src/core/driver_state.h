// Load and unload steps of the driver's unit state (zel/driver_state.h).
//
// Loading the library runs InitializeDriverState once and unloading runs
// FinalizeDriverState; both are callable again so tests can exercise them.
// Single-threaded, like every operation.
#ifndef ZEL_CORE_DRIVER_STATE_H_
#define ZEL_CORE_DRIVER_STATE_H_

#include <span>
#include <string>

#include "zel/driver_state.h"

namespace zel {

// dsDirCad := short form of (host executable directory + "\"). The
// backslash stays: paths keep their Windows spelling and Env maps them.
// Prepares nothing else: no data module, no printer library. Raises
// zel::Error when the system cannot tell the executable's directory.
void InitializeDriverState();

// Empties every exported text variable and touches nothing else: not
// boImpFiscalOK, not the data module, not the library handle.
void FinalizeDriverState();

// Every exported text variable, each once; the list FinalizeDriverState
// empties.
std::span<std::string* const> DriverStateTexts();

}  // namespace zel

#endif  // ZEL_CORE_DRIVER_STATE_H_
