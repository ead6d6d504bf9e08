#include "sale_builder.h"

#include <cctype>
#include <cmath>
#include <cstdint>
#include <set>

#include "options.h"
#include "sale_checks.h"
#include "zel/codepage.h"

namespace ecfhost {
namespace {

// The printer takes payment-form names of 16 characters.
constexpr std::size_t kFormNameWidth = 16;
// FechaCupom's positional values.
constexpr std::size_t kClosingPositions = 43;
// One second as a fraction of a day.
constexpr double kSecond = 1.0 / 86400.0;

std::vector<std::string> Split(const std::string& text, char separator) {
  std::vector<std::string> fields;
  std::size_t start = 0;
  for (;;) {
    const std::size_t end = text.find(separator, start);
    fields.push_back(text.substr(start, end - start));
    if (end == std::string::npos) return fields;
    start = end + 1;
  }
}

// A payment form's name as compared: lower case without accents, so
// "CARTÃO CRÉDITO" finds "Cartao Credito".
std::string Folded(const std::string& utf8) {
  // Windows-1252 letters from 0xC0, upper then lower case, without accent.
  static constexpr char kBase[] = "aaaaaaaceeeeiiiidnooooo*ouuuuyps";
  std::string text = zel::Utf8ToCp1252(utf8);
  for (char& c : text) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte >= 0xC0) c = kBase[(byte - 0xC0) % 32];
    c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  }
  return text;
}

bool IsRate(const std::string& rate) {
  static const std::set<std::string> kFixed = {"FF", "II", "NN"};
  if (kFixed.contains(rate)) return true;
  return rate.size() == 2 && std::isdigit(static_cast<unsigned char>(rate[0])) &&
         std::isdigit(static_cast<unsigned char>(rate[1])) && rate != "00";
}

}  // namespace

SaleItem ParseItem(const std::string& text) {
  const std::vector<std::string> fields = Split(text, ':');
  if (fields.size() < 5 || fields.size() > 7) {
    Mistake("o item '" + text + "' não segue CÓDIGO:NOME:ALÍQUOTA:QTDE:PREÇO[:DESCONTO[:UNIDADE]]");
  }
  const std::string& name = fields[1];
  // Named by its code: the name itself may not be printable here.
  CheckPrintable(fields[0], "o código de um item");
  CheckPrintable(name, "o nome do item " + fields[0]);
  SaleItem item;
  item.code = zel::Utf8ToCp1252(fields[0]);
  item.name = zel::Utf8ToCp1252(name);
  item.rate = fields[2];
  if (item.code.empty() || item.name.empty()) {
    Mistake("o item '" + text + "' precisa de um código e de um nome");
  }
  if (item.code.size() > kItemCodeWidth) {
    Fail("o código do item '" + name + "' passa de " + std::to_string(kItemCodeWidth) +
         " caracteres, o limite da impressora");
  }
  if (!IsRate(item.rate)) {
    Mistake("a alíquota '" + item.rate + "' do item '" + name +
            "' não é uma posição de dois dígitos (01, 02, ...) nem FF, II ou NN; as posições "
            "programadas na impressora são mostradas por ecfhost program");
  }
  item.quantity = ParseAmount(fields[3], zel::Utf8ToCp1252("a quantidade do item '" + name + "'"));
  item.price = ParseAmount(fields[4], zel::Utf8ToCp1252("o preço do item '" + name + "'"));
  if (fields.size() > 5 && !fields[5].empty()) {
    item.discount = ParseAmount(fields[5], zel::Utf8ToCp1252("o desconto do item '" + name + "'"));
  }
  if (fields.size() > 6 && !fields[6].empty()) {
    CheckPrintable(fields[6], "a unidade do item " + fields[0]);
    item.unit = zel::Utf8ToCp1252(fields[6]);
  }
  if (!(item.quantity > 0) || !(item.price > 0)) {
    Fail("o item '" + name + "' precisa de quantidade e preço acima de zero");
  }
  CheckItem(item);
  return item;
}

