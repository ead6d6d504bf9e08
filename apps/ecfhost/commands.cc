#include "commands.h"

#include <cstdio>

#include "command_families.h"
#include "fiscal_config.h"
#include "fiscal_jobs.h"
#include "options.h"
#include "tape_html.h"
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
  const Options options(arguments, {"--printer", "--html"}, {});
  const std::string printer = options.One("--printer").value_or("fiscal");
  if (printer != "fiscal" && printer != "nonfiscal") {
    throw zel::Error("--printer is fiscal or nonfiscal, not '" + printer + "'");
  }
  const std::string path =
      printer == "fiscal" ? session.workspace().TapePath() : session.workspace().ReceiptTapePath();
  zel::Env* env = zel::Env::Default();
  const std::string tape = env->FileExists(path) ? env->ReadFile(path) : "";
  if (const std::optional<std::string> html = options.One("--html")) {
    env->WriteFile(*html, TapeHtml(tape));
    std::fprintf(session.out(), "Bobina gravada em %s\n", env->MapPath(*html).c_str());
    return 0;
  }
  if (tape.empty()) {
    std::fprintf(session.out(), "(a bobina está vazia: nada foi impresso)\n");
    return 0;
  }
  std::fputs(tape.c_str(), session.out());
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
       "                    --surcharge AMOUNT] [--cancel-item N]... [--tef-receipt FILE]\n"
       "  --item CODE:NAME:RATE:QTY:PRICE[:DISCOUNT[:UNIT]]\n"
       "        one item; RATE is the printer's tax-rate position (01, 02, ...)\n"
       "        or FF, II, NN; DISCOUNT is an amount off this item; UNIT\n"
       "        defaults to UN. Example: 7891000100103:ARROZ 5KG:01:2:21.90\n"
       "  --pay FORM:AMOUNT   one payment, in the order given; FORM is one of\n"
       "        Dinheiro, Cheque, Cartao Credito, Cartao Debito, Ticket Refeicao\n"
       "        (any case). Payments above the amount due give change.\n"
       "  --discount AMOUNT   off the subtotal;  --surcharge AMOUNT  on it\n"
       "  --cancel-item N     cancel item N (1 = first) before closing\n"
       "  --tef-receipt FILE  after the coupon, print the card slip in FILE (UTF-8\n"
       "        text; a relative path is taken from the working folder) twice,\n"
       "        the customer's and the shop's copy, in a linked receipt on the\n"
       "        sale's first card payment\n"
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
       "usage: ecfhost z [--export [--json]]\n"
       "Prints a Z reduction, closing the fiscal day: no sale is possible on\n"
       "the printer until the next day.\n"
       "  --export  first take the day's figures from the printer as data and\n"
       "            show them: the reduction row, payment forms, tax rates and\n"
       "            non-fiscal totalizers (a copy of the printer's reading is\n"
       "            kept in Dados/Reduções)\n"
       "  --json    show them as one JSON document on standard output (the\n"
       "            reduction's confirmation goes to standard error)\n",
       RunZReduction},
      {"close", "withdrawal receipt, operator's closing and general closing reports",
       "usage: ecfhost close --file FILE [--withdrawal-only | --continue] [--z]\n"
       "                     [--x-reading] [--envelope-column] [--group-by-tax]\n"
       "                     [--ask-products]\n"
       "Prints the cashier's closing documents from FILE (a relative name is read\n"
       "from the folder ecfhost was started in):\n"
       "  (default)          the withdrawal receipt (when FILE has envelopes), the\n"
       "                     product report and the operator's closing report, then\n"
       "                     the questions: open the register again? (with --z)\n"
       "                     confirm the Z reduction? print the closing reports?\n"
       "  --withdrawal-only  the withdrawal receipt alone, with the counted values\n"
       "  --continue         the reports' question only, then the general closing\n"
       "  --z                ask for the Z reduction, and run it when confirmed\n"
       "  --x-reading        an X reading before the withdrawal receipt\n"
       "  --envelope-column  the receipt names the envelope column\n"
       "  --group-by-tax     products grouped by tax situation and rate\n"
       "  --ask-products     confirm the product report before printing it\n"
       "Questions are asked at the terminal, or answered with --yes / --no.\n"
       "FILE has one record a line, fields separated by ';' ('#' starts a comment;\n"
       "amounts take ',' or '.'):\n"
       "  operator;CODE;NAME                      (required)\n"
       "  supervisor;CODE;NAME\n"
       "  envelope;NUMBER;PAYMENT TYPE;INFORMED[;COUNTED]\n"
       "  product;CODE;NAME;QUANTITY;TOTAL[;SURCHARGE;DISCOUNT;SITUATION;RATE]\n"
       "        SITUATION T taxed (default, RATE 18), F tax substitution,\n"
       "        N not levied, I exempt\n"
       "  movement;KIND;NAME;AMOUNT   a movement of the operator's period\n"
       "  total;KIND;NAME;AMOUNT      a movement total of the day\n"
       "        KIND 1 or 5 withdrawal, 2 voucher issued, 3 supply, 4 voucher received\n"
       "Example:\n"
       "  operator;07;ANA\n"
       "  supervisor;01;BRUNO\n"
       "  envelope;000123;DINHEIRO;150,00\n"
       "  product;7891000100103;ARROZ 5KG;2;43,80\n"
       "  total;1;SANGRIAS DO DIA;150,00\n",
       RunClose},
      {"counters", "start, then show the printer's fiscal counters and figures",
       "usage: ecfhost counters\nShows the document counters, the day's figures and the grand "
       "total.\n",
       RunCounters},
      {"tape", "show the simulated printer's paper tape",
       "usage: ecfhost tape [--printer fiscal|nonfiscal] [--html FILE]\n"
       "Shows everything the simulated fiscal printer (or the simulated receipt\n"
       "printer) printed in this folder.\n"
       "  --html FILE  write it instead as a web page that looks like the paper\n"
       "               roll (a relative FILE is in the working folder)\n",
       RunTape},
      {"credit", "consumer credit: deposit, balance, statement, debit, cancel",
       "usage: ecfhost credit ACTION [--consumers FILE] OPTIONS\n"
       "  deposit --consumer CODE --amount AMOUNT [--pay FORM]\n"
       "          [--printer fiscal|nonfiscal] [--copies N] [--layout 01|02|00]\n"
       "          a deposit receipt on the fiscal printer, or on the simulated\n"
       "          receipt printer (port COM5) with its layout and copies\n"
       "  balance --consumer CODE        the balances of the consumer's families\n"
       "  statement [--family CODE]      the statement of every family, or one\n"
       "  debit --consumer CODE --item NAME:QTY:PRICE...   a sale paid from credit\n"
       "  cancel --consumer CODE --deposit NUMBER --amount AMOUNT\n"
       "The consumers file (default consumidores.csv in the working folder) has\n"
       "one line per consumer and family: CODE;NAME;FAMILY CODE;FAMILY NAME;\n"
       "OPENING BALANCE. The movements are kept in the working folder.\n",
       RunCredit},
      {"demo", "two fiscal days on a fresh simulated printer, ending with the tape",
       "usage: ecfhost demo\n"
       "Wipes the simulated printer of the working folder, then runs a fiscal\n"
       "day: start, programming, opening supply, sales with discounts, a\n"
       "cancelled item, a cancelled coupon, several payment forms, a\n"
       "withdrawal, the drawer, the withdrawal receipt and the operator's\n"
       "closing, an X reading, the card slip of the card sale, the day's\n"
       "figures exported as data and a Z reduction, and a summary of the day;\n"
       "then the clocks move to the next day, which opens with a short sale and\n"
       "closes with its own Z reduction; prints the paper tape of both days.\n",
       RunDemo},
      {"menu", "the fiscal menu: fiscal-memory readings, mirror, type-E file, reports",
       "usage: ecfhost menu ITEM [options]\n"
       "  lmf --from A --to B [--by-reduction] [--complete] [--file]\n"
       "        fiscal-memory reading between two dates (DD/MM/YYYY) or, with\n"
       "        --by-reduction, two reduction numbers; simplified unless\n"
       "        --complete; printed, or with --file a signed file in\n"
       "        C:\\MenuFiscal\n"
       "  mirror [--type 0|1|2] [--from A --to B]\n"
       "        signed mirror of the detail tape: the whole memory (0), between\n"
       "        two dates (1) or two coupon numbers (2)\n"
       "  type-e (--coo | --dates) --from A --to B\n"
       "        the type-E file of a coupon-number or date range\n"
       "  payments --row DD/MM/YYYY:CODE:NAME:AMOUNT...\n"
       "        totals by payment type (CODE 1 to 20), per day and for the period\n"
       "  paf   identification of this point-of-sale program and its printer\n"
       "Each file made is named with its real place in the working folder\n"
       "(C: is the folder drive_c).\n",
       RunMenu},
      {"verify", "check the signature of a fiscal-menu file",
       "usage: ecfhost verify FILE\n"
       "Checks the signature record at the end of FILE (a real path or\n"
       "C:\\MenuFiscal\\...) against the driver's public key; exit status 0\n"
       "when it holds, 1 when it does not or the file is unsigned.\n",
       RunVerify},
      {"table", "a waiter's day: items on tables, check, close into a coupon",
       "usage: ecfhost table ACTION ...\n"
       "  add TABLE --item ITEM...        register items on a table (the printer\n"
       "                                  keeps it; ITEM as for sale)\n"
       "  remove TABLE --item ITEM...     take items off a table\n"
       "  move FROM TO --item ITEM...     move items (QTY of each) to another table\n"
       "  join FROM TO                    move every item of FROM to TO\n"
       "  check TABLE [--people N] [--service PERCENT]   print the table's check\n"
       "  close TABLE --pay PAYMENT... [--cpf CPF]\n"
       "                                  the table's items become a fiscal coupon,\n"
       "                                  paid as for sale\n"
       "  list                            print the open tables\n"
       "  menu                            print every product seen on a table\n"
       "  opening TABLE --item ITEM... [--service AMOUNT]\n"
       "                                  print this host's table-opening receipt\n"
       "  record NUMBER --item ITEM...    print the sales record of a table (4\n"
       "                                  characters) or order pad\n"
       "Example: ecfhost table add 0012 --item \"1001:CHOPP 300ML:01:2:9.90\"\n",
       RunTable},
      {"sim", "steer the simulated printer: day, paper, power, faults, reset",
       "usage: ecfhost sim [ACTION]\n"
       "Steers the simulated fiscal printer of the working folder, for integrators\n"
       "and training. Each change is marked on the paper tape (\"*** sem papel ***\")\n"
       "and recorded in the printer's journal.\n"
       "  status               the clocks, the fiscal day, paper, power and the\n"
       "                       faults waiting (the default)\n"
       "  day +N | day -N      move the computer's and the printer's clocks N days\n"
       "  --next-day           the same as day +1\n"
       "  paper low|out|ok     paper running low, paper out (printing is refused),\n"
       "                       paper back\n"
       "  power off|on         switch the printer off (no command is answered) or on\n"
       "  fail ENTRY [CODE]    the next call to ENTRY (VendeItem or\n"
       "                       Bematech_FI_VendeItem) returns CODE (default -27)\n"
       "                       without being carried out\n"
       "  lose-reply ENTRY     the next call to ENTRY is carried out, its reply lost\n"
       "  reset                a new printer: memory, tape and journal wiped, clocks\n"
       "                       and conditions back to normal\n"
       "  journal [LINES]      the printer's journal of calls (the last LINES)\n"
       "Conditions last until changed; a fault lasts until a run calls its entry.\n"
       "Exit status 0 done, 1 failed, 2 a mistake on the command line.\n",
       RunSim},
  };
  return commands;
}

}  // namespace ecfhost
