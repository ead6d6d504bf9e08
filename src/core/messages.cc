#include "core/messages.h"

#include <utility>

#include "host/codepage.h"
#include "zel/error.h"

namespace zel {
namespace {

// Keys are ASCII identifiers; folding only ASCII letters keeps any
// Windows-1252 byte of an odd key unchanged.
std::string LowerAscii(std::string_view text) {
  std::string lower(text);
  for (char& c : lower) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return lower;
}

}  // namespace

TMessages::TMessages(const std::vector<std::string>& rows) {
  rows_.reserve(rows.size());
  for (const std::string& row : rows) Add(row);
}

void TMessages::Add(std::string row) {
  const std::size_t bar = row.find('|');
  if (bar == std::string::npos) {
    throw Error("Message row without '|' between key and text: \"" + row + "\"");
  }
  if (bar == 0) throw Error("Message row with an empty key: \"" + row + "\"");
  // try_emplace keeps an existing entry: the first row of a key wins.
  first_row_.try_emplace(LowerAscii(std::string_view(row).substr(0, bar)), rows_.size());
  rows_.push_back(std::move(row));
}

const std::string& TMessages::Row(std::size_t index) const {
  if (index >= rows_.size()) {
    throw Error("Message row " + std::to_string(index) + " does not exist (the table has " +
                std::to_string(rows_.size()) + " rows)");
  }
  return rows_[index];
}

std::string_view TMessages::KeyAt(std::size_t index) const {
  const std::string& row = Row(index);
  return std::string_view(row).substr(0, row.find('|'));
}

std::string_view TMessages::TextAt(std::size_t index) const {
  const std::string& row = rows_[index];
  return std::string_view(row).substr(row.find('|') + 1);
}

bool TMessages::Contains(std::string_view key) const {
  return first_row_.contains(LowerAscii(key));
}

std::string TMessages::Msg(std::string_view key) const {
  const auto found = first_row_.find(LowerAscii(key));
  if (found == first_row_.end()) return MissingMessageText(key);
  return std::string(TextAt(found->second));
}

std::string TMessages::Msg(std::string_view key, std::string_view file_name) const {
  return FillPlaceholder(Msg(key), file_name);
}

std::string MissingMessageText(std::string_view key) {
  static const std::string prefix = Utf8ToCp1252("Mensagem não cadastrada (");
  return prefix + std::string(key) + ").";
}

std::string FillPlaceholder(std::string_view text, std::string_view value) {
  std::string filled(text);
  const std::size_t at = filled.find("%s");
  if (at != std::string::npos) filled.replace(at, 2, value);
  return filled;
}

}  // namespace zel
