#include "host/string_functions.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>

#include "host/decimal.h"

namespace zel {
namespace {

bool IsBlank(char c) { return static_cast<unsigned char>(c) <= ' '; }

std::size_t Width(int w) { return w > 0 ? static_cast<std::size_t>(w) : 0; }

// `s` placed in exactly `width` columns with `left` blanks before it; the
// text is cut to the width first.
std::string Place(std::string_view s, std::size_t width, std::size_t left, char fill = ' ') {
  s = s.substr(0, width);
  std::string out(width, fill);
  out.replace(left, s.size(), s);
  return out;
}

// Pads on the left with `fill`, never cutting.
std::string PadLeft(std::string_view s, int w, char fill) {
  const std::size_t width = Width(w);
  if (s.size() >= width) return std::string(s);
  return Place(s, width, width - s.size(), fill);
}

double OnDecimalForm(double x, int decimals, bool round) {
  if (!std::isfinite(x)) return x;
  Decimal d = ToDecimal(x);
  decimals = std::clamp(decimals, -400, 400);  // beyond these every double is settled
  if (round) {
    RoundToDecimals(&d, decimals);
  } else {
    TruncateToDecimals(&d, decimals);
  }
  return ToDouble(d);
}

}  // namespace

std::string Replicate(std::string_view s, int n) {
  std::string out;
  out.reserve(s.size() * Width(n));
  for (int i = 0; i < n; ++i) out.append(s);
  return out;
}

bool EmptyString(std::string_view s) { return std::all_of(s.begin(), s.end(), IsBlank); }

std::string RTrim(std::string_view s) {
  while (!s.empty() && IsBlank(s.back())) s.remove_suffix(1);
  return std::string(s);
}

std::string PadL(std::string_view s, int w) { return PadLeft(s, w, ' '); }

std::string PadR(std::string_view s, int w) {
  std::string out(s);
  if (out.size() < Width(w)) out.resize(Width(w), ' ');
  return out;
}

std::string TamFixo(std::string_view s, int n) { return Place(s, Width(n), 0); }

std::string TamFixoR(std::string_view s, int n) {
  const std::size_t width = Width(n);
  return Place(s, width, width - std::min(s.size(), width));
}

std::string Centraliza(std::string_view s, int w) {
  const std::size_t width = Width(w);
  return Place(s, width, (width - std::min(s.size(), width)) / 2);
}

std::string Ajusta(std::string_view s, int n) { return TamFixoR(s, n); }

std::string AjustaZero(std::string_view s, int n) { return PadLeft(s, n, '0'); }

double RoundDec(double x, int n) { return OnDecimalForm(x, n, true); }

double Trunc3(double x) { return OnDecimalForm(x, 3, false); }

double Trunc2(double x) { return OnDecimalForm(x, 2, false); }

std::string SubtDataHoraPlo(DateTime a, DateTime b) {
  const std::int64_t difference = ToMilliseconds(a) - ToMilliseconds(b);
  const std::int64_t minutes = std::llabs(difference) / 60'000;
  std::string out = difference < 0 && minutes > 0 ? "-" : "";
  const std::int64_t hours = minutes / 60;
  if (hours < 10) out.push_back('0');
  out += std::to_string(hours);
  out.push_back(':');
  out.push_back(static_cast<char>('0' + minutes % 60 / 10));
  out.push_back(static_cast<char>('0' + minutes % 10));
  return out;
}

}  // namespace zel
