#include "commands.h"

#include <cstdio>

#include "command_families.h"
#include "fiscal_config.h"
#include "fiscal_jobs.h"
#include "options.h"
#include "zel/codepage.h"
#include "zel/error.h"

namespace ecfhost {
namespace {

using Counter = bool(const std::string&, std::string&);

void PrintCounters(Session& session) {
  static const char* const kCounters[] = {"ContadorCupomFiscalMFD",
                                          "NumeroOperacoesNaoFiscais",
                                          "ContadorRelatoriosGerenciaisMFD",
                                          "ContadorComprovantesCreditoMFD",
                                          "NumeroReducoes",
                                          "NumeroIntervencoes",
                                          "NumeroSubstituicoesProprietario",
                                          "VendaBruta",
                                          "Descontos",
                                          "Cancelamentos"};
  std::fprintf(session.out(), "Contadores\n");
  for (const char* name : kCounters) {
    std::string value;
    const bool read = session.Op<Counter>(name)(kColourScheme, value);
    std::fprintf(session.out(), "  %-32s %s%s\n", name, value.c_str(), read ? "" : " (falhou)");
  }
}

// Commands without options still refuse stray arguments.
void NoOptions(const Arguments& arguments) { Options(arguments, {}, {}); }

}  // namespace

void PrintPrinterData(Session& session) {
  zel::Variant params = zel::MakeParams({{"ESQUEMA", kColourScheme},
                                         {"DATAATUIMP", ""},
                                         {"ECFIMP", ""},
                                         {"REDIMP", ""},
                                         {"SERIEIMP", ""},
                                         {"DATAIMP", ""}});
  const bool read = session.Op<bool(zel::Variant&)>("Carrega_Dados_Impressora")(params);
  std::fprintf(session.out(), "Impressora fiscal%s\n", read ? "" : " (dados incompletos)");
  for (const zel::Variant& pair : params.AsArray()) {
    std::fprintf(session.out(), "  %-10s %s\n", pair.AsArray()[0].AsText().c_str(),
                 zel::Cp1252ToUtf8(pair.AsArray()[1].AsText()).c_str());
  }
}

int RunStart(Session& session, const Arguments& arguments) {
  NoOptions(arguments);
  session.Start();
  PrintPrinterData(session);
  if (!PrinterMatchesConfiguration(session, session.printer_serial())) {
    throw zel::Error(
        "the printer does not match this register's configuration (grand total or serial "
        "number); see the messages above");
  }
  std::fprintf(session.out(), "Driver iniciado; impressora validada.\n");
  return 0;
}

int RunCounters(Session& session, const Arguments& arguments) {
  NoOptions(arguments);
  session.Start();
  PrintCounters(session);
  std::fprintf(session.out(), "  %-32s %s\n", "BuscaTotGer", GrandTotal(session).c_str());
  return 0;
}

int RunTape(Session& session, const Arguments& arguments) {
  NoOptions(arguments);
  zel::Env* env = zel::Env::Default();
  if (!env->FileExists(session.workspace().TapePath())) {
    std::fprintf(session.out(), "(a bobina está vazia: nada foi impresso)\n");
    return 0;
  }
  std::fputs(env->ReadFile(session.workspace().TapePath()).c_str(), session.out());
  return 0;
}

int RunProgram(Session& session, const Arguments& arguments) {
  NoOptions(arguments);
  session.Start();
  ProgramPrinter(session);
  return 0;
}

const std::vector<Command>& Commands() {
  static const std::vector<Command> commands = {
      {"start", "validate the printer against this host and show its identification",
       "usage: ecfhost start\n"
       "Starts the driver, opens the port and checks the printer's clock (a\n"
       "coupon left open is cancelled), shows the printer's identification and\n"
       "validates its grand total and serial number against this register's\n"
       "configuration (Ploteva.cds in the working folder, written the first\n"
       "time a printer is met).\n",
       RunStart},
      {"program", "read the tax rates, program totalizers and payment forms",
       "usage: ecfhost program\n"
       "Shows the printer's tax rates, finds or programs the driver's non-fiscal\n"
       "totalizers and programs this host's payment forms the printer lacks:\n"
       "Dinheiro, Cheque, Cartao Credito, Cartao Debito, Ticket Refeicao.\n",
       RunProgram},
      {"sale", "issue a fiscal coupon with the items and payments given",
       "usage: ecfhost sale --item ITEM... --pay PAYMENT... [--discount AMOUNT |\n"
       "                    --surcharge AMOUNT] [--cancel-item N]...\n"
       "  --item CODE:NAME:RATE:QTY:PRICE[:DISCOUNT[:UNIT]]\n"
       "        one item; RATE is the printer's tax-rate position (01, 02, ...)\n"
       "        or FF, II, NN; DISCOUNT is an amount off this item; UNIT\n"
       "        defaults to UN. Example: 7891000100103:ARROZ 5KG:01:2:21.90\n"
       "  --pay FORM:AMOUNT   one payment, in the order given; FORM is one of\n"
       "        Dinheiro, Cheque, Cartao Credito, Cartao Debito, Ticket Refeicao\n"
       "        (any case). Payments above the amount due give change.\n"
       "  --discount AMOUNT   off the subtotal;  --surcharge AMOUNT  on it\n"
       "  --cancel-item N     cancel item N (1 = first) before closing\n"
       "Amounts take '.' or ',' as decimal separator. Everything is checked\n"
       "before printing; a coupon the printer stops halfway is cancelled.\n",
       RunSale},
      {"cancel", "cancel the last coupon",
       "usage: ecfhost cancel\n"
       "Cancels the last fiscal coupon and shows its number. An item is\n"
       "cancelled within its own sale (sale --cancel-item N): the driver cancels\n"
       "a coupon left open whenever it starts, so no coupon stays open between\n"
       "two runs of this program.\n",
       RunCancel},
      {"supply", "register money put into the till",
       "usage: ecfhost supply AMOUNT\nRegisters a cash supply (paid in Dinheiro).\n", RunSupply},
      {"withdraw", "register money taken out of the till",
       "usage: ecfhost withdraw AMOUNT\nRegisters a cash withdrawal.\n", RunWithdraw},
      {"drawer", "open the cash drawer",
       "usage: ecfhost drawer\nOpens the cash drawer and shows its state.\n", RunDrawer},
      {"x", "print an X reading (the day stays open)",
       "usage: ecfhost x\nPrints an X reading: the day's figures; the day stays open.\n",
       RunXReading},
      {"z", "print a Z reduction (closes the fiscal day)",
       "usage: ecfhost z\n"
       "Prints a Z reduction, closing the fiscal day: no sale is possible on\n"
       "the printer until the next day.\n",
       RunZReduction},
      {"counters", "start, then show the printer's fiscal counters and figures",
       "usage: ecfhost counters\nShows the document counters, the day's figures and the grand "
       "total.\n",
       RunCounters},
      {"tape", "show the simulated printer's paper tape",
       "usage: ecfhost tape\nShows everything the simulated printer printed in this folder.\n",
       RunTape},
      {"demo", "a whole fiscal day on a fresh simulated printer, ending with the tape",
       "usage: ecfhost demo\n"
       "Wipes the simulated printer of the working folder, then runs a fiscal\n"
       "day: start, programming, opening supply, sales with discounts, a\n"
       "cancelled item, a cancelled coupon, several payment forms, a\n"
       "withdrawal, the drawer, an X reading and a Z reduction; prints the\n"
       "paper tape and a summary of the day.\n",
       RunDemo},
  };
  return commands;
}

}  // namespace ecfhost
