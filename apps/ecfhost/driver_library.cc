#include "driver_library.h"

#include "zel/error.h"

namespace ecfhost {

DriverLibrary::DriverLibrary(const std::string& path)
    : path_(path), handle_(zel::Env::Default()->OpenLibrary(path)) {
  if (handle_ == nullptr) {
    throw zel::Error("cannot load the driver " + path + ": " +
                     zel::Env::Default()->LastLibraryError());
  }
}

void* DriverLibrary::Symbol(const std::string& name) const {
  void* symbol = zel::Env::Default()->GetSymbol(handle_, name);
  if (symbol == nullptr) throw zel::Error("the driver " + path_ + " does not export " + name);
  return symbol;
}

std::string& DriverLibrary::TextVariable(const std::string& name) const {
  // The unit's variables live in namespace Zel00101; a std::string one
  // carries the library's ABI tag in its symbol.
  const std::string symbol = "_ZN8Zel00101" + std::to_string(name.size()) + name + "B5cxx11E";
  return *static_cast<std::string*>(Symbol(symbol));
}

std::string DefaultDriverPath() {
  return zel::Env::Default()->HostExecutableDirectory() + "/../lib/libzel00100.so";
}

}  // namespace ecfhost
