// File-system work of the Windows Env on real paths, with the error reports
// of the POSIX one (the Windows error code is the system's own). Internal to
// src/platform. Each operation takes the path as the caller spelled it, for
// the error message, and the real path it maps to.
#ifndef ZEL_PLATFORM_WINDOWS_FILES_H_
#define ZEL_PLATFORM_WINDOWS_FILES_H_

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "zel/env.h"

namespace zel {

bool RealFileExists(const std::string& real);
bool RealDirectoryExists(const std::string& real);

std::string ReadRealFile(std::string_view given, const std::string& real);
void WriteRealFile(std::string_view given, const std::string& real, std::string_view bytes);
void AppendRealFile(std::string_view given, const std::string& real, std::string_view bytes);
void CopyRealFile(std::string_view given_from, const std::string& real_from,
                  std::string_view given_to, const std::string& real_to);
void RenameRealFile(std::string_view given_from, const std::string& real_from,
                    std::string_view given_to, const std::string& real_to);
std::unique_ptr<FileLock> LockRealFile(std::string_view given, const std::string& real);
bool RemoveRealFile(std::string_view given, const std::string& real);
void CreateRealDirectories(std::string_view given, const std::string& real);
std::vector<std::string> ListRealFiles(std::string_view given, const std::string& real,
                                       std::string_view pattern);

}  // namespace zel

#endif  // ZEL_PLATFORM_WINDOWS_FILES_H_
