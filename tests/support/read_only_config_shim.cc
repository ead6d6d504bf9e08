// Preloaded into a program under test (LD_PRELOAD) to play a folder whose
// host configuration cannot be written: renaming a file over one whose name
// ends with the text of ZEL_TEST_READ_ONLY_FILE fails with EROFS, as on a
// read-only file system. Everything else goes to the C library. Tests run as
// any user, root included, for whom a folder's permissions do not bite.
#include <dlfcn.h>
#include <errno.h>

#include <cstdlib>
#include <cstring>

extern "C" __attribute__((visibility("default"))) int rename(const char* from, const char* to) {
  const char* read_only = std::getenv("ZEL_TEST_READ_ONLY_FILE");
  const std::size_t to_length = std::strlen(to);
  if (read_only != nullptr && *read_only != '\0' && to_length >= std::strlen(read_only) &&
      std::strcmp(to + to_length - std::strlen(read_only), read_only) == 0) {
    errno = EROFS;
    return -1;
  }
  using Rename = int (*)(const char*, const char*);
  static const Rename next = reinterpret_cast<Rename>(dlsym(RTLD_NEXT, "rename"));
  return next(from, to);
}
