// `ecfhost counters`: the printer's document counters and the day's
// figures, labelled for a person, or with --raw as the driver returns them
// for scripts.
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "command_families.h"
#include "figures.h"
#include "fiscal_jobs.h"
#include "options.h"
#include "sale_builder.h"

namespace ecfhost {
namespace {

using Counter = bool(const std::string&, std::string&);

enum class Kind { kCount, kCents, kNextReduction };

struct Figure {
  const char* name;   // the driver's operation, shown as is with --raw
  const char* label;  // what a person reads
  Kind kind;
};

constexpr Figure kCounters[] = {
    {"ContadorCupomFiscalMFD", "Cupons fiscais (CCF)", Kind::kCount},
    {"NumeroOperacoesNaoFiscais", "Operações não fiscais (GNF)", Kind::kCount},
    {"ContadorRelatoriosGerenciaisMFD", "Relatórios gerenciais (GRG)", Kind::kCount},
    {"ContadorComprovantesCreditoMFD", "Comprovantes de crédito e débito (CDC)", Kind::kCount},
    {"NumeroReducoes", "Próxima redução Z (número)", Kind::kNextReduction},
    {"NumeroIntervencoes", "Intervenções técnicas", Kind::kCount},
    {"NumeroSubstituicoesProprietario", "Substituições de proprietário", Kind::kCount},
    {"VendaBruta", "Venda bruta do dia (R$)", Kind::kCents},
    {"Descontos", "Descontos do dia (R$)", Kind::kCents},
    {"Cancelamentos", "Cancelamentos do dia (R$)", Kind::kCents},
};

// The printer's text of digits, or none when it holds anything else.
bool Digits(const std::string& text, std::int64_t& value) {
  const std::size_t first = text.find_first_not_of(' ');
  const std::size_t last = text.find_last_not_of(' ');
  if (first == std::string::npos || last - first >= 18) return false;
  const std::string digits = text.substr(first, last - first + 1);
  if (digits.find_first_not_of("0123456789") != std::string::npos) return false;
  value = std::strtoll(digits.c_str(), nullptr, 10);
  return true;
}

void PrintLine(std::FILE* out, const std::string& label, const std::string& value,
               const std::string& note = "") {
  std::fprintf(out, "  %s%16s%s\n", PadRight(label, 40).c_str(), value.c_str(), note.c_str());
}

// True when every figure was read.
bool PrintLabelled(Session& session) {
  std::FILE* out = session.out();
  bool all_read = true;
  bool money_shown = false;
  std::fprintf(out, "Contadores da impressora fiscal\n");
  for (const Figure& figure : kCounters) {
    if (figure.kind == Kind::kCents && !money_shown) {
      std::fprintf(out, "Valores\n");
      money_shown = true;
    }
    std::string text;
    std::int64_t value = 0;
    if (!session.Op<Counter>(figure.name)(kColourScheme, text) || !Digits(text, value)) {
      all_read = false;
      PrintLine(out, figure.label, "não lido");
    } else if (figure.kind == Kind::kCents) {
      PrintLine(out, figure.label, GroupedMoney(value));
    } else if (figure.kind == Kind::kNextReduction) {
      PrintLine(out, figure.label, std::to_string(value),
                "  (a que a próxima redução Z terá; feitas: " +
                    std::to_string(value > 0 ? value - 1 : 0) + ")");
    } else {
      PrintLine(out, figure.label, std::to_string(value));
    }
  }
  // The driver gives the grand total as a number written out ("1234,5").
  std::string total = GrandTotal(session);
  for (char& c : total) c = c == ',' ? '.' : c;
  char* end = nullptr;
  const double grand_total = std::strtod(total.c_str(), &end);
  if (total.empty() || *end != '\0' || !std::isfinite(grand_total)) {
    all_read = false;
    PrintLine(out, "Totalizador geral (GT, R$)", "não lido");
  } else {
    PrintLine(out, "Totalizador geral (GT, R$)", GroupedMoney(std::llround(grand_total * 100)));
  }
  return all_read;
}

// As the driver returns them, one "name value" line each, for scripts.
bool PrintRaw(Session& session) {
  bool all_read = true;
  std::fprintf(session.out(), "Contadores\n");
  for (const Figure& figure : kCounters) {
    std::string value;
    const bool read = session.Op<Counter>(figure.name)(kColourScheme, value);
    all_read = all_read && read;
    std::fprintf(session.out(), "  %-32s %s%s\n", figure.name, value.c_str(),
                 read ? "" : " (falhou)");
  }
  std::fprintf(session.out(), "  %-32s %s\n", "BuscaTotGer", GrandTotal(session).c_str());
  return all_read;
}

}  // namespace

int RunCounters(Session& session, const Arguments& arguments) {
  const Options options(arguments, {}, {"--raw"});
  session.Start();
  const bool all_read = options.Has("--raw") ? PrintRaw(session) : PrintLabelled(session);
  return all_read ? kExitSuccess : kExitFailed;
}

}  // namespace ecfhost