SalePayment ParsePayment(const std::string& text) {
  const std::size_t colon = text.rfind(':');
  if (colon == std::string::npos || colon == 0) {
    Mistake("o pagamento '" + text + "' não segue FORMA:VALOR");
  }
  SalePayment payment;
  payment.form = text.substr(0, colon);
  const PaymentType* type = FindPaymentType(payment.form);
  if (type == nullptr) {
    Mistake("forma de pagamento desconhecida '" + payment.form +
            "'; esta caixa aceita: " + PaymentTypeNames());
  }
  payment.form = type->name;
  payment.amount = ParseAmount(text.substr(colon + 1), "o valor pago em " + payment.form);
  if (std::llround(payment.amount * 100) < 1) {
    Fail("o valor pago em " + payment.form + " precisa ser de pelo menos 0,01");
  }
  return payment;
}

std::string Money(double amount) { return CentsText(std::llround(amount * 100)); }

const std::vector<PaymentType>& HostPaymentTypes() {
  static const std::vector<PaymentType> types = {{"001", "Dinheiro", "1"},
                                                 {"002", "Cheque", "2"},
                                                 {"003", "Cartao Credito", "4"},
                                                 {"004", "Cartao Debito", "4"},
                                                 {"005", "Ticket Refeicao", "1"}};
  return types;
}

const PaymentType* FindPaymentType(const std::string& name) {
  for (const PaymentType& type : HostPaymentTypes()) {
    if (Folded(type.name) == Folded(name)) return &type;
  }
  return nullptr;
}

std::string PaymentTypeNames() {
  std::string names;
  for (const PaymentType& type : HostPaymentTypes()) {
    names += (names.empty() ? "" : ", ") + std::string(type.name);
  }
  return names;
}

zel::Dataset PaymentTypesToReconcile() {
  zel::Dataset types("cdsTipoRece");
  types.SetFieldDefs({{"CDTIPORECE", zel::FieldType::kText, 3},
                      {"NMTIPORECE", zel::FieldType::kText, 40},
                      {"IDEMIVALE", zel::FieldType::kText, 1},
                      {"CDFPIMPFIS", zel::FieldType::kText, 10},
                      {"IDTIPORECE", zel::FieldType::kText, 1},
                      {"IDTPBUTTON", zel::FieldType::kText, 1},
                      {"DSIMPFISCAL", zel::FieldType::kText, 50},
                      {"IDMOSTRARECE", zel::FieldType::kText, 1}});
  types.CreateDataSet();
  for (const PaymentType& type : HostPaymentTypes()) {
    types.Append();
    types.SetValue("CDTIPORECE", type.code);
    types.SetValue("IDTIPORECE", type.kind);
    types.SetValue("IDTPBUTTON", "5");
    types.SetValue("IDMOSTRARECE", "S");
    types.SetValue("DSIMPFISCAL", type.name);
    types.Post();
  }
  return types;
}

zel::Variant ClosingPaymentTypes(zel::Dataset& reconciled) {
  zel::Dataset types("cdsRecebAux");
  types.AddField("CDTIPORECE", zel::FieldType::kText, 4);
  types.AddField("NMTIPORECE", zel::FieldType::kText, 40);
  types.AddField("IDTIPORECE", zel::FieldType::kText, 1);
  types.CreateDataSet();
  for (reconciled.First(); !reconciled.Eof(); reconciled.Next()) {
    const std::string host_name = reconciled.AsText("DSIMPFISCAL");
    if (reconciled.AsText("CDFPIMPFIS").empty()) {
      Fail("a impressora não aceitou a forma de pagamento '" + zel::Cp1252ToUtf8(host_name) +
           "' (veja ecfhost program)");
    }
    // The driver wrote the form's name as the printer keeps it.
    types.Append();
    types.SetValue("CDTIPORECE", reconciled.AsText("CDTIPORECE"));
    types.SetValue("NMTIPORECE", reconciled.AsText("NMTIPORECE"));
    types.SetValue("IDTIPORECE", reconciled.AsText("IDTIPORECE"));
    types.Post();
  }
  return types.Data();
}

