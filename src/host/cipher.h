// The configuration-file cipher is part of the host SDK; see zel/cipher.h.
#ifndef ZEL_HOST_CIPHER_H_
#define ZEL_HOST_CIPHER_H_

#include "zel/cipher.h"

#endif  // ZEL_HOST_CIPHER_H_
