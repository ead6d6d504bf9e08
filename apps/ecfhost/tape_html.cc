#include "tape_html.h"

#include <vector>

namespace ecfhost {
namespace {

constexpr std::size_t kColumns = 48;

// What the printer prints when it cuts the paper (sim/fiscal: the cut
// command), and how its documents and the simulation's marks begin.
constexpr std::string_view kCutLine = "- - - - - - corte - - - - - -";
const std::string kDocumentStart(kColumns, '=');

constexpr char kPageHead[] = R"(<!DOCTYPE html>
<html lang="pt-BR">
<head>
<meta charset="utf-8">
<title>Bobina da impressora fiscal</title>
<style>
body { background: #d8d4cc; margin: 0; padding: 2em 0; }
main { width: 52ch; margin: 0 auto; font: 14px/1.35 "DejaVu Sans Mono", "Courier New", monospace; }
pre { margin: 0; padding: 0.8em 2ch; width: 48ch; background: #fffdf6; color: #222;
      box-shadow: 0 1px 3px rgba(0, 0, 0, 0.25); white-space: pre; overflow: hidden; }
.mark { color: #a0001c; font-weight: bold; }
.cut { position: relative; height: 1.6em; margin: 0; text-align: center; color: #666;
       border-top: 2px dashed #888; }
.cut::before { content: "\2702"; position: absolute; left: -0.4ch; top: -0.8em; font-size: 1.2em; }
.cut span { position: relative; top: 0.2em; font-size: 0.8em; }
</style>
</head>
<body>
<main>
)";

constexpr char kPageTail[] = "</main>\n</body>\n</html>\n";

std::string Trim(std::string_view text) {
  const std::size_t begin = text.find_first_not_of(' ');
  if (begin == std::string_view::npos) return "";
  return std::string(text.substr(begin, text.find_last_not_of(' ') - begin + 1));
}

bool IsMark(std::string_view line) {
  const std::string text = Trim(line);
  return text.size() >= 8 && text.starts_with("*** ") && text.ends_with(" ***");
}

std::vector<std::string> SplitLines(std::string_view text) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t end = text.find('\n', start);
    if (end == std::string_view::npos) end = text.size();
    lines.emplace_back(text.substr(start, end - start));
    start = end + 1;
  }
  return lines;
}

// `text` with &, <, >, " and ' written as HTML entities.
std::string EscapeHtml(std::string_view text) {
  std::string escaped;
  escaped.reserve(text.size());
  for (const char c : text) {
    switch (c) {
      case '&':
        escaped += "&amp;";
        break;
      case '<':
        escaped += "&lt;";
        break;
      case '>':
        escaped += "&gt;";
        break;
      case '"':
        escaped += "&quot;";
        break;
      case '\'':
        escaped += "&#39;";
        break;
      default:
        escaped += c;
    }
  }
  return escaped;
}

class Page {
 public:
  void Line(const std::string& line) {
    if (Trim(line) == kCutLine) {
      Cut();
      return;
    }
    if (line == kDocumentStart) {
      if (holds_document_) Cut();
      holds_document_ = true;
    }
    strip_ += IsMark(line) ? "<span class=\"mark\">" + EscapeHtml(line) + "</span>\n"
                           : EscapeHtml(line) + "\n";
  }

  std::string Finish() {
    EndStrip();
    return kPageHead + html_ + kPageTail;
  }

 private:
  void EndStrip() {
    // The empty line a document ends with feeds the paper to the cutter.
    while (strip_.ends_with("\n\n")) strip_.pop_back();
    if (!strip_.empty()) html_ += "<pre>" + strip_ + "</pre>\n";
    strip_.clear();
  }
  void Cut() {
    EndStrip();
    holds_document_ = false;
    html_ += "<div class=\"cut\" title=\"corte\"><span>corte</span></div>\n";
  }

  std::string html_;
  std::string strip_;
  bool holds_document_ = false;  // marks alone share the next document's strip
};

}  // namespace

std::string TapeHtml(std::string_view tape) {
  Page page;
  for (const std::string& line : SplitLines(tape)) page.Line(line);
  return page.Finish();
}

}  // namespace ecfhost
