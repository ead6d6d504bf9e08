// The subcommands of the command-line host. Each runs one real job against
// the driver and returns the process exit status; a failure raises
// zel::Error with a one-line reason.
#ifndef ECFHOST_COMMANDS_H_
#define ECFHOST_COMMANDS_H_

#include <string>
#include <vector>

#include "session.h"

namespace ecfhost {

struct Command {
  const char* name;
  const char* help;   // one line for the command list
  const char* usage;  // the full --help text after the help line
  int (*run)(Session& session, const std::vector<std::string>& arguments);
};

const std::vector<Command>& Commands();

}  // namespace ecfhost

#endif  // ECFHOST_COMMANDS_H_
