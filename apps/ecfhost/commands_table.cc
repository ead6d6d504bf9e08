// A waiter's day from the command line: items registered on the printer's
// tables, taken off, moved and joined, the check, the table closed into a
// fiscal coupon, the list of open tables, and the table documents this host
// prints itself (the opening receipt, the sales record). The printer keeps
// the tables in its memory, so each run picks up where the last left off.
#include <cstdint>
#include <cstdio>
#include <span>
#include <string>
#include <vector>

#include "command_families.h"
#include "fiscal_config.h"
#include "fiscal_jobs.h"
#include "options.h"
#include "zel/codepage.h"
#include "zel/dataset.h"
#include "zel/date_format.h"
#include "zel/error.h"

namespace ecfhost {
namespace {

using ItemOp = bool(const std::string&, const std::string&, const std::string&, const std::string&,
                    const std::string&, const std::string&, double, double, double);
using CheckOp = bool(const std::string&, const std::string&, const std::string&, double, double);
using TwoTextsOp = bool(const std::string&, const std::string&, const std::string&);
using TransferOp = bool(const std::string&, const std::string&, const std::string&,
                        const std::string&, const std::string&, const std::string&,
                        const std::string&, double, double, double);
using ClosingOp = bool(std::span<const zel::Variant>, const std::vector<std::string>*,
                       zel::Variant&);

// Exported under its unit-qualified name only.
constexpr char kImprimeCardapio[] =
    "_ZN8Zel0010115ImprimeCardapioERKNSt7__cxx1112basic_stringIcSt11char_traitsIcESaIcEEE";

// The leading arguments that are not options, exactly `count` of them
// (`names` for the message); the rest go to the options.
Arguments Positional(const Arguments& arguments, std::size_t count, const char* names,
                     Arguments& rest) {
  Arguments positional;
  std::size_t i = 0;
  for (; i < arguments.size() && positional.size() < count; ++i) {
    if (arguments[i].starts_with("--")) break;
    positional.push_back(arguments[i]);
  }
  if (positional.size() != count) throw zel::Error(std::string("table needs ") + names);
  rest.assign(arguments.begin() + static_cast<std::ptrdiff_t>(i), arguments.end());
  return positional;
}

std::vector<SaleItem> Items(const Options& options) {
  std::vector<SaleItem> items;
  for (const std::string& item : options.All("--item")) items.push_back(ParseItem(item));
  if (items.empty()) throw zel::Error("give at least one --item");
  return items;
}

void Require(bool accepted, const std::string& what) {
  if (!accepted) throw zel::Error("the printer refused " + what);
}

std::string Shown(const std::string& text) { return zel::Cp1252ToUtf8(text); }

void AddItems(Session& session, const std::string& table, const std::vector<SaleItem>& items) {
  for (const SaleItem& item : items) {
    Require(session.Op<ItemOp>("Registra_Item_Imp")(kColourScheme, table, item.rate, item.code,
                                                    item.name, item.unit, item.price, item.quantity,
                                                    item.discount),
            "the item " + Shown(item.name));
    std::fprintf(session.out(), "Mesa %s: %s x %s %s\n", table.c_str(),
                 Money(item.quantity).c_str(), Shown(item.name).c_str(), Money(item.price).c_str());
  }
}

void MoveItem(Session& session, const std::string& from, const std::string& to,
              const SaleItem& item) {
  Require(session.Op<TransferOp>("Transfere_Item_Imp")(kColourScheme, from, to, item.code,
                                                       item.name, item.rate, item.unit, 0,
                                                       item.price, item.quantity),
          "to move " + Shown(item.name));
  std::fprintf(session.out(), "%s x %s da mesa %s para a mesa %s\n", Money(item.quantity).c_str(),
               Shown(item.name).c_str(), from.c_str(), to.c_str());
}

void Join(Session& session, const std::string& from, const std::string& to) {
  Require(session.Op<TwoTextsOp>("Juncao_Mesa")(kColourScheme, from, to),
          "to join table " + from + " to table " + to);
  std::fprintf(session.out(), "Mesa %s juntada à mesa %s\n", from.c_str(), to.c_str());
}

void PrintCheck(Session& session, const std::string& table, const std::string& people,
                double service_percent) {
  Require(
      session.Op<CheckOp>("Cupom_Conferencia")(kColourScheme, table, people, service_percent, 0),
      "the check of table " + table);
  std::fprintf(session.out(), "Conferência da mesa %s impressa.\n", table.c_str());
}

// The table's items become a fiscal coupon on the printer; the host only
// pays it. A closing the printer stops halfway leaves no coupon open.
std::string CloseIntoCoupon(Session& session, const std::string& table, const std::string& buyer,
                            const std::vector<SalePayment>& payments) {
  zel::Dataset reconciled = ReconciledPaymentTypes(session);
  const zel::Variant payment_types = ClosingPaymentTypes(reconciled);
  Require(session.Op<TwoTextsOp>("AbreCupomRes")(kColourScheme, table, buyer),
          "to open a coupon for table " + table);
  SaleRequest sale;
  sale.payments = payments;
  const std::vector<zel::Variant> positions =
      ClosingPositions(sale, PaymentMovements(payments, zel::Env::Default()->Now()), payment_types);
  zel::Variant result = ResultArray(3);
  if (!session.Op<ClosingOp>("FechaCupom")(positions, nullptr, result)) {
    const CouponFate fate = SettleFailedCoupon(session, true);
    if (fate != CouponFate::kFinished) {
      throw zel::Error("the printer did not close the coupon of table " + table +
                       UnfinishedCouponText(fate));
    }
    std::fprintf(session.out(),
                 "aviso: a impressora não confirmou o fechamento do cupom da mesa "
                 "%s, mas o concluiu (a resposta dela se perdeu)\n",
                 table.c_str());
  }
  RefreshStoredGrandTotal(session);
  const std::string coupon = session.Op<std::string(const std::string&, const std::string&)>(
      "Nr_Cupom")("", kColourScheme);
  std::fprintf(session.out(), "Mesa %s fechada no cupom %s.\n", table.c_str(), coupon.c_str());
  return coupon;
}

void ListOpenTables(Session& session) {
  Require(
      session.Op<bool(const std::string&, const std::string&)>("Rel_MesaAber")(kColourScheme, ""),
      "the list of open tables");
  std::fprintf(session.out(), "Lista de mesas abertas impressa.\n");
}

// The table documents are linked to a receipt on the report totalizer,
// which the driver learns from the printer in each run.
void FindReportTotalizer(Session& session) {
  std::string cv, consumer, purchase, cancellation, report;
  std::int32_t unused = 0;
  session.Op<void(std::string&, std::string&, std::string&, std::string&, std::string&,
                  const std::string&, std::int32_t&, zel::Dataset*)>("CarregaTotalizador")(
      cv, consumer, purchase, cancellation, report, kColourScheme, unused, nullptr);
}

void PrintOpening(Session& session, const std::string& table, const std::vector<SaleItem>& items,
                  double service) {
  zel::Dataset data("cdsParcProdutos");
  data.AddField("CDARVPROD", zel::FieldType::kText, 20);
  data.AddField("NMPRODUTO", zel::FieldType::kText, 50);
  data.AddField("QTPRODCOMVEN", zel::FieldType::kFloat);
  data.AddField("VRPRECCOMVEN", zel::FieldType::kFloat);
  data.CreateDataSet();
  double total = service;
  for (const SaleItem& item : items) {
    data.Append();
    data.SetValue("CDARVPROD", zel::Variant(item.code));
    data.SetValue("NMPRODUTO", zel::Variant(item.name));
    data.SetValue("QTPRODCOMVEN", zel::Variant(item.quantity));
    data.SetValue("VRPRECCOMVEN", zel::Variant(item.price));
    data.Post();
    total += item.quantity * item.price;
  }
  FindReportTotalizer(session);
  const std::string issued = zel::FormatDateTime("dd/mm/yyyy hh:nn", zel::Env::Default()->Now());
  Require(session.Op<bool(const std::string&, const std::string&, const std::string&,
                          const std::string&, const std::string&, const zel::Variant&, double,
                          double, double, double, double, double, double)>("Abertura_Mesa")(
              kColourScheme, "", table, "", issued, data.Data(), 0, 0, 0, service, 0, total, 0),
          "the opening receipt of table " + table);
  std::fprintf(session.out(), "Abertura da mesa %s impressa: total %s.\n", table.c_str(),
               Money(total).c_str());
}

void PrintSalesRecord(Session& session, const std::string& number,
                      const std::vector<SaleItem>& items) {
  zel::Dataset data("cdsItens");
  for (const char* name : {"CDPROD", "NMPROD", "STQTDE", "STVALOR"}) {
    data.AddField(name, zel::FieldType::kText, 50);
  }
  data.CreateDataSet();
  for (const SaleItem& item : items) {
    data.Append();
    data.SetValue("CDPROD", zel::Variant(item.code));
    data.SetValue("NMPROD", zel::Variant(item.name));
    data.SetValue("STQTDE", zel::Variant(Money(item.quantity)));
    data.SetValue("STVALOR", zel::Variant(Money(item.price)));
    data.Post();
  }
  FindReportTotalizer(session);
  session.Op<bool(const std::string&, const std::string&, const std::string&, zel::Dataset&,
                  const std::string&)>("RegistroVenda")(kColourScheme, "", "", data, number);
  std::fprintf(session.out(), "Registro de venda de %s impresso.\n", number.c_str());
}

}  // namespace

int RunTable(Session& session, const Arguments& arguments) {
  if (arguments.empty()) throw zel::Error("table needs an action (see --help)");
  const std::string action = arguments[0];
  const Arguments given(arguments.begin() + 1, arguments.end());
  Arguments rest;
  if (action == "add" || action == "remove") {
    const Arguments table = Positional(given, 1, "a table", rest);
    const std::vector<SaleItem> items = Items(Options(rest, {"--item"}, {}));
    session.Start();
    if (action == "add") {
      AddItems(session, table[0], items);
    } else {
      for (const SaleItem& item : items) {
        Require(session.Op<ItemOp>("Cancela_Item_Imp")(kColourScheme, table[0], item.rate,
                                                       item.code, item.name, item.unit, item.price,
                                                       item.quantity, item.discount),
                "to take " + Shown(item.name) + " off table " + table[0]);
        std::fprintf(session.out(), "Mesa %s: %s x %s cancelado\n", table[0].c_str(),
                     Money(item.quantity).c_str(), Shown(item.name).c_str());
      }
    }
  } else if (action == "move") {
    const Arguments tables = Positional(given, 2, "the tables FROM and TO", rest);
    const std::vector<SaleItem> items = Items(Options(rest, {"--item"}, {}));
    session.Start();
    for (const SaleItem& item : items) MoveItem(session, tables[0], tables[1], item);
  } else if (action == "join") {
    const Arguments tables = Positional(given, 2, "the tables FROM and TO", rest);
    Options(rest, {}, {});
    session.Start();
    Join(session, tables[0], tables[1]);
  } else if (action == "check") {
    const Arguments table = Positional(given, 1, "a table", rest);
    const Options options(rest, {"--people", "--service"}, {});
    const double service =
        options.One("--service") ? ParseAmount(*options.One("--service"), "--service") : 0;
    session.Start();
    PrintCheck(session, table[0], options.One("--people").value_or("1"), service);
  } else if (action == "close") {
    const Arguments table = Positional(given, 1, "a table", rest);
    const Options options(rest, {"--pay", "--cpf"}, {});
    std::vector<SalePayment> payments;
    for (const std::string& payment : options.All("--pay")) {
      payments.push_back(ParsePayment(payment));
    }
    if (payments.empty()) throw zel::Error("give at least one --pay");
    session.Start();
    CloseIntoCoupon(session, table[0], options.One("--cpf").value_or(""), payments);
  } else if (action == "list" || action == "menu") {
    Options(given, {}, {});
    session.Start();
    if (action == "list") {
      ListOpenTables(session);
    } else {
      Require(session.Op<bool(const std::string&)>(kImprimeCardapio)(kColourScheme), "the menu");
      std::fprintf(session.out(), "Cardápio impresso.\n");
    }
  } else if (action == "opening" || action == "record") {
    const Arguments number = Positional(given, 1, "a table or order pad", rest);
    const Options options(rest, {"--item", "--service"}, {});
    const std::vector<SaleItem> items = Items(options);
    const double service =
        options.One("--service") ? ParseAmount(*options.One("--service"), "--service") : 0;
    session.Start();
    if (action == "opening") {
      PrintOpening(session, number[0], items, service);
    } else {
      PrintSalesRecord(session, number[0], items);
    }
  } else {
    throw zel::Error("unknown table action '" + action + "' (see --help)");
  }
  return 0;
}

void RestaurantEpisode(Session& session) {
  AddItems(
      session, "0010",
      {ParseItem("1001:CHOPP 300ML:01:2:9.90"), ParseItem("2001:PICANHA NA CHAPA:01:1:89.90")});
  AddItems(session, "0020",
           {ParseItem("1002:REFRIGERANTE LATA:01:1:6.50"), ParseItem("2002:PASTEL:01:2:6.00")});
  MoveItem(session, "0010", "0020", ParseItem("1001:CHOPP 300ML:01:1:9.90"));
  PrintCheck(session, "0010", "2", 0);
  CloseIntoCoupon(session, "0010", "",
                  {ParsePayment("Dinheiro:50.00"), ParsePayment("Cartao Credito:49.80")});
  ListOpenTables(session);
}

}  // namespace ecfhost
