// The date masks are part of the host SDK; see zel/date_format.h.
#ifndef ZEL_HOST_DATE_FORMAT_H_
#define ZEL_HOST_DATE_FORMAT_H_

#include "zel/date_format.h"

#endif  // ZEL_HOST_DATE_FORMAT_H_
