// The host's string and number helpers that the driver's printed layouts
// and vendor buffers are built with. Texts are Windows-1252 bytes, so widths
// count bytes, one byte one character. "Blank" means a space or a control
// character (code 32 or below), as the host's trimming does.
//
// Stateless; the number helpers read nothing but their arguments. Call from
// the host's thread, as the rest of the driver.
#ifndef ZEL_HOST_STRING_FUNCTIONS_H_
#define ZEL_HOST_STRING_FUNCTIONS_H_

#include <string>
#include <string_view>
#include <type_traits>

#include "zel/date_time.h"

namespace zel {

// `s` repeated `n` times; empty for n <= 0. Replicate(" ", 20) is a blank
// buffer for a vendor out-parameter.
std::string Replicate(std::string_view s, int n);

// True when `s` is empty or holds only blanks.
bool EmptyString(std::string_view s);

// `s` without its trailing blanks.
std::string RTrim(std::string_view s);

// Pads with blanks on the left (PadL, right-aligning) or on the right (PadR)
// to width `w`. A text longer than `w` is returned whole: these pad, they
// never cut.
std::string PadL(std::string_view s, int w);
std::string PadR(std::string_view s, int w);

// Exactly `n` characters (none for n <= 0): a longer text keeps its first
// `n` characters; a shorter one is padded with blanks on the right (TamFixo,
// left-aligned) or on the left (TamFixoR, right-aligned).
std::string TamFixo(std::string_view s, int n);
std::string TamFixoR(std::string_view s, int n);

// `s` centred in `w` columns. When the blanks do not split evenly the extra
// one goes on the right. A text longer than `w` keeps its first `w`
// characters.
std::string Centraliza(std::string_view s, int w);

// Fits a field, such as a counter or a coupon number, to `n` columns:
// right-aligned with blanks on the left, a longer text keeping its first `n`
// characters. An empty text comes back as `n` blanks, so callers test the
// result with EmptyString.
std::string Ajusta(std::string_view s, int n);

// Pads `s` on the left with zeros to `n` characters: AjustaZero("3", 2) is
// "03". A longer text is returned whole, since cutting a code would change
// it.
std::string AjustaZero(std::string_view s, int n);

// Rounds half away from zero to `n` decimals (negative `n`: to tens,
// hundreds...) on the value's 15-significant-digit decimal form, so
// RoundDec(2.675, 2) is 2.68.
double RoundDec(double x, int n);
// Cut toward zero to 3 or 2 decimals, on the same decimal form:
// Trunc2(1.15) is 1.15 (not 1.14), Trunc2(2.999) is 2.99, Trunc2(-2.999) is
// -2.99. NaN and infinities come back unchanged.
double Trunc3(double x);
double Trunc2(double x);

// The host's iif: both values are always evaluated (they are arguments),
// unlike the conditional operator.
template <typename A, typename B>
std::common_type_t<A, B> iif(bool condition, const A& when_true, const B& when_false) {
  if (condition) return when_true;
  return when_false;
}

// a - b as "hh:nn", with a leading "-" when negative. Seconds are dropped
// (toward zero), so a difference under a minute is "00:00" without a sign.
// Hours keep counting past a day: 25 h 30 min is "25:30". Raises zel::Error
// for a value outside the calendar (see DecodeDateTime).
std::string SubtDataHoraPlo(DateTime a, DateTime b);

}  // namespace zel

#endif  // ZEL_HOST_STRING_FUNCTIONS_H_
