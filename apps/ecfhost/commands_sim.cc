// ecfhost sim: steering the simulated fiscal printer for integrators and
// training. Every change shows on the paper roll as a marked line
// ("*** sem papel ***") and in the printer's journal, so the tape tells
// what happened to the printer and when.
#include <cstdint>
#include <cstdio>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "command_families.h"
#include "fiscal_config.h"
#include "options.h"
#include "sim_steering.h"

namespace ecfhost {
namespace {

constexpr std::int64_t kSecondsPerDay = 86400;
constexpr int kDefaultFailureCode = -27;  // the printer refused
constexpr int kMaxDays = 3650;

std::optional<long long> ReadInteger(const std::string& text) {
  std::size_t used = 0;
  try {
    const long long value = std::stoll(text, &used);
    if (used == text.size()) return value;
  } catch (const std::logic_error&) {
  }
  return std::nullopt;
}

std::string ShowDate(zel::DateTime moment) {
  const zel::DateParts p = zel::DecodeDateTime(moment);
  char text[32];
  std::snprintf(text, sizeof text, "%02d/%02d/%04d %02d:%02d:%02d", p.day, p.month, p.year, p.hour,
                p.minute, p.second);
  return text;
}

std::string ShowDay(int yyyymmdd) {
  if (yyyymmdd == 0) return "-";
  char text[16];
  std::snprintf(text, sizeof text, "%02d/%02d/%04d", yyyymmdd % 100, yyyymmdd / 100 % 100,
                yyyymmdd / 10000);
  return text;
}

// "Bematech_FI_VendeItem" or its short name "VendeItem".
std::string EntryName(const SimulatedPrinter& printer, const std::string& given) {
  const std::string name = given.starts_with("Bematech_FI_") ? given : "Bematech_FI_" + given;
  if (!printer.HasEntry(name)) {
    throw UsageError("a impressora simulada não tem a função '" + given +
                     "' (dê um nome como VendeItem ou Bematech_FI_VendeItem)");
  }
  return name;
}

std::string ShortEntry(const std::string& entry) { return entry.substr(entry.rfind('_') + 1); }

class SimCommand {
 public:
  SimCommand(Session& session, const Arguments& arguments)
      : session_(session), arguments_(arguments), printer_(session.workspace()) {}

  int Run() {
    const std::string action = arguments_.empty() ? "status" : arguments_[0];
    if (action == "fail") return Fail();
    if (action == "journal") return Journal();
    const bool valued =
        action == "day" || action == "paper" || action == "power" || action == "lose-reply";
    const bool alone = action == "status" || action == "--next-day" || action == "reset";
    if (!valued && !alone) {
      throw UsageError("ação desconhecida '" + action + "'");
    }
    if (arguments_.size() != (valued ? 2u : 1u) && !arguments_.empty()) {
      throw UsageError("sim " + action + (valued ? " pede um valor" : " não aceita mais nada") +
                       " (veja ecfhost sim --help)");
    }
    if (action == "status") return Status();
    if (action == "--next-day") return MoveDays(1);
    if (action == "reset") return Reset();
    if (action == "day") return MoveDays(Days(arguments_[1]));
    if (action == "paper") return Paper(arguments_[1]);
    if (action == "power") return Power(arguments_[1]);
    return LoseReply(EntryName(printer_, arguments_[1]));
  }

 private:
  static long long Days(const std::string& text) {
    const std::optional<long long> days = ReadInteger(text);
    if (!days || *days == 0 || *days > kMaxDays || *days < -kMaxDays) {
      throw UsageError("sim day pede um número de dias como +1 ou -1, não '" + text + "'");
    }
    return *days;
  }

  void Say(const std::string& utf8_mark, const std::string& utf8_message) {
    printer_.Mark(utf8_mark);
    std::fprintf(session_.out(), "Simulador: %s\n", utf8_message.c_str());
  }

  long long Figure(const char* name) const {
    return printer_.Control<long long(const char*)>("EcfSim_Figure")(name);
  }

  // Both clocks move: the printer's in its memory, the computer's as the
  // driver sees it (Workspace::Now), to the printer's new offset.
  int MoveDays(long long days) {
    const std::int64_t offset = Figure("clock_offset") + days * kSecondsPerDay;
    printer_.Control<void(long long)>("EcfSim_SetClockOffset")(offset);
    session_.workspace().SetClockOffset(offset);
    const std::string today = ShowDate(session_.workspace().Now()).substr(0, 10);
    const long long size = days < 0 ? -days : days;
    const std::string count = std::to_string(size) + (size == 1 ? " dia" : " dias");
    Say(std::string(days > 0 ? "relógio adiantado " : "relógio atrasado ") + count + ": " + today,
        "os relógios do computador e da impressora mudaram " + count +
            (days > 0 ? " para a frente" : " para trás") + "; hoje é " + today + ".");
    return 0;
  }

  int Paper(const std::string& how) {
    auto low = printer_.Control<void(int)>("EcfSim_SetPaperLow");
    auto out = printer_.Control<void(int)>("EcfSim_SetPaperOut");
    if (how == "low") {
      low(-1);
      Say("papel acabando", "papel acabando; a impressora avisa a cada comando até sim paper ok.");
    } else if (how == "out") {
      out(-1);
      Say("sem papel", "sem papel; a impressora recusa o que imprime até sim paper ok.");
    } else if (how == "ok") {
      low(0);
      out(0);
      Say("papel reposto", "papel reposto.");
    } else {
      throw UsageError("sim paper é low, out ou ok, não '" + how + "'");
    }
    return 0;
  }

