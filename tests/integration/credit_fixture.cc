#include "credit_fixture.h"

#include <cstdlib>
#include <fstream>

#include "host/codepage.h"
#include "zel/env.h"

namespace zel {
namespace {

constexpr char kUsaComprovante[] = "Bematech_FI_UsaComprovanteNaoFiscalVinculado|";

std::vector<std::string> FileLines(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  std::vector<std::string> lines;
  std::string line;
  while (std::getline(file, line)) lines.push_back(line);
  return lines;
}

}  // namespace

void AddRow(Dataset& table, const std::vector<Variant>& values) {
  table.Append();
  for (std::size_t i = 0; i < values.size(); ++i) {
    table.SetValue(table.FieldDefs()[i].name, values[i]);
  }
  table.Post();
}

Dataset MakeTable(const std::string& name, std::initializer_list<FieldDef> fields,
                  std::initializer_list<std::vector<Variant>> rows) {
  Dataset table(name);
  table.SetFieldDefs(fields);
  table.CreateDataSet();
  for (const std::vector<Variant>& row : rows) AddRow(table, row);
  table.First();
  return table;
}

void CreditFixture::SetUp() {
  DriverFixture::SetUp();
  SetEnvironment("NFSIM_DIR", env_.root() + "/nfsim");
  if (port_.available()) {
    SetEnvironment("ZEL_COM5", port_.slave_name());
  } else {
    // No pseudo-terminal (a Windows program, under wine): a plain file
    // passes the driver's check that the port can be opened, which is all
    // the receipt printer's library model needs; the serial model's tests
    // skip. Not named "com5": Windows keeps that name for the device.
    const std::string stand_in = Env::Default()->MapPath(env_.root() + "/receipt-port.txt");
    Env::Default()->WriteFile(stand_in, "");
    SetEnvironment("ZEL_COM5", stand_in);
  }
  // The copy in ZEL_LIBRARY_PATH, the one the driver loads too.
  const std::string receipt_library = FindLibrary("Mp2032.dll", {});
  ASSERT_FALSE(receipt_library.empty()) << "no Mp2032.dll in ZEL_LIBRARY_PATH";
  receipt_printer_ = Env::Default()->OpenLibrary(receipt_library);
  ASSERT_NE(receipt_printer_, nullptr) << Env::Default()->LastLibraryError();
  Receipt<void()>("NfSim_Reset")();

  BindPrinterEntries();
  using NameTotalizer = int(int, const char*);
  using ProgramForm = int(const char*, const char*);
  ASSERT_EQ(Sim<NameTotalizer>("Bematech_FI_NomeiaTotalizadorNaoSujeitoIcms")(2, "Rel Gerencial"),
            1);
  ASSERT_EQ(Sim<NameTotalizer>("Bematech_FI_NomeiaTotalizadorNaoSujeitoIcms")(3, "Compra Credito"),
            1);
  ASSERT_EQ(Sim<NameTotalizer>("Bematech_FI_NomeiaTotalizadorNaoSujeitoIcms")(4, "Canc Credito"),
            1);
  ASSERT_EQ(Sim<ProgramForm>("Bematech_FI_ProgramaFormaPagamentoMFD")("Rel Gerencial", "1"), 1);
  ASSERT_EQ(Sim<ProgramForm>("Bematech_FI_ProgramaFormaPagamentoMFD")("Cartao", "1"), 1);
  Var<std::string>("IdTotRelatorio") = "02";
  ClearSimJournal();
  ready_ = true;
}

void CreditFixture::TearDown() {
  if (ready_) Var<std::string>("IdTotRelatorio").clear();
  DriverFixture::TearDown();
  for (auto it = saved_.rbegin(); it != saved_.rend(); ++it) {
    if (it->second) {
      SetEnvironmentVariable(it->first, *it->second);
    } else {
      UnsetEnvironmentVariable(it->first);
    }
  }
  saved_.clear();
}

void CreditFixture::SetEnvironment(const char* name, const std::string& value) {
  const char* old = std::getenv(name);
  saved_.emplace_back(name, old ? std::optional<std::string>(old) : std::nullopt);
  SetEnvironmentVariable(name, value);
}

std::vector<std::string> CreditFixture::ReceiptJournal() {
  std::vector<std::string> calls;
  const int count = Receipt<int()>("NfSim_JournalCount")();
  for (int i = 0; i < count; ++i) {
    const int length = Receipt<int(int, char*, int)>("NfSim_JournalGet")(i, nullptr, 0);
    std::string call(static_cast<std::size_t>(length) + 1, '\0');
    Receipt<int(int, char*, int)>("NfSim_JournalGet")(i, call.data(), length + 1);
    call.resize(static_cast<std::size_t>(length));
    calls.push_back(call);
  }
  return calls;
}

std::vector<std::string> CreditFixture::ReceiptTape() {
  char path[1024];
  Receipt<int(char*, int)>("NfSim_TapePath")(path, sizeof path);
  return FileLines(path);
}

std::vector<std::string> CreditFixture::FiscalTape() {
  return FileLines(env_.root() + "/ecfsim/tape.txt");
}

std::vector<std::string> CreditFixture::PrintedPieces() {
  std::vector<std::string> pieces;
  for (const std::string& call : FiscalCalls(kUsaComprovante)) {
    pieces.push_back(call.substr(sizeof kUsaComprovante - 1));
  }
  return pieces;
}

std::string CreditFixture::PrintedText() {
  std::string text;
  for (const std::string& piece : PrintedPieces()) text += piece;
  return text;
}

std::vector<std::string> CreditFixture::FiscalCalls(std::string_view prefix) {
  std::vector<std::string> calls;
  for (const std::string& call : SimJournal()) {
    if (call.compare(0, prefix.size(), prefix) == 0) calls.push_back(call);
  }
  return calls;
}

}  // namespace zel
