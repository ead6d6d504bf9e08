// Libraries build with hidden visibility; only what is marked here is seen by
// a host that loads the driver at run time.
#ifndef ZEL_EXPORT_H_
#define ZEL_EXPORT_H_

#define ZEL_EXPORT __attribute__((visibility("default")))

#endif  // ZEL_EXPORT_H_
