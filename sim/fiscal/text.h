// Small text helpers of the simulated printer: reading the numbers the host
// sends, writing fixed-width answers into the host's buffers, code-page
// conversion for the paper tape, and dates on the printer's clock.
//
// The simulator is an outside library, so it keeps its own helpers instead of
// using the driver's. All functions are pure and thread-compatible.
#ifndef ECFSIM_TEXT_H_
#define ECFSIM_TEXT_H_

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace ecfsim {

// Text of a C argument; a null pointer is the empty text.
std::string Arg(const char* text);

// Reads a number the host sent. A text with one ',' or '.' is a decimal
// number ("12,50", "3.450"); a text of digits alone carries
// `implied_decimals` implied decimals ("00001250" with 2 is 12.50). The
// result is scaled to `scale_decimals` decimals, truncating extra digits.
// Blanks around the number are ignored; anything else is std::nullopt.
std::optional<std::int64_t> ParseAmount(std::string_view text, int implied_decimals,
                                        int scale_decimals);

// A non-negative integer written only with digits (blanks around ignored).
std::optional<int> ParseCount(std::string_view text);
// A whole number, optionally negative, of up to 18 digits.
std::optional<std::int64_t> ParseInteger(std::string_view text);

// Writes `text` into `buffer`, cut or padded with blanks to exactly `width`
// bytes. Nothing is written past `width`, and no terminator is added: the
// host's buffer keeps whatever follows. A null buffer is ignored.
void CopyOut(char* buffer, std::string_view text, int width);

// `value` zero-padded to `width` digits (the lowest digits when too long).
std::string Digits(std::int64_t value, int width);

// Cents written as a Brazilian amount: "1.234,56", "-0,50".
std::string Money(std::int64_t cents);
// Thousandths written with three decimals: "1,500".
std::string Quantity(std::int64_t thousandths);
// Hundredths of a percent written as "18,00%".
std::string Percent(int rate);

std::string Trim(std::string_view text);
std::string TrimRight(std::string_view text);
std::string Upper(std::string_view text);               // ASCII and Windows-1252 letters
bool SameName(std::string_view a, std::string_view b);  // trimmed, ignoring case

// `text` cut or padded with blanks to `width`: left-aligned, right-aligned
// or centred.
std::string PadRight(std::string_view text, int width);
std::string PadLeft(std::string_view text, int width);
std::string Centre(std::string_view text, int width);
// `left` and `right` on one line of `width`, the gap filled with blanks.
std::string Spread(std::string_view left, std::string_view right, int width);

// The same on one line when both fit; otherwise `left` on a line of its own
// and `right` right-aligned below it, so that neither is cut.
std::vector<std::string> SpreadLines(std::string_view left, std::string_view right, int width);

// Splits a printed text into lines of at most `width` bytes: at line feeds
// (a carriage return before one is dropped) and, for longer lines, every
// `width` bytes. A trailing line feed does not add an empty line.
std::vector<std::string> WrapLines(std::string_view text, int width);

// Windows-1252 to UTF-8 and back. The five bytes Windows-1252 leaves
// undefined map to the C1 code points of the same value, so the round trip
// is exact; a character outside Windows-1252 becomes '?'.
std::string Cp1252ToUtf8(std::string_view text);
std::string Utf8ToCp1252(std::string_view text);

// Dates and moments on the printer's clock: yyyymmdd and yyyymmddhhmmss.
std::int64_t MomentFromEpoch(std::int64_t epoch_seconds);  // local time
std::int64_t EpochFromMoment(std::int64_t moment);         // local time
int DateOf(std::int64_t moment);
int TimeOf(std::int64_t moment);  // hhmmss
// "DDMMYY" of a yyyymmdd date; "000000" for 0.
std::string Ddmmyy(int date);
// "DD/MM/YYYY" and "DD/MM/YYYY hh:mm:ss".
std::string ShowDate(int date);
std::string ShowMoment(std::int64_t moment);
// Reads "DDMMYY", "DDMMYYYY", "DD/MM/YY" or "DD/MM/YYYY" into yyyymmdd; a
// two-digit year belongs to 2000-2099.
std::optional<int> ParseDate(std::string_view text);
// Reads "hhmmss" or "hh:mm:ss" into hhmmss.
std::optional<int> ParseTime(std::string_view text);

}  // namespace ecfsim

#endif  // ECFSIM_TEXT_H_
