// `ecfhost sale` as a cashier meets it: the figures it shows are the tape's,
// what the printer would refuse is refused before the coupon opens (no
// document number spent), refusals say what happened, and texts the printer
// would change or could not print are named.
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <unistd.h>

#include <chrono>
#include <ctime>
#include <string>
#include <thread>

#include "support/ecfhost_process.h"

namespace zel {
namespace {

using ::testing::HasSubstr;
using ::testing::Not;

// The amount at the end of the tape's last line that starts with `label`,
// or "" when there is none.
std::string LastAmount(const std::string& tape, const std::string& label) {
  const std::size_t at = tape.rfind("\n" + label);
  if (at == std::string::npos) return "";
  std::string line = tape.substr(at + 1, tape.find('\n', at + 1) - at - 1);
  line.erase(line.find_last_not_of(' ') + 1);
  return line.substr(line.find_last_of(' ') + 1);
}

// "DD/MM/YYYY" of the computer's clock `days` from today.
std::string DateIn(int days) {
  const std::time_t when = std::time(nullptr) + days * 86400;
  std::tm parts{};
  localtime_r(&when, &parts);
  char text[16];
  std::strftime(text, sizeof text, "%d/%m/%Y", &parts);
  return text;
}

// Moves the program's clock (and so the simulated printer's) `days` ahead.
std::string DaysLater(int days) {
  return "ZEL_TEST_CLOCK_SHIFT_SECONDS=" + std::to_string(days * 86400) +
         " ASAN_OPTIONS=verify_asan_link_order=0 LD_PRELOAD='" CLOCK_SHIFT_SHIM_PATH "' ";
}

class EcfhostSaleTest : public EcfhostProcessTest {
 protected:
  void SetUp() override { ASSERT_EQ(Ecfhost("start").status, 0); }
};

TEST_F(EcfhostSaleTest, EveryFigureShownIsTheOneOnTheTape) {
  struct Case {
    std::string arguments, shown, total, change;
  };
  const Case cases[] = {
      // The price is cut to cents, not rounded: 5,999 sells at 5,99.
      {"--item '1:A:01:1:5.999' --pay Dinheiro:6", "total 5,99, pago 6,00, troco 0,01", "5,99",
       "0,01"},
      // 0,333 x 1,99 = 0,66267: the item's total is cut too.
      {"--item '2:B:01:0.333:1.99' --pay Dinheiro:1", "total 0,66, pago 1,00, troco 0,34", "0,66",
       "0,34"},
      // The quantity is rounded to three decimals on its decimal form.
      {"--item '4:D:01:1.0005:100' --pay Dinheiro:101", "total 100,10, pago 101,00, troco 0,90",
       "100,10", "0,90"},
      // The subtotal's discount and the item's are cut to cents as well.
      {"--item '3:C:01:3:1.10:0.109' --discount 0.999 --pay Dinheiro:3",
       "total 2,21, pago 3,00, troco 0,79", "2,21", "0,79"},
  };
  for (const Case& c : cases) {
    const Outcome run = Ecfhost("sale " + c.arguments);
    ASSERT_EQ(run.status, 0) << c.arguments << run.err;
    EXPECT_THAT(run.out, HasSubstr(c.shown)) << c.arguments;
    const std::string tape = Tape();
    EXPECT_EQ(LastAmount(tape, "TOTAL R$"), c.total) << c.arguments;
    EXPECT_EQ(LastAmount(tape, "TROCO"), c.change) << c.arguments;
  }
}

TEST_F(EcfhostSaleTest, WhatThePrinterWouldRefuseIsRefusedBeforeTheCouponOpens) {
  struct Case {
    std::string arguments, message;
    int status = 1;  // 2 for a command line that describes no sale
  };
  const std::string programmed = "as posições programadas são: 01, 02, 03, 04, 05, NN, II, FF";
  const Case cases[] = {
      {"--item '1:A:99:1:1' --pay Dinheiro:1",
       "a alíquota '99' do item 'A' não está programada na impressora; " + programmed},
      {"--item '1:A:17:1:1' --pay Dinheiro:1", "a alíquota '17' do item 'A' não está programada"},
      {"--item '1:A:06:1:1' --pay Dinheiro:1", "a alíquota '06' do item 'A' não está programada"},
      {"--item '1:A:1:1:1' --pay Dinheiro:1",
       "a alíquota '1' do item 'A' não é uma posição de dois dígitos", 2},
      {"--item '1:A:01:1:10000000' --pay Dinheiro:10000000",
       "o preço do item 'A' (10000000) passa do limite da impressora (9999999,99)"},
      {"--item '1:A:01:10000:1' --pay Dinheiro:10000",
       "a quantidade do item 'A' (10000) passa do limite da impressora (9999,999)"},
      {"--item '1:A:01:1:8' --pay Dinheiro:7.99",
       "os pagamentos (7,99) não cobrem o total do cupom (8,00)"},
      {"--item '1:A:01:1:8' --pay Dinheiro:10 --pay Cheque:5",
       "os pagamentos até Dinheiro (10,00) já cobrem o total do cupom (8,00)"},
  };
  const std::string tape = Tape();
  for (const Case& c : cases) {
    const Outcome run = Ecfhost("sale " + c.arguments);
    EXPECT_EQ(run.status, c.status) << c.arguments;
    EXPECT_THAT(run.err, HasSubstr(c.message)) << c.arguments;
    EXPECT_THAT(run.out, Not(HasSubstr("[aviso]"))) << "the printer was not asked";
  }
  EXPECT_EQ(Tape(), tape) << "no coupon opened, no document number spent";
  const Outcome sale = Ecfhost("sale --item '1:A:01:1:8' --pay Dinheiro:8");
  ASSERT_EQ(sale.status, 0) << sale.err;
  EXPECT_THAT(sale.out, HasSubstr("Cupom 000001 emitido"));
}

TEST_F(EcfhostSaleTest, APriceTheCutLeavesAtZeroSaysSo) {
  const Outcome run = Ecfhost("sale --item '1:A:01:1:0.001' --pay Dinheiro:1");

  EXPECT_EQ(run.status, 1);
  EXPECT_THAT(run.err, HasSubstr("o preço do item 'A' (0,001) fica em 0,00 na impressora"));
  EXPECT_THAT(run.err, Not(HasSubstr("desconto"))) << "no discount was given";
  EXPECT_EQ(CountLines(Tape(), "CUPOM FISCAL"), 0);
}

TEST_F(EcfhostSaleTest, AClosedOrUnreducedDayIsExplainedFromThePrintersState) {
  ASSERT_EQ(Ecfhost("sale --item '1:A:01:1:1' --pay Dinheiro:1").status, 0);
  struct Case {
    std::string environment, command, message;
  };
  const std::string closed = "o dia fiscal está encerrado (redução Z já emitida hoje";
  const std::string pending = "há uma redução Z pendente do dia " + DateIn(0);
  const Case cases[] = {
      // The next morning, before the Z of the day before.
      {DaysLater(1), "sale --item '1:A:01:1:1' --pay Dinheiro:1", pending},
      {DaysLater(1), "supply 10", pending},
      {DaysLater(1), "withdraw 10", pending},
      // The Z of the day before, then one for the new day: that day is closed.
      {DaysLater(1), "z", ""},
      {DaysLater(1), "z", ""},
      {DaysLater(1), "sale --item '1:A:01:1:1' --pay Dinheiro:1", closed},
      {DaysLater(1), "supply 10", closed},
      {DaysLater(1), "z", closed},
  };
  for (const Case& c : cases) {
    const std::string tape = Tape();
    const Outcome run = Ecfhost(c.command, "--no", c.environment);
    if (c.message.empty()) {
      EXPECT_EQ(run.status, 0) << c.command << run.err << run.out;
      continue;
    }
    EXPECT_EQ(run.status, 1) << c.command;
    EXPECT_THAT(run.err, HasSubstr(c.message)) << c.command;
    EXPECT_THAT(run.out, Not(HasSubstr("Comando não executado"))) << c.command;
    EXPECT_EQ(Tape(), tape) << c.command;
  }
}

TEST_F(EcfhostSaleTest, AStartTellsOfTheCouponAnInterruptionLeftOpen) {
  const std::string pid_file = dir_.Join("sale.pid");
  // Each printer command takes a while, so the sale is caught with its item
  // printed and the coupon open.
  const std::string command = "cd '" + dir_.path() + "' && sh -c 'echo $$ > \"" + pid_file +
                              "\"; ECFSIM_LATENCY_MS=100 exec \"" ECFHOST_PATH
                              "\" --dir work --no sale --item 1:INTERROMPIDO:01:1:1 "
                              "--pay Dinheiro:1' > /dev/null 2>&1 &";
  ASSERT_EQ(std::system(command.c_str()), 0);
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
  while (Count(Tape(), "INTERROMPIDO") == 0 && std::chrono::steady_clock::now() < deadline) {
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  const pid_t pid = std::atoi(ReadAll(pid_file).c_str());
  ASSERT_GT(pid, 0);
  ASSERT_EQ(::kill(pid, SIGKILL), 0);
  // Gone once its parent (whoever inherited it) has reaped it.
  while (::kill(pid, 0) == 0 && std::chrono::steady_clock::now() < deadline) {
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  ASSERT_EQ(CountLines(Tape(), "CUPOM FISCAL CANCELADO"), 0) << "the coupon was left open";

  const Outcome start = Ecfhost("start");

  EXPECT_EQ(start.status, 0) << start.err;
  EXPECT_THAT(start.out,
              HasSubstr("[aviso] O cupom fiscal COO 000001, deixado aberto por uma interrupção, "
                        "foi cancelado."));
  EXPECT_EQ(CountLines(Tape(), "CUPOM FISCAL CANCELADO"), 1);
}

TEST_F(EcfhostSaleTest, TextsThePrinterWouldChangeAreNamed) {
  struct Case {
    std::string item, pay;
    int status;
    std::string message, on_tape;
  };
  const std::string long_name(200, 'X');
  const Case cases[] = {
      {"1:" + long_name + ":01:1:1", "Dinheiro:1", 0,
       "aviso: o nome do item 1 tem 200 caracteres; a impressora imprime só 29: '" +
           std::string(29, 'X') + "'",
       "001 1 " + std::string(29, 'X') + "\n"},
      {"2:A:01:1:1:0:QUILOGRAMA", "Dinheiro:1", 0,
       "aviso: a unidade 'QUILOGRAMA' do item 'A' tem 10 caracteres; a impressora imprime só 2: "
       "'QU'",
       "1,000QU x 1,00"},
      {"3:A\tB:01:1:1", "Dinheiro:1", 1,
       "o nome do item 3 tem um caractere de controle (TAB) na posição 2", ""},
      {"4:CAFÉ ☕:01:1:1", "Dinheiro:1", 1,
       "o nome do item 4 tem caracteres que a impressora não imprime (U+2615)", ""},
      {"5:A😀:01:1:1", "Dinheiro:1", 1,
       "o nome do item 5 tem caracteres que a impressora não imprime (U+1F600)", ""},
      {"6:PÃO:01:1:1", "CARTÃO CRÉDITO:1", 0, "Cupom", "001 6 PÃO\n"},
      {"7:A:01:1:1", "PIX ÚNICO:1", 2, "forma de pagamento desconhecida 'PIX ÚNICO'", ""},
  };
  for (const Case& c : cases) {
    const std::string tape = Tape();
    const Outcome run = Ecfhost("sale --item '" + c.item + "' --pay '" + c.pay + "'");
    EXPECT_EQ(run.status, c.status) << c.item << run.err;
    EXPECT_THAT(run.out + run.err, HasSubstr(c.message)) << c.item;
    if (c.status != 0) {
      EXPECT_EQ(Tape(), tape) << c.item;
    } else {
      EXPECT_THAT(Tape().substr(tape.size()), HasSubstr(c.on_tape)) << c.item;
    }
  }
}

}  // namespace
}  // namespace zel
