// A Windows program has no pseudo-terminal: none is available, and the
// tests that need one skip.
#include "pseudo_terminal.h"

namespace zel {

PseudoTerminal::PseudoTerminal() = default;

PseudoTerminal::~PseudoTerminal() = default;

bool PseudoTerminal::Is19200EightNoneOne() const { return false; }

std::string PseudoTerminal::ReceiveAll(std::chrono::milliseconds) { return {}; }

}  // namespace zel
