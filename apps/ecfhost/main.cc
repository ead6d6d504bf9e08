// ecfhost: a stand-in point-of-sale host. It loads the driver at run time,
// resolves its operations by their plain names, answers its dialogs on the
// terminal, and runs real jobs against the (simulated) fiscal printer.
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <exception>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "commands.h"
#include "options.h"
#include "zel/codepage.h"

namespace {

constexpr char kExitStatuses[] =
    "exit status: 0 done; 1 the operation failed (the printer or the driver\n"
    "  refused, or a check before printing failed); 2 usage error (unknown\n"
    "  command or option, an option without its value, a missing or invalid\n"
    "  argument). Errors go to standard error, after the printer's and the\n"
    "  driver's messages that explain them (standard output).\n";

void PrintUsage(std::FILE* out) {
  std::fprintf(out,
               "usage: ecfhost [--dir FOLDER] [--yes|--no] COMMAND [--help]\n"
               "       ecfhost --version | version\n"
               "  --dir FOLDER  working folder for the printer, logs and configuration\n"
               "                (default: ecfhost-work)\n"
               "  --yes, --no   answer every question of the driver yes, or no (default:\n"
               "                ask at a terminal, else answer no)\n"
               "  --version     the versions of ecfhost and of the driver it finds\n"
               "  COMMAND --help  what the command does and takes\n"
               "What a cashier reads (messages, errors, summaries) is in Portuguese, as\n"
               "the driver's own messages; this help is for integrators.\n"
               "commands:\n");
  for (const ecfhost::Command& command : ecfhost::Commands()) {
    std::fprintf(out, "  %-10s %s\n", command.name, command.help);
  }
  std::fputs(kExitStatuses, out);
}

const ecfhost::Command* FindCommand(const std::string& name) {
  for (const ecfhost::Command& command : ecfhost::Commands()) {
    if (name == command.name) return &command;
  }
  return nullptr;
}

// What was typed before the command, and the command's own arguments.
struct CommandLine {
  std::string folder = "ecfhost-work";
  std::optional<bool> answer;
  bool help = false;
  bool version = false;
  const ecfhost::Command* command = nullptr;
  std::vector<std::string> arguments;
};

CommandLine Parse(int argc, char** argv) {
  const std::vector<std::string> words(argv + 1, argv + argc);
  CommandLine line;
  for (std::size_t i = 0; i < words.size() && line.command == nullptr; ++i) {
    const std::string& word = words[i];
    if (word == "--help" || word == "-h") {
      line.help = true;
    } else if (word == "--version" || word == "version") {
      line.version = true;
    } else if (word == "--dir") {
      if (!ecfhost::HasValueAt(words, i + 1)) {
        throw ecfhost::UsageError("a opção --dir precisa de um valor (a pasta de trabalho)");
      }
      line.folder = words[++i];
    } else if (word == "--yes" || word == "--no") {
      const bool yes = word == "--yes";
      if (line.answer.has_value() && *line.answer != yes) {
        throw ecfhost::UsageError("--yes e --no não vão juntas: escolha uma resposta");
      }
      line.answer = yes;
    } else if ((line.command = FindCommand(word)) != nullptr) {
      line.arguments.assign(words.begin() + static_cast<std::ptrdiff_t>(i) + 1, words.end());
    } else if (word.starts_with("-")) {
      throw ecfhost::UsageError("opção desconhecida '" + word + "'");
    } else {
      throw ecfhost::UsageError("comando desconhecido '" + word + "'");
    }
  }
  return line;
}

void PrintVersion() {
  std::printf("ecfhost %s\n", ECFHOST_VERSION);
  try {
    const std::string path = ecfhost::DefaultDriverPath();
    const ecfhost::DriverLibrary driver(path);
    std::printf("driver %s (%s)\n", driver.Op<const char*()>("ZelVersao")(), path.c_str());
  } catch (const std::exception& error) {
    std::printf("driver: não encontrado (%s)\n", error.what());
  }
}

// ecfhost's own messages are UTF-8; a text taken from the driver is in its
// code page, Windows-1252, and is converted once, never twice.
bool IsUtf8(const std::string& text) {
  for (std::size_t i = 0; i < text.size();) {
    const auto lead = static_cast<unsigned char>(text[i]);
    const std::size_t length = lead < 0x80           ? 1
                               : (lead >> 5) == 0x6  ? 2
                               : (lead >> 4) == 0xE  ? 3
                               : (lead >> 3) == 0x1E ? 4
                                                     : 0;
    if (length == 0 || i + length > text.size()) return false;
    for (std::size_t k = 1; k < length; ++k) {
      if ((static_cast<unsigned char>(text[i + k]) & 0xC0) != 0x80) return false;
    }
    i += length;
  }
  return true;
}

// Reports what stopped the command, after everything the command, the
// driver and the printer said before it.
int Fail(const std::string& who, const std::exception& error, ecfhost::Session* session) {
  std::fflush(stdout);
  if (session != nullptr) session->ReportLogTrouble(stderr);
  const bool usage = dynamic_cast<const ecfhost::UsageError*>(&error) != nullptr;
  const std::string message = error.what();
  const std::string hint = usage ? " (veja " + who + " --help)" : "";
  std::fprintf(stderr, "%s: erro: %s%s\n", who.c_str(),
               (IsUtf8(message) ? message : zel::Cp1252ToUtf8(message)).c_str(), hint.c_str());
  return usage ? ecfhost::kExitUsage : ecfhost::kExitFailed;
}

}  // namespace

int main(int argc, char** argv) {
  // Line by line, so that what was said before a crash or a kill is kept.
  std::setvbuf(stdout, nullptr, _IOLBF, 0);
  CommandLine line;
  try {
    line = Parse(argc, argv);
  } catch (const std::exception& error) {
    return Fail("ecfhost", error, nullptr);
  }
  if (line.command != nullptr &&
      std::ranges::find(line.arguments, "--help") != line.arguments.end()) {
    std::printf("ecfhost %s: %s\n%s", line.command->name, line.command->help, line.command->usage);
    std::printf("Exit status: 0 done, 1 failed, 2 usage error (see ecfhost --help).\n");
    return ecfhost::kExitSuccess;
  }
  if (line.help) {
    PrintUsage(stdout);
    return ecfhost::kExitSuccess;
  }
  if (line.version) {
    PrintVersion();
    return ecfhost::kExitSuccess;
  }
  if (line.command == nullptr) {
    PrintUsage(stderr);
    return ecfhost::kExitUsage;
  }
  const std::string who = std::string("ecfhost ") + line.command->name;
  std::unique_ptr<ecfhost::Session> session;
  try {
    session = std::make_unique<ecfhost::Session>(line.folder, line.answer, stdout);
    const int result = line.command->run(*session, line.arguments);
    session->ReportLogTrouble(stderr);
    return result;
  } catch (const std::exception& error) {
    return Fail(who, error, session.get());
  }
}
