// The code-page conversion is part of the host SDK; see zel/codepage.h.
#ifndef ZEL_HOST_CODEPAGE_H_
#define ZEL_HOST_CODEPAGE_H_

#include "zel/codepage.h"

#endif  // ZEL_HOST_CODEPAGE_H_
