#include "fiscal_jobs.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <span>

#include "fiscal_config.h"
#include "printer_checks.h"
#include "sale_checks.h"
#include "zel/codepage.h"
#include "zel/dataset.h"
#include "zel/error.h"

namespace ecfhost {
namespace {

using ParamsOp = bool(zel::Variant&);
using SchemeTextOp = bool(const std::string&, std::string&);
using ReadingOp = bool(const std::string&, const std::string&, const std::string&);
using CashOp = bool(const std::string&, const std::string&, double);
using CancelCouponOp = bool(std::span<const zel::Variant>, zel::Variant&);
using CancelItemOp = bool(const std::string&, const std::string&, const std::wstring&,
                          const std::wstring&, const std::wstring&, const std::wstring&,
                          const std::wstring&, const std::wstring&, const std::wstring&, double,
                          double);

// The printer's figures carry two implied decimals; blanks read as zero.
double ImpliedDecimals(const std::string& digits) {
  return static_cast<double>(std::strtoll(digits.c_str(), nullptr, 10)) / 100.0;
}

std::string ReadFigure(Session& session, const char* name) {
  std::string value;
  if (!session.Op<SchemeTextOp>(name)(kColourScheme, value)) {
    Fail(std::string("a impressora não informou o número ") + name);
  }
  return value;
}

std::string CouponNumber(Session& session) {
  return session.Op<std::string(const std::string&, const std::string&)>("Nr_Cupom")("",
                                                                                     kColourScheme);
}

}  // namespace

namespace {

// Whether the printer holds a coupon open (ST1 bit 2), read through the
// status entry the driver bound: that read changes nothing, where the
// driver's queries cancel a coupon they find open. Empty when the printer
// does not answer.
std::optional<bool> CouponOpenOnPrinter(Session& session) {
  auto* status = session.VendorEntry<int(int*, int*, int*)>("Bematech_FI_VerificaEstadoImpressora");
  int ack = 0, st1 = 0, st2 = 0;
  if (status == nullptr || status(&ack, &st1, &st2) != 1 || ack != 6) return std::nullopt;
  return (st1 & 2) != 0;
}

}  // namespace

CouponFate SettleFailedCoupon(Session& session, bool closing_sent) {
  const std::optional<bool> open = CouponOpenOnPrinter(session);
  if (!open) return CouponFate::kUnknown;
  if (!*open) {
    // The driver cancels nothing while it sells or closes, so a coupon no
    // longer open after its closing was sent is one the printer finished,
    // though its answer was lost.
    return closing_sent ? CouponFate::kFinished : CouponFate::kUnknown;
  }
  // Reading the coupon number is how the driver cancels a coupon the
  // printer shows open; its own cancellation would take the last finished
  // coupon when none is open.
  CouponNumber(session);
  if (CouponOpenOnPrinter(session) != false) return CouponFate::kUnknown;
  // The cancellation moved the grand total this host keeps.
  try {
    RefreshStoredGrandTotal(session);
  } catch (const zel::Error&) {
    // The next start compares it again and says so.
  }
  return CouponFate::kCancelled;
}

std::string UnfinishedCouponText(CouponFate fate) {
  return zel::Utf8ToCp1252(
      fate == CouponFate::kCancelled
          ? "; o cupom foi cancelado"
          : "; não se sabe se a impressora concluiu ou cancelou o cupom: resolva o problema da "
            "impressora e rode 'ecfhost start', que conclui ou cancela o cupom e diz o que fez");
}

namespace {

void CancelItem(Session& session, int number) {
  char item[8];
  std::snprintf(item, sizeof item, "0%04d", number);
  const std::wstring unused;
  if (!session.Op<CancelItemOp>("Cancela_ItGenerico")(kColourScheme, item, unused, unused, unused,
                                                      unused, unused, unused, unused, 0, 0)) {
    Fail("a impressora recusou o cancelamento do item " + std::to_string(number));
  }
}

}  // namespace

// This host's payment types after the driver matched them with the
// printer's payment forms, programming the missing ones.
zel::Dataset ReconciledPaymentTypes(Session& session) {
  zel::Dataset types = PaymentTypesToReconcile();
  session.Op<void(const std::string&, const std::string&, std::int32_t, zel::Dataset&)>(
      "CarregaRecebimento")("", kColourScheme, 0, types);
  return types;
}

namespace {

void RunReading(Session& session, const char* operation, const char* what) {
  if (!session.Op<ReadingOp>(operation)("", kColourScheme, "")) {
    Fail(std::string("a impressora não imprimiu a ") + what);
  }
}

}  // namespace

void ProgramPrinter(Session& session) {
  std::FILE* out = session.out();
  zel::Dataset rates("cdsAliquotas");
  session.Op<void(const std::string&, zel::Dataset&)>("CarregaAliquota")(kColourScheme, rates);
  std::fprintf(out, "Alíquotas da impressora\n");
  for (rates.First(); !rates.Eof(); rates.Next()) {
    std::fprintf(out, "  %s %6.2f%% %s\n", rates.AsText("CDALIQIMPFIS").c_str(),
                 rates.AsDouble("VRALIQIMPFIS"), rates.AsText("IDALIQIMPFIS").c_str());
  }

  std::string cv, consumer, purchase, cancellation, report;
  std::int32_t unused = 0;
  session.Op<void(std::string&, std::string&, std::string&, std::string&, std::string&,
                  const std::string&, std::int32_t&, zel::Dataset*)>("CarregaTotalizador")(
      cv, consumer, purchase, cancellation, report, kColourScheme, unused, nullptr);
  std::fprintf(out,
               "Totalizadores não fiscais\n  contra-vale %s, venda consumidor %s, crédito %s, "
               "cancelamento de crédito %s, relatórios %s\n",
               cv.c_str(), consumer.c_str(), purchase.c_str(), cancellation.c_str(),
               report.c_str());

  zel::Dataset types = ReconciledPaymentTypes(session);
  std::fprintf(out, "Formas de pagamento\n");
  for (types.First(); !types.Eof(); types.Next()) {
    const bool taken = !types.AsText("CDFPIMPFIS").empty();
    std::fprintf(out, "  %s %-16s %s\n", types.AsText("CDTIPORECE").c_str(),
                 zel::Cp1252ToUtf8(types.AsText("DSIMPFISCAL")).c_str(),
                 taken ? "na impressora" : "RECUSADA pela impressora");
  }
}

std::string SellCoupon(Session& session, const SaleRequest& sale) {
  CheckSale(sale);
  CheckSaleAgainstPrinter(session, sale);
  zel::Dataset reconciled = ReconciledPaymentTypes(session);
  const zel::Variant payment_types = ClosingPaymentTypes(reconciled);

  zel::Variant opening = OpeningParams();
  if (!session.Op<ParamsOp>("AbreCupom")(opening)) {
    Fail("a impressora não abriu o cupom");
  }
  bool closing_sent = false;
  try {
    for (const SaleItem& item : sale.items) {
      zel::Variant params = ItemParams(item);
      if (!session.Op<ParamsOp>("VendaItem")(params)) {
        Fail("a impressora recusou o item " + zel::Cp1252ToUtf8(item.name));
      }
    }
    for (int number : sale.cancelled_items) CancelItem(session, number);
    const std::vector<zel::Variant> positions = ClosingPositions(
        sale, PaymentMovements(sale.payments, zel::Env::Default()->Now()), payment_types);
    zel::Variant result = ResultArray(3);
    closing_sent = true;
    if (!session.Op<bool(std::span<const zel::Variant>, const std::vector<std::string>*,
                         zel::Variant&)>("FechaCupom")(positions, nullptr, result)) {
      Fail("a impressora não fechou o cupom");
    }
  } catch (const zel::Error& error) {
    const CouponFate fate = SettleFailedCoupon(session, closing_sent);
    if (fate != CouponFate::kFinished) {
      throw zel::Error(std::string(error.what()) + UnfinishedCouponText(fate));
    }
    std::fprintf(session.out(),
                 "aviso: %s, mas ela concluiu o cupom: a resposta ao fechamento se perdeu\n",
                 zel::Cp1252ToUtf8(error.what()).c_str());
  }
  // Said at once: a cashier (or a script) must learn that the printer has
  // the sale even if this program is cut short right after.
  std::fprintf(session.out(), "[impressora] cupom fiscal fechado\n");
  std::fflush(session.out());
  // The printer has the sale: whatever fails from here on is a warning
  // beside it, never a failed sale a cashier would ring up again.
  try {
    RefreshStoredGrandTotal(session);
  } catch (const zel::Error& error) {
    std::fprintf(session.out(), "aviso: a venda foi registrada pela impressora, mas %s\n",
                 zel::Cp1252ToUtf8(error.what()).c_str());
  }
  return CouponNumber(session);
}

std::string CancelLastCoupon(Session& session) {
  const std::vector<zel::Variant> params = {kColourScheme, true,  false, zel::Variant(),
                                            "0001",        "001", ""};
  zel::Variant result = ResultArray(2);
  const bool cancelled = session.Op<CancelCouponOp>("Cancela_Cupom_Imp")(params, result);
  if (!cancelled) Fail("a impressora não cancelou o último cupom");
  std::string number = result.AsArray().at(1).AsArray().at(0).AsText();
  number.erase(0, number.find_first_not_of(' '));
  if (!number.empty() && number.size() < 6) number.insert(0, 6 - number.size(), '0');
  return number;
}

void Supply(Session& session, double amount) {
  CheckDayOpen(session);
  if (!session.Op<CashOp>("Suprimento")("", kColourScheme, amount)) {
    Fail("a impressora não registrou o suprimento");
  }
  std::fprintf(session.out(), "Suprimento de %s registrado.\n", Money(amount).c_str());
}

void Withdraw(Session& session, double amount) {
  CheckDayOpen(session);
  if (!session.Op<CashOp>("Sangria")("", kColourScheme, amount)) {
    Fail("a impressora não registrou a sangria");
  }
  std::fprintf(session.out(), "Sangria de %s registrada.\n", Money(amount).c_str());
}

void OpenDrawer(Session& session) {
  if (!session.Op<bool(const std::string&, bool)>("Abre_Gaveta_Imp")(kColourScheme, false)) {
    Fail("a impressora não abriu a gaveta");
  }
  const std::string state =
      session.Op<std::string(const std::string&)>("Estado_Gaveta_Imp")(kColourScheme);
  std::fprintf(session.out(), "Gaveta: %s\n",
               state == "01"   ? "aberta"
               : state == "00" ? "fechada"
                               : "estado desconhecido");
}

void XReading(Session& session) {
  RunReading(session, "Leitura_X_Imp", "leitura X");
  std::fprintf(session.out(), "Leitura X impressa.\n");
}

void ZReduction(Session& session, std::FILE* report) {
  // A day still open from an earlier date is what a reduction closes.
  CheckDayOpen(session, false);
  RunReading(session, "Reducao_Z_Imp", "redução Z");
  std::fprintf(report != nullptr ? report : session.out(),
               "Redução Z impressa: dia fiscal encerrado.\n");
}

std::string GrandTotal(Session& session) { return ReadFigure(session, "BuscaTotGer"); }

DayFigures ReadDayFigures(Session& session) {
  DayFigures figures;
  figures.coupons = std::strtol(ReadFigure(session, "ContadorCupomFiscalMFD").c_str(), nullptr, 10);
  figures.nonfiscal =
      std::strtol(ReadFigure(session, "NumeroOperacoesNaoFiscais").c_str(), nullptr, 10);
  figures.reports =
      std::strtol(ReadFigure(session, "ContadorRelatoriosGerenciaisMFD").c_str(), nullptr, 10);
  figures.gross_sales = ImpliedDecimals(ReadFigure(session, "VendaBruta"));
  figures.discounts = ImpliedDecimals(ReadFigure(session, "Descontos"));
  figures.cancellations = ImpliedDecimals(ReadFigure(session, "Cancelamentos"));
  return figures;
}

}  // namespace ecfhost
