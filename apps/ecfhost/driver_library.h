// The driver as a host sees it: a shared library loaded by path at run time,
// whose operations are found by their plain names.
#ifndef ECFHOST_DRIVER_LIBRARY_H_
#define ECFHOST_DRIVER_LIBRARY_H_

#include <string>

#include "zel/env.h"

namespace ecfhost {

class DriverLibrary {
 public:
  // Loads the library at `path`; raises zel::Error with the loader's reason.
  explicit DriverLibrary(const std::string& path);

  // The operation `name` typed as `Function`; raises zel::Error naming it
  // when the library does not export it.
  template <typename Function>
  Function* Op(const std::string& name) const {
    return reinterpret_cast<Function*>(Symbol(name));
  }

  // The exported text variable `name` of the driver's unit (stSerieAtu),
  // which a host assigns between calls.
  std::string& TextVariable(const std::string& name) const;

  // The printer library's entry `name` as the driver bound it (one of the
  // driver's exported entry variables); null while the driver has not
  // bound it.
  template <typename Function>
  Function* VendorEntry(const std::string& name) const {
    return *static_cast<Function**>(
        Symbol("_ZN8Zel00101" + std::to_string(name.size()) + name + "E"));
  }

 private:
  void* Symbol(const std::string& name) const;

  std::string path_;
  zel::LibraryHandle handle_;
};

// The driver's file: the first found in the directories of
// ZEL_LIBRARY_PATH, then beside this program, then in the library folder of
// the installation this program belongs to. Raises zel::Error naming the
// places searched when none holds it.
std::string DefaultDriverPath();

}  // namespace ecfhost

#endif  // ECFHOST_DRIVER_LIBRARY_H_
