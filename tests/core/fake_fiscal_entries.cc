#include "fake_fiscal_entries.h"

#include <algorithm>

#include "core/vendor_table.h"
#include "host/codepage.h"
#include "host/date_format.h"
#include "zel/debug_log.h"
#include "zel/operations.h"

namespace zel {
namespace {

FakeFiscalPrinter* g_printer = nullptr;

int FakeRetornoImpressora(int* ack, int* st1, int* st2) {
  FakeFiscalPrinter& printer = *FakeFiscalPrinter::current();
  printer.journal.push_back("RetornoImpressora");
  printer.status_presets.push_back(std::to_string(*ack) + "," + std::to_string(*st1) + "," +
                                   std::to_string(*st2));
  const FakeStatus status = printer.NextStatus();
  *ack = status.ack;
  *st1 = status.st1;
  *st2 = status.st2;
  return status.result;
}

int FakeCancelaCupom() {
  FakeFiscalPrinter::current()->journal.push_back("CancelaCupom");
  return FakeFiscalPrinter::current()->cancel_result;
}

int FakeFinalizaModoTEF() {
  FakeFiscalPrinter::current()->journal.push_back("FinalizaModoTEF");
  return 1;
}

int FakeLeVariaveis(char* reply) {
  FakeFiscalPrinter& printer = *FakeFiscalPrinter::current();
  printer.journal.push_back("Le_Variaveis");
  printer.reply_buffer_received = reply;
  std::copy(printer.reply_variables.begin(), printer.reply_variables.end(), reply);
  return 0;
}

}  // namespace

FakeFiscalPrinter::FakeFiscalPrinter() {
  g_printer = this;
  Zel00101::Bematech_FI_RetornoImpressora = FakeRetornoImpressora;
  Zel00101::Bematech_FI_CancelaCupom = FakeCancelaCupom;
  Zel00101::Bematech_FI_FinalizaModoTEF = FakeFinalizaModoTEF;
  Zel00101::BemaLe_Variaveis = FakeLeVariaveis;
}

FakeFiscalPrinter::~FakeFiscalPrinter() {
  Zel00101::StopImpFiscal();
  g_printer = nullptr;
}

void FakeFiscalPrinter::SetStatus(FakeStatus status) {
  statuses_.clear();
  last_status_ = status;
}

void FakeFiscalPrinter::ScriptStatuses(std::initializer_list<FakeStatus> statuses) {
  statuses_.assign(statuses.begin(), statuses.end());
}

FakeFiscalPrinter* FakeFiscalPrinter::current() { return g_printer; }

FakeStatus FakeFiscalPrinter::NextStatus() {
  if (!statuses_.empty()) {
    last_status_ = statuses_.front();
    statuses_.pop_front();
  }
  return last_status_;
}

bool JournalingHost::Mensagem(const std::string& text, const std::string& caption,
                              const std::string& letter_n, const std::string& question, int kind,
                              const std::string& extra, const std::string& colour_scheme,
                              int number, Dataset* dataset) {
  if (FakeFiscalPrinter* printer = FakeFiscalPrinter::current()) {
    printer->journal.push_back("Mensagem: " + Cp1252ToUtf8(text));
  }
  return RecordingHost::Mensagem(text, caption, letter_n, question, kind, extra, colour_scheme,
                                 number, dataset);
}

std::vector<std::string> DebugLogEntries(Env& env) {
  const std::string path = DebugLogPath(env.Now());
  if (!env.FileExists(path)) return {};
  const std::string content = env.ReadFile(path);
  const std::string prefix = DateToText(env.Now()) + " " + TimeToText(env.Now()) + " - ";
  std::vector<std::string> entries;
  std::size_t start = 0;
  while (start < content.size()) {
    if (content.compare(start, prefix.size(), prefix) != 0) {
      entries.push_back("<entry without the expected date and time>");
      break;
    }
    start += prefix.size();
    std::size_t end = content.find("\r\n" + prefix, start);
    if (end == std::string::npos) {  // the last entry, which must end in CR LF
      if (!content.ends_with("\r\n")) {
        entries.push_back("<last entry without CR LF>");
        break;
      }
      end = content.size() - 2;
    }
    entries.push_back(Cp1252ToUtf8(content.substr(start, end - start)));
    start = end + 2;
  }
  return entries;
}

}  // namespace zel
