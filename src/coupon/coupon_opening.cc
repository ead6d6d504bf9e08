// Opening a fiscal coupon and reading the coupon counter.
#include <exception>
#include <string>

#include "core/pending_document.h"
#include "core/start_support.h"
#include "core/vendor_call.h"
#include "coupon/sale.h"
#include "host/codepage.h"
#include "zel/debug_log.h"
#include "zel/operations.h"

namespace zel {
namespace {

// What the printer takes of each buyer field.
constexpr std::size_t kBuyerIdWidth = 29;
constexpr std::size_t kBuyerNameWidth = 30;
constexpr std::size_t kBuyerAddressWidth = 80;
constexpr int kCouponNumberWidth = 6;

struct OpeningParams {
  std::string colour_scheme;
  std::int64_t tef_retried = 0;
  std::string buyer_id;
  std::string buyer_name;
  std::string buyer_address;
  std::string coupon_number;
  std::string coupon_count;
  std::string tef_indicator;
  bool tef_active = false;
};

// The keys the opening uses. TIPOTICKET, IVACOMP, IVAPROP, TIPODOC, NRDOC
// and MESA mean nothing to this printer and are not asked for, so a host
// that leaves them out still opens its coupon.
OpeningParams ReadOpeningParams(const Variant& params) {
  OpeningParams read;
  read.colour_scheme = RecebeParams(params, "ESQUEMACOR").AsText();
  read.tef_retried = RecebeParams(params, "INTTEFERRO").AsInteger();
  read.buyer_id = RecebeParams(params, "INCLUICPF").AsText();
  read.buyer_name = RecebeParams(params, "INCLUINOME").AsText();
  read.buyer_address = RecebeParams(params, "INCLUIENDERECO").AsText();
  read.coupon_number = RecebeParams(params, "CUPNR").AsText();
  read.coupon_count = RecebeParams(params, "CONTCUPOM").AsText();
  read.tef_indicator = RecebeParams(params, "IDUTILTEF").AsText();
  read.tef_active = RecebeParams(params, "UTILTEF").AsBoolean();
  return read;
}

bool TryOpenCoupon(const OpeningParams& params) {
  const int status =
      CallVendor(Zel00101::Bematech_FI_AbreCupomMFD, params.buyer_id.substr(0, kBuyerIdWidth),
                 params.buyer_name.substr(0, kBuyerNameWidth),
                 params.buyer_address.substr(0, kBuyerAddressWidth));
  // The log keeps the buyer's data whole, as the host sent it.
  Zel00101::ImpFisDebug("Bematech_FI_AbreCupomMFD :" + params.buyer_id + " - " + params.buyer_name +
                        " - " + params.buyer_address);
  return Zel00101::AnalisaRetorno(params.colour_scheme, status, true, false, true);
}

}  // namespace
}  // namespace zel

namespace Zel00101 {

bool AbreCupom(zel::Variant& Params) {
  using namespace zel;
  OpeningParams params;
  try {
    params = ReadOpeningParams(Params);
  } catch (const std::exception& error) {
    // A coupon opened for the wrong buyer cannot be taken back: without its
    // parameters the opening does not start.
    ShowDialog(ParameterErrorText(error.what(), "AbreCupom"), kDefaultColourScheme, kRetryDialog);
    return false;
  }

  const bool under_tef = UnderTef(params.tef_indicator, params.tef_active);
  // The coupon will move the grand total: should this run be cut short, the
  // next start knows the difference from the stored total is its own work.
  MarkDocumentPending(Utf8ToCp1252("cupom fiscal"));
  bool opened = TryOpenCoupon(params);
  while (!opened && under_tef) {
    if (!AskPrintAgain(params.colour_scheme)) return false;
    params.tef_retried = 1;
    opened = TryOpenCoupon(params);
  }

  Params = MakeParams({{"INTTEFERRO", Variant(params.tef_retried)},
                       {"INCLUICPF", params.buyer_id},
                       {"INCLUINOME", params.buyer_name},
                       {"INCLUIENDERECO", params.buyer_address},
                       {"CUPNR", params.coupon_number},
                       {"CONTCUPOM", params.coupon_count}});
  return opened;
}

std::string Nr_Cupom(const std::string& /*Reservado*/, const std::string& EsquemaCor) {
  using namespace zel;
  std::string coupon_number = Blanks(kCouponNumberWidth);
  const int status = CallVendor(Bematech_FI_NumeroCupom, coupon_number);
  LogReply("Bematech_FI_NumeroCupom", coupon_number);
  if (!AnalisaRetorno(EsquemaCor, status, false, true, false)) return "ERRO";
  return coupon_number;
}

}  // namespace Zel00101

ZEL_EXPORT_PLAIN_NAME(bool, AbreCupom, (zel::Variant & Params), (Params))
ZEL_EXPORT_PLAIN_NAME(std::string, Nr_Cupom,
                      (const std::string& Reservado, const std::string& EsquemaCor),
                      (Reservado, EsquemaCor))
