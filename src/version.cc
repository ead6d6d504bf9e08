#include "zel/export.h"

// Lets a host (and the debug log readers) tell which driver build it loaded.
extern "C" ZEL_EXPORT const char* ZelVersao() { return "zel00100 " ZEL_VERSION; }
