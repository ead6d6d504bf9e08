// Rounding a double to a whole number, halves away from zero, exactly. Not
// std::round or std::llround: mingw-w64's runtime computes them as
// trunc(x + 0.5), and that addition already rounds, so the double just below
// one half (0.49999999999999994) becomes 1 in the Windows build. Pure; safe
// from any thread.
#ifndef ZEL_HOST_ROUNDING_H_
#define ZEL_HOST_ROUNDING_H_

#include <cmath>

namespace zel {

inline double RoundHalfAwayFromZero(double x) {
  const double whole = std::trunc(x);
  // Exact: the fraction is made of bits x already holds.
  const double fraction = x - whole;
  return std::fabs(fraction) >= 0.5 ? whole + std::copysign(1.0, x) : whole;
}

}  // namespace zel

#endif  // ZEL_HOST_ROUNDING_H_
