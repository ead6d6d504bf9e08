// Where a signed file's signature record is: the last line of the file,
// "EAD" followed by 256 hexadecimal digits (see sign_bema.h). Only the tail
// of the file is read, so finding the record costs the same for any size.
#ifndef SIGN_BEMA_SIGNED_FILE_H_
#define SIGN_BEMA_SIGNED_FILE_H_

#include <cstdio>
#include <optional>
#include <string>
#include <string_view>

namespace signbema {

inline constexpr std::string_view kRecordTag = "EAD";

struct SignatureRecord {
  long start = 0;             // offset of the record's first byte
  std::string signature_hex;  // the digits after the tag
};

struct FileLayout {
  long size = 0;
  // True for an empty file too: nothing has to be added before a record.
  bool ends_with_line_break = true;
  std::optional<SignatureRecord> record;
};

// Reads the size and the last line of an open file; nullopt when it cannot
// be read.
std::optional<FileLayout> ReadLayout(std::FILE* file);

// Writes `bytes` at offset `size` (the end) of the open file `path` and
// flushes them; when that fails, cuts the file back to `size` so no part
// of a record is left behind, and returns false.
bool AppendRecord(std::FILE* file, const std::string& path, long size, std::string_view bytes);

}  // namespace signbema

#endif  // SIGN_BEMA_SIGNED_FILE_H_
