#include "commands.h"

#include <cstdio>

#include "host/codepage.h"
#include "zel/error.h"

namespace ecfhost {
namespace {

using Counter = bool(const std::string&, std::string&);

void PrintPrinterData(Session& session) {
  zel::Variant params = zel::MakeParams({{"ESQUEMA", "001"},
                                         {"DATAATUIMP", ""},
                                         {"ECFIMP", ""},
                                         {"REDIMP", ""},
                                         {"SERIEIMP", ""},
                                         {"DATAIMP", ""}});
  const bool read = session.Op<bool(zel::Variant&)>("Carrega_Dados_Impressora")(params);
  std::fprintf(session.out(), "Impressora fiscal%s\n", read ? "" : " (dados incompletos)");
  for (const zel::Variant& pair : params.AsArray()) {
    std::fprintf(session.out(), "  %-10s %s\n", pair.AsArray()[0].AsText().c_str(),
                 zel::Cp1252ToUtf8(pair.AsArray()[1].AsText()).c_str());
  }
}

void PrintCounters(Session& session) {
  static const char* const kCounters[] = {
      "ContadorCupomFiscalMFD", "NumeroOperacoesNaoFiscais", "ContadorRelatoriosGerenciaisMFD",
      "ContadorComprovantesCreditoMFD", "NumeroReducoes", "NumeroIntervencoes",
      "NumeroSubstituicoesProprietario", "VendaBruta", "Descontos", "Cancelamentos"};
  std::fprintf(session.out(), "Contadores\n");
  for (const char* name : kCounters) {
    std::string value;
    const bool read = session.Op<Counter>(name)("001", value);
    std::fprintf(session.out(), "  %-32s %s%s\n", name, value.c_str(), read ? "" : " (falhou)");
  }
}

std::string GrandTotal(Session& session) {
  std::string total;
  session.Op<bool(const std::string&, std::string&)>("BuscaTotGer")("001", total);
  return total;
}

int RunStart(Session& session, const std::vector<std::string>&) {
  session.Start();
  std::fprintf(session.out(), "Driver iniciado; impressora validada.\n");
  PrintPrinterData(session);
  return 0;
}

int RunCounters(Session& session, const std::vector<std::string>&) {
  session.Start();
  PrintCounters(session);
  return 0;
}

int RunTape(Session& session, const std::vector<std::string>&) {
  zel::Env* env = zel::Env::Default();
  if (!env->FileExists(session.workspace().TapePath())) {
    std::fprintf(session.out(), "(a bobina está vazia: nada foi impresso)\n");
    return 0;
  }
  std::fputs(env->ReadFile(session.workspace().TapePath()).c_str(), session.out());
  return 0;
}

int RunDemo(Session& session, const std::vector<std::string>& arguments) {
  std::fprintf(session.out(), "== Início do dia: driver, porta e validação da impressora\n");
  session.Start();
  PrintPrinterData(session);
  std::fprintf(session.out(), "\n== Totalizador geral: %s\n\n", GrandTotal(session).c_str());
  PrintCounters(session);
  std::fprintf(session.out(), "\n== Bobina da impressora simulada\n");
  RunTape(session, arguments);
  std::fprintf(session.out(), "\n== Resumo: %d diálogo(s) mostrado(s); pasta de trabalho %s\n",
               session.host().dialogs_shown(), session.workspace().folder().c_str());
  return 0;
}

}  // namespace

const std::vector<Command>& Commands() {
  static const std::vector<Command> commands = {
      {"start", "validate the printer against this host and show its identification", RunStart},
      {"counters", "start, then show the printer's fiscal counters and figures", RunCounters},
      {"tape", "show the simulated printer's paper tape", RunTape},
      {"demo", "start of a fiscal day on the simulated printer, ending with the tape", RunDemo},
  };
  return commands;
}

}  // namespace ecfhost
