#include "core/pending_document.h"

#include <exception>
#include <vector>

#include "core/dialogs.h"
#include "host/codepage.h"
#include "platform/env.h"
#include "zel/driver_state.h"

namespace zel {
namespace {

constexpr char kMarkFile[] = "PlotevaPendente.txt";

std::string MarkPath() { return Zel00101::dsDirCad + kMarkFile; }

std::string ValueOf(const std::vector<std::string>& lines, const std::string& key) {
  for (const std::string& line : lines) {
    if (line.starts_with(key + "=")) return line.substr(key.size() + 1);
  }
  return {};
}

}  // namespace

void MarkDocumentPending(const std::string& document) {
  using namespace Zel00101;
  WritePendingDocument({document, stAtuFili, stAtuCaixa, stSerieAtu});
}

void WritePendingDocument(const PendingDocument& pending) {
  using namespace Zel00101;
  // Without a configuration there is no stored total to keep in step.
  Env* env = Env::Current();
  if (!env->FileExists(dsDirCad + "Ploteva.cds") &&
      !env->FileExists(dsDirCad + "qrv" + pending.cash_register + pending.branch + ".cds")) {
    return;
  }
  const std::string text = "DOCUMENTO=" + pending.document + "\r\nCDFILIAL=" + pending.branch +
                           "\r\nCDCAIXA=" + pending.cash_register + "\r\nNRSERIE=" +
                           pending.serial + "\r\n";
  try {
    env->ReplaceFile(MarkPath(), text);
  } catch (const std::exception& error) {
    LogProblem(Utf8ToCp1252("marca de documento em andamento não gravada: ") + error.what());
  }
}

std::optional<PendingDocument> ReadPendingDocument() {
  Env* env = Env::Current();
  if (!env->FileExists(MarkPath())) return std::nullopt;
  PendingDocument pending;
  try {
    const std::vector<std::string> lines = env->ReadLines(MarkPath());
    pending = {ValueOf(lines, "DOCUMENTO"), ValueOf(lines, "CDFILIAL"), ValueOf(lines, "CDCAIXA"),
               ValueOf(lines, "NRSERIE")};
  } catch (const std::exception& error) {
    LogProblem(Utf8ToCp1252("marca de documento em andamento ilegível: ") + error.what());
  }
  return pending;
}

void ClearPendingDocument() {
  try {
    Env::Current()->RemoveFile(MarkPath());
  } catch (const std::exception& error) {
    LogProblem(Utf8ToCp1252("marca de documento em andamento não removida: ") + error.what());
  }
}

}  // namespace zel