  int Power(const std::string& how) {
    if (how != "on" && how != "off") {
      throw UsageError("sim power é on ou off, não '" + how + "'");
    }
    SteeringState state = LoadSteering(session_.workspace());
    state.powered_off = how == "off";
    SaveSteering(session_.workspace(), state);
    printer_.Control<void(int)>("EcfSim_SetPower")(state.powered_off ? 0 : 1);
    if (state.powered_off) {
      Say("impressora desligada",
          "impressora desligada; nenhum comando tem resposta até sim power on.");
    } else {
      Say("impressora ligada", "impressora ligada.");
    }
    return 0;
  }

  int Fail() {
    if (arguments_.size() < 2 || arguments_.size() > 3) {
      throw UsageError("uso: ecfhost sim fail FUNÇÃO [CÓDIGO]");
    }
    EntryFault fault;
    fault.entry = EntryName(printer_, arguments_[1]);
    fault.code = kDefaultFailureCode;
    if (arguments_.size() == 3) {
      const std::optional<long long> code = ReadInteger(arguments_[2]);
      if (!code || *code < -99 || *code > 99) {
        throw UsageError("o código de sim fail é um código de retorno como -27, não '" +
                         arguments_[2] + "'");
      }
      fault.code = static_cast<int>(*code);
    }
    AddFault(fault);
    Say("falha: " + ShortEntry(fault.entry) + " (" + std::to_string(fault.code) + ")",
        "a próxima chamada de " + fault.entry + " devolve " + std::to_string(fault.code) +
            " sem ser executada.");
    return 0;
  }

  int LoseReply(const std::string& entry) {
    AddFault(EntryFault{EntryFault::Kind::kLoseReply, entry, 0});
    Say("sem resposta: " + ShortEntry(entry),
        "a próxima chamada de " + entry + " é executada, mas sua resposta se perde.");
    return 0;
  }

  void AddFault(const EntryFault& fault) {
    SteeringState state = LoadSteering(session_.workspace());
    state.faults.push_back(fault);
    SaveSteering(session_.workspace(), state);
  }

  // A new printer: its memory, tape and journal wiped, every condition
  // gone, both clocks back to the computer's; the register meets it anew.
  int Reset() {
    printer_.Control<void()>("EcfSim_Reset")();
    SaveSteering(session_.workspace(), SteeringState{});
    session_.workspace().SetClockOffset(0);
    zel::Env::Default()->RemoveFile(ConfigurationPath(session_));
    Say("impressora nova",
        "impressora nova, sem memória fiscal; o caixa a registra no próximo início.");
    return 0;
  }

  int Journal() {
    if (arguments_.size() > 2) throw UsageError("uso: ecfhost sim journal [LINHAS]");
    std::optional<long long> last;
    if (arguments_.size() == 2) {
      last = ReadInteger(arguments_[1]);
      if (!last || *last <= 0) {
        throw UsageError("sim journal pede um número de linhas, não '" + arguments_[1] + "'");
      }
    }
    zel::Env* env = zel::Env::Default();
    const std::string path = session_.workspace().PrinterDirectory() + "/journal.txt";
    if (!env->FileExists(path)) {
      std::fprintf(session_.out(), "(o diário está vazio: a impressora não recebeu comandos)\n");
      return 0;
    }
    const std::vector<std::string> lines = env->ReadLines(path);
    const std::size_t from =
        last && static_cast<std::size_t>(*last) < lines.size() ? lines.size() - *last : 0;
    for (std::size_t i = from; i < lines.size(); ++i) {
      std::fprintf(session_.out(), "%s\n", lines[i].c_str());
    }
    return 0;
  }

  int Status() {
    std::FILE* out = session_.out();
    const SteeringState state = LoadSteering(session_.workspace());
    const long long days = session_.workspace().clock_offset_seconds() / kSecondsPerDay;
    zel::DateTime printer_now = zel::Env::Default()->Now();
    printer_now.value += static_cast<double>(Figure("clock_offset")) / kSecondsPerDay;
    std::fprintf(out, "Impressora fiscal simulada\n");
    std::fprintf(
        out, "  relógio do computador  %s%s\n", ShowDate(session_.workspace().Now()).c_str(),
        days == 0
            ? ""
            : (" (" + std::string(days > 0 ? "+" : "") + std::to_string(days) + " d)").c_str());
    std::fprintf(out, "  relógio da impressora  %s\n", ShowDate(printer_now).c_str());
    std::fprintf(out, "  movimento aberto em    %s\n",
                 ShowDay(static_cast<int>(Figure("movement_date"))).c_str());
    std::fprintf(out, "  última redução Z de    %s\n",
                 ShowDay(static_cast<int>(Figure("last_reduced_date"))).c_str());
    const char* paper = Figure("paper_out") != 0   ? "sem papel"
                        : Figure("paper_low") != 0 ? "acabando"
                                                   : "normal";
    std::fprintf(out, "  papel                  %s\n", paper);
    std::fprintf(out, "  energia                %s\n", state.powered_off ? "desligada" : "ligada");
    if (state.faults.empty()) std::fprintf(out, "  falhas programadas     nenhuma\n");
    for (const EntryFault& fault : state.faults) {
      const std::string what = fault.kind == EntryFault::Kind::kFail
                                   ? "falha (" + std::to_string(fault.code) + ")"
                                   : "resposta perdida";
      std::fprintf(out, "  próxima chamada        %s: %s\n", fault.entry.c_str(), what.c_str());
    }
    return 0;
  }

  Session& session_;
  Arguments arguments_;
  SimulatedPrinter printer_;
};

}  // namespace

void NextSimulatedDay(Session& session) { SimCommand(session, {"--next-day"}).Run(); }

void ResetSimulatedPrinter(Session& session) { SimCommand(session, {"reset"}).Run(); }

int RunSim(Session& session, const Arguments& arguments) {
  return SimCommand(session, arguments).Run();
}

}  // namespace ecfhost
