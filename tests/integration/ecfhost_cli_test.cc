// ecfhost's command line as a cashier and a script meet it: one convention
// for every subcommand (exit statuses 0, 1, 2; errors in Portuguese, on
// standard error, after the messages that explain them), the labelled
// counters and their --raw form, the printer's identification at start.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "support/ecfhost_process.h"

namespace zel {
namespace {

using ::testing::ContainsRegex;
using ::testing::EndsWith;
using ::testing::HasSubstr;
using ::testing::IsEmpty;
using ::testing::Not;

class EcfhostCliTest : public EcfhostProcessTest {
 protected:
  // `command_line` exactly as typed after the program's name.
  Outcome Typed(const std::string& command_line) { return RunEcfhost(dir_, command_line); }
  // Standard output and standard error in one stream, as a terminal shows them.
  std::string Interleaved(const std::string& command_line) {
    const std::string both = dir_.Join("both.txt");
    const std::string command = "cd '" + dir_.path() + "' && '" ECFHOST_PATH "' " + command_line +
                                " > '" + both + "' 2>&1 < /dev/null";
    EXPECT_NE(std::system(command.c_str()), 0) << command_line;
    return ReadAll(both);
  }
};

constexpr char kBigSale[] = "sale --item '1:GELADEIRA:01:1:1234.56' --pay Dinheiro:1234.56";

TEST_F(EcfhostCliTest, EveryMistakeOnTheCommandLineExitsTwoWithOneLineNamingIt) {
  struct Case {
    const char* command_line;
    const char* message;
  };
  const Case cases[] = {
      {"--dir", "ecfhost: erro: a opção --dir precisa de um valor"},
      {"--dir --yes start", "ecfhost: erro: a opção --dir precisa de um valor"},
      {"--dir work --yes --no start", "ecfhost: erro: --yes e --no não vão juntas"},
      {"--dir work --refund start", "ecfhost: erro: opção desconhecida '--refund'"},
      {"--dir work refund", "ecfhost: erro: comando desconhecido 'refund'"},
      {"--dir work start extra", "ecfhost start: erro: argumento inesperado 'extra'"},
      {"--dir work counters --labels", "ecfhost counters: erro: opção desconhecida '--labels'"},
      {"--dir work sale --item", "ecfhost sale: erro: a opção --item precisa de um valor"},
      {"--dir work sale --item --pay Dinheiro:1",
       "ecfhost sale: erro: a opção --item precisa de um valor"},
      {"--dir work supply", "ecfhost supply: erro: informe o valor do suprimento"},
      {"--dir work supply abc", "'abc' não é um valor como 21,90"},
      {"--dir work withdraw 0", "o valor da sangria deve ser maior que zero"},
      {"--dir work z --json", "ecfhost z: erro: --json só vale com --export"},
      {"--dir work tape --printer laser", "--printer é fiscal ou nonfiscal, não 'laser'"},
      {"--dir work close", "ecfhost close: erro: informe o arquivo de fechamento"},
      {"--dir work menu nothing", "item do menu desconhecido 'nothing'"},
      {"--dir work table", "ecfhost table: erro: informe a ação"},
      {"--dir work credit refund", "ação de crédito desconhecida 'refund'"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.command_line);
    const Outcome run = Typed(c.command_line);

    EXPECT_EQ(run.status, 2);
    EXPECT_THAT(run.err, HasSubstr(c.message));
    EXPECT_EQ(Count(run.err, "\n"), 1) << run.err;
    EXPECT_THAT(run.err, EndsWith(" --help)\n")) << "a usage error points to the help";
    EXPECT_THAT(run.out, IsEmpty());
  }
  EXPECT_THAT(Tape(), IsEmpty()) << "nothing reached the printer";

  const Outcome bare = Typed("--dir work");
  EXPECT_EQ(bare.status, 2);
  EXPECT_THAT(bare.err, HasSubstr("usage: ecfhost"));
}

TEST_F(EcfhostCliTest, HelpAndVersionDocumentTheProgramAndTouchNothing) {
  const Outcome help = Typed("--dir work --help");
  EXPECT_EQ(help.status, 0);
  EXPECT_THAT(help.out, HasSubstr("exit status: 0 done; 1 the operation failed"));
  EXPECT_THAT(help.out, HasSubstr("2 usage error"));
  const Outcome command_help = Typed("--dir work counters --help");
  EXPECT_EQ(command_help.status, 0);
  EXPECT_THAT(command_help.out, HasSubstr("--raw"));
  EXPECT_THAT(command_help.out, HasSubstr("Exit status: 0 done, 1 failed, 2 usage error"));

  for (const char* version : {"--version", "version"}) {
    SCOPED_TRACE(version);
    const Outcome run = Typed(std::string("--dir work ") + version);
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_THAT(run.out, ContainsRegex("^ecfhost [0-9]+\\.[0-9]+\n"));
    EXPECT_THAT(run.out, ContainsRegex("\ndriver zel00100 [0-9]+\\.[0-9]+ \\(.*zel00100"));
  }
  EXPECT_FALSE(std::filesystem::exists(dir_.Join("work"))) << "help and version start nothing";
}

TEST_F(EcfhostCliTest, AFailedOperationExitsOneAfterTheWarningsThatExplainIt) {
  ASSERT_EQ(Typed("--dir work --no " + std::string(kBigSale)).status, 0);
  // Another printer, fresh from the factory, put in its place.
  std::filesystem::remove_all(dir_.Join("work/printer"));

  const Outcome run = Typed("--dir work --no start");
  const std::string both = Interleaved("--dir work --no start");

  EXPECT_EQ(run.status, 1);
  EXPECT_THAT(run.err, HasSubstr("ecfhost start: erro: a impressora não confere com a "
                                 "configuração desta caixa"));
  EXPECT_THAT(run.err, Not(HasSubstr("--help"))) << "not a usage error";
  const std::size_t warning = both.find("[aviso]");
  ASSERT_NE(warning, std::string::npos) << both;
  EXPECT_LT(warning, both.find("ecfhost start: erro:")) << both;
}

TEST_F(EcfhostCliTest, StartShowsThePrinterLabelled) {
  const Outcome run = Typed("--dir work --no start");

  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_THAT(run.out, ContainsRegex("  Número de série: +BE[0-9A-Z]+\n"));
  EXPECT_THAT(run.out, ContainsRegex("  Número do caixa \\(ECF\\): +[0-9]{4}\n"));
  EXPECT_THAT(run.out, ContainsRegex("  Data e hora da impressora: +[0-9]{2}/[0-9]{2}/[0-9]{4} "
                                     "[0-9]{2}:[0-9]{2}:[0-9]{2}\n"));
  EXPECT_THAT(run.out, ContainsRegex("  Data do movimento: +[0-9]{2}/[0-9]{2}/[0-9]{4}\n"));
  for (const char* key : {"REDIMP", "SERIEIMP", "DATAATUIMP", "ECFIMP"}) {
    EXPECT_THAT(run.out, Not(HasSubstr(key)));
  }
}

TEST_F(EcfhostCliTest, CountersAreLabelledAndFormattedOrRawForScripts) {
  ASSERT_EQ(Typed("--dir work --no " + std::string(kBigSale)).status, 0);

  const Outcome labelled = Typed("--dir work --no counters");

  ASSERT_EQ(labelled.status, 0) << labelled.err;
  EXPECT_THAT(labelled.out, ContainsRegex("  Cupons fiscais \\(CCF\\) +1\n"));
  EXPECT_THAT(labelled.out, ContainsRegex("  Venda bruta do dia \\(R\\$\\) +1\\.234,56\n"));
  EXPECT_THAT(labelled.out, ContainsRegex("  Descontos do dia \\(R\\$\\) +0,00\n"));
  EXPECT_THAT(labelled.out, ContainsRegex("  Totalizador geral \\(GT, R\\$\\) +1\\.234,56\n"));
  EXPECT_THAT(labelled.out,
              ContainsRegex("  Próxima redução Z \\(número\\) +1  \\(a que a próxima redução Z "
                            "terá; feitas: 0\\)\n"));
  EXPECT_THAT(labelled.out, Not(HasSubstr("VendaBruta")));
  EXPECT_THAT(labelled.out, Not(HasSubstr("00000")));

  ASSERT_EQ(Typed("--dir work --no z").status, 0);
  const Outcome after_z = Typed("--dir work --no counters");
  EXPECT_THAT(after_z.out, ContainsRegex("Próxima redução Z \\(número\\) +2  \\(.*feitas: 1\\)"));

  const Outcome raw = Typed("--dir work --no counters --raw");

  ASSERT_EQ(raw.status, 0) << raw.err;
  EXPECT_THAT(raw.out, HasSubstr("Contadores\n  ContadorCupomFiscalMFD           000001\n"));
  EXPECT_THAT(raw.out, ContainsRegex("\n  NumeroReducoes +2\n"));
  EXPECT_THAT(raw.out, HasSubstr("\n  BuscaTotGer                      1234,56\n"));
  EXPECT_THAT(raw.out, Not(HasSubstr("Próxima")));
}

}  // namespace
}  // namespace zel
