// The message at the end of a fiscal coupon. Six layouts share a handful of
// segments; the sale context picks the layout. Composition reads only its
// arguments (and the message tables), so a retried coupon end prints exactly
// what the failed attempt would have printed.
#include <string>
#include <vector>

#include "core/data_module.h"
#include "coupon/closing.h"
#include "host/number_format.h"
#include "host/string_functions.h"
#include "zel/error.h"

namespace zel {
namespace {

constexpr int kNameWidth = 40;
constexpr int kCheckLineWidth = 48;
constexpr int kCentredWidth = 47;
constexpr int kCreditCentredWidth = 48;
constexpr int kFamilyNameWidth = 25;
constexpr int kFamilyValueWidth = 22;
constexpr int kTefLineWidth = 40;
constexpr std::size_t kTefLinesPrinted = 3;
// A table number longer than this is an order pad.
constexpr std::size_t kTableNumberWidth = 4;

// The software maker's line that ends every closing message: the same text
// every printed document of the driver carries.
std::string Footer() { return MsgPadrao("Quarvel"); }

enum class Layout { kConsumerCredit, kFamilyBalances, kTefLines, kAgreement, kCentred, kPlain };

Layout SelectLayout(const ClosingMessageInputs& in, const std::vector<std::string>* tef_lines,
                    const PaymentFacts& facts) {
  if (in.credit_layout == "2" && !in.consumer_code.empty() && in.balance_source == "1") {
    return Layout::kConsumerCredit;
  }
  if (in.balance_mode == "1" && in.balance_source == "1") return Layout::kFamilyBalances;
  if (in.tef_indicator == "T" && in.tef_active && in.print_tef_lines == "S" &&
      tef_lines != nullptr) {
    return Layout::kTefLines;
  }
  if (facts.agreement) return Layout::kAgreement;
  if (!in.centred_switch.empty()) return Layout::kCentred;
  return Layout::kPlain;
}

std::string Number(double value) { return FormatFixed(value, 2); }

std::string First(const std::string& text, int width) {
  return text.substr(0, static_cast<std::size_t>(width));
}

bool IsOpen(const Dataset* dataset) { return dataset != nullptr && dataset->Active(); }

// --- Segments ----------------------------------------------------------------

std::string HeaderSegment(const ClosingMessageInputs& in) { return in.header + "\r\n\n"; }

std::string TableCheckSegment(const ClosingMessageInputs& in) {
  if (in.check_coo.empty()) return {};
  return First(MsgPadrao("Conf_mesa") + " - CER " + in.check_cer + " - COO " + in.check_coo,
               kCheckLineWidth) +
         "\n";
}

std::string AgreementSegment(const ClosingMessageInputs& in) {
  return MsgPadrao("Convenio") +
         " ..: " + First(in.client_code + " - " + in.client_name, kNameWidth) + "\n";
}

std::string ClientSegment(const ClosingMessageInputs& in) {
  if (in.client_code.empty()) return {};
  return "\n" + First(MsgPadrao("CDCLIE") + in.client_code + " - " + in.client_name, kNameWidth) +
         "\n";
}

std::string ConsumerSegment(const ClosingMessageInputs& in) {
  if (in.consumer_code.empty()) return {};
  return First(MsgPadrao("Consumidor") + " : " + in.consumer_code + " - " + in.consumer_name,
               kNameWidth) +
         "\n";
}

std::string SubsidySegment(double subsidy) {
  return MsgPadrao("PRECO_SUBSIDIO") + " " + Number(subsidy) + "\n";
}

std::string TableSegment(const ClosingMessageInputs& in) {
  std::string line;
  if (!EmptyString(in.table_number)) {
    line = in.table_number.size() > kTableNumberWidth
               ? MsgPadrao("Comanda") + " : " + in.table_number + "   - "
               : MsgPadrao("Mesa") + "  : " + in.table_number + "           - ";
  }
  if (!in.password.empty()) line += MsgPadrao("SENHA") + in.password;
  return line + "\n";
}

std::string OperatorSegment(const ClosingMessageInputs& in, const char* line_end) {
  return MsgPadrao("Operador") + ": " + in.operator_code + " - " + in.operator_name + line_end;
}

std::string CentredSegment(const ClosingMessageInputs& in, const char* line_end) {
  if (in.centred_line.empty()) return {};
  return Centraliza(in.centred_line, kCentredWidth) + line_end;
}

std::string FreeSegment(const ClosingMessageInputs& in, const char* line_end) {
  if (in.free_line.empty()) return {};
  return in.free_line + line_end;
}

// --- Balances ----------------------------------------------------------------

double SumOfBalances(Dataset* balances) {
  double sum = 0;
  if (!IsOpen(balances)) return sum;
  for (balances->First(); !balances->Eof(); balances->Next()) {
    sum += balances->AsDouble("VRSALDCONFAM");
  }
  return sum;
}

bool HasRows(const Dataset* dataset) { return IsOpen(dataset) && !dataset->IsEmpty(); }

// The consumer's balance after this sale, for the LB, LC and LE layouts.
double ConsumerBalance(const ClosingMessageInputs& in, CreditDatasets credit,
                       const PaymentFacts& facts) {
  const double from_figure = in.balance_before - facts.credit_sum + in.subsidy;
  if (in.balance_mode == "0" && in.balance_source == "1") {
    return HasRows(credit.balances) ? SumOfBalances(credit.balances) - facts.credit_sum : 0;
  }
  if (in.balance_mode == "0" && in.balance_source == "2") return from_figure;
  if (in.balance_mode == "1") return from_figure;
  return 0;
}

std::string BalanceSegment(const ClosingMessageInputs& in, CreditDatasets credit,
                           const PaymentFacts& facts) {
  const bool shown = !in.consumer_code.empty() && in.balance_mode != "2" &&
                     (in.balance_source == "1" || in.balance_source == "2");
  if (!shown) return {};
  return MsgPadrao("Sald_Cons") + Number(ConsumerBalance(in, credit, facts)) + "\n";
}

// The family's movement of `kind` ("D" or "C"), when the movements are there
// and hold one.
bool FindMovement(Dataset* movements, const Variant& family, const char* kind, double* amount) {
  if (!IsOpen(movements)) return false;
  const Variant key(VariantArray{family, Variant(kind)});
  if (!movements->Locate("CDFAMILISALD;IDTPMOVEXT", key, {.case_insensitive = true})) return false;
  *amount = movements->AsDouble("VRMOVEXTCONS");
  return true;
}

// What is left of the current family's balance after this sale and its
// credit and debit movements.
double FamilyValue(Dataset& balances, CreditDatasets credit) {
  const Variant family = balances.FieldValue("CDFAMILISALD");
  double value = balances.AsDouble("VRSALDCONFAM");
  double moved = 0;
  const bool consumed =
      IsOpen(credit.consumption) &&
      credit.consumption->Locate("CDFAMILISALD", family, {.case_insensitive = true});
  if (consumed) value -= credit.consumption->AsDouble("VRSALDCONFAM");
  if (FindMovement(credit.movements, family, "D", &moved)) return value - moved;
  if (consumed && FindMovement(credit.movements, family, "C", &moved)) return value + moved;
  return value;
}

// Families are listed only for an account of at most two.
constexpr int kMostFamiliesListed = 2;

std::string FamilyLines(CreditDatasets credit, bool movements_required) {
  std::string lines;
  Dataset* balances = credit.balances;
  if (!IsOpen(balances) || balances->RecordCount() > kMostFamiliesListed) return lines;
  for (balances->First(); !balances->Eof(); balances->Next()) {
    if (balances->AsDouble("VRSALDCONFAM") == 0) continue;
    if (movements_required && !IsOpen(credit.movements)) {
      throw Error("FechaCupom: the family balances need the family movements (position 34)");
    }
    lines += TamFixo(balances->AsText("NMFAMILISALD"), kFamilyNameWidth) +
             TamFixoR(Number(FamilyValue(*balances, credit)), kFamilyValueWidth) + "\n";
  }
  return lines;
}

std::string CreditNames(const ClosingMessageInputs& in) {
  return Centraliza(in.client_code + " - " + in.client_name, kCreditCentredWidth) + "\n" +
         Centraliza(in.consumer_code + " - " + in.consumer_name, kCreditCentredWidth) + "\n";
}

std::string PositiveSubsidy(const ClosingMessageInputs& in) {
  return in.subsidy > 0 ? SubsidySegment(in.subsidy) : std::string();
}

std::string NonZeroSubsidy(const ClosingMessageInputs& in) {
  return in.subsidy != 0 ? SubsidySegment(in.subsidy) : std::string();
}

double TotalOfBalances(Dataset* balances, const PaymentFacts& facts) {
  if (!HasRows(balances)) return 0;
  return SumOfBalances(balances) - facts.credit_sum;
}

// --- Layouts -------------------------------------------------------------------

std::string ConsumerCreditLayout(const ClosingMessageInputs& in, CreditDatasets credit,
                                 const PaymentFacts& facts) {
  return HeaderSegment(in) + CreditNames(in) + PositiveSubsidy(in) + FamilyLines(credit, false) +
         TamFixo("Saldo Total", kFamilyNameWidth) +
         TamFixoR(Number(TotalOfBalances(credit.balances, facts)), kFamilyValueWidth) + "\n" +
         std::string(kCreditCentredWidth, ' ') + "\n" + Footer() + "\r\n" +
         OperatorSegment(in, "\r\n");
}

std::string FamilyBalancesLayout(const ClosingMessageInputs& in, CreditDatasets credit) {
  return HeaderSegment(in) + TableCheckSegment(in) + CreditNames(in) + PositiveSubsidy(in) +
         FamilyLines(credit, true) + Footer() + "\r\n" + OperatorSegment(in, "\r\n");
}

std::string TefLines(const std::vector<std::string>& entries) {
  std::vector<std::string> lines;
  for (const std::string& entry : entries) {
    std::size_t start = 0;
    for (std::size_t end = entry.find('\n'); end != std::string::npos;
         start = end + 1, end = entry.find('\n', start)) {
      lines.push_back(entry.substr(start, end - start));
    }
  }
  if (lines.size() < kTefLinesPrinted) {
    throw Error("FechaCupom: the card slip has " + std::to_string(lines.size()) +
                " lines; the closing message needs " + std::to_string(kTefLinesPrinted));
  }
  std::string text;
  for (std::size_t i = 0; i < kTefLinesPrinted; ++i) {
    text += TamFixo(lines[i], kTefLineWidth) + "\n";
  }
  return text;
}

std::string TefLayout(const ClosingMessageInputs& in, const std::vector<std::string>& entries) {
  return TefLines(entries) + TableSegment(in) + OperatorSegment(in, "\n") +
         CentredSegment(in, "\n") + FreeSegment(in, "\n") + Footer();
}

// LB, LC and LE: the agreement or the client, then the consumer and what is
// left of the balance.
std::string SaleLayout(Layout layout, const ClosingMessageInputs& in, CreditDatasets credit,
                       const PaymentFacts& facts) {
  std::string text = in.header.empty() ? std::string() : HeaderSegment(in);
  text += TableCheckSegment(in);
  text += layout == Layout::kAgreement ? AgreementSegment(in) : ClientSegment(in);
  text += ConsumerSegment(in) + BalanceSegment(in, credit, facts) + NonZeroSubsidy(in) +
          TableSegment(in) + OperatorSegment(in, "\r\n");
  if (layout == Layout::kCentred) text += CentredSegment(in, "\r\n");
  return text + FreeSegment(in, "\r\n") + Footer();
}

}  // namespace

std::string ComposeClosingMessage(const ClosingMessageInputs& inputs, CreditDatasets credit,
                                  const std::vector<std::string>* tef_lines,
                                  const PaymentFacts& facts) {
  switch (const Layout layout = SelectLayout(inputs, tef_lines, facts)) {
    case Layout::kConsumerCredit:
      return ConsumerCreditLayout(inputs, credit, facts);
    case Layout::kFamilyBalances:
      return FamilyBalancesLayout(inputs, credit);
    case Layout::kTefLines:
      return TefLayout(inputs, *tef_lines);
    case Layout::kAgreement:
    case Layout::kCentred:
    case Layout::kPlain:
      return SaleLayout(layout, inputs, credit, facts);
  }
  return {};
}

}  // namespace zel
