// Entries of the readings: X reading and Z reduction, the fiscal-memory
// readings (printed or written to "Retorno.txt"), the last-reduction data and
// the detail-tape files.
#include <stdexcept>

#include "bemafi32.h"
#include "last_reduction.h"
#include "printer.h"
#include "reading_files.h"
#include "tape_files.h"
#include "tape_readings.h"
#include "text.h"
#include "windows_paths.h"

namespace ecfsim {
namespace {

// The lines of `lines` from the first one `starts` accepts; the lines before
// it repeat what the document header already printed.
template <class Predicate>
std::vector<std::string> From(const std::vector<std::string>& lines, Predicate starts) {
  for (std::size_t i = 0; i < lines.size(); ++i) {
    if (starts(lines[i])) return {lines.begin() + i, lines.end()};
  }
  return lines;
}

Outcome XReading(Printer& p) {
  if (p.DocumentOpen()) return NotNow();
  std::vector<std::string> lines = DayFiguresOnPaper(p.state(), p.Now());
  p.StartDocument("LX", "LEITURA X");
  ++p.state().counters.gnf;
  p.PrintLines(lines);
  p.FinishDocument();
  return Done();
}

void ZeroDay(PrinterState& s) {
  s.day = DayFigures{};
  for (TaxRate& rate : s.rates) rate.day_base = 0;
  for (NonFiscalTotalizer& totalizer : s.totalizers) {
    totalizer.day_total = 0;
    totalizer.day_count = 0;
  }
  for (PaymentForm& form : s.payment_forms) form.day_total = 0;
}

// Date and time, when given, set the printer clock before the reduction.
Outcome SetClock(Printer& p, const std::string& date, const std::string& time) {
  if (Trim(date).empty() && Trim(time).empty()) return Done();
  auto day = ParseDate(date);
  auto hour = ParseTime(time);
  if (!day || !hour) return BadParameter();
  std::int64_t wanted = EpochFromMoment(static_cast<std::int64_t>(*day) * 1000000 + *hour);
  p.state().clock_offset_seconds += wanted - EpochFromMoment(p.Now());
  return Done();
}

Outcome ZReduction(Printer& p, const std::string& date, const std::string& time) {
  PrinterState& s = p.state();
  if (p.DocumentOpen()) return NotNow();
  if (static_cast<int>(s.reductions.size()) >= kFiscalMemoryReductions) {
    return Refuse(0, st2::kMemoryFull);
  }
  if (Outcome clock = SetClock(p, date, time); clock.code != kOk) return clock;
  const int today = p.Today();
  if (today < s.last_reduced_date || today < s.movement_date) return Refuse(st1::kClockError, 0);
  if (s.movement_date == 0) {
    if (s.last_reduced_date == today) return NotNow();  // this day is already reduced
    p.OpenDayIfNeeded();                                // a reduction without movement
  }
  const int reduced_date = s.movement_date;
  p.StartDocument("RZ", Utf8ToCp1252("REDUÇÃO Z"));
  ++s.counters.crz;
  ++s.counters.gnf;
  p.PrintLines({Spread("MOVIMENTO DO DIA:", ShowDate(reduced_date), kTapeWidth)});
  p.PrintLines(DayFiguresOnPaper(s, p.Now()));
  const Counters& c = s.counters;
  s.reductions.push_back(ReductionRecord{c.crz, c.cro, c.coo, s.day.first_coo, c.gnf, c.ccf, c.cfc,
                                         c.grg, c.cdc, reduced_date, p.Now(), s.grand_total, s.day,
                                         s.rates, s.totalizers, s.payment_forms});
  ZeroDay(s);
  s.movement_date = 0;
  s.last_reduced_date = reduced_date;
  p.FinishDocument();
  return Done();
}

// Runs a file-producing step; bad arguments and unwritable files become the
// library's return codes.
template <class Step>
Outcome FileStep(Step step) {
  try {
    step();
    return Done();
  } catch (const std::invalid_argument&) {
    return BadParameter();
  } catch (const std::exception&) {
    return Refuse(0, 0, kCannotOpenFile);
  }
}

Outcome PrintedMemoryReading(Printer& p, FiscalMemoryRange::Kind kind, const std::string& first,
                             const std::string& last, bool complete) {
  FiscalMemoryRange range;
  try {
    range = ParseFiscalMemoryRange(kind, first, last);
  } catch (const std::invalid_argument&) {
    return BadParameter();
  }
  if (p.DocumentOpen()) return NotNow();
  std::vector<std::string> lines = From(
      FiscalMemoryReadingLines(p.state(), range, complete, p.Now()), [](const std::string& line) {
        std::string t = Trim(line);
        return t == "COMPLETA" || t == "SIMPLIFICADA";
      });
  p.StartDocument("LMF", Utf8ToCp1252("LEITURA DA MEMÓRIA FISCAL"));
  ++p.state().counters.gnf;
  p.PrintLines(lines);
  p.FinishDocument();
  return Done();
}

Outcome SerialMemoryReading(Printer& p, FiscalMemoryRange::Kind kind, const std::string& first,
                            const std::string& last, const std::string& flag) {
  return FileStep([&] {
    FiscalMemoryRange range = ParseFiscalMemoryRange(kind, first, last);
    WriteReturnFile(FiscalMemoryReadingLines(p.state(), range, IsCompleteReading(flag), p.Now()));
  });
}

int Printed(const char* entry, FiscalMemoryRange::Kind kind, const char* first, const char* last,
            const char* flag, bool with_flag) {
  std::string a = Arg(first), b = Arg(last), f = with_flag ? Arg(flag) : "C";
  std::vector<std::string> args = {a, b};
  if (with_flag) args.push_back(f);
  return Run(entry, args, CommandKind::kPrinting,
             [&](Printer& p) { return PrintedMemoryReading(p, kind, a, b, IsCompleteReading(f)); });
}

int Serial(const char* entry, FiscalMemoryRange::Kind kind, const char* first, const char* last,
           const char* flag) {
  std::string a = Arg(first), b = Arg(last), f = Arg(flag);
  return Run(entry, {a, b, f}, CommandKind::kQuery,
             [&](Printer& p) { return SerialMemoryReading(p, kind, a, b, f); });
}

}  // namespace
}  // namespace ecfsim

