// Preloaded into a program under test (LD_PRELOAD) to move its wall clock:
// the real time plus ZEL_TEST_CLOCK_SHIFT_SECONDS. The simulated printer
// runs in the same process, so the computer's and the printer's clocks move
// together, as on the morning after when both were left running. Monotonic
// clocks are not touched.
#include <dlfcn.h>
#include <sys/time.h>
#include <time.h>

#include <cstdlib>

namespace {

long long Shift() {
  const char* shift = std::getenv("ZEL_TEST_CLOCK_SHIFT_SECONDS");
  return shift == nullptr ? 0 : std::atoll(shift);
}

}  // namespace

extern "C" __attribute__((visibility("default"))) int clock_gettime(clockid_t clock,
                                                                    struct timespec* now) {
  using ClockGettime = int (*)(clockid_t, struct timespec*);
  static const ClockGettime next =
      reinterpret_cast<ClockGettime>(dlsym(RTLD_NEXT, "clock_gettime"));
  const int result = next(clock, now);
  if (result == 0 && (clock == CLOCK_REALTIME || clock == CLOCK_REALTIME_COARSE)) {
    now->tv_sec += Shift();
  }
  return result;
}

extern "C" __attribute__((visibility("default"))) int gettimeofday(struct timeval* now,
                                                                   void* zone) {
  using GetTimeOfDay = int (*)(struct timeval*, void*);
  static const GetTimeOfDay next = reinterpret_cast<GetTimeOfDay>(dlsym(RTLD_NEXT, "gettimeofday"));
  const int result = next(now, zone);
  if (result == 0) now->tv_sec += Shift();
  return result;
}

extern "C" __attribute__((visibility("default"))) time_t time(time_t* now) {
  struct timespec moment;
  clock_gettime(CLOCK_REALTIME, &moment);
  if (now != nullptr) *now = moment.tv_sec;
  return moment.tv_sec;
}
