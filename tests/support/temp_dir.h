// A fresh directory under the system's temporary folder for one test, removed
// with everything in it when the object goes. Not copyable; one thread.
#ifndef ZEL_TESTS_SUPPORT_TEMP_DIR_H_
#define ZEL_TESTS_SUPPORT_TEMP_DIR_H_

#include <string>
#include <string_view>

namespace zel {

class TempDir {
 public:
  // Raises zel::Error when the directory cannot be made.
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  // The directory's real path, without a trailing '/'.
  const std::string& path() const { return path_; }
  // path() + "/" + relative.
  std::string Join(std::string_view relative) const;

 private:
  std::string path_;
};

}  // namespace zel

#endif  // ZEL_TESTS_SUPPORT_TEMP_DIR_H_
