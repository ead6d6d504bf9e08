// The fiscal coupon from the command line: a sale, and the cancellation of
// the last coupon.
#include <cstdio>
#include <cstdlib>
#include <optional>

#include "card_slip.h"
#include "command_families.h"
#include "fiscal_jobs.h"
#include "options.h"
#include "sale_checks.h"

namespace ecfhost {
namespace {

int ParseItemNumber(const std::string& text) {
  char* end = nullptr;
  const long number = std::strtol(text.c_str(), &end, 10);
  if (text.empty() || *end != '\0' || number < 1 || number > 9999) {
    Fail("--cancel-item leva o número de um item, a partir de 1, não '" + text + "'");
  }
  return static_cast<int>(number);
}

SaleRequest ReadSale(const Options& options) {
  SaleRequest sale;
  for (const std::string& item : options.All("--item")) sale.items.push_back(ParseItem(item));
  for (const std::string& payment : options.All("--pay")) {
    sale.payments.push_back(ParsePayment(payment));
  }
  if (auto discount = options.One("--discount")) {
    sale.discount = ParseAmount(*discount, "the discount");
  }
  if (auto surcharge = options.One("--surcharge")) {
    sale.surcharge = ParseAmount(*surcharge, "the surcharge");
  }
  for (const std::string& number : options.All("--cancel-item")) {
    sale.cancelled_items.push_back(ParseItemNumber(number));
  }
  CheckSale(sale);
  return sale;
}

}  // namespace

int RunSale(Session& session, const Arguments& arguments) {
  const Options options(
      arguments, {"--item", "--pay", "--discount", "--surcharge", "--cancel-item", "--tef-receipt"},
      {});
  const SaleRequest sale = ReadSale(options);
  std::optional<CardSlip> slip;
  if (auto file = options.One("--tef-receipt")) slip = ReadCardSlip(*file, sale);
  for (const std::string& warning : CutWarnings(sale)) {
    std::fprintf(session.out(), "aviso: %s\n", warning.c_str());
  }
  session.Start();
  const std::string coupon = SellCoupon(session, sale);
  // Worked out as the printer works them out, so they read as the tape does.
  const SaleFigures figures = PrinterFigures(sale);
  std::fprintf(session.out(),
               "Cupom %s emitido: %zu item(ns), %zu cancelado(s); total %s, pago %s, troco %s\n",
               coupon.c_str(), sale.items.size(), sale.cancelled_items.size(),
               CentsText(figures.due).c_str(), CentsText(figures.paid).c_str(),
               CentsText(figures.change).c_str());
  if (slip) PrintCardSlip(session, *slip);
  return 0;
}

int RunCancel(Session& session, const Arguments& arguments) {
  Options(arguments, {}, {});
  session.Start();
  const std::string coupon = CancelLastCoupon(session);
  std::fprintf(session.out(), "Cupom %s cancelado.\n", coupon.c_str());
  return 0;
}

}  // namespace ecfhost
