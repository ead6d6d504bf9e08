// The control API (ecfsim.h).
#include <algorithm>
#include <cstring>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "ecfsim.h"
#include "printer.h"
#include "reading_files.h"
#include "text.h"

namespace ecfsim {
namespace {

void SetFault(std::map<std::string, Harness::Fault>& faults, const char* entry,
              const Harness::Fault& fault) {
  std::string name = Arg(entry);
  if (fault.remaining == 0) {
    faults.erase(name);
  } else {
    faults[name] = fault;
  }
}

int CopyText(const std::string& text, char* buffer, int size) {
  if (buffer && size > 0) {
    std::size_t n = std::min<std::size_t>(text.size(), size - 1);
    std::memcpy(buffer, text.data(), n);
    buffer[n] = '\0';
  }
  return static_cast<int>(text.size());
}

// A mark "*** text ***", broken between words into as many marked lines as
// the paper's width needs (a word too long for a line is cut).
std::vector<std::string> MarkLines(const std::string& text) {
  constexpr int kRoom = kTapeWidth - 8;
  std::vector<std::string> lines;
  std::string line;
  std::size_t at = 0;
  while (at < text.size()) {
    const std::size_t end = std::min(text.find(' ', at), text.size());
    std::string word = text.substr(at, end - at);
    at = end + 1;
    for (; static_cast<int>(word.size()) > kRoom; word.erase(0, kRoom)) {
      if (!line.empty()) lines.push_back(std::exchange(line, ""));
      lines.push_back(word.substr(0, kRoom));
    }
    if (!line.empty() && static_cast<int>(line.size() + 1 + word.size()) > kRoom) {
      lines.push_back(std::exchange(line, ""));
    }
    line += (line.empty() ? "" : " ") + word;
  }
  if (!line.empty() || lines.empty()) lines.push_back(line);
  for (std::string& marked : lines) marked = "*** " + marked + " ***";
  return lines;
}

long long Figure(const PrinterState& s, const std::string& name) {
  const Counters& c = s.counters;
  const DayFigures& d = s.day;
  const std::map<std::string, long long> figures = {
      {"grand_total", s.grand_total},
      {"gross_sales", d.gross_sales},
      {"net_sales", NetSales(d)},
      {"cancellations", d.cancellations + d.iss_cancellations},
      {"discounts", d.discounts + d.iss_discounts},
      {"surcharges", d.surcharges + d.iss_surcharges},
      {"coo", c.coo},
      {"crz", c.crz},
      {"cro", c.cro},
      {"gnf", c.gnf},
      {"ccf", c.ccf},
      {"cfc", c.cfc},
      {"grg", c.grg},
      {"cdc", c.cdc},
      {"cer", c.cer},
      {"document", static_cast<int>(s.document)},
      {"movement_date", s.movement_date},
      {"last_reduced_date", s.last_reduced_date},
      {"drawer_open", s.drawer_open},
      {"daylight_saving", s.daylight_saving},
      {"reductions", static_cast<long long>(s.reductions.size())},
      {"clock_offset", s.clock_offset_seconds},
      {"paper_low", s.paper_low_commands},
      {"paper_out", s.paper_out_commands},
  };
  auto it = figures.find(name);
  return it == figures.end() ? -1 : it->second;
}

}  // namespace
}  // namespace ecfsim

using ecfsim::Harness;
using ecfsim::Printer;
using ecfsim::WithPrinter;

void EcfSim_Reset(void) {
  WithPrinter([](Printer& p) { p.Reset(); });
}

void EcfSim_Restart(void) {
  WithPrinter([](Printer& p) { p.Restart(); });
}

void EcfSim_SetClockOffset(long long seconds) {
  WithPrinter([=](Printer& p) {
    p.state().clock_offset_seconds = seconds;
    p.Save();
  });
}

