// The five non-fiscal totalizers the driver registers money on: found in
// the printer's list or programmed at the first free positions after it.
// Also the two totals commands of the older interface.
#include <array>
#include <span>
#include <string>
#include <vector>

#include "core/data_module.h"
#include "core/vendor_call.h"
#include "programming/printer_lists.h"
#include "zel/dataset.h"
#include "zel/driver_state.h"
#include "zel/operations.h"

namespace zel {
namespace {

constexpr int kTotalizerListWidth = 179;
// The printer compares totalizer names on this many characters.
constexpr std::size_t kComparedNameWidth = 19;

// One of the five totalizers: the message key of its name when looking it
// up, the key when programming it, and the caller's text for its index.
struct Totalizer {
  const char* lookup_key;
  const char* naming_key;
  std::string* index;
};

// Sets each totalizer's index to the position of the first list entry that
// holds its name.
void FindInList(const std::vector<std::string>& names, std::span<Totalizer> totalizers) {
  for (std::size_t at = 0; at < names.size(); ++at) {
    for (Totalizer& totalizer : totalizers) {
      const std::string wanted =
          TrimBlanks(MsgPadrao(totalizer.lookup_key).substr(0, kComparedNameWidth));
      if (names[at] == wanted && totalizer.index->empty()) {
        *totalizer.index = TwoDigits(static_cast<int>(at) + 1);
      }
    }
  }
}

// Programs `totalizer` at `index`. A refusal is only logged: the index
// stays the one that was tried.
void Program(Totalizer& totalizer, int index, const std::string& colour_scheme) {
  const std::string name = MsgPadrao(totalizer.naming_key);
  *totalizer.index = TwoDigits(index);
  const int status = CallVendor(Zel00101::Bematech_FI_NomeiaTotalizadorNaoSujeitoIcms, index, name);
  Zel00101::stImpDebug =
      CallLine("Bematech_FI_NomeiaTotalizadorNaoSujeitoIcms", {std::to_string(index), name});
  Zel00101::AnalisaRetorno(colour_scheme, status, false, false, false);
}

}  // namespace
}  // namespace zel

namespace Zel00101 {

void CarregaTotalizador(std::string& IdCVEmitido, std::string& IdVendaCons,
                        std::string& IdCompraCred, std::string& IdCancCred,
                        std::string& IdRelatorio, const std::string& EsquemaCor,
                        std::int32_t& /*Reservado*/, zel::Dataset* /*ReservadoDados*/) {
  zel::EnsureDataModule();
  // The buffer starts blank: whatever another operation left in the scratch
  // buffer would otherwise count as extra entries and push the positions of
  // the totalizers programmed below past the ones the printer holds.
  stRetorno = zel::Blanks(zel::kTotalizerListWidth);
  const int status = zel::CallVendor(Bematech_FI_VerificaTotalizadoresNaoFiscais, stRetorno);
  zel::LogReply("Bematech_FI_VerificaTotalizadoresNaoFiscais", stRetorno);
  AnalisaRetorno(EsquemaCor, status, false, false, false);

  IdCVEmitido.clear();
  IdVendaCons.clear();
  IdCompraCred.clear();
  IdCancCred.clear();
  IdRelatorio.clear();
  const std::vector<std::string> names = zel::ReadTotalizerNames(stRetorno);
  stRetorno.clear();

  zel::Totalizer cv{"CV-EMITIDO", "CV-EMITIDO", &IdCVEmitido};
  zel::Totalizer consumer{"VENDA-CONS", "VENDA-CONS", &IdVendaCons};
  zel::Totalizer report{"RELATORIO", "Relatorio", &IdRelatorio};
  zel::Totalizer purchase{"Compra-Cred", "Compra-Cred", &IdCompraCred};
  zel::Totalizer cancellation{"Canc-Cred", "Canc-Cred", &IdCancCred};
  std::array<zel::Totalizer, 5> lookup_order{cv, consumer, report, purchase, cancellation};
  zel::FindInList(names, lookup_order);

  // The missing ones go at the first positions after the list read.
  int index = static_cast<int>(names.size()) + 1;
  std::array<zel::Totalizer, 5> programming_order{cv, purchase, report, consumer, cancellation};
  for (zel::Totalizer& totalizer : programming_order) {
    if (!totalizer.index->empty()) continue;
    zel::Program(totalizer, index, EsquemaCor);
    ++index;
  }
  IdTotRelatorio = IdRelatorio;
}

bool Nomeia_TotParcial_Imp(const std::string& /*Nome1*/, const std::string& /*Nome2*/,
                           const std::string& /*Nome3*/, const std::string& /*Nome4*/,
                           const std::string& /*Nome5*/, bool /*Reservado1*/, bool /*Reservado2*/) {
  // This printer family needs no partial totalizers named: nothing to do,
  // so nothing failed.
  return true;
}

bool Leitura_Totais_Imp(const std::string& EsquemaCor, bool Mostra, bool Reservado) {
  return EnviaComando(EsquemaCor, "27", {}, Mostra, Reservado);
}

bool Totaliza_NFiscal_Imp(const std::string& EsquemaCor, const std::string& Texto1,
                          const std::string& Texto2) {
  const std::string parameters[] = {Texto1, Texto2};
  return EnviaComando(EsquemaCor, "10", parameters, true, false);
}

}  // namespace Zel00101

ZEL_EXPORT_PLAIN_NAME(void, CarregaTotalizador,
                      (std::string & IdCVEmitido, std::string& IdVendaCons,
                       std::string& IdCompraCred, std::string& IdCancCred, std::string& IdRelatorio,
                       const std::string& EsquemaCor, std::int32_t& Reservado,
                       zel::Dataset* ReservadoDados),
                      (IdCVEmitido, IdVendaCons, IdCompraCred, IdCancCred, IdRelatorio, EsquemaCor,
                       Reservado, ReservadoDados))
ZEL_EXPORT_PLAIN_NAME(bool, Nomeia_TotParcial_Imp,
                      (const std::string& Nome1, const std::string& Nome2, const std::string& Nome3,
                       const std::string& Nome4, const std::string& Nome5, bool Reservado1,
                       bool Reservado2),
                      (Nome1, Nome2, Nome3, Nome4, Nome5, Reservado1, Reservado2))
ZEL_EXPORT_PLAIN_NAME(bool, Totaliza_NFiscal_Imp,
                      (const std::string& EsquemaCor, const std::string& Texto1,
                       const std::string& Texto2),
                      (EsquemaCor, Texto1, Texto2))
