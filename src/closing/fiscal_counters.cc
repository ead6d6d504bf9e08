// The fiscal counters and figures: one query per figure, all alike. The
// output is set to blanks of the entry's width, the entry writes the figure
// into it, the return is kept in inRetorno, the reply is logged, and the
// return is analysed silently, cancelling a coupon left open.
#include <charconv>
#include <string>
#include <string_view>

#include "core/vendor_call.h"
#include "host/string_functions.h"
#include "zel/driver_state.h"
#include "zel/error.h"
#include "zel/operations.h"

namespace zel {
namespace {

using FigureEntry = int (*)(char*);

// One figure: the entry (by its pointer in the vendor entry table, read at
// call time, since binding and StopImpFiscal change it), its name for the
// log, and the width of its output.
struct Figure {
  FigureEntry* entry;
  std::string_view name;
  int width;
};

// X(exported name, output width); the entry is Bematech_FI_ + the name.
#define ZEL_PLAIN_FISCAL_FIGURES(X)     \
  X(ContadorCupomFiscalMFD, 6)          \
  X(NumeroSubstituicoesProprietario, 4) \
  X(NumeroOperacoesNaoFiscais, 6)       \
  X(VendaBruta, 18)                     \
  X(Descontos, 14)                      \
  X(Cancelamentos, 14)                  \
  X(NumeroIntervencoes, 4)              \
  X(ContadorRelatoriosGerenciaisMFD, 6) \
  X(ContadorComprovantesCreditoMFD, 6)

#define ZEL_FIGURE(name, width) \
  constexpr Figure k##name{&Zel00101::Bematech_FI_##name, "Bematech_FI_" #name, width};
ZEL_PLAIN_FISCAL_FIGURES(ZEL_FIGURE)
ZEL_FIGURE(NumeroReducoes, 4)
#undef ZEL_FIGURE

// The common end of every query: log the reply as it stands now and let the
// analysis decide, without dialogs and cancelling an open coupon.
bool LogAndAnalyse(const std::string& colour_scheme, std::string_view entry,
                   std::string_view reply) {
  LogReply(entry, reply);
  return Zel00101::AnalisaRetorno(colour_scheme, Zel00101::inRetorno, false, true, false);
}

// Blank-fills `value`, has the entry fill it and keeps its return.
void Fill(const Figure& figure, std::string& value) {
  value = Blanks(figure.width);
  Zel00101::inRetorno = CallVendor(*figure.entry, value);
}

bool ReadFigure(const Figure& figure, const std::string& colour_scheme, std::string& value) {
  Fill(figure, value);
  return LogAndAnalyse(colour_scheme, figure.name, value);
}

// The printer's count as a number: digits, blanks around them allowed.
// Called only for a text that is not all blanks.
int ParseCount(std::string_view text) {
  const auto blank = [](char c) { return static_cast<unsigned char>(c) <= ' '; };
  std::string_view digits = text;
  while (!digits.empty() && blank(digits.front())) digits.remove_prefix(1);
  while (!digits.empty() && blank(digits.back())) digits.remove_suffix(1);
  int count = 0;
  const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), count);
  if (error != std::errc() || end != digits.data() + digits.size() || count < 0) {
    throw Error("NumeroReducoes: the printer's reduction count \"" + std::string(text) +
                "\" is not a whole number");
  }
  return count;
}

}  // namespace
}  // namespace zel

namespace Zel00101 {

#define ZEL_DEFINE_FIGURE_QUERY(name, width)                     \
  bool name(const std::string& EsquemaCor, std::string& Valor) { \
    return zel::ReadFigure(zel::k##name, EsquemaCor, Valor);     \
  }
ZEL_PLAIN_FISCAL_FIGURES(ZEL_DEFINE_FIGURE_QUERY)
#undef ZEL_DEFINE_FIGURE_QUERY

// The printer counts the reductions made; the closing flows want the number
// of the next one, so a printer that never reduced gives 0 (blank answer)
// and one that made 41 gives 42.
bool NumeroReducoes(const std::string& EsquemaCor, std::string& Valor) {
  using namespace zel;
  Fill(kNumeroReducoes, Valor);
  const std::string next =
      EmptyString(Valor) ? std::string("0") : std::to_string(ParseCount(Valor) + 1);
  Valor = Ajusta(next, kNumeroReducoes.width);
  return LogAndAnalyse(EsquemaCor, kNumeroReducoes.name, Valor);
}

bool DataHoraGravacaoUsuarioSWBasicoMFAdicional(const std::string& EsquemaCor,
                                                std::string& DataUsuario, std::string& DataSWBasico,
                                                std::string& MFAdicional) {
  using namespace zel;
  constexpr std::string_view kEntry = "Bematech_FI_DataHoraGravacaoUsuarioSWBasicoMFAdicional";
  DataUsuario = Blanks(20);
  DataSWBasico = Blanks(20);
  MFAdicional = Blanks(5);
  inRetorno = CallVendor(Bematech_FI_DataHoraGravacaoUsuarioSWBasicoMFAdicional, DataUsuario,
                         DataSWBasico, MFAdicional);
  return LogAndAnalyse(EsquemaCor, kEntry,
                       DataUsuario + " - " + DataSWBasico + " - " + MFAdicional);
}

}  // namespace Zel00101

#define ZEL_EXPORT_FIGURE_QUERY(name, width)                                             \
  ZEL_EXPORT_PLAIN_NAME(bool, name, (const std::string& EsquemaCor, std::string& Valor), \
                        (EsquemaCor, Valor))
ZEL_PLAIN_FISCAL_FIGURES(ZEL_EXPORT_FIGURE_QUERY)
ZEL_EXPORT_FIGURE_QUERY(NumeroReducoes, 4)
#undef ZEL_EXPORT_FIGURE_QUERY

ZEL_EXPORT_PLAIN_NAME(bool, DataHoraGravacaoUsuarioSWBasicoMFAdicional,
                      (const std::string& EsquemaCor, std::string& DataUsuario,
                       std::string& DataSWBasico, std::string& MFAdicional),
                      (EsquemaCor, DataUsuario, DataSWBasico, MFAdicional))
