// `ecfhost credit` run as a process: the consumer-credit jobs from the
// command line, what each printer's tape shows, and bad input refused
// before anything is printed.
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

#include "support/temp_dir.h"

namespace zel {
namespace {

using ::testing::HasSubstr;
using ::testing::Not;

struct Outcome {
  int status = -1;
  std::string out;
  std::string err;
};

std::string ReadAll(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  std::stringstream content;
  content << file.rdbuf();
  return content.str();
}

class EcfhostCreditTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::ofstream(dir_.Join("consumidores.csv"))
        << "# code;name;family code;family;opening balance\n"
           "1001;ANA SOUZA;F1;FAMILIA SOUZA;50.00\n"
           "1002;JOAO SOUZA;F1;FAMILIA SOUZA;50.00\n"
           "2001;RUI LIMA;F2;FAMILIA LIMA;12.00\n";
  }
  Outcome Ecfhost(const std::string& arguments) {
    const std::string out = dir_.Join("out.txt");
    const std::string err = dir_.Join("err.txt");
    const std::string command = "cd '" + dir_.path() + "' && '" ECFHOST_PATH "' --dir work --no " +
                                arguments + " > '" + out + "' 2> '" + err + "' < /dev/null";
    const int raw = std::system(command.c_str());
    return {WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, ReadAll(out), ReadAll(err)};
  }
  Outcome Credit(const std::string& arguments) {
    return Ecfhost("credit " + arguments + " --consumers '" + dir_.Join("consumidores.csv") + "'");
  }
  std::string FiscalTape() { return ReadAll(dir_.Join("work/printer/tape.txt")); }
  std::string ReceiptTape() { return ReadAll(dir_.Join("work/receipt-printer/tape.txt")); }

  TempDir dir_;
};

TEST_F(EcfhostCreditTest, ADayOfCreditOnBothPrinters) {
  ASSERT_EQ(Ecfhost("program").status, 0);

  Outcome run = Credit("deposit --consumer 1001 --amount 20.00");
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_THAT(FiscalTape(), HasSubstr("COMPRA DE CREDITO"));
  EXPECT_THAT(FiscalTape(), HasSubstr("Saldo Final : R$ 70,00"));

  run = Credit("deposit --consumer 2001 --amount 10 --printer nonfiscal --copies 2 --layout 01");
  ASSERT_EQ(run.status, 0) << run.err;
  const std::string receipt = ReceiptTape();
  EXPECT_THAT(receipt, HasSubstr("Recarga FAMILIA LIMA"));
  EXPECT_THAT(receipt, HasSubstr("= CORTE ="));
  EXPECT_EQ(Ecfhost("tape --printer nonfiscal").out, receipt);

  run = Credit("debit --consumer 1002 --item 'SUCO:1:3.50' --item 'PAO:2:2.25'");
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_THAT(FiscalTape(), HasSubstr("Venda - Debito Consumidor"));

  run = Credit("statement");
  ASSERT_EQ(run.status, 0) << run.err;
  const std::string tape = FiscalTape();
  EXPECT_THAT(tape, HasSubstr("SALDO ANTERIOR - FAMILIA SOUZ      50,00"));
  EXPECT_THAT(tape, HasSubstr("            2    PAO           4,50"));
  EXPECT_THAT(tape, HasSubstr("Saldo Total                        84,00"));

  run = Credit("cancel --consumer 2001 --deposit 000002 --amount 10");
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_THAT(FiscalTape(), HasSubstr("CANCELAMENTO DE COMPRA DE CREDITO"));
  run = Credit("balance --consumer 2001");
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_THAT(FiscalTape(), HasSubstr("FAMILIA LIMA                               12,00"));
}

TEST_F(EcfhostCreditTest, BadInputIsRefusedBeforeAnythingIsPrinted) {
  for (const char* arguments :
       {"deposit --consumer 9999 --amount 5", "deposit --consumer 1001 --amount -5",
        "deposit --consumer 1001 --amount 5 --printer nonfiscal --copies x",
        "deposit --consumer 1001 --amount 5 --printer laser", "debit --consumer 1001 --item SUCO",
        "refund --consumer 1001"}) {
    const Outcome run = Credit(arguments);
    EXPECT_NE(run.status, 0) << arguments;
    EXPECT_THAT(run.err, Not(HasSubstr("Saldo"))) << arguments;
  }
  EXPECT_THAT(FiscalTape(), Not(HasSubstr("COMPRA DE CREDITO")));
  EXPECT_EQ(ReceiptTape(), "");
}

TEST_F(EcfhostCreditTest, TheDemoAddsADepositAndAStatement) {
  const Outcome run = Ecfhost("demo");

  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_THAT(run.out, HasSubstr("Depósito 000001 de 40,00 para ANA SOUZA"));
  EXPECT_THAT(run.out, HasSubstr("COMPRA DE CREDITO"));
  EXPECT_THAT(run.out, HasSubstr("EXTRATO DE CONSUMO"));
  EXPECT_LT(run.out.find("EXTRATO DE CONSUMO"), run.out.find("LEITURA X"));
}

}  // namespace
}  // namespace zel
