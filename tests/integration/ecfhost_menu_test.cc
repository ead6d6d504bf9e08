// The command-line host's fiscal menu run as a process: where each file
// went, and the check of its signature.
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <regex>
#include <sstream>
#include <string>

#include "support/temp_dir.h"

namespace zel {
namespace {

using ::testing::HasSubstr;

struct Outcome {
  int status = -1;
  std::string out;
};

class EcfhostMenuTest : public ::testing::Test {
 protected:
  Outcome Ecfhost(const std::string& arguments) {
    const std::string out = dir_.Join("out.txt");
    const std::string command = "cd '" + dir_.path() + "' && '" ECFHOST_PATH "' --dir work --no " +
                                arguments + " > '" + out + "' 2>&1 < /dev/null";
    const int raw = std::system(command.c_str());
    std::ifstream file(out);
    std::stringstream text;
    text << file.rdbuf();
    return {WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, text.str()};
  }
  // The real path the host named after "Arquivo: ... em".
  static std::string NamedFile(const std::string& out) {
    std::smatch found;
    if (!std::regex_search(out, found, std::regex("\n  em (\\S+)\n"))) return {};
    return found[1];
  }

  TempDir dir_;
};

TEST_F(EcfhostMenuTest, FiscalMemoryFileIsNamedSignedAndChecked) {
  const Outcome made = Ecfhost("menu lmf --from 01/01/2000 --to 31/12/2099 --complete --file");
  ASSERT_EQ(made.status, 0) << made.out;
  EXPECT_THAT(made.out, HasSubstr("Arquivo: C:\\MenuFiscal\\LMFC_"));
  const std::string file = NamedFile(made.out);
  ASSERT_TRUE(std::filesystem::exists(file)) << made.out;

  const Outcome checked = Ecfhost("verify '" + file + "'");
  EXPECT_EQ(checked.status, 0) << checked.out;
  EXPECT_THAT(checked.out, HasSubstr("Assinatura válida"));

  std::fstream changed(file, std::ios::in | std::ios::out | std::ios::binary);
  changed.seekp(5);
  changed.put('#');
  changed.close();
  const Outcome broken = Ecfhost("verify '" + file + "'");
  EXPECT_EQ(broken.status, 1);
  EXPECT_THAT(broken.out, HasSubstr("Assinatura inválida ou ausente"));
}

TEST_F(EcfhostMenuTest, TypeEFileByDatesIsNamed) {
  ASSERT_EQ(Ecfhost("supply 10.00").status, 0);

  const Outcome made = Ecfhost("menu type-e --dates --from 01/01/2000 --to 31/12/2099");

  ASSERT_EQ(made.status, 0) << made.out;
  EXPECT_THAT(made.out, HasSubstr("Arquivo: c:\\MenuFiscal\\AC17-04"));
  EXPECT_TRUE(std::filesystem::exists(NamedFile(made.out))) << made.out;
}

TEST_F(EcfhostMenuTest, UnknownItemOrMissingRangeIsRefused) {
  EXPECT_EQ(Ecfhost("menu nothing").status, 2);
  const Outcome missing = Ecfhost("menu lmf --from 01/01/2000");
  EXPECT_EQ(missing.status, 2);
  EXPECT_THAT(missing.out, HasSubstr("informe --to"));
}

}  // namespace
}  // namespace zel
