// Runs the built ecfhost as a child process, as a cashier or a script runs
// it, and reads back what it said. The including test program defines
// ECFHOST_PATH, the program's path. POSIX only.
#ifndef ZEL_TESTS_SUPPORT_ECFHOST_PROCESS_H_
#define ZEL_TESTS_SUPPORT_ECFHOST_PROCESS_H_

#include <sys/wait.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

#include "support/temp_dir.h"

#ifndef ECFHOST_PATH
#error "define ECFHOST_PATH, the path of the built ecfhost"
#endif

namespace zel {

struct Outcome {
  int status = -1;
  std::string out;
  std::string err;
};

inline std::string ReadAll(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  std::stringstream content;
  content << file.rdbuf();
  return content.str();
}

// How many times `what` appears in `text`.
inline int Count(const std::string& text, const std::string& what) {
  int count = 0;
  for (std::size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) {
    ++count;
  }
  return count;
}

// Lines of `text` that read `line` once centred blanks are trimmed.
inline int CountLines(const std::string& text, const std::string& line) {
  std::istringstream lines(text);
  int count = 0;
  for (std::string read; std::getline(lines, read);) {
    read.erase(0, read.find_first_not_of(' '));
    read.erase(read.find_last_not_of(' ') + 1);
    count += read == line ? 1 : 0;
  }
  return count;
}

// Runs `ECFHOST_PATH command_line` (already quoted for the shell) from `dir`
// with no terminal; `environment` ("NAME=value ...") is set for the program
// alone. Standard output and standard error are kept apart.
inline Outcome RunEcfhost(const TempDir& dir, const std::string& command_line,
                          const std::string& environment = "") {
  const std::string out = dir.Join("out.txt");
  const std::string err = dir.Join("err.txt");
  const std::string command = "cd '" + dir.path() + "' && " + environment + "'" ECFHOST_PATH "' " +
                              command_line + " > '" + out + "' 2> '" + err + "' < /dev/null";
  const int raw = std::system(command.c_str());
  Outcome run;
  run.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
  run.out = ReadAll(out);
  run.err = ReadAll(err);
  return run;
}

}  // namespace zel

#endif  // ZEL_TESTS_SUPPORT_ECFHOST_PROCESS_H_
