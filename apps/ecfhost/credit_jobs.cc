#include "credit_jobs.h"

#include <cmath>
#include <cstdint>
#include <cstdio>

#include "fiscal_config.h"
#include "options.h"
#include "sale_builder.h"
#include "zel/codepage.h"
#include "zel/date_time.h"
#include "zel/error.h"

namespace ecfhost {
namespace {

using S = const std::string&;
using CredPessoalOp = bool(S, S, S, S, S, S, std::string&, std::string&, zel::Dataset&, double, S,
                           S, S, S, S, S, S, S, S, S, S, S, S, S, bool, S, S);
using NfiscOp = bool(std::string&, zel::Dataset&, double, S, S, S, S, S, S, S, S, S, S, S, S, S, S,
                     S, bool);
using ImpSaldoOp = bool(S, zel::Dataset&, S, S);
using ExtratoOp = bool(S, S, zel::Dataset&, zel::Dataset&, zel::Dataset&, zel::Dataset&,
                       zel::Dataset&, S, S, S, S, S, zel::Dataset&);
using DebitoOp = bool(S, const zel::Variant&, double, S, S, S, S, S, S, double, double, double, S);
using CancelaOp = bool(S, S, S, S, S, std::string&, S, S, S, S, S, double, double, S);

// Exported under its unit-qualified name only.
constexpr char kNfiscSymbol[] =
    "_ZN8Zel0010125Compr_Cred_Bematech_NFISCERNSt7__cxx1112basic_stringIcSt11char_"
    "traitsIcESaIcEEERN3zel7DatasetEdRKS5_SB_SB_SB_SB_SB_SB_SB_SB_SB_SB_SB_SB_SB_SB_b";
// The payment form of debit receipts: the one the printer opens linked
// receipts on.
constexpr char kLinkedForm[] = "Rel Gerencial";
// A receipt printer model of 48 columns that the library drives.
constexpr char kReceiptPrinterModel[] = "0";

struct Totalizers {
  std::string purchase;
  std::string cancellation;
};

// The driver's credit totalizers, programmed when missing (this also sets
// the report totalizer the reports are issued on).
Totalizers CreditTotalizers(Session& session) {
  std::string cv, consumer, purchase, cancellation, report;
  std::int32_t unused = 0;
  session.Op<void(std::string&, std::string&, std::string&, std::string&, std::string&, S,
                  std::int32_t&, zel::Dataset*)>("CarregaTotalizador")(
      cv, consumer, purchase, cancellation, report, kColourScheme, unused, nullptr);
  return {purchase, cancellation};
}

std::string Cp(const std::string& utf8) { return zel::Utf8ToCp1252(utf8); }

std::string Today(const char* format) {
  const zel::DateParts now = zel::DecodeDateTime(zel::Env::Default()->Now());
  char text[32];
  if (format[0] == 'd') {
    std::snprintf(text, sizeof text, "%02d/%02d/%04d", now.day, now.month, now.year);
  } else {
    std::snprintf(text, sizeof text, "%02d:%02d", now.hour, now.minute);
  }
  return text;
}

Movement MovementNow(const std::string& family, const std::string& operation, double value,
                     const std::string& sale = "") {
  return {family, Today("d"), Today("t"), operation, value, sale};
}

zel::Dataset Payments(double amount, const std::string& form) {
  zel::Dataset payments("cdsPagamentos");
  payments.SetFieldDefs(
      {{"VRMOVIVEND", zel::FieldType::kFloat, 0}, {"NMTIPORECE", zel::FieldType::kText, 40}});
  payments.CreateDataSet();
  payments.Append();
  payments.SetValue("VRMOVIVEND", amount);
  payments.SetValue("NMTIPORECE", Cp(form));
  payments.Post();
  return payments;
}

}  // namespace

void Deposit(Session& session, CreditAccounts& accounts, const DepositRequest& request) {
  if (!(request.amount > 0)) throw UsageError("o valor do depósito deve ser maior que zero");
  const ConsumerRow consumer = accounts.Consumer(request.consumer).front();
  const double before = accounts.Balance(consumer.family_code);
  const std::string number = accounts.NextDepositNumber();
  zel::Dataset payments = Payments(request.amount, request.form);
  bool printed = false;
  if (request.receipt_printer) {
    std::string unused;
    printed = session.Op<NfiscOp>(kNfiscSymbol)(
        unused, payments, before, Cp(consumer.name), number, Cp(consumer.family_name),
        request.copies, request.layout, kReceiptPrinterModel, kReceiptPrinterPort, number,
        "CANTINA ESCOLAR ZELVORA", "RUA DAS FLORES, 100", "CENTRO", "SAO PAULO - SP", "123456",
        session.printer_serial().empty() ? "SIMULADA" : session.printer_serial(), "", false);
  } else {
    std::string unused1, unused2;
    printed = session.Op<CredPessoalOp>("Compr_CredPessoal")(
        "", CreditTotalizers(session).purchase, "", "", "", kColourScheme, unused1, unused2,
        payments, before, Cp(consumer.name), number, "", "", "", "", "", "", "", "", "", "", "", "",
        false, Cp(consumer.family_name), "");
  }
  if (!printed) throw zel::Error("o comprovante de depósito não foi impresso");
  accounts.Record(MovementNow(consumer.family_code, "Deposito", request.amount));
  std::fprintf(session.out(), "Depósito %s de %s para %s (%s): saldo %s\n", number.c_str(),
               Money(request.amount).c_str(), consumer.name.c_str(), consumer.family_name.c_str(),
               Money(accounts.Balance(consumer.family_code)).c_str());
}

void PrintBalance(Session& session, CreditAccounts& accounts, const std::string& code) {
  const std::vector<ConsumerRow> rows = accounts.Consumer(code);
  zel::Dataset balances("cdsSaldos");
  balances.SetFieldDefs(
      {{"NMFAMILISALD", zel::FieldType::kText, 60}, {"SALDOFAM", zel::FieldType::kFloat, 0}});
  balances.CreateDataSet();
  for (const ConsumerRow& row : rows) {
    balances.Append();
    balances.SetValue("NMFAMILISALD", Cp(row.family_name));
    balances.SetValue("SALDOFAM", accounts.Balance(row.family_code));
    balances.Post();
  }
  balances.First();
  CreditTotalizers(session);
  session.Op<ImpSaldoOp>("ImpSaldo")(kColourScheme, balances, Cp(rows.front().name), code);
  std::fprintf(session.out(), "Saldo de %s impresso (%zu família(s)).\n", rows.front().name.c_str(),
               rows.size());
}

void PrintStatement(Session& session, CreditAccounts& accounts, const std::string& family) {
  zel::Dataset options("cdsOpcoes");
  options.SetFieldDefs({{"IDEMISEXTRSIMPL", zel::FieldType::kText, 1}});
  options.CreateDataSet();
  options.Append();
  options.SetValue("IDEMISEXTRSIMPL", "S");
  options.Post();
  zel::Dataset families = accounts.Families(family);
  zel::Dataset movements = accounts.Movements();
  zel::Dataset items = accounts.SaleItems();
  zel::Dataset balances = accounts.FamilyBalances();
  zel::Dataset opening = accounts.OpeningBalances();
  CreditTotalizers(session);
  const bool printed = session.Op<ExtratoOp>("Extrato")(
      "", kColourScheme, options, families, movements, items, balances, "", "EXTRATO DE CONSUMO",
      kCashRegister, "CANTINA", Today("d"), opening);
  std::fprintf(session.out(), "%s\n",
               printed ? "Extrato impresso." : "Nenhum movimento: nada a imprimir.");
}

void Debit(Session& session, CreditAccounts& accounts, const std::string& code,
           const std::vector<DebitItem>& items) {
  if (items.empty()) throw UsageError("informe ao menos um --item NOME:QTD:PREÇO");
  const ConsumerRow consumer = accounts.Consumer(code).front();
  zel::Dataset products("cdsProdutos");
  products.SetFieldDefs({{"CDARVPROD", zel::FieldType::kText, 20},
                         {"NMPRODUTO", zel::FieldType::kText, 40},
                         {"QTPRODCOMVEN", zel::FieldType::kFloat, 0},
                         {"VRPRECCOMVEN", zel::FieldType::kFloat, 0}});
  products.CreateDataSet();
  const std::string sale = "D" + accounts.NextDepositNumber();
  std::vector<SaleItemRow> sold;
  double total = 0;
  int index = 0;
  for (const DebitItem& item : items) {
    products.Append();
    products.SetValue("CDARVPROD", std::to_string(++index));
    products.SetValue("NMPRODUTO", Cp(item.name));
    products.SetValue("QTPRODCOMVEN", item.quantity);
    products.SetValue("VRPRECCOMVEN", item.price);
    products.Post();
    // Cut to the cent, as the driver prints each item.
    const double value = std::floor(item.quantity * item.price * 100 + 1e-6) / 100;
    sold.push_back({sale, consumer.family_code, item.quantity, item.name, value});
    total += value;
  }
  CreditTotalizers(session);
  const double balance = accounts.Balance(consumer.family_code);
  if (!session.Op<DebitoOp>("Comp_DebitoCons")(kColourScheme, products.Data(), total, kLinkedForm,
                                               code, Cp(consumer.name), consumer.family_code,
                                               Cp(consumer.family_name), "", balance, 0, 0, "1")) {
    throw zel::Error("o comprovante de débito não foi impresso");
  }
  accounts.Record(MovementNow(consumer.family_code, "Venda", -total, sale), sold);
  std::fprintf(session.out(), "Venda %s de %s debitada de %s: saldo %s\n", sale.c_str(),
               Money(total).c_str(), consumer.name.c_str(),
               Money(accounts.Balance(consumer.family_code)).c_str());
}

void CancelDeposit(Session& session, CreditAccounts& accounts, const std::string& code,
                   const std::string& deposit, double amount) {
  if (!(amount > 0)) throw UsageError("o valor cancelado deve ser maior que zero");
  const ConsumerRow consumer = accounts.Consumer(code).front();
  const double final_balance = accounts.Balance(consumer.family_code) - amount;
  std::string coupon;
  if (!session.Op<CancelaOp>("Cancela_Cred_Pessoal")(
          CreditTotalizers(session).cancellation, "", "", "", kColourScheme, coupon, deposit, code,
          Cp(consumer.name), "", "Dinheiro", amount, final_balance, Cp(consumer.family_name))) {
    throw zel::Error("o cancelamento não foi registrado");
  }
  accounts.Record(MovementNow(consumer.family_code, "Cancelamento", -amount));
  std::fprintf(session.out(), "Depósito %s cancelado (comprovante %s): saldo %s\n", deposit.c_str(),
               coupon.c_str(), Money(final_balance).c_str());
}

}  // namespace ecfhost
