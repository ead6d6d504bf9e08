// Power loss at random moments of a fiscal day: the command-line host is
// killed (SIGKILL) in the middle of sales, a supply and X readings, and
// started again after each kill. The register must always start again, no
// sale may be lost or counted twice, and what the printer sold must equal
// what the host was told it sold (by the sale itself, or by the start that
// settled the interrupted one).
#include <fcntl.h>
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <map>
#include <random>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "support/temp_dir.h"

namespace zel {
namespace {

std::string ReadAll(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  std::stringstream content;
  content << file.rdbuf();
  return content.str();
}

// The figures of the printer's memory file ("key=value" lines), in cents.
std::map<std::string, long long> PrinterFigures(const std::string& memory_path) {
  std::map<std::string, long long> figures;
  std::istringstream lines(ReadAll(memory_path));
  for (std::string line; std::getline(lines, line);) {
    const std::size_t eq = line.find('=');
    if (eq == std::string::npos || line[0] == '#') continue;
    figures[line.substr(0, eq)] = std::strtoll(line.c_str() + eq + 1, nullptr, 10);
  }
  return figures;
}

class PowerLossTest : public ::testing::Test {
 protected:
  // Starts ecfhost in the background with its output in `out_path`; every
  // printer command takes a few milliseconds, as a real printer's do.
  pid_t Launch(const std::vector<std::string>& arguments, const std::string& out_path) {
    const pid_t pid = ::fork();
    if (pid != 0) return pid;
    if (::chdir(dir_.path().c_str()) != 0) ::_exit(126);
    const int out = ::open(out_path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    const int in = ::open("/dev/null", O_RDONLY);
    ::dup2(out, 1);
    ::dup2(out, 2);
    ::dup2(in, 0);
    ::setenv("ECFSIM_LATENCY_MS", "3", 1);
    std::vector<std::string> all = {ECFHOST_PATH, "--dir", "work", "--no"};
    all.insert(all.end(), arguments.begin(), arguments.end());
    std::vector<char*> argv;
    for (std::string& argument : all) argv.push_back(argument.data());
    argv.push_back(nullptr);
    ::execv(ECFHOST_PATH, argv.data());
    ::_exit(127);
  }
  // Runs ecfhost to its end; returns its exit status and output.
  int Run(const std::vector<std::string>& arguments, std::string* output) {
    const std::string out_path = dir_.Join("run.txt");
    int status = 0;
    ::waitpid(Launch(arguments, out_path), &status, 0);
    *output = ReadAll(out_path);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  }

  TempDir dir_;
};

struct Step {
  std::vector<std::string> command;
  long long sale_cents;  // 0 for a step that sells nothing
};

TEST_F(PowerLossTest, FiftyKillsLeaveARegisterThatStartsAndTotalsThatAgree) {
  const std::vector<Step> day = {
      {{"sale", "--item", "7891000100103:ARROZ 5KG:01:2:21.90", "--pay", "Dinheiro:50"}, 4380},
      {{"supply", "10"}, 0},
      {{"sale", "--item", "7891000200200:FEIJAO 1KG:02:1:8.49", "--item",
        "7891000300307:OLEO:03:1:7.35", "--pay", "Dinheiro:20"},
       1584},
      {{"x"}, 0},
  };
  std::string output;
  ASSERT_EQ(Run({"start"}, &output), 0) << output;
  const std::string memory = dir_.Join("work/printer/memory.txt");
  // Each step once without a kill: how long it takes on this machine now
  // bounds the moments a kill may land at.
  long long told_cents = 0;
  std::vector<int> duration_ms;
  for (const Step& step : day) {
    const auto began = std::chrono::steady_clock::now();
    ASSERT_EQ(Run(step.command, &output), 0) << output;
    duration_ms.push_back(static_cast<int>(std::chrono::duration_cast<std::chrono::milliseconds>(
                                               std::chrono::steady_clock::now() - began)
                                               .count()));
    told_cents += step.sale_cents;
  }
  std::mt19937 random(20261208);
  constexpr int kKills = 50;
  int locked = 0, doubled = 0, settled_at_start = 0;

  for (int kill = 0; kill < kKills; ++kill) {
    const Step& step = day[kill % day.size()];
    const std::map<std::string, long long> before = PrinterFigures(memory);
    const std::string out_path = dir_.Join("killed.txt");
    const pid_t pid = Launch(step.command, out_path);
    std::uniform_int_distribution<int> moment_ms(0, duration_ms[kill % day.size()]);
    std::this_thread::sleep_for(std::chrono::milliseconds(moment_ms(random)));
    ::kill(pid, SIGKILL);
    ::waitpid(pid, nullptr, 0);
    const std::string killed = ReadAll(out_path);

    std::string started;
    if (Run({"start"}, &started) != 0) {
      ++locked;
      ADD_FAILURE() << "the register did not start after kill " << kill << ":\n"
                    << killed << "\n--- start:\n"
                    << started;
      break;
    }
    const std::map<std::string, long long> after = PrinterFigures(memory);
    const long long sold = (after.at("day.gross_sales") - after.at("day.cancellations")) -
                           (before.at("day.gross_sales") - before.at("day.cancellations"));
    const bool host_told = killed.find("[impressora] cupom fiscal fechado") != std::string::npos ||
                           started.find("foi concluído na impressora") != std::string::npos;
    if (started.find("interrupção") != std::string::npos) ++settled_at_start;
    if (sold != 0 && sold != step.sale_cents) ++doubled;
    EXPECT_EQ(sold, host_told ? step.sale_cents : 0) << "kill " << kill << ":\n"
                                                     << killed << "\n--- start:\n"
                                                     << started;
    if (host_told) told_cents += step.sale_cents;
  }

  const std::map<std::string, long long> end = PrinterFigures(memory);
  const long long printer_net = end.at("day.gross_sales") - end.at("day.cancellations");
  std::printf(
      "power loss: %d kills, %d starts settled interrupted work, %d locked, %d doubled, "
      "printer sold %lld cents, host told %lld cents\n",
      kKills, settled_at_start, locked, doubled, printer_net, told_cents);
  EXPECT_EQ(locked, 0);
  EXPECT_EQ(doubled, 0);
  EXPECT_EQ(printer_net, told_cents);
  EXPECT_EQ(Run({"z"}, &output), 0) << output;
}

}  // namespace
}  // namespace zel
