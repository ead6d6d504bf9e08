// zel::Error is the one exception type the driver raises inside itself.
//
// An operation either catches it at its own boundary and reports failure the
// way its contract says (False, "ERRO", a dialog), or lets it reach the host
// when its contract allows that. The message is meant for a person: it names
// the table, field, parameter or position that is wrong.
#ifndef ZEL_ERROR_H_
#define ZEL_ERROR_H_

#include <stdexcept>
#include <string>

namespace zel {

class Error : public std::runtime_error {
 public:
  explicit Error(const std::string& message) : std::runtime_error(message) {}
};

}  // namespace zel

#endif  // ZEL_ERROR_H_
