// FechaCupom: the end of a fiscal sale. The printer goes through three
// steps (closing started, payments registered, coupon ended); under TEF a
// failed step is offered to the operator again and the sale resumes at that
// step, so nothing the printer already accepted is sent twice.
//
// Everything that can be checked is checked before the first command: a
// closing refused halfway leaves a coupon on the printer that only a
// cancellation can clear. Whatever goes wrong, the host gets false (never
// an exception), its result row, the reason in the debug log and, when it
// asked for dialogs, the reason on screen once.
#include <exception>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "core/data_module.h"
#include "core/dialogs.h"
#include "core/start_support.h"
#include "core/vendor_call.h"
#include "coupon/closing.h"
#include "coupon/sale.h"
#include "host/number_format.h"
#include "host/string_functions.h"
#include "zel/debug_log.h"
#include "zel/driver_state.h"
#include "zel/error.h"
#include "zel/operations.h"

namespace zel {
namespace {

// Result row cells.
constexpr std::size_t kRetriedCell = 0;
constexpr std::size_t kPassthroughCell = 1;
constexpr std::size_t kCounterCell = 2;

// Loads a dataset the host may leave out; absent, it stays closed (or
// empty, when it has a structure of its own).
void LoadOptional(Dataset& dataset, const Variant& data) {
  if (data.kind() == Variant::Kind::kPacket) {
    dataset.SetData(data);
  } else if (dataset.FieldCount() > 0) {
    dataset.CreateDataSet();
  } else {
    dataset.Close();
  }
}

// A dataset the message may read only when the host passed it in this call:
// what an earlier call left in the data module must not stand in for it.
Dataset* GivenIn(const Variant& data, Dataset& dataset) {
  return data.kind() == Variant::Kind::kPacket ? &dataset : nullptr;
}

void WriteResultRow(Variant& result, int tef_retried, const Variant& passthrough,
                    const Variant& counter) {
  SetResultCell(result, kRetriedCell, Variant(tef_retried));
  SetResultCell(result, kPassthroughCell, passthrough);
  SetResultCell(result, kCounterCell, counter);
}

PaymentFacts FactsOf(const std::vector<PaymentToRegister>& payments) {
  PaymentFacts facts;
  for (const PaymentToRegister& payment : payments) {
    if (payment.kind == "8") facts.agreement = true;
    if (payment.kind == "9" || payment.kind == "A") facts.credit_sum += payment.amount;
  }
  return facts;
}

// One call's closing. Run walks the steps in order; each step repeats in
// place while the operator asks for it, so a retry never goes back to a
// step the printer already accepted.
class CouponClosing {
 public:
  CouponClosing(const ClosingParams& params, TdtmBematech10& data,
                const std::vector<std::string>* tef_lines)
      : params_(params),
        scheme_(params.colour_scheme),
        credit_{GivenIn(params.balances, data.cdsSaldCred),
                GivenIn(params.consumption, data.cdsFamiliaSaldo),
                GivenIn(params.family_movements, data.cdsEmprestimo)},
        tef_lines_(tef_lines) {
    data.cdsMovCaixa.SetData(params.movements);
    data.cdsMovCaixaTef.SetData(params.movements);
    LoadOptional(data.cdsRecebAux, params.payment_types);
    LoadOptional(data.cdsSaldCred, params.balances);
    LoadOptional(data.cdsFamiliaSaldo, params.consumption);
    LoadOptional(data.cdsEmprestimo, params.family_movements);
    payments_ =
        GroupPayments(data.cdsMovCaixa, data.cdsMovCaixaTef, data.cdsRecebAux, params.UnderTef());
    // Started without a payment, the closing could never end: the printer
    // would keep a coupon that takes neither items nor an end. The coupon is
    // left open as it is, for the host to pay or cancel.
    if (payments_.empty()) {
      throw Error(
          "FechaCupom: the cash movements hold no payment (kind E or T); nothing to close, the "
          "coupon stays open");
    }
    // The coupon is ended only once every payment is in, so what the message
    // says of the payments is known now; and since the message depends on
    // nothing else, composing it here shows whether it can be composed at
    // all before the printer is touched.
    facts_ = FactsOf(payments_);
    ComposeClosingMessage(params_.message, credit_, tef_lines_, facts_);
  }

  bool Run(Variant& result) {
    if (!PrinterAnswers()) return false;
    if (!UntilAccepted([this] { return StartClosing(); })) return false;
    for (const PaymentToRegister& payment : payments_) {
      if (!UntilAccepted([&] { return Pay(payment); })) return false;
    }
    if (!UntilAccepted([this] { return EndCoupon(); })) return false;
    if (params_.receipt_after) counter_ = ReceiptAfterCoupon();
    WriteResult(result);
    return true;
  }

  void WriteResult(Variant& result) const {
    WriteResultRow(result, tef_retried_, params_.passthrough, counter_);
  }

 private:
  // Under card payments the printer must answer before the closing starts.
  bool PrinterAnswers() {
    if (params_.message.tef_indicator != "T" || !params_.message.tef_active) return true;
    while (!Zel00101::Estado_Imp(scheme_, true, false)) {
      if (!AskPrintAgain(scheme_)) return false;
      tef_retried_ = 1;
    }
    return true;
  }

