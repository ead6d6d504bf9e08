// Cancelling an item, the last item or the whole coupon.
#include <exception>
#include <span>
#include <string>

#include "core/vendor_call.h"
#include "coupon/sale.h"
#include "host/codepage.h"
#include "host/number_format.h"
#include "host/string_functions.h"
#include "zel/error.h"
#include "zel/operations.h"

namespace zel {
namespace {

// The printer numbers items with the four characters that follow the first
// one of the host's item number.
constexpr std::size_t kItemNumberStart = 1;
constexpr std::size_t kItemNumberWidth = 4;
constexpr int kCouponNumberWidth = 6;

const Variant& Position(std::span<const Variant> params, std::size_t index) {
  if (index >= params.size()) {
    throw Error(Utf8ToCp1252("Parâmetro ausente na posição ") + std::to_string(index) + ".");
  }
  return params[index];
}

bool IsErrorReply(std::string text) {
  for (char& c : text) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  return text == "ERRO";
}

}  // namespace
}  // namespace zel

namespace Zel00101 {

bool Cancela_ItGenerico(const std::string& EsquemaCor, const std::string& NrItem,
                        const std::wstring& /*Reservado1*/, const std::wstring& /*Reservado2*/,
                        const std::wstring& /*Reservado3*/, const std::wstring& /*Reservado4*/,
                        const std::wstring& /*Reservado5*/, const std::wstring& /*Reservado6*/,
                        const std::wstring& /*Reservado7*/, double /*Reservado8*/,
                        double /*Reservado9*/) {
  using namespace zel;
  const std::string item_number =
      NrItem.size() > kItemNumberStart ? NrItem.substr(kItemNumberStart, kItemNumberWidth) : "";
  const int status = CallVendor(Bematech_FI_CancelaItemGenerico, item_number);
  LogCall("Bematech_FI_CancelaItemGenerico", {item_number});
  return AnalisaRetorno(EsquemaCor, status, false, false, false);
}

bool Cancela_UltimoItem(const std::string& EsquemaCor) {
  using namespace zel;
  const int status = CallVendor(Bematech_FI_CancelaItemAnterior);
  LogCall("Bematech_FI_CancelaItemAnterior");
  return AnalisaRetorno(EsquemaCor, status, true, false, false);
}

bool Cancela_Cupom_Imp(std::span<const zel::Variant> Params, zel::Variant& Resultado) {
  using namespace zel;
  try {
    const std::string colour_scheme = Position(Params, 0).AsText();
    const bool show = Position(Params, 1).AsBoolean();
    const bool cancel_open = Position(Params, 2).AsBoolean();
    const std::string branch = Position(Params, 4).AsText();
    const std::string cash_register = Position(Params, 5).AsText();
    const std::string serial = Position(Params, 6).AsText();

    // Reading the number already cancels a coupon the printer shows open.
    const std::string coupon_number = Nr_Cupom("", colour_scheme);
    std::string cancelled_number;
    bool cancelled = false;
    if (!IsErrorReply(coupon_number)) {
      cancelled_number = Ajusta(std::to_string(TextToInt(coupon_number)), kCouponNumberWidth);
      const int status = CallVendor(Bematech_FI_CancelaCupom);
      LogCall("Bematech_FI_CancelaCupom");
      cancelled = AnalisaRetorno(colour_scheme, status, show, cancel_open, false);
    }
    SetResultCell(Resultado, 0, cancelled_number);

    // A cancellation moves the grand total the host keeps: it is refreshed,
    // not compared, whatever the printer answered.
    Atu_TotGeral(MakeParams({{"CDFILIAL", branch},
                             {"CDCAIXA", cash_register},
                             {"NRSERIEIMP", serial},
                             {"ESQUEMACOR", colour_scheme},
                             {"IDVALIDA", "N"}}));
    return cancelled;
  } catch (const std::exception&) {
    return false;
  }
}

}  // namespace Zel00101

ZEL_EXPORT_PLAIN_NAME(bool, Cancela_ItGenerico,
                      (const std::string& EsquemaCor, const std::string& NrItem,
                       const std::wstring& Reservado1, const std::wstring& Reservado2,
                       const std::wstring& Reservado3, const std::wstring& Reservado4,
                       const std::wstring& Reservado5, const std::wstring& Reservado6,
                       const std::wstring& Reservado7, double Reservado8, double Reservado9),
                      (EsquemaCor, NrItem, Reservado1, Reservado2, Reservado3, Reservado4,
                       Reservado5, Reservado6, Reservado7, Reservado8, Reservado9))
ZEL_EXPORT_PLAIN_NAME(bool, Cancela_UltimoItem, (const std::string& EsquemaCor), (EsquemaCor))
ZEL_EXPORT_PLAIN_NAME(bool, Cancela_Cupom_Imp,
                      (std::span<const zel::Variant> Params, zel::Variant& Resultado),
                      (Params, Resultado))
