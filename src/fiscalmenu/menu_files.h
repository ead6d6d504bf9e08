// What the fiscal-menu operations share: the fiscal-menu directory, the
// printer library's output directory, the time stamps of the file names,
// the elements of the host's positional array and the dialogs.
// Host thread only, like every operation.
#ifndef ZEL_FISCALMENU_MENU_FILES_H_
#define ZEL_FISCALMENU_MENU_FILES_H_

#include <cstddef>
#include <span>
#include <string>

#include "zel/date_time.h"
#include "zel/variant.h"

namespace zel {

// The fiscal-menu directory, with its trailing backslash.
inline constexpr char kMenuFiscalDirectory[] = "C:\\MenuFiscal\\";
// What retornaPathBematech answers when Bemafi32.ini is not there.
inline constexpr char kConfigNotFound[] = "ARQ_N_ENC";
// The host's dialog kinds used here: a notice, and the problem notice.
inline constexpr int kMenuNotice = 0;
inline constexpr int kMenuProblem = 3;

// Element `index` of the host's array as a text: empty when the array is
// shorter or the element does not convert (the operation goes on).
std::string ElementText(std::span<const Variant> params, std::size_t index);

// Stamp of the fiscal-memory files, "ddmmyyyyhhmss": the minute without a
// leading zero, so 13 or 14 digits.
std::string ReadingStamp(DateTime now);
// Stamp of the mirror, "ddmmyyyyhhnnss": always 14 digits.
std::string MirrorStamp(DateTime now);
// Stamp of the type-E file, "yyyymmddhhnnss".
std::string TypeEStamp(DateTime now);

// Shows `text` (UTF-8 in the source, shown in Windows-1252) in the host's
// dialog.
void ShowMenuDialog(std::string_view utf8_text, const std::string& colour_scheme, int kind);

}  // namespace zel

#endif  // ZEL_FISCALMENU_MENU_FILES_H_
