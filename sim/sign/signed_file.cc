#include "signed_file.h"

#include <filesystem>
#include <system_error>

namespace signbema {
namespace {

constexpr std::size_t kSignatureDigits = 256;
// The longest last line worth reading: a record and its line break.
constexpr long kTail = static_cast<long>(kRecordTag.size() + kSignatureDigits + 2);

bool IsRecord(std::string_view line) {
  if (line.size() != kRecordTag.size() + kSignatureDigits || !line.starts_with(kRecordTag))
    return false;
  return line.find_first_not_of("0123456789abcdefABCDEF", kRecordTag.size()) ==
         std::string_view::npos;
}

}  // namespace

std::optional<FileLayout> ReadLayout(std::FILE* file) {
  if (std::fseek(file, 0, SEEK_END) != 0) return std::nullopt;
  FileLayout layout;
  layout.size = std::ftell(file);
  if (layout.size < 0) return std::nullopt;
  // One byte more than a record line, to see the line break before it.
  const long from = layout.size > kTail + 1 ? layout.size - kTail - 1 : 0;
  std::string tail(static_cast<std::size_t>(layout.size - from), '\0');
  if (std::fseek(file, from, SEEK_SET) != 0 ||
      std::fread(tail.data(), 1, tail.size(), file) != tail.size()) {
    return std::nullopt;
  }
  if (tail.empty()) return layout;
  layout.ends_with_line_break = tail.back() == '\n';

  std::string_view text = tail;
  if (text.ends_with('\n')) text.remove_suffix(1);
  if (text.ends_with('\r')) text.remove_suffix(1);
  const std::size_t feed = text.rfind('\n');
  // Without a line feed in the tail the line is longer than a record,
  // unless it is the whole file.
  if (feed == std::string_view::npos && from != 0) return layout;
  const std::size_t line_start = feed == std::string_view::npos ? 0 : feed + 1;
  const std::string_view line = text.substr(line_start);
  if (IsRecord(line)) {
    layout.record = SignatureRecord{from + static_cast<long>(line_start),
                                    std::string(line.substr(kRecordTag.size()))};
  }
  return layout;
}

bool AppendRecord(std::FILE* file, const std::string& path, long size, std::string_view bytes) {
  const bool written = std::fseek(file, size, SEEK_SET) == 0 &&
                       std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size() &&
                       std::fflush(file) == 0;
  if (written) return true;
  std::error_code ignored;
  std::filesystem::resize_file(path, static_cast<std::uintmax_t>(size), ignored);
  return false;
}

}  // namespace signbema
