// The command-line host run as a process, as a cashier or a script runs it:
// exit statuses, messages, and what the simulated printer printed.
#include <fcntl.h>
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <sys/file.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "options.h"
#include "sale_builder.h"
#include "support/ecfhost_process.h"
#include "zel/dataset.h"
#include "zel/error.h"

namespace zel {
namespace {

using ::testing::HasSubstr;
using ::testing::IsEmpty;
using ::testing::Not;

class EcfhostTest : public EcfhostProcessTest {};

constexpr char kRice[] = "--item '7891000100103:ARROZ 5KG:01:2:21.90'";
constexpr char kBeans[] = "--item '7891000200200:FEIJAO 1KG:02:1:8.49:0.49'";

TEST_F(EcfhostTest, DemoRunsAWholeFiscalDayAndShowsItOnTheTape) {
  const Outcome run = Ecfhost("demo");

  ASSERT_EQ(run.status, 0) << run.err << run.out;
  EXPECT_THAT(run.err, IsEmpty());
  EXPECT_EQ(CountLines(run.out, "CUPOM FISCAL"), 6)
      << "four sales and a table's coupon, then the next day's sale";
  EXPECT_EQ(CountLines(run.out, "CANCELAMENTO DE CUPOM FISCAL"), 1);
  EXPECT_THAT(run.out, HasSubstr("cancelado item 002"));
  EXPECT_THAT(run.out, HasSubstr("SUPRIMENTO"));
  EXPECT_THAT(run.out, HasSubstr("SANGRIA"));
  // The restaurant episode: the check of table 10, its coupon, table 20 left open.
  EXPECT_EQ(CountLines(run.out, "CONFERÊNCIA DE MESA"), 1);
  EXPECT_THAT(run.out, HasSubstr("Mesa 0010 fechada no cupom"));
  EXPECT_THAT(run.out, HasSubstr("MESA 20 (3 itens)                          28,40"));
  EXPECT_EQ(CountLines(run.out, "LEITURA X"), 1);
  EXPECT_EQ(CountLines(run.out, "REDUÇÃO Z"), 2) << "one for each day";
  EXPECT_LT(run.out.find("LEITURA X"), run.out.find("REDUÇÃO Z"));
  // Payments in several forms, a discount on the subtotal and a surcharge.
  for (const char* line :
       {"Cartao Credito", "Cartao Debito", "Cheque", "DESCONTO R$", "ACRÉSCIMO R$"}) {
    EXPECT_THAT(run.out, HasSubstr(line));
  }
  // The summary: a fresh printer starts from zero; the day's figures are
  // the printer's own, matching its X reading.
  EXPECT_THAT(run.out, HasSubstr("totalizador geral antes      0\n"));
  EXPECT_THAT(run.out, HasSubstr("totalizador geral depois     257,02\n"));
  EXPECT_THAT(run.out, HasSubstr("venda bruta do dia           257,02\n"));
  EXPECT_THAT(run.out, HasSubstr("Venda Bruta Diária:                       257,02"));
  EXPECT_THAT(run.out, HasSubstr("cupons fiscais emitidos      5\n"));
  // The operator's closing asks whether to open the register again.
  EXPECT_THAT(run.out, HasSubstr("diálogos mostrados           1\n"));
  EXPECT_EQ(Count(run.out, "[pergunta] Deseja abrir o caixa?"), 1);
  EXPECT_THAT(run.out, HasSubstr(Tape())) << "the demo shows the printer's whole tape";
}

TEST_F(EcfhostTest, DemoStartsOverOnAFreshPrinter) {
  ASSERT_EQ(Ecfhost("demo").status, 0);

  const Outcome again = Ecfhost("demo");

  ASSERT_EQ(again.status, 0) << again.err;
  EXPECT_THAT(again.out, HasSubstr("totalizador geral antes      0\n"));
  EXPECT_EQ(CountLines(Tape(), "REDUÇÃO Z"), 2) << "the old tape went with the old printer";
}

TEST_F(EcfhostTest, ASaleIsPrintedAndItsCouponCanBeCancelled) {
  const Outcome sale = Ecfhost(std::string("sale ") + kRice + " " + kBeans +
                               " --discount 1,00 --pay Dinheiro:20 --pay 'cartao credito:40.00'");

  ASSERT_EQ(sale.status, 0) << sale.err << sale.out;
  EXPECT_THAT(sale.out, HasSubstr("total 50,80, pago 60,00, troco 9,20"));
  const std::string tape = Tape();
  EXPECT_THAT(tape, HasSubstr("ARROZ 5KG"));
  EXPECT_THAT(tape, HasSubstr("TOTAL R$                                   50,80"));
  EXPECT_THAT(tape, HasSubstr("Cartao Credito                             40,00"));

  const Outcome cancel = Ecfhost("cancel");
  ASSERT_EQ(cancel.status, 0) << cancel.err;
  EXPECT_THAT(cancel.out, HasSubstr("Cupom 000001 cancelado."));
  EXPECT_THAT(Tape(), HasSubstr("COO do cupom cancelado:                   000001"));

  const Outcome start = Ecfhost("start");
  EXPECT_EQ(start.status, 0) << "the stored grand total follows the sales: " << start.err
                             << start.out;
}

TEST_F(EcfhostTest, AnUnknownPaymentFormFailsBeforeAnythingIsPrinted) {
  const Outcome run = Ecfhost(std::string("sale ") + kRice + " --pay Pix:43.80");

  EXPECT_EQ(run.status, 2);
  EXPECT_EQ(Count(run.err, "\n"), 1) << run.err;
  EXPECT_THAT(run.err, HasSubstr("forma de pagamento desconhecida 'Pix'"));
  EXPECT_THAT(run.err, HasSubstr("Dinheiro, Cheque, Cartao Credito"));
  EXPECT_THAT(Tape(), IsEmpty());
}

TEST_F(EcfhostTest, AnItemThePrinterRefusesLeavesNoCouponOpen) {
  const Outcome run =
      Ecfhost(std::string("sale ") + kRice + " --item '2:SABAO:09:1:2' --pay Dinheiro:50");

  EXPECT_NE(run.status, 0);
  // The rate is checked against the printer's before the coupon is opened.
  EXPECT_THAT(run.err, HasSubstr("a alíquota '09' do item 'SABAO' não está programada"));
  EXPECT_THAT(run.out, Not(HasSubstr("Cancelamento não permitido")));
  EXPECT_EQ(CountLines(Tape(), "CUPOM FISCAL"), 0);

  const Outcome next = Ecfhost(std::string("sale ") + kRice + " --pay Dinheiro:50");
  EXPECT_EQ(next.status, 0) << next.err << next.out;
  EXPECT_THAT(next.out, Not(HasSubstr("[aviso]"))) << "the printer is left ready to sell";
}

TEST_F(EcfhostTest, AScriptedYesDoesNotRetryARefusedItemForever) {
  const Outcome run =
      Ecfhost(std::string("sale ") + kRice + " --item '2:SABAO:09:1:2' --pay Dinheiro:50", "--yes");

  EXPECT_NE(run.status, 0);
  // Refused before printing: no retry question to answer at all.
  EXPECT_EQ(Count(run.out, "[pergunta]"), 0) << run.out;
  EXPECT_EQ(CountLines(Tape(), "CUPOM FISCAL"), 0);
}

TEST_F(EcfhostTest, ASaleTheHostCannotCompleteIsRefusedBeforePrinting) {
  // Exit status 2 for a command line that describes no sale, 1 for a sale
  // that cannot be printed.
  struct Case {
    std::string arguments, reason;
    int status;
  };
  const Case cases[] = {
      {std::string(kRice) + " --pay Dinheiro:43.79", "não cobrem o total do cupom (43,80)", 1},
      {"--pay Dinheiro:10", "pelo menos um --item", 2},
      {kRice, "pelo menos um --pay", 2},
      {std::string(kRice) + " --pay Dinheiro:50 --cancel-item 2", "não há item 2 para cancelar", 1},
      {"--item 'X:Y:01:1' --pay Dinheiro:1", "não segue CÓDIGO:NOME:ALÍQUOTA:QTDE:PREÇO", 2},
      {"--item 'X:Y:7:1:2' --pay Dinheiro:2", "alíquota '7'", 2},
      {"--item 'X:Y:01:1:abc' --pay Dinheiro:2", "preço do item 'Y'", 2},
      {"--item 'X:Y:01:1:2:2' --pay Dinheiro:2", "não é menor que o total do item", 1},
      {std::string(kRice) + " --pay Dinheiro:50 --discount 1 --surcharge 1", "não os dois", 2},
      {std::string(kRice) + " --pay Dinheiro:50 --tip 1", "opção desconhecida '--tip'", 2},
  };
  for (const Case& c : cases) {
    const Outcome run = Ecfhost("sale " + c.arguments);
    EXPECT_EQ(run.status, c.status) << c.arguments;
    EXPECT_THAT(run.err, HasSubstr(c.reason)) << c.arguments;
  }
  EXPECT_THAT(Tape(), IsEmpty());
}

TEST_F(EcfhostTest, CashDrawerAndReadingsRunOneByOne) {
  const Outcome supply = Ecfhost("supply 100,50");
  ASSERT_EQ(supply.status, 0) << supply.err;
  ASSERT_EQ(Ecfhost("withdraw 20").status, 0);
  const Outcome drawer = Ecfhost("drawer");
  ASSERT_EQ(drawer.status, 0) << drawer.err;
  EXPECT_THAT(drawer.out, HasSubstr("Gaveta: aberta"));
  ASSERT_EQ(Ecfhost("x").status, 0);
  ASSERT_EQ(Ecfhost("z").status, 0);

  const std::string tape = Tape();
  EXPECT_THAT(tape, HasSubstr("SUPRIMENTO                                100,50"));
  EXPECT_THAT(tape, HasSubstr("SANGRIA                                    20,00"));
  EXPECT_EQ(CountLines(tape, "LEITURA X"), 1);
  EXPECT_EQ(CountLines(tape, "REDUÇÃO Z"), 1);

  const Outcome negative = Ecfhost("supply -5");
  EXPECT_NE(negative.status, 0);
  EXPECT_THAT(negative.err, HasSubstr("valor do suprimento"));
}

TEST_F(EcfhostTest, StartNoticesAPrinterThatIsNotThisRegisters) {
  ASSERT_EQ(Ecfhost("start").status, 0);
  ASSERT_EQ(Ecfhost(std::string("sale ") + kRice + " --pay Dinheiro:50").status, 0);
  // Another printer, fresh from the factory, put in its place.
  std::filesystem::remove_all(dir_.Join("work/printer"));

  const Outcome run = Ecfhost("start");

  EXPECT_NE(run.status, 0);
  EXPECT_THAT(run.err, HasSubstr("não confere com a configuração desta caixa"));
}

// A real port admits one program at a time: a second one on the same
// printer is refused before anything is printed.
TEST_F(EcfhostTest, ASecondProgramOnThePrinterIsRefused) {
  ASSERT_EQ(Ecfhost("start").status, 0);
  const std::string tape = Tape();
  const int other = ::open(dir_.Join("work/printer/port.lock").c_str(), O_RDWR | O_CREAT, 0666);
  ASSERT_GE(other, 0);
  ASSERT_EQ(::flock(other, LOCK_EX | LOCK_NB), 0);

  const Outcome refused = Ecfhost(std::string("sale ") + kRice + " --pay Dinheiro:50");

  EXPECT_NE(refused.status, 0);
  EXPECT_THAT(refused.out, HasSubstr("Erro ao abrir porta de comunicação"));
  EXPECT_THAT(refused.err, HasSubstr("em uso por outro programa"));
  EXPECT_EQ(Tape(), tape);
  ::close(other);
  EXPECT_EQ(Ecfhost(std::string("sale ") + kRice + " --pay Dinheiro:50").status, 0);
}

// A printer memory that does not load is never replaced by a new printer:
// no command prints and no document number is issued again.
TEST_F(EcfhostTest, APrinterWhoseMemoryIsLostRefusesEverything) {
  ASSERT_EQ(Ecfhost(std::string("sale ") + kRice + " --pay Dinheiro:50").status, 0);
  const std::string memory_path = dir_.Join("work/printer/memory.txt");
  const std::string memory = ReadAll(memory_path);
  const std::string tape = Tape();
  const struct {
    const char* what;
    bool keep_file;
    std::string bytes;
  } damages[] = {{"cut short", true, memory.substr(0, memory.size() / 2)}, {"deleted", false, ""}};
  for (const auto& damage : damages) {
    std::filesystem::remove(memory_path);
    if (damage.keep_file) std::ofstream(memory_path, std::ios::binary) << damage.bytes;
    for (const char* command : {"start", "x"}) {
      const Outcome run = Ecfhost(command);
      EXPECT_NE(run.status, 0) << damage.what << ", " << command;
    }
    const Outcome sale = Ecfhost(std::string("sale ") + kRice + " --pay Dinheiro:50");
    EXPECT_NE(sale.status, 0) << damage.what;
    EXPECT_EQ(Tape(), tape) << damage.what;
    EXPECT_EQ(Count(Tape(), "COO:000001"), 1) << damage.what;
  }
}

// A host must not print on a printer that failed its checks: a stale
// configuration (grand total behind the printer's) stops every command
// that prints, with the start's own message.
TEST_F(EcfhostTest, NothingPrintsAfterAStartThatFailed) {
  ASSERT_EQ(Ecfhost("start").status, 0);
  const std::string config = ReadAll(dir_.Join("work/Ploteva.cds"));
  ASSERT_EQ(Ecfhost(std::string("sale ") + kRice + " --pay Dinheiro:50").status, 0);
  std::ofstream(dir_.Join("work/Ploteva.cds"), std::ios::binary) << config;
  const std::string tape = Tape();

  for (const std::string& command : {std::string("sale ") + kRice + " --pay Dinheiro:50",
                                     std::string("x"), std::string("supply 10")}) {
    const Outcome run = Ecfhost(command);
    EXPECT_NE(run.status, 0) << command;
    EXPECT_THAT(run.out, HasSubstr("Valor do totalizador geral da impressora fiscal está "
                                   "incorreto"))
        << command;
    EXPECT_THAT(run.err, HasSubstr("não confere com a configuração desta caixa")) << command;
  }
  EXPECT_EQ(Tape(), tape);
  EXPECT_EQ(ReadAll(dir_.Join("work/Ploteva.cds")), config);
}

// The configuration cannot be rewritten after the printer took the sale (a
// read-only folder): the sale is reported as made, with a warning naming the
// cause, and the next start settles the stored total.
TEST_F(EcfhostTest, APrintedSaleIsNeverReportedAsFailed) {
  ASSERT_EQ(Ecfhost("start").status, 0);

  const Outcome sale = Ecfhost(std::string("sale ") + kRice + " --pay Dinheiro:50", "--no",
                               "ZEL_TEST_READ_ONLY_FILE=Ploteva.cds ASAN_OPTIONS=verify_asan_link_"
                               "order=0 LD_PRELOAD='" READ_ONLY_SHIM_PATH "' ");

  EXPECT_EQ(sale.status, 0) << sale.err;
  EXPECT_THAT(sale.out, HasSubstr("aviso: a venda foi registrada pela impressora"));
  EXPECT_THAT(sale.out, HasSubstr("Read-only file system"));
  EXPECT_EQ(Count(Tape(), "ARROZ 5KG"), 1);
  const Outcome next = Ecfhost("start");
  EXPECT_EQ(next.status, 0) << next.out << next.err;
  EXPECT_THAT(next.out, HasSubstr("foi concluído na impressora antes da interrupção"));
}

// The driver's debug log could not be written: the operation goes on and
// the user is told once.
TEST_F(EcfhostTest, ADebugLogThatCannotBeWrittenIsReported) {
  char name[32];
  const std::time_t now = std::time(nullptr);
  std::strftime(name, sizeof name, "impdebug%m%y.txt", std::localtime(&now));
  std::filesystem::create_directories(dir_.Join("work/") + name);  // a file cannot be made there

  const Outcome run = Ecfhost("start");

  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(Count(run.err, "o log de depuração do driver não pôde ser gravado"), 1);
}

TEST_F(EcfhostTest, EverySubcommandExplainsItselfWithHelp) {
  const Outcome sale = Ecfhost("sale --help");
  EXPECT_EQ(sale.status, 0);
  EXPECT_THAT(sale.out, HasSubstr("--item CODE:NAME:RATE:QTY:PRICE[:DISCOUNT[:UNIT]]"));
  EXPECT_THAT(sale.out, HasSubstr("--pay FORM:AMOUNT"));
  EXPECT_THAT(Tape(), IsEmpty()) << "help prints nothing on the printer";

  for (const char* command :
       {"start", "program", "cancel", "supply", "withdraw", "drawer", "x", "z", "tape", "demo"}) {
    const Outcome run = Ecfhost(std::string(command) + " --help");
    EXPECT_EQ(run.status, 0) << command;
    EXPECT_THAT(run.out, HasSubstr(std::string("usage: ecfhost ") + command)) << command;
  }
  const Outcome unknown = Ecfhost("refund");
  EXPECT_NE(unknown.status, 0);
  EXPECT_THAT(unknown.err, HasSubstr("comando desconhecido 'refund'"));
}

// --- What the host builds before the driver sees a sale ----------------------

using ecfhost::SaleRequest;

TEST(EcfhostSaleBuilderTest, AmountsAreTakenAsACashierTypesThem) {
  EXPECT_DOUBLE_EQ(ecfhost::ParseAmount("21.90", "x"), 21.90);
  EXPECT_DOUBLE_EQ(ecfhost::ParseAmount("21,90", "x"), 21.90);
  EXPECT_DOUBLE_EQ(ecfhost::ParseAmount("3", "x"), 3.0);
  for (const char* bad : {"", "-1", "1e3", "1.234,56", "12a", " 5", "nan", "inf"}) {
    EXPECT_THROW(ecfhost::ParseAmount(bad, "the price"), Error) << bad;
  }
  EXPECT_EQ(ecfhost::Money(1234.5), "1234,50");
  EXPECT_EQ(ecfhost::Money(0), "0,00");
}

TEST(EcfhostSaleBuilderTest, AnItemMayLeaveItsDiscountEmptyAndNameItsUnit) {
  const ecfhost::SaleItem item = ecfhost::ParseItem("789:LEITE 1L:FF:6:4,99::LT");
  EXPECT_EQ(item.code, "789");
  EXPECT_EQ(item.rate, "FF");
  EXPECT_DOUBLE_EQ(item.quantity, 6);
  EXPECT_DOUBLE_EQ(item.price, 4.99);
  EXPECT_DOUBLE_EQ(item.discount, 0);
  EXPECT_EQ(item.unit, "LT");
  EXPECT_EQ(ecfhost::ParseItem("1:A:01:1:2").unit, "UN");
  EXPECT_EQ(ecfhost::ParseItem("1:PÃO:01:1:2").name, "P\xC3O") << "the driver takes Windows-1252";
  EXPECT_THROW(ecfhost::ParseItem("1:A:00:1:2"), Error);
  EXPECT_THROW(ecfhost::ParseItem("1:A:01:0:2"), Error);
  EXPECT_THROW(ecfhost::ParseItem(":A:01:1:2"), Error);
  EXPECT_THROW(ecfhost::ParseItem("1:A:01:1:2:0:UN:extra"), Error);
}

TEST(EcfhostSaleBuilderTest, APaymentTakesTheHostsSpellingOfItsForm) {
  const ecfhost::SalePayment payment = ecfhost::ParsePayment("CARTAO DEBITO:12,30");
  EXPECT_EQ(payment.form, "Cartao Debito");
  EXPECT_DOUBLE_EQ(payment.amount, 12.30);
  EXPECT_THROW(ecfhost::ParsePayment("Dinheiro"), Error);
  EXPECT_THROW(ecfhost::ParsePayment(":10"), Error);
  EXPECT_THROW(ecfhost::ParsePayment("Dinheiro:0.001"), Error) << "less than a cent";
}

TEST(EcfhostSaleBuilderTest, TheAmountDueLeavesOutCancelledItemsAndCountsEachItemInCents) {
  SaleRequest sale;
  sale.items = {ecfhost::ParseItem("1:A:01:2:21.90"), ecfhost::ParseItem("2:B:02:3:8.49:1"),
                ecfhost::ParseItem("3:C:03:1:7.35")};
  sale.discount = 1;
  EXPECT_DOUBLE_EQ(ecfhost::AmountDue(sale), 74.62);
  sale.cancelled_items = {2};
  EXPECT_DOUBLE_EQ(ecfhost::AmountDue(sale), 50.15);
  sale.discount = 0;
  sale.surcharge = 0.60;
  EXPECT_DOUBLE_EQ(ecfhost::AmountDue(sale), 51.75);

  sale.payments = {ecfhost::ParsePayment("Dinheiro:51.75")};
  EXPECT_NO_THROW(ecfhost::CheckSale(sale));
  sale.cancelled_items = {2, 2};
  EXPECT_THROW(ecfhost::CheckSale(sale), Error);
  sale.cancelled_items = {1, 2, 3};
  EXPECT_THROW(ecfhost::CheckSale(sale), Error) << "a coupon of cancelled items only";
}

TEST(EcfhostSaleBuilderTest, PaymentsBecomeCashMovementsInTheOrderGiven) {
  const DateTime now{46000.5};
  Dataset movements("movements");
  movements.SetData(ecfhost::PaymentMovements(
      {ecfhost::ParsePayment("cheque:20"), ecfhost::ParsePayment("Dinheiro:30")}, now));

  ASSERT_EQ(movements.RecordCount(), 2);
  movements.First();
  EXPECT_EQ(movements.AsText("IDTIPOMOVIVE"), "E");
  EXPECT_EQ(movements.AsText("CDTIPORECE"), "002");
  EXPECT_DOUBLE_EQ(movements.AsDouble("VRMOVIVEND"), 20);
  const double first = movements.FieldValue("DTHRINCMOV").AsDouble();
  movements.Next();
  EXPECT_EQ(movements.AsText("CDTIPORECE"), "001");
  EXPECT_GT(movements.FieldValue("DTHRINCMOV").AsDouble(), first) << "oldest first is this order";
}

TEST(EcfhostSaleBuilderTest, TheClosingValuesCarryTheDiscountsAndTheDatasets) {
  SaleRequest sale;
  sale.discount = 1.5;
  const std::vector<Variant> positions =
      ecfhost::ClosingPositions(sale, Variant("movements"), Variant("types"));

  ASSERT_EQ(positions.size(), 43u);
  EXPECT_DOUBLE_EQ(positions[6].AsDouble(), 1.5);
  EXPECT_DOUBLE_EQ(positions[8].AsDouble(), 0);
  EXPECT_EQ(positions[9].AsText(), "N") << "no TEF";
  EXPECT_FALSE(positions[4].AsBoolean()) << "no receipt after the coupon";
  EXPECT_EQ(positions[13].AsText(), "movements");
  EXPECT_EQ(positions[14].AsText(), "types");
}

TEST(EcfhostSaleBuilderTest, ReconciledFormsCloseUnderThePrintersNames) {
  Dataset reconciled = ecfhost::PaymentTypesToReconcile();
  for (reconciled.First(); !reconciled.Eof(); reconciled.Next()) {
    reconciled.Edit();
    reconciled.SetValue("CDFPIMPFIS", "S");
    reconciled.SetValue("NMTIPORECE", reconciled.AsText("CDTIPORECE") == "001"
                                          ? std::string("DINHEIRO")
                                          : reconciled.AsText("DSIMPFISCAL"));
    reconciled.Post();
  }
  Dataset types("types");
  types.SetData(ecfhost::ClosingPaymentTypes(reconciled));

  ASSERT_TRUE(types.Locate("CDTIPORECE", Variant("001")));
  EXPECT_EQ(types.AsText("NMTIPORECE"), "DINHEIRO") << "the printer's spelling";
  ASSERT_TRUE(types.Locate("CDTIPORECE", Variant("003")));
  EXPECT_EQ(types.AsText("NMTIPORECE"), "Cartao Credito");
  EXPECT_EQ(types.AsText("IDTIPORECE"), "4");

  reconciled.First();
  reconciled.Edit();
  reconciled.SetValue("CDFPIMPFIS", "");
  reconciled.Post();
  EXPECT_THROW(ecfhost::ClosingPaymentTypes(reconciled), Error) << "a form the printer refused";
}

TEST(EcfhostOptionsTest, RefusesWhatItDoesNotKnow) {
  const ecfhost::Options options({"--pay", "a", "--pay", "b", "--x"}, {"--pay", "--one"}, {"--x"});
  EXPECT_EQ(options.All("--pay"), (std::vector<std::string>{"a", "b"}));
  EXPECT_TRUE(options.Has("--x"));
  EXPECT_FALSE(options.One("--one").has_value());
  EXPECT_THROW(options.One("--pay"), Error);
  EXPECT_THROW(ecfhost::Options({"--pay"}, {"--pay"}, {}), Error) << "a value is missing";
  EXPECT_THROW(ecfhost::Options({"stray"}, {}, {}), Error);
}

TEST_F(EcfhostTest, ZExportShowsTheDaysFiguresBeforeTheReduction) {
  ASSERT_EQ(Ecfhost("supply 100").status, 0);
  ASSERT_EQ(Ecfhost(std::string("sale ") + kRice + " --pay 'Cartao Credito:43.80'").status, 0);

  const Outcome run = Ecfhost("z --export");

  ASSERT_EQ(run.status, 0) << run.out << run.err;
  EXPECT_THAT(run.out, HasSubstr("  VRVENBRUREDZ    43,80\n"));
  EXPECT_THAT(run.out, HasSubstr("  NRREDREDZ                1\n"));
  // Every form the printer has, under this host's payment type.
  EXPECT_THAT(run.out, HasSubstr("cdsFormPgtoRedZ (5)"));
  EXPECT_THAT(run.out, HasSubstr(" 003               43,80 003"));
  EXPECT_THAT(run.out, HasSubstr("SU           Suprimento          0001"));
  EXPECT_LT(run.out.find("cdsTotNFiscRedZ"), run.out.find("Redução Z impressa"));
  EXPECT_EQ(CountLines(Tape(), "REDUÇÃO Z"), 1);
}

TEST_F(EcfhostTest, ZExportAsJsonLeavesNothingElseOnTheOutput) {
  ASSERT_EQ(Ecfhost(std::string("sale ") + kRice + " --pay 'Cartao Credito:43.80'").status, 0);

  const Outcome run = Ecfhost("z --export --json");

  ASSERT_EQ(run.status, 0) << run.out << run.err;
  EXPECT_EQ(run.out.front(), '{');
  EXPECT_EQ(run.out.substr(run.out.size() - 2), "}\n");
  EXPECT_THAT(run.out, HasSubstr("\"VRVENBRUREDZ\": 43.80"));
  EXPECT_THAT(run.out, HasSubstr("\"CDTIPORECE\": \"003\", \"VRFORMPGTORZ\": 43.80"));
  EXPECT_THAT(run.out, HasSubstr("\"IDORIGEMREDZ\": null"));
  EXPECT_THAT(run.err, HasSubstr("Redução Z impressa"));
  EXPECT_NE(Ecfhost("z --json").status, 0) << "--json goes with --export";
}

TEST_F(EcfhostTest, ACardSaleCanPrintItsSlipTwice) {
  std::ofstream(dir_.Join("slip.txt")) << "VIA ÚNICA DO CARTÃO\nAPROVADA 123\n";

  const Outcome run = Ecfhost(std::string("sale ") + kRice +
                              " --pay 'Dinheiro:3.80' --pay 'Cartao Debito:40' --tef-receipt " +
                              dir_.Join("slip.txt"));

  ASSERT_EQ(run.status, 0) << run.out << run.err;
  EXPECT_THAT(run.out, HasSubstr("Comprovante do cartão impresso (2 vias, cupom 000001)"));
  EXPECT_EQ(CountLines(Tape(), "VIA ÚNICA DO CARTÃO"), 2);
  EXPECT_EQ(CountLines(Tape(), "APROVADA 123"), 2);
}

TEST_F(EcfhostTest, ACardSlipWithoutACardPaymentIsRefusedBeforePrinting) {
  std::ofstream(dir_.Join("slip.txt")) << "APROVADA\n";

  const Outcome run = Ecfhost(std::string("sale ") + kRice + " --pay 'Dinheiro:50' --tef-receipt " +
                              dir_.Join("slip.txt"));

  EXPECT_NE(run.status, 0);
  EXPECT_THAT(run.err, HasSubstr("--tef-receipt precisa de um pagamento com cartão"));
  EXPECT_THAT(Tape(), Not(HasSubstr("ARROZ")));
}

// A waiter's day over several runs: the printer keeps the tables between
// them, and the table closed into a coupon is paid as a sale is.
TEST_F(EcfhostTest, TablesLiveOnThePrinterFromOneRunToTheNext) {
  const char* const steps[] = {
      "table add 0012 --item '1001:CHOPP 300ML:01:2:9.90' --item '2001:PICANHA:01:1:89.90'",
      "table add 0020 --item '1002:SUCO:01:1:7.00'",
      "table move 0012 0020 --item '1001:CHOPP 300ML:01:1:9.90'",
      "table remove 0020 --item '1002:SUCO:01:1:7.00'",
      "table check 0012 --people 2 --service 10",
      "table close 0012 --pay Dinheiro:50 --pay 'cartao credito:49.80'",
      "table list",
      "table opening 0030 --item '1003:AGUA:01:2:3.50' --service 0.70",
      "table record 0030 --item '1003:AGUA:01:2:3.50'",
  };
  for (const char* step : steps) {
    const Outcome run = Ecfhost(step);
    ASSERT_EQ(run.status, 0) << step << "\n" << run.err << run.out;
  }
  const std::string tape = Tape();
  EXPECT_THAT(tape, HasSubstr("TAXA DE SERVIÇO R$                          9,98"));
  EXPECT_THAT(tape, HasSubstr("TOTAL R$                                   99,80"));
  EXPECT_THAT(tape, HasSubstr("MESA 20 (1 itens)                           9,90"));
  EXPECT_THAT(tape, HasSubstr("Abertura de Mesa"));
  EXPECT_THAT(tape, HasSubstr("Total Geral: " + std::string(31, ' ') + "7,70"));
  EXPECT_THAT(tape, HasSubstr("Relatório de abertura da mesa 0030"));

  const Outcome wrong = Ecfhost("table remove 0020 --item '1002:SUCO:01:1:7.00'");
  EXPECT_NE(wrong.status, 0) << "the juice is no longer on table 20";
  EXPECT_THAT(wrong.err, HasSubstr("a impressora recusou tirar SUCO da mesa 0020"));
}

// --- The cashier's closing -------------------------------------------------------

constexpr char kClosingFile[] =
    "# caixa 1\n"
    "operator;07;ANA\n"
    "supervisor;01;BRUNO\n"
    "envelope;000123;DINHEIRO;150,00;149.50\n"
    "product;7891000100103;ARROZ 5KG;2;43,80\n"
    "product;7891000600608;LEITE 1L;6;29,94;;;F\n"
    "movement;1;SANGRIA MANHÃ;50,00\n"
    "total;1;SANGRIAS DO DIA;200,00\n";

class EcfhostCloseTest : public EcfhostTest {
 protected:
  void WriteClosingFile(const std::string& text) {
    std::ofstream(dir_.Join("fecha.txt"), std::ios::binary) << text;
  }
};

TEST_F(EcfhostCloseTest, OperatorClosingThenTheGeneralClosing) {
  WriteClosingFile(kClosingFile);

  const Outcome closing = Ecfhost("close --file fecha.txt --envelope-column --group-by-tax");

  ASSERT_EQ(closing.status, 0) << closing.err << closing.out;
  EXPECT_THAT(closing.out, HasSubstr("[pergunta] Deseja abrir o caixa?"));
  std::string tape = Tape();
  EXPECT_EQ(CountLines(tape, "RECIBO SAIDA NUMERARIO"), 1);
  EXPECT_EQ(CountLines(tape, "SAIDA DE NUMERARIO - SANGRIA"), 1);
  EXPECT_THAT(tape, HasSubstr("000123 DINHEIRO                           150,00"));
  EXPECT_EQ(CountLines(tape, "RELATORIO DE PRODUTOS"), 1);
  EXPECT_THAT(tape, HasSubstr("Subst. Trib."));
  EXPECT_THAT(tape, HasSubstr("SANGRIA MANHÃ                              50,00"));
  EXPECT_EQ(CountLines(tape, "RELATORIO DE FECHAMENTO"), 1);
  EXPECT_EQ(CountLines(tape, "RELATORIO DE FECHAMENTO GERAL"), 0);

  const Outcome general = Ecfhost("close --file fecha.txt --continue", "--yes");

  ASSERT_EQ(general.status, 0) << general.err << general.out;
  EXPECT_THAT(general.out, Not(HasSubstr("Deseja abrir o caixa?")));
  EXPECT_THAT(general.out,
              HasSubstr("[pergunta] Confirma impressão dos relatórios de fechamento?"));
  EXPECT_EQ(CountLines(Tape(), "RELATORIO DE FECHAMENTO GERAL"), 1);
}

TEST_F(EcfhostCloseTest, AWithdrawalOnlyPrintsTheCountedValuesAndAsksNothing) {
  WriteClosingFile(kClosingFile);

  const Outcome run = Ecfhost("close --file fecha.txt --withdrawal-only");

  ASSERT_EQ(run.status, 0) << run.err << run.out;
  EXPECT_THAT(run.out, Not(HasSubstr("[pergunta]")));
  const std::string tape = Tape();
  EXPECT_EQ(Count(tape, "000123 DINHEIRO                           149,50"), 2);
  EXPECT_EQ(CountLines(tape, "RELATORIO DE PRODUTOS"), 0);
}

TEST_F(EcfhostCloseTest, ABadFileIsRefusedBeforeAnythingIsPrinted) {
  for (const char* bad :
       {"operator;07;ANA\nproduct;1;ARROZ;2;muito\n", "operator;07;ANA\nmovement;9;X;1,00\n",
        "envelope;1;DINHEIRO;1\n", "operator;07;ANA\nenvelope;1\n"}) {
    SCOPED_TRACE(bad);
    WriteClosingFile(bad);

    const Outcome run = Ecfhost("close --file fecha.txt");

    EXPECT_EQ(run.status, 1);
    EXPECT_THAT(run.err, HasSubstr("arquivo de fechamento"));
    EXPECT_THAT(Tape(), IsEmpty());
  }
  EXPECT_EQ(Ecfhost("close --file missing.txt").status, 2) << "a file named that is not there";
}

}  // namespace
}  // namespace zel