using ecfsim::Arg;
using ecfsim::CommandKind;
using ecfsim::FiscalMemoryRange;
using ecfsim::Printer;
using ecfsim::Run;

int Bematech_FI_LeituraX() {
  return Run("Bematech_FI_LeituraX", {}, CommandKind::kPrinting, ecfsim::XReading);
}

int Bematech_FI_LeituraXSerial() {
  return Run("Bematech_FI_LeituraXSerial", {}, CommandKind::kQuery, [](Printer& p) {
    return ecfsim::FileStep(
        [&] { ecfsim::WriteReturnFile(ecfsim::XReadingLines(p.state(), p.Now())); });
  });
}

int Bematech_FI_LeArquivoRetorno() {
  return Run("Bematech_FI_LeArquivoRetorno", {}, CommandKind::kQuery, [](Printer&) {
    return ecfsim::FileStep(
        [] { ecfsim::ReadLinesOf(ecfsim::RealPath(ecfsim::OutputDirectory() + "Retorno.txt")); });
  });
}

int Bematech_FI_ReducaoZ(const char* date, const char* time) {
  std::string d = Arg(date), t = Arg(time);
  return Run("Bematech_FI_ReducaoZ", {d, t}, CommandKind::kPrinting,
             [&](Printer& p) { return ecfsim::ZReduction(p, d, t); });
}

int Bematech_FI_DadosUltimaReducao(char* data1278) {
  return ecfsim::Query("Bematech_FI_DadosUltimaReducao", [&](Printer& p) {
    ecfsim::CopyOut(data1278, ecfsim::LastReductionData(p.state()), ecfsim::kLastReductionSize);
  });
}

int Bematech_FI_DadosUltimaReducaoMFD(char* data1278) {
  return ecfsim::Query("Bematech_FI_DadosUltimaReducaoMFD", [&](Printer& p) {
    ecfsim::CopyOut(data1278, ecfsim::LastReductionData(p.state()), ecfsim::kLastReductionSize);
  });
}

