// Adjustments sent as raw printer commands: a surcharge on the open coupon
// and a reversal between payment forms.
#include <string>
#include <utility>
#include <vector>

#include "coupon/sale_fields.h"
#include "host/number_format.h"
#include "zel/operations.h"

namespace zel {
namespace {

// Ten digits with two implied decimals.
constexpr char kSurchargeMask[] = "00000000.00";
// Four digits with two implied decimals.
constexpr char kReversalMask[] = "00.00";

}  // namespace
}  // namespace zel

namespace Zel00101 {

bool Acrescimo_Imp(const std::string& EsquemaCor, std::string& Valor) {
  using namespace zel;
  const std::vector<std::string> parameters{
      ImpliedDecimalsField(kSurchargeMask, TextToFloat(Valor))};
  return EnviaComando(EsquemaCor, "62|50", parameters, true, false);
}

bool Estorno(const std::string& EsquemaCor, const std::string& Texto1, const std::string& Texto2,
             double Valor) {
  using namespace zel;
  // Checked first: an amount the field cannot hold is refused unsent.
  std::string amount = ImpliedDecimalsField(kReversalMask, Valor);
  const std::vector<std::string> parameters{Texto1, Texto2, std::move(amount)};
  return EnviaComando(EsquemaCor, "74", parameters, true, false);
}

}  // namespace Zel00101

ZEL_EXPORT_PLAIN_NAME(bool, Acrescimo_Imp, (const std::string& EsquemaCor, std::string& Valor),
                      (EsquemaCor, Valor))
ZEL_EXPORT_PLAIN_NAME(bool, Estorno,
                      (const std::string& EsquemaCor, const std::string& Texto1,
                       const std::string& Texto2, double Valor),
                      (EsquemaCor, Texto1, Texto2, Valor))
