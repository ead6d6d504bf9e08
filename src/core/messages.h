// TMessages is the host's message table: an ordered list of rows
// "key|text" from which the driver takes every text it shows or prints,
// so that wording lives in one place and never inside an operation.
//
// Keys match ignoring letter case (the driver asks for "RELATORIO" where the
// row says "Relatorio"). When two rows share a key, the first row wins,
// always. A key that no row holds gives a short sentence that names the key,
// never an empty text, so a dialog or a printed title still tells the
// reader what is missing.
//
// Texts are Windows-1252 bytes, as every text inside the driver. The table
// owns its rows. Not thread-safe; the driver is called from one host thread.
#ifndef ZEL_CORE_MESSAGES_H_
#define ZEL_CORE_MESSAGES_H_

#include <cstddef>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace zel {

class TMessages {
 public:
  TMessages() = default;
  // Adds the rows in order (see Add).
  explicit TMessages(const std::vector<std::string>& rows);

  // Appends one row "key|text". The key is what stands before the first
  // bar; the text may be empty and may itself hold bars. Raises zel::Error
  // for a row without a bar or with an empty key.
  void Add(std::string row);

  std::size_t Count() const { return rows_.size(); }
  // The row at `index` (0-based) as it was added; raises zel::Error past
  // the end.
  const std::string& Row(std::size_t index) const;
  // The key of the row at `index`, as written in the row.
  std::string_view KeyAt(std::size_t index) const;
  bool Contains(std::string_view key) const;

  // The text of the first row whose key equals `key` ignoring case, or
  // MissingMessageText(key) when there is none.
  std::string Msg(std::string_view key) const;
  // The same, with the text's first "%s" replaced by `file_name`. A text
  // without a placeholder comes back unchanged.
  std::string Msg(std::string_view key, std::string_view file_name) const;

 private:
  std::string_view TextAt(std::size_t index) const;

  std::vector<std::string> rows_;
  // Lower-case key -> index of its first row.
  std::unordered_map<std::string, std::size_t> first_row_;
};

// What Msg gives for a key that no row holds (Windows-1252):
// "Mensagem não cadastrada (<key>)."
std::string MissingMessageText(std::string_view key);

// Replaces the first "%s" of `text` with `value`.
std::string FillPlaceholder(std::string_view text, std::string_view value);

}  // namespace zel

#endif  // ZEL_CORE_MESSAGES_H_