void EcfSim_SetPaperLow(int commands) {
  WithPrinter([=](Printer& p) {
    p.state().paper_low_commands = commands;
    p.Save();
  });
}

void EcfSim_SetPaperOut(int commands) {
  WithPrinter([=](Printer& p) {
    p.state().paper_out_commands = commands;
    p.Save();
  });
}

void EcfSim_FailEntry(const char* entry, int code, int times) {
  WithPrinter([=](Printer& p) {
    ecfsim::SetFault(p.harness().forced_codes, entry, Harness::Fault{times, code, {}});
  });
}

void EcfSim_SetEntryStatus(const char* entry, int ack, int st1, int st2, int times) {
  WithPrinter([=](Printer& p) {
    ecfsim::SetFault(p.harness().forced_status, entry,
                     Harness::Fault{times, 0, ecfsim::StatusBytes{true, ack, st1, st2}});
  });
}

void EcfSim_DropReply(const char* entry, int times) {
  WithPrinter([=](Printer& p) {
    ecfsim::SetFault(p.harness().dropped_replies, entry, Harness::Fault{times, 0, {}});
  });
}

void EcfSim_ClearFaults(void) {
  WithPrinter([](Printer& p) {
    Harness& h = p.harness();
    h.forced_codes.clear();
    h.forced_status.clear();
    h.dropped_replies.clear();
    h.powered_off = false;
  });
}

void EcfSim_SetPower(int on) {
  WithPrinter([=](Printer& p) { p.harness().powered_off = on == 0; });
}

void EcfSim_SetDrawerOpen(int open) {
  WithPrinter([=](Printer& p) {
    p.state().drawer_open = open != 0;
    p.Save();
  });
}

void EcfSim_SetLatency(int milliseconds) {
  WithPrinter([=](Printer& p) { p.harness().latency_ms = milliseconds < 0 ? 0 : milliseconds; });
}

int EcfSim_SetTaxRate(int position, int rate, int iss) {
  if (position < 1 || position > ecfsim::kTaxRateSlots || rate < 0 || rate > 9999) return 0;
  WithPrinter([=](Printer& p) {
    ecfsim::TaxRate& slot = p.state().rates[position - 1];
    slot.programmed = rate > 0;
    slot.rate = rate;
    slot.iss = rate > 0 && iss != 0;
    p.Save();
  });
  return 1;
}

int EcfSim_JournalCount(void) {
  int count = 0;
  WithPrinter([&](Printer& p) { count = static_cast<int>(p.harness().journal.size()); });
  return count;
}

int EcfSim_JournalGet(int index, char* buffer, int size) {
  int length = -1;
  WithPrinter([&](Printer& p) {
    const auto& journal = p.harness().journal;
    if (index < 0 || index >= static_cast<int>(journal.size())) return;
    length = ecfsim::CopyText(journal[index], buffer, size);
  });
  return length;
}

void EcfSim_JournalClear(void) {
  WithPrinter([](Printer& p) { p.harness().journal.clear(); });
}

long long EcfSim_Figure(const char* name) {
  long long value = -1;
  WithPrinter([&](Printer& p) { value = ecfsim::Figure(p.state(), ecfsim::Arg(name)); });
  return value;
}

void EcfSim_Mark(const char* text) {
  WithPrinter([&](Printer& p) {
    const std::string mark = ecfsim::Arg(text);
    p.harness().journal.push_back("EcfSim_Mark|" + mark);
    p.tape().Journal("EcfSim_Mark|" + mark);
    std::vector<std::string> lines;
    for (const std::string& line : ecfsim::MarkLines(mark)) {
      lines.push_back(ecfsim::Centre(line, ecfsim::kTapeWidth));
    }
    p.tape().Mark(lines);
  });
}

int EcfSim_Directory(char* buffer, int size) {
  int length = 0;
  WithPrinter([&](Printer& p) { length = ecfsim::CopyText(p.directory(), buffer, size); });
  return length;
}
