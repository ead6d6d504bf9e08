// Two fiscal days on a fresh simulated printer, as a cash register lives
// them: a whole day ending with its Z reduction and summary, then the clocks
// move to the next day, which opens with a short sale and closes with its
// own Z; the paper tape of both days ends the run.
#include <cstdio>
#include <filesystem>
#include <string>

#include "card_slip.h"
#include "closing_job.h"
#include "command_families.h"
#include "credit_jobs.h"
#include "fiscal_jobs.h"
#include "options.h"
#include "reduction_export.h"

namespace ecfhost {
namespace {

// A new printer: its memory and tape live in the workspace's printer
// folder, emptied here; the simulator then starts from the factory, with
// the clocks and conditions an earlier `ecfhost sim` left back to normal.
// A new printer is registered anew in the host's configuration.
void FreshPrinter(Session& session) {
  const std::filesystem::path folder = session.workspace().PrinterDirectory();
  std::filesystem::remove_all(folder);
  std::filesystem::create_directories(folder);
  ResetSimulatedPrinter(session);
}

SaleRequest GroceriesWithDiscounts() {
  SaleRequest sale;
  sale.items = {ParseItem("7891000100103:ARROZ 5KG:01:2:21.90"),
                ParseItem("7891000200200:FEIJAO 1KG:02:3:8.49:1.00"),
                ParseItem("7891000300307:OLEO SOJA 900ML:03:1:7.35")};
  sale.discount = 1.00;
  sale.payments = {ParsePayment("Dinheiro:30.00"), ParsePayment("Cartao Credito:50.00")};
  return sale;
}

// The slip the card terminal gave for the credit-card payment of the
// groceries.
CardSlip GroceriesCardSlip() {
  return {
      "REDE CARTOES\nCOMPROVANTE DE CREDITO\nVISA ************1234\nVALOR: R$ 50,00\n"
      "AUTORIZACAO: 004512\n",
      ParsePayment("Cartao Credito:50.00")};
}

SaleRequest SaleWithACancelledItem() {
  SaleRequest sale;
  sale.items = {ParseItem("7891000400404:CAFE 500G:01:1:15.90"),
                ParseItem("7891000500501:ACUCAR 1KG:02:2:4.29"),
                ParseItem("7891000600608:LEITE 1L:FF:6:4.99::LT")};
  sale.cancelled_items = {2};
  sale.payments = {ParsePayment("Cheque:20.00"), ParsePayment("Dinheiro:30.00")};
  return sale;
}

SaleRequest SaleToCancel() {
  SaleRequest sale;
  sale.items = {ParseItem("7891000700705:DETERGENTE:01:2:2.59")};
  sale.payments = {ParsePayment("Dinheiro:10.00")};
  return sale;
}

SaleRequest MorningCoffee() {
  SaleRequest sale;
  sale.items = {ParseItem("7891000400404:CAFE 500G:01:1:15.90")};
  sale.payments = {ParsePayment("Dinheiro:20.00")};
  return sale;
}

SaleRequest SaleWithSurcharge() {
  SaleRequest sale;
  sale.items = {ParseItem("7891000800802:PAO DE FORMA:NN:1:8.90"),
                ParseItem("7891000900909:MANTEIGA 200G:01:1:11.50:0.50")};
  sale.surcharge = 0.60;
  sale.payments = {ParsePayment("Cartao Debito:20.50")};
  return sale;
}

// The school canteen's consumers, written fresh with no movements yet.
CreditAccounts FreshCreditAccounts(Session& session) {
  const std::string folder = session.workspace().folder();
  for (const char* file : {"credito-movimentos.csv", "credito-itens.csv"}) {
    std::filesystem::remove(std::filesystem::path(folder) / file);
  }
  const std::string consumers = folder + "/consumidores.csv";
  zel::Env::Default()->WriteFile(consumers,
                                 "# código;nome;código da família;família;saldo inicial\n"
                                 "1001;ANA SOUZA;F1;FAMILIA SOUZA;50.00\n"
                                 "1002;JOÃO SOUZA;F1;FAMILIA SOUZA;50.00\n"
                                 "2001;RUI LIMA;F2;FAMILIA LIMA;12.00\n");
  return CreditAccounts(consumers, folder);
}

void Section(Session& session, const char* title) {
  std::fprintf(session.out(), "\n== %s\n", title);
}

void Sell(Session& session, const SaleRequest& sale) {
  const std::string coupon = SellCoupon(session, sale);
  std::fprintf(session.out(), "Cupom %s emitido: total %s\n", coupon.c_str(),
               Money(AmountDue(sale)).c_str());
}

}  // namespace

int RunDemo(Session& session, const Arguments& arguments) {
  Options(arguments, {}, {});
  FreshPrinter(session);

  Section(session, "Início do dia: driver, porta e validação da impressora");
  session.Start();
  PrintPrinterData(session);
  const std::string total_before = GrandTotal(session);
  const DayFigures start = ReadDayFigures(session);

  Section(session, "Programação da impressora");
  ProgramPrinter(session);

  Section(session, "Suprimento de abertura");
  Supply(session, 150.00);

  Section(session, "Venda com desconto no item e no subtotal, em dinheiro e cartão de crédito");
  Sell(session, GroceriesWithDiscounts());
  PrintCardSlip(session, GroceriesCardSlip());
  Section(session, "Venda com um item cancelado, em cheque e dinheiro");
  Sell(session, SaleWithACancelledItem());
  Section(session, "Venda cancelada depois de emitida");
  Sell(session, SaleToCancel());
  std::fprintf(session.out(), "Cupom %s cancelado.\n", CancelLastCoupon(session).c_str());
  Section(session, "Venda com acréscimo, em cartão de débito");
  Sell(session, SaleWithSurcharge());

  Section(session, "Restaurante: duas mesas, uma transferência, a conferência e o cupom da mesa");
  RestaurantEpisode(session);

  Section(session, "Sangria e gaveta");
  Withdraw(session, 80.00);
  OpenDrawer(session);

  Section(session, "Crédito de consumidor: depósito e extrato");
  CreditAccounts accounts = FreshCreditAccounts(session);
  DepositRequest deposit;
  deposit.consumer = "1001";
  deposit.amount = 40.00;
  Deposit(session, accounts, deposit);
  PrintStatement(session, accounts, "");
  Section(session, "Recibo de sangria e fechamento do operador");
  CloseRegister(session, DemoClosing());

  Section(session, "Leitura X");
  XReading(session);
  const DayFigures day = ReadDayFigures(session);

  Section(session, "Exportação dos dados do dia (redução Z)");
  ReductionExport figures;
  ExportReduction(session, figures);
  PrintTables(session.out(), figures);

  Section(session, "Redução Z");
  ZReduction(session);
  const std::string total_after = GrandTotal(session);
  const DayFigures end = ReadDayFigures(session);

  Section(session, "Resumo do dia");
  std::FILE* out = session.out();
  std::fprintf(out, "  cupons fiscais emitidos      %ld\n", end.coupons - start.coupons);
  std::fprintf(out, "  operações não fiscais        %ld\n", end.nonfiscal - start.nonfiscal);
  std::fprintf(out, "  relatórios gerenciais        %ld\n", end.reports - start.reports);
  std::fprintf(out, "  totalizador geral antes      %s\n", total_before.c_str());
  std::fprintf(out, "  totalizador geral depois     %s\n", total_after.c_str());
  std::fprintf(out, "  venda bruta do dia           %s\n", Money(day.gross_sales).c_str());
  std::fprintf(out, "  descontos do dia             %s\n", Money(day.discounts).c_str());
  std::fprintf(out, "  cancelamentos do dia         %s\n", Money(day.cancellations).c_str());
  std::fprintf(out, "  diálogos mostrados           %d\n", session.host().dialogs_shown());
  std::fprintf(out, "  pasta de trabalho            %s\n", session.workspace().folder().c_str());

  Section(session, "Dia seguinte: os relógios avançam um dia");
  NextSimulatedDay(session);
  session.Start();
  Section(session, "Venda do novo dia");
  Sell(session, MorningCoffee());
  Section(session, "Redução Z do novo dia");
  ZReduction(session);

  Section(session, "Bobina da impressora simulada (os dois dias)");
  RunTape(session, {});

  Section(session, "Menu fiscal: leitura da memória fiscal em arquivo assinado");
  SignedFiscalMemoryFile(session);
  return 0;
}

}  // namespace ecfhost
