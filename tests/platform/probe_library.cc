// A tiny shared library for the library-loading tests. Two copies are built:
// one in the library folder, one beside the test programs; each says which it
// is, so a test can tell which file the search found.
#include "zel/export.h"

extern "C" ZEL_EXPORT int ZelProbeTwiceAndOne(int value) { return 2 * value + 1; }

extern "C" ZEL_EXPORT const char* ZelProbeCopy() { return ZEL_PROBE_COPY; }
