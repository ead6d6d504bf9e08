// The driver's door to the operating system is part of the host SDK, so a
// host can hand the driver an Env of its own; see zel/env.h.
#ifndef ZEL_PLATFORM_ENV_H_
#define ZEL_PLATFORM_ENV_H_

#include "zel/env.h"

#endif  // ZEL_PLATFORM_ENV_H_
