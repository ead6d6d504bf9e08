#include "fiscalmenu/menu_files.h"

#include "core/dialogs.h"
#include "host/codepage.h"
#include "host/date_format.h"
#include "platform/env.h"
#include "platform/path_spelling.h"
#include "zel/error.h"
#include "zel/fiscal_menu.h"

namespace zel {

std::string ElementText(std::span<const Variant> params, std::size_t index) {
  if (index >= params.size()) return {};
  try {
    return params[index].AsText();
  } catch (const Error&) {
    return {};
  }
}

std::string ReadingStamp(DateTime now) { return FormatDateTime("ddmmyyyyhhmss", now); }
std::string MirrorStamp(DateTime now) { return FormatDateTime("ddmmyyyyhhnnss", now); }
std::string TypeEStamp(DateTime now) { return FormatDateTime("yyyymmddhhnnss", now); }

void ShowMenuDialog(std::string_view utf8_text, const std::string& colour_scheme, int kind) {
  ShowDialog(Utf8ToCp1252(utf8_text), colour_scheme, kind);
}

}  // namespace zel

namespace Zel00101 {

// The printer library reads the same file for its own settings; the value
// is taken as the library takes it (first Path line, any case, no trimming).
std::string retornaPathBematech() {
  using namespace zel;
  Env& env = *Env::Current();
  const std::string ini = env.SystemDirectory() + "/Bemafi32.ini";
  if (!env.FileExists(ini)) return kConfigNotFound;
  std::vector<std::string> lines;
  try {
    lines = env.ReadLines(ini);
  } catch (const Error&) {
    // A file that cannot be read helps no more than one that is not there.
    return kConfigNotFound;
  }
  std::string path;
  for (const std::string& line : lines) {
    const std::size_t equals = line.find('=');
    if (equals != std::string::npos && EqualsIgnoringCase(line.substr(0, equals), "Path")) {
      path = line.substr(equals + 1);
      break;
    }
  }
  if (path.empty() || path.back() != '\\') path += '\\';
  return path;
}

}  // namespace Zel00101
