// ecfhost: a stand-in point-of-sale host. It loads the driver at run time,
// resolves its operations by their plain names, answers its dialogs on the
// terminal, and runs real jobs against the (simulated) fiscal printer.
#include <cstdio>
#include <cstring>
#include <exception>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "commands.h"
#include "zel/codepage.h"

namespace {

void PrintUsage(std::FILE* out) {
  std::fprintf(out,
               "usage: ecfhost [--dir FOLDER] [--yes|--no] COMMAND [--help]\n"
               "  --dir FOLDER  working folder for the printer, logs and configuration\n"
               "                (default: ecfhost-work)\n"
               "  --yes, --no   answer every question of the driver yes, or no (default:\n"
               "                ask at a terminal, else answer no)\n"
               "  COMMAND --help  what the command does and takes\n"
               "commands:\n");
  for (const ecfhost::Command& command : ecfhost::Commands()) {
    std::fprintf(out, "  %-10s %s\n", command.name, command.help);
  }
}

const ecfhost::Command* FindCommand(const std::string& name) {
  for (const ecfhost::Command& command : ecfhost::Commands()) {
    if (name == command.name) return &command;
  }
  return nullptr;
}

}  // namespace

int main(int argc, char** argv) {
  // Line by line, so that what was said before a crash or a kill is kept.
  std::setvbuf(stdout, nullptr, _IOLBF, 0);
  std::string folder = "ecfhost-work";
  std::optional<bool> answer;
  const ecfhost::Command* command = nullptr;
  std::vector<std::string> arguments;
  for (int i = 1; i < argc; ++i) {
    const std::string argument = argv[i];
    if (command != nullptr) {
      if (argument == "--help") {
        std::printf("ecfhost %s: %s\n%s", command->name, command->help, command->usage);
        return 0;
      }
      arguments.push_back(argument);
    } else if (argument == "--help" || argument == "-h") {
      PrintUsage(stdout);
      return 0;
    } else if (argument == "--dir" && i + 1 < argc) {
      folder = argv[++i];
    } else if (argument == "--yes" || argument == "--no") {
      answer = argument == "--yes";
    } else if ((command = FindCommand(argument)) == nullptr) {
      std::fprintf(stderr, "ecfhost: unknown command or option '%s'\n", argument.c_str());
      PrintUsage(stderr);
      return 2;
    }
  }
  if (command == nullptr) {
    PrintUsage(stderr);
    return 2;
  }
  std::unique_ptr<ecfhost::Session> session;
  int result = 1;
  try {
    session = std::make_unique<ecfhost::Session>(folder, answer, stdout);
    result = command->run(*session, arguments);
  } catch (const std::exception& error) {
    std::fprintf(stderr, "ecfhost %s: %s\n", command->name,
                 zel::Cp1252ToUtf8(error.what()).c_str());
  }
  if (session) session->ReportLogTrouble(stderr);
  return result;
}