  // Repeats `attempt` while it fails and the operator, under TEF, asks for
  // it; false when the operator gives up or the sale is not under TEF.
  template <typename Attempt>
  bool UntilAccepted(Attempt attempt) {
    while (!attempt()) {
      if (!params_.UnderTef() || !AskPrintAgain(scheme_)) return false;
      tef_retried_ = 1;
    }
    return true;
  }

  bool Analyse(int status) {
    Zel00101::inRetorno = status;
    return Zel00101::AnalisaRetorno(scheme_, status, params_.show, false, false);
  }

  bool StartClosing() {
    std::string kind = "d";
    std::string value;
    if (params_.discount > 0) {
      value = FormatFloat("0.00", Trunc2(params_.discount));
    } else if (params_.surcharge > 0) {
      kind = "a";
      value = FormatFloat("0.00", Trunc2(params_.surcharge));
    } else {
      value = FloatToText(params_.discount);
    }
    const std::string amount_type = "$";
    const int status =
        CallVendor(Zel00101::Bematech_FI_IniciaFechamentoCupom, kind, amount_type, value);
    LogCall("Bematech_FI_IniciaFechamentoCupom", {kind, amount_type, value});
    return Analyse(status);
  }

  bool Pay(const PaymentToRegister& payment) {
    const std::string amount = FormatFloat("#0.00", payment.amount);
    const int status =
        CallVendor(Zel00101::Bematech_FI_EfetuaFormaPagamento, payment.form_name, amount);
    LogCall("Bematech_FI_EfetuaFormaPagamento", {payment.form_name, amount});
    return Analyse(status);
  }

  bool EndCoupon() {
    const std::string message = ComposeClosingMessage(params_.message, credit_, tef_lines_, facts_);
    const int status = CallVendor(Zel00101::Bematech_FI_TerminaFechamentoCupom, message);
    LogCall("Bematech_FI_TerminaFechamentoCupom");
    return Analyse(status);
  }

  // The receipt's outcome does not change the sale's: the coupon is closed.
  Variant ReceiptAfterCoupon() {
    const std::string amount = FormatFloat("0.00", params_.receipt_amount);
    const std::string form = MsgPadrao("Dinheiro").substr(0, kFormNameWidth);
    const int status = CallVendor(Zel00101::Bematech_FI_RecebimentoNaoFiscal,
                                  params_.receipt_totalizer, amount, form);
    LogCall("Bematech_FI_RecebimentoNaoFiscal", {params_.receipt_totalizer, amount, form});
    Analyse(status);
    std::string counter;
    Zel00101::NumeroOperacoesNaoFiscais(scheme_, counter);
    return Variant(std::move(counter));
  }

  const ClosingParams& params_;
  const std::string& scheme_;
  CreditDatasets credit_;
  const std::vector<std::string>* tef_lines_;
  std::vector<PaymentToRegister> payments_;
  PaymentFacts facts_;
  int tef_retried_ = 0;
  Variant counter_;
};

// How a failed closing is reported when its values could not all be read:
// each of the three is taken on its own, with a fallback, so the report
// never fails in turn.
struct FailureReport {
  explicit FailureReport(std::span<const Variant> positions) {
    const auto read = [&](std::size_t position, auto store) {
      if (position >= positions.size()) return;
      try {
        store(positions[position]);
      } catch (const std::exception&) {
        // The fallback stands.
      }
    };
    read(2, [&](const Variant& value) { colour_scheme = value.AsText(); });
    read(5, [&](const Variant& value) { show = value.AsBoolean(); });
    read(42, [&](const Variant& value) { passthrough = value; });
  }

  std::string colour_scheme = kDefaultColourScheme;
  // Unreadable flags show the dialog: the operator must learn why the sale
  // did not close.
  bool show = true;
  Variant passthrough;
};

// The reason goes to the log, and to the operator when dialogs are on.
// A refusal before the closing could start is a problem with the values the
// host passed, and is shown as one.
void ReportFailure(const FailureReport& report, const std::string& reason, bool refused) {
  LogProblem(reason);
  if (!report.show) return;
  ShowDialog(refused ? ParameterErrorText(reason, "FechaCupom") : reason, report.colour_scheme,
             kRetryDialog);
}

}  // namespace
}  // namespace zel

namespace Zel00101 {

bool FechaCupom(std::span<const zel::Variant> Params, const std::vector<std::string>* LinhasTef,
                zel::Variant& Resultado) {
  using namespace zel;
  const FailureReport report(Params);
  std::optional<ClosingParams> params;
  std::optional<CouponClosing> closing;
  try {
    params = ReadClosingParams(Params);
    closing.emplace(*params, EnsureDataModule(), LinhasTef);
    return closing->Run(Resultado);
  } catch (const std::exception& error) {
    if (closing) {
      closing->WriteResult(Resultado);
    } else {
      WriteResultRow(Resultado, 0, report.passthrough, Variant());
    }
    ReportFailure(report, error.what(), !closing);
    return false;
  }
}

}  // namespace Zel00101

ZEL_EXPORT_PLAIN_NAME(bool, FechaCupom,
                      (std::span<const zel::Variant> Params,
                       const std::vector<std::string>* LinhasTef, zel::Variant& Resultado),
                      (Params, LinhasTef, Resultado))