int Bematech_FI_DadosSintegra(const char* first_date, const char* last_date) {
  return Run("Bematech_FI_DadosSintegra", {Arg(first_date), Arg(last_date)}, CommandKind::kQuery,
             [](Printer&) { return ecfsim::Done(); });
}

int Bematech_FI_MapaResumo() {
  return Run("Bematech_FI_MapaResumo", {}, CommandKind::kQuery,
             [](Printer&) { return ecfsim::Done(); });
}

int Bematech_FI_LeituraMemoriaFiscalData(const char* first, const char* last) {
  return ecfsim::Printed("Bematech_FI_LeituraMemoriaFiscalData", FiscalMemoryRange::Kind::kByDate,
                         first, last, nullptr, false);
}

int Bematech_FI_LeituraMemoriaFiscalReducao(const char* first, const char* last) {
  return ecfsim::Printed("Bematech_FI_LeituraMemoriaFiscalReducao",
                         FiscalMemoryRange::Kind::kByReduction, first, last, nullptr, false);
}

int Bematech_FI_LeituraMemoriaFiscalDataMFD(const char* first, const char* last, const char* flag) {
  return ecfsim::Printed("Bematech_FI_LeituraMemoriaFiscalDataMFD",
                         FiscalMemoryRange::Kind::kByDate, first, last, flag, true);
}

int Bematech_FI_LeituraMemoriaFiscalReducaoMFD(const char* first, const char* last,
                                               const char* flag) {
  return ecfsim::Printed("Bematech_FI_LeituraMemoriaFiscalReducaoMFD",
                         FiscalMemoryRange::Kind::kByReduction, first, last, flag, true);
}

int Bematech_FI_LeituraMemoriaFiscalSerialDataMFD(const char* first, const char* last,
                                                  const char* flag) {
  return ecfsim::Serial("Bematech_FI_LeituraMemoriaFiscalSerialDataMFD",
                        FiscalMemoryRange::Kind::kByDate, first, last, flag);
}

int Bematech_FI_LeituraMemoriaFiscalSerialReducaoMFD(const char* first, const char* last,
                                                     const char* flag) {
  return ecfsim::Serial("Bematech_FI_LeituraMemoriaFiscalSerialReducaoMFD",
                        FiscalMemoryRange::Kind::kByReduction, first, last, flag);
}

int Bematech_FI_DownloadMFD(const char* file, const char* type, const char* first, const char* last,
                            const char* user) {
  std::string f = Arg(file), t = Arg(type), a = Arg(first), b = Arg(last), u = Arg(user);
  return Run("Bematech_FI_DownloadMFD", {f, t, a, b, u}, CommandKind::kQuery, [&](Printer& p) {
    return ecfsim::FileStep([&] {
      ecfsim::WriteDownloadFile(f, p.state(), ecfsim::LoadDetailTape(p.directory()), t, a, b, u);
    });
  });
}

int Bematech_FI_FormatoDadosMFD(const char* source, const char* target, const char* format,
                                const char* type, const char* first, const char* last,
                                const char* user) {
  std::string s = Arg(source), d = Arg(target), f = Arg(format), t = Arg(type), a = Arg(first),
              b = Arg(last), u = Arg(user);
  return Run("Bematech_FI_FormatoDadosMFD", {s, d, f, t, a, b, u}, CommandKind::kQuery,
             [&](Printer&) {
               return ecfsim::FileStep([&] { ecfsim::WriteMirrorFile(s, d, f, t, a, b, u); });
             });
}

// The CAT52 file is made by the host's own tools from the detail tape; the
// entry only acknowledges.
int Bematech_FI_GeraRegistrosCAT52MFDEx(const char* source, const char* date, const char* target) {
  return Run("Bematech_FI_GeraRegistrosCAT52MFDEx", {Arg(source), Arg(date), Arg(target)},
             CommandKind::kQuery, [](Printer&) { return ecfsim::Done(); });
}