zel::Variant OpeningParams() {
  return zel::MakeParams({{"ESQUEMACOR", kColourScheme},
                          {"INTTEFERRO", 0},
                          {"INCLUICPF", ""},
                          {"INCLUINOME", ""},
                          {"INCLUIENDERECO", ""},
                          {"CUPNR", ""},
                          {"CONTCUPOM", ""},
                          {"IDUTILTEF", "N"},
                          {"UTILTEF", false}});
}

zel::Variant ItemParams(const SaleItem& item) {
  return zel::MakeParams({{"ESQUEMACOR", kColourScheme},
                          {"INTEFERRO", 0},
                          {"CDARVPROD", item.code},
                          {"NMPROD", item.name},
                          {"CDALIQ", item.rate},
                          {"QTDE", item.quantity},
                          {"VALOR", item.price},
                          {"DESCONT", item.discount},
                          {"UNIDADE", item.unit},
                          {"IDUTILTEF", "N"},
                          {"UTILTEF", false}});
}

zel::Variant PaymentMovements(const std::vector<SalePayment>& payments, zel::DateTime now) {
  zel::Dataset data("cdsMovCaixa");
  for (const char* name : {"CDFILIAL", "IDTIPOMOVIVE"})
    data.AddField(name, zel::FieldType::kText, 4);
  data.AddField("DTHRINCMOV", zel::FieldType::kDateTime);
  for (const char* name : {"CDTIPORECE", "NMTIPORECE", "IDTIPORECE"}) {
    data.AddField(name, zel::FieldType::kText, 30);
  }
  for (const char* name : {"VRMOVIVEND", "VRMOVIVEOUT", "VRCOTINDOUT"}) {
    data.AddField(name, zel::FieldType::kFloat);
  }
  for (const char* name : {"CDTIPOTROCO", "NRORDTROCO", "CDCLIENTE", "CDCONSUMIDOR"}) {
    data.AddField(name, zel::FieldType::kText, 10);
  }
  data.AddField("DTMOVIMCAIXA", zel::FieldType::kDateTime);
  for (const char* name : {"DSIMPFISCAL", "CDFPIMPFIS", "NRCARTBANCO", "CDNSUHOSTTEF",
                           "CDBANCARTCR", "CDTIPORECEORIG"}) {
    data.AddField(name, zel::FieldType::kText, 20);
  }
  data.CreateDataSet();
  for (std::size_t i = 0; i < payments.size(); ++i) {
    const PaymentType* type = FindPaymentType(payments[i].form);
    if (type == nullptr) Fail("forma de pagamento desconhecida '" + payments[i].form + "'");
    data.Append();
    data.SetValue("CDFILIAL", "0001");
    data.SetValue("IDTIPOMOVIVE", "E");
    data.SetValue("DTHRINCMOV", zel::DateTime{now.value + static_cast<double>(i) * kSecond});
    data.SetValue("CDTIPORECE", type->code);
    data.SetValue("NMTIPORECE", type->name);
    data.SetValue("IDTIPORECE", type->kind);
    data.SetValue("VRMOVIVEND", payments[i].amount);
    data.Post();
  }
  return data.Data();
}

std::vector<zel::Variant> ClosingPositions(const SaleRequest& sale, zel::Variant movements,
                                           zel::Variant payment_types) {
  std::vector<zel::Variant> positions(kClosingPositions);
  positions[0] = "";  // receipt totalizer: no receipt after the coupon
  positions[2] = kColourScheme;
  positions[4] = false;  // no non-fiscal receipt after the coupon
  positions[5] = true;   // show the printer's problems
  positions[6] = sale.discount;
  positions[7] = 0.0;
  positions[8] = sale.surcharge;
  positions[9] = "N";  // no card payments through TEF
  positions[11] = false;
  positions[13] = std::move(movements);
  positions[14] = std::move(payment_types);
  positions[22] = "01";
  positions[23] = "CAIXA";
  return positions;
}

zel::Variant ResultArray(int columns) {
  return zel::Variant(zel::VariantArray{zel::Variant(zel::VariantArray{}),
                                        zel::Variant(zel::VariantArray(columns))});
}

}  // namespace ecfhost
