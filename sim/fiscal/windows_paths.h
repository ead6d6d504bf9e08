// Where the simulated printer library finds and leaves its files, seen the
// way a Windows library sees them: paths spelled with drive letters and
// backslashes, the Windows system directory, and the output directory named
// by the `Path` key of "BemaFI32.ini" in that system directory.
//
// The mapping is the host SDK's own (zel::Env::Default()->MapPath, see
// zel/env.h), so a file the printer writes is where the driver looks for it,
// on Linux and on Windows: drive roots follow ZEL_DRIVE_X, the system
// directory ZEL_SYSTEM_DIR, names match in any case. The printer does not
// use a host's Env: it is an outside library.
//
// All functions read the environment and the file system at each call and
// keep no state; they are safe to call from any thread.
#ifndef ECFSIM_WINDOWS_PATHS_H_
#define ECFSIM_WINDOWS_PATHS_H_

#include <string>
#include <string_view>
#include <vector>

namespace ecfsim {

// The real path for `path` in Windows (or POSIX) spelling, following the
// rules above. An empty path stays empty. Never touches the file system
// except to look up the case of names that already exist.
std::string RealPath(std::string_view path);

// The real path of the Windows system directory.
std::string SystemDirectory();

// The directory where the serial readings are written, in Windows spelling
// and always ending in "\": the value of the first `Path` entry of
// "BemaFI32.ini" in the system directory (name compared without regard to
// case, sections not considered). When the file, the entry or its value is
// missing, the library falls back to the root of drive C, "C:\", which is
// also where the driver looks in that case.
std::string OutputDirectory();

// The value of the first entry named `key` (without regard to case) among
// "name=value" lines; std::string() when there is none. Lines keep their
// bytes: no blanks are trimmed, so "Path =x" does not name `Path`.
std::string IniValue(const std::vector<std::string>& lines, std::string_view key);

// Writes `lines` to the real path `file`, each followed by CR LF, replacing
// the file. The directory must exist. Raises std::runtime_error naming the
// file when it cannot be written.
void WriteCrLfFile(const std::string& file, const std::vector<std::string>& lines);

// The file's lines, split at LF with a CR before it dropped. Raises
// std::runtime_error naming the file when it cannot be read.
std::vector<std::string> ReadLinesOf(const std::string& file);

}  // namespace ecfsim

#endif  // ECFSIM_WINDOWS_PATHS_H_
