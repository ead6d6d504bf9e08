// Text work behind Env's path mapping and library naming, kept apart from the
// system calls so that it can be checked on its own and shared by every Env
// implementation. Pure functions; safe from any thread.
#ifndef ZEL_PLATFORM_PATH_SPELLING_H_
#define ZEL_PLATFORM_PATH_SPELLING_H_

#include <functional>
#include <string>
#include <string_view>

namespace zel {

// Gives the real directory standing for the root of a drive ('A'..'Z').
using DriveRootFunction = std::function<std::string(char drive_letter)>;
// Gives the real current directory; asked only for a relative path.
using CurrentDirectoryFunction = std::function<std::string()>;

// A path in Windows or POSIX spelling as a real absolute path, without
// touching the file system: "X:" roots come from drive_root, a leading single
// "\" means drive C, relative paths hang below current_directory, '\' becomes
// '/', runs of separators collapse and a trailing one goes. A component of
// the given path that is not valid UTF-8 is converted from Windows-1252.
// An empty path stays empty.
std::string SpellRealPath(std::string_view path, const DriveRootFunction& drive_root,
                          const CurrentDirectoryFunction& current_directory);

bool IsValidUtf8(std::string_view text);

// ASCII letters compare without regard to case; other bytes exactly.
bool EqualsIgnoringCase(std::string_view a, std::string_view b);

// Windows wildcard match: '*' any run (also empty), '?' one byte, letters in
// any case; "name.*" also matches "name" without an extension.
bool MatchesWildcard(std::string_view name, std::string_view pattern);

// The shared-library file name for a Windows library name: "BemaFI32.dll"
// (extension in any case) gives "libBemaFI32.so"; a name already ending in
// ".so" or with a '.so.' version suffix is kept.
std::string LibraryFileName(std::string_view windows_name);

}  // namespace zel

#endif  // ZEL_PLATFORM_PATH_SPELLING_H_
