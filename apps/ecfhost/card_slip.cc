#include "card_slip.h"

#include <cstdint>
#include <cstdio>
#include <optional>
#include <vector>

#include "options.h"
#include "zel/codepage.h"
#include "zel/env.h"
#include "zel/error.h"

namespace ecfhost {
namespace {

using Texts = std::vector<std::string>;
using ImprimeTefOp = bool(const std::string&, const Texts*, const Texts*, const Texts*,
                          const Texts*, const std::string&, const std::string&, const std::string&,
                          double, double, std::int32_t, const std::string&);

// The kind of the host's card payment types.
constexpr char kCardKind[] = "4";

}  // namespace

CardSlip ReadCardSlip(const std::string& path, const SaleRequest& sale) {
  std::optional<SalePayment> card;
  for (const SalePayment& payment : sale.payments) {
    const PaymentType* type = FindPaymentType(payment.form);
    if (type != nullptr && std::string(type->kind) == kCardKind) {
      // The printer knows the form under this host's configured name.
      card = SalePayment{type->name, payment.amount};
      break;
    }
  }
  if (!card) throw UsageError("--tef-receipt precisa de um pagamento com cartão na venda");
  std::string text;
  for (const std::string& line : zel::Env::Default()->ReadLines(path)) text += line + "\n";
  if (text.find_first_not_of(" \n") == std::string::npos) {
    throw zel::Error("o comprovante do cartão " + path + " está vazio");
  }
  return {zel::Utf8ToCp1252(text), *card};
}

void PrintCardSlip(Session& session, const CardSlip& slip) {
  const Texts copies = {slip.text};
  // Linked receipt on the card payment (mode 0, "N"); the coupon number is
  // read from the printer.
  if (!session.Op<ImprimeTefOp>("ImprimeTef")(kColourScheme, &copies, &copies, nullptr, nullptr, "",
                                              slip.payment.form, "", slip.payment.amount, 0, 0,
                                              "N")) {
    throw zel::Error("a impressora não imprimiu o comprovante do cartão");
  }
  std::fprintf(session.out(), "Comprovante do cartão impresso (2 vias, cupom %s).\n",
               session.DriverText("stRetorno").c_str());
}

}  // namespace ecfhost
