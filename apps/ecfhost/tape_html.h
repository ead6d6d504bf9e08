// The simulated printer's paper tape as a web page that looks like the roll:
// 48 monospaced columns on paper-coloured strips, one strip per document,
// a torn edge where the printer cut the paper, the simulation's marks
// ("*** sem papel ***") set apart. Self-contained (no outside files) and in
// UTF-8, every printed text escaped.
#ifndef ECFHOST_TAPE_HTML_H_
#define ECFHOST_TAPE_HTML_H_

#include <string>
#include <string_view>

namespace ecfhost {

// `tape` is the roll as the printer keeps it (UTF-8, one line a line, each
// document ending with an empty line).
std::string TapeHtml(std::string_view tape);

}  // namespace ecfhost

#endif  // ECFHOST_TAPE_HTML_H_
