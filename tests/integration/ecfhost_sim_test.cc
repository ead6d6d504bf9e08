// ecfhost sim steering the simulated printer from one run to the next, as an
// integrator or a trainer uses it: each change has its effect on the next
// commands and shows on the paper tape and in the printer's journal; and
// the tape as a web page.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <ctime>
#include <string>

#include "support/ecfhost_process.h"

namespace zel {
namespace {

using ::testing::HasSubstr;
using ::testing::IsEmpty;
using ::testing::Not;
using ::testing::StartsWith;

constexpr char kSale[] = "sale --item '7891000100103:ARROZ 5KG:01:2:21.90' --pay Dinheiro:50";

// "DD/MM/YYYY" of the computer's date `days` from today.
std::string DateIn(int days) {
  const std::time_t when = std::time(nullptr) + days * 86400;
  std::tm parts{};
  localtime_r(&when, &parts);
  char text[16];
  std::strftime(text, sizeof text, "%d/%m/%Y", &parts);
  return text;
}

class EcfhostSimTest : public EcfhostProcessTest {
 protected:
  // Runs a command that must succeed.
  Outcome Must(const std::string& arguments) {
    Outcome run = Ecfhost(arguments);
    EXPECT_EQ(run.status, 0) << arguments << "\n" << run.err << run.out;
    return run;
  }
  std::string Journal() { return ReadAll(dir_.Join("work/printer/journal.txt")); }
};

TEST_F(EcfhostSimTest, TheNextDayWaitsForTheOldDaysZ) {
  Must(kSale);

  const Outcome moved = Must("sim day +1");

  const std::string tomorrow = DateIn(1);
  EXPECT_THAT(moved.out, HasSubstr("hoje é " + tomorrow));
  EXPECT_EQ(CountLines(Tape(), "*** relógio adiantado 1 dia: " + tomorrow + " ***"), 1);
  EXPECT_THAT(Journal(), HasSubstr("EcfSim_Mark|relógio adiantado 1 dia: " + tomorrow));
  EXPECT_THAT(Must("sim").out, HasSubstr("(+1 d)"));
  // The printer keeps the old day open until its Z: no sale on the new day.
  EXPECT_EQ(Ecfhost(kSale).status, 1);
  EXPECT_EQ(CountLines(Tape(), "CUPOM FISCAL"), 1);
  Must("z");
  EXPECT_THAT(Tape(), HasSubstr("MOVIMENTO DO DIA:                     " + DateIn(0)));
  Must(kSale);
  EXPECT_EQ(CountLines(Tape(), "CUPOM FISCAL"), 2);
  EXPECT_THAT(Tape(), HasSubstr("\n" + tomorrow)) << "the new coupon carries the new date";
}

TEST_F(EcfhostSimTest, PaperLowWarnsAndPaperOutRefusesASale) {
  Must("start");
  Must("sim paper low");
  Must(kSale);
  Must("sim paper out");

  const Outcome refused = Ecfhost(kSale);

  EXPECT_EQ(refused.status, 1);
  EXPECT_THAT(refused.out + refused.err, HasSubstr("sem papel"));
  EXPECT_EQ(CountLines(Tape(), "CUPOM FISCAL"), 1);
  EXPECT_THAT(Must("sim").out, HasSubstr("papel                  sem papel"));
  Must("sim paper ok");
  Must(kSale);
  EXPECT_EQ(CountLines(Tape(), "CUPOM FISCAL"), 2);
  const std::string tape = Tape();
  EXPECT_LT(tape.find("*** papel acabando ***"), tape.find("*** sem papel ***"));
  EXPECT_LT(tape.find("*** sem papel ***"), tape.find("*** papel reposto ***"));
  EXPECT_THAT(Journal(), HasSubstr("EcfSim_Mark|sem papel\n"));
}

TEST_F(EcfhostSimTest, APrinterSwitchedOffAnswersNothingUntilSwitchedOn) {
  Must("start");
  Must("sim power off");

  const Outcome off = Ecfhost("start");

  EXPECT_EQ(off.status, 1);
  EXPECT_THAT(off.err, HasSubstr("desligada"));
  EXPECT_THAT(Must("sim status").out, HasSubstr("energia                desligada"));
  EXPECT_EQ(Ecfhost(kSale).status, 1);
  Must("sim power on");
  Must(kSale);
  EXPECT_EQ(CountLines(Tape(), "*** impressora desligada ***"), 1);
  EXPECT_EQ(CountLines(Tape(), "*** impressora ligada ***"), 1);
  EXPECT_EQ(CountLines(Tape(), "CUPOM FISCAL"), 1);
  EXPECT_THAT(Journal(), HasSubstr("EcfSim_Mark|impressora ligada"));
}

TEST_F(EcfhostSimTest, AFaultWaitsForTheNextCallToItsEntryAndIsSpent) {
  Must("start");
  Must("sim fail VendeItemDepartamento");
  Must("x");  // a run that does not call the entry keeps the fault
  EXPECT_THAT(Must("sim").out, HasSubstr("Bematech_FI_VendeItemDepartamento: falha (-27)"));

  const Outcome failed = Ecfhost(kSale);

  EXPECT_EQ(failed.status, 1);
  EXPECT_THAT(Tape(), Not(HasSubstr("001 7891000100103 ARROZ 5KG")));
  EXPECT_THAT(Journal(), HasSubstr("Bematech_FI_VendeItemDepartamento|"));
  EXPECT_THAT(Must("sim").out, HasSubstr("falhas programadas     nenhuma"));
  Must(kSale);
  EXPECT_THAT(Tape(), HasSubstr("001 7891000100103 ARROZ 5KG"));

  // A lost reply: the entry is carried out, the host hears nothing.
  Must("sim lose-reply Bematech_FI_TerminaFechamentoCupom");
  Ecfhost(kSale);
  EXPECT_THAT(Must("sim").out, HasSubstr("falhas programadas     nenhuma"));
  EXPECT_EQ(CountLines(Tape(), "*** falha: VendeItemDepartamento (-27) ***"), 1);
  EXPECT_EQ(CountLines(Tape(), "*** sem resposta: TerminaFechamentoCupom ***"), 1);
}

// What the printer did decides a failed sale's fate, not the failed call:
// a closing whose answer is lost was finished, so it is a sale and is
// never cancelled; a closing refused halfway cancels that coupon only,
// never the finished one before it.
TEST_F(EcfhostSimTest, ALostClosingAnswerIsASaleAndARefusedClosingCancelsOnlyItsCoupon) {
  Must("start");
  Must("sim lose-reply TerminaFechamentoCupom");

  const Outcome lost = Ecfhost(kSale);

  EXPECT_EQ(lost.status, 0) << lost.err;
  EXPECT_THAT(lost.out, HasSubstr("ela concluiu o cupom"));
  EXPECT_THAT(lost.out, HasSubstr("Cupom 000001 emitido"));
  EXPECT_THAT(Tape(), Not(HasSubstr("CANCEL")));

  Must("sim fail EfetuaFormaPagamento");
  const Outcome refused = Ecfhost(kSale);

  EXPECT_EQ(refused.status, 1);
  EXPECT_THAT(refused.err, HasSubstr("o cupom foi cancelado"));
  EXPECT_EQ(CountLines(Tape(), "CUPOM FISCAL CANCELADO"), 1);
  EXPECT_THAT(Tape(), Not(HasSubstr("CANCELAMENTO DE CUPOM FISCAL")));
}

TEST_F(EcfhostSimTest, ResetGivesANewPrinterWithClocksAndConditionsBackToNormal) {
  Must(kSale);
  Must("sim day +1");
  Must("sim power off");
  Must("sim fail AbreCupomMFD");

  const Outcome reset = Must("sim reset");

  EXPECT_THAT(reset.out, HasSubstr("impressora nova"));
  EXPECT_EQ(CountLines(Tape(), "*** impressora nova ***"), 1);
  EXPECT_THAT(Tape(), Not(HasSubstr("CUPOM FISCAL"))) << "the old paper went with the old printer";
  EXPECT_THAT(Journal(), StartsWith("EcfSim_Mark|impressora nova\n"));
  const std::string status = Must("sim").out;
  EXPECT_THAT(status, Not(HasSubstr("(+1 d)")));
  EXPECT_THAT(status, HasSubstr("energia                ligada"));
  EXPECT_THAT(status, HasSubstr("falhas programadas     nenhuma"));
  Must(kSale);  // the register meets the new printer and sells today
  EXPECT_THAT(Tape(), HasSubstr(DateIn(0) + " "));
  EXPECT_THAT(Tape(), HasSubstr("COO:000001"));
}

TEST_F(EcfhostSimTest, MistakesOnTheCommandLineExitTwoAndTouchNothing) {
  Must("start");
  const std::string tape = Tape();
  for (const char* arguments :
       {"sim bogus", "sim day", "sim day 0", "sim day tomorrow", "sim paper wet", "sim power",
        "sim fail", "sim fail NoSuchEntry", "sim fail VendeItemDepartamento abc", "sim lose-reply",
        "sim reset now", "sim journal -3"}) {
    const Outcome run = Ecfhost(arguments);
    EXPECT_EQ(run.status, 2) << arguments;
    EXPECT_THAT(run.err, StartsWith("ecfhost sim: ")) << arguments;
    EXPECT_THAT(run.out, IsEmpty()) << arguments;
  }
  EXPECT_EQ(Tape(), tape);
  EXPECT_THAT(Must("sim journal 1").out, StartsWith("Bematech_FI_"));
}

TEST_F(EcfhostSimTest, TheDemoRunsTwoFiscalDays) {
  const Outcome run = Must("demo");

  const std::string tape = Tape();
  const std::string tomorrow = DateIn(1);
  const std::size_t first_z = tape.find("REDUÇÃO Z");
  const std::size_t moved = tape.find("*** relógio adiantado 1 dia: " + tomorrow + " ***");
  const std::size_t sale = tape.find("CUPOM FISCAL", moved);
  const std::size_t second_z = tape.find("REDUÇÃO Z", moved);
  ASSERT_NE(second_z, std::string::npos) << run.out;
  EXPECT_LT(first_z, moved);
  EXPECT_LT(sale, second_z) << "the new day opens with a sale";
  EXPECT_THAT(tape.substr(second_z),
              HasSubstr("MOVIMENTO DO DIA:                     " + tomorrow));
  EXPECT_THAT(run.out, HasSubstr(tape)) << "the demo ends with the tape of both days";
}

TEST_F(EcfhostSimTest, TheTapeAsAWebPageLooksLikeThePaperRoll) {
  Must("sim paper low");
  Must("sale --item '1:CAFE <TIPO 1> & \"CIA\":01:1:9.90' --pay Dinheiro:10");
  Must("supply 10");

  const Outcome run = Must("tape --html bobina.html");

  EXPECT_THAT(run.out, HasSubstr("work/bobina.html"));
  const std::string page = ReadAll(dir_.Join("work/bobina.html"));
  EXPECT_THAT(page, StartsWith("<!DOCTYPE html>"));
  EXPECT_THAT(page, HasSubstr("<meta charset=\"utf-8\">"));
  EXPECT_THAT(page, HasSubstr("width: 48ch"));
  EXPECT_THAT(page, HasSubstr("CAFE &lt;TIPO 1&gt; &amp; &quot;CIA&quot;"));
  EXPECT_THAT(page, Not(HasSubstr("<TIPO")));
  EXPECT_THAT(page, HasSubstr("COMPROVANTE NÃO FISCAL"));
  EXPECT_THAT(page,
              HasSubstr("<span class=\"mark\">" + std::string(13, ' ') + "*** papel acabando ***"));
  // One strip of paper per document, a cut between two.
  EXPECT_EQ(Count(page, "<pre>"), 2);
  EXPECT_EQ(Count(page, "<div class=\"cut\""), 1);
  EXPECT_THAT(page, Not(HasSubstr("src=")));
  EXPECT_THAT(page, Not(HasSubstr("href=")));
}

}  // namespace
}  // namespace zel
