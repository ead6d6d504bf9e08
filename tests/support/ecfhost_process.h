// The command-line host run as a process, as a cashier or a script runs it,
// for the tests of ecfhost: each test has its own temporary folder, runs
// ecfhost there with a working folder "work", and reads what it printed on
// its outputs and on the simulated printer's paper. The including test
// target defines ECFHOST_PATH, the built program. POSIX only.
#ifndef ZEL_TESTS_SUPPORT_ECFHOST_PROCESS_H_
#define ZEL_TESTS_SUPPORT_ECFHOST_PROCESS_H_

#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

#include "support/temp_dir.h"

namespace zel {

struct Outcome {
  int status = -1;
  std::string out;
  std::string err;
};

// The whole file, or nothing when it cannot be read.
inline std::string ReadAll(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  std::stringstream content;
  content << file.rdbuf();
  return content.str();
}

// How many times `what` occurs in `text`.
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

class EcfhostProcessTest : public ::testing::Test {
 protected:
  // Runs ecfhost with `arguments` (already quoted for the shell) in its own
  // working folder under the temporary directory.
  // `environment` ("NAME=value ...") is set for the program alone.
  Outcome Ecfhost(const std::string& arguments, const std::string& answer = "--no",
                  const std::string& environment = "") {
    const std::string out = dir_.Join("out.txt");
    const std::string err = dir_.Join("err.txt");
    const std::string command = "cd '" + dir_.path() + "' && " + environment +
                                "'" ECFHOST_PATH "' --dir work " + answer + " " + arguments +
                                " > '" + out + "' 2> '" + err + "' < /dev/null";
    const int raw = std::system(command.c_str());
    Outcome run;
    run.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    run.out = ReadAll(out);
    run.err = ReadAll(err);
    return run;
  }
  std::string Tape() { return ReadAll(dir_.Join("work/printer/tape.txt")); }

  TempDir dir_;
};

}  // namespace zel

#endif  // ZEL_TESTS_SUPPORT_ECFHOST_PROCESS_H_
