#include "credit_fixture.h"

#include <fcntl.h>
#include <poll.h>
#include <stdlib.h>
#include <termios.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <sstream>

#include "host/codepage.h"

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

std::string LibraryFile(const char* file) {
  std::stringstream directories(std::getenv("ZEL_LIBRARY_PATH") ? std::getenv("ZEL_LIBRARY_PATH")
                                                                : "");
  std::string directory;
  while (std::getline(directories, directory, ':')) {
    if (Env::Default()->FileExists(directory + "/" + file)) return directory + "/" + file;
  }
  throw Error(std::string("No ") + file + " in ZEL_LIBRARY_PATH");
}

}  // namespace

PseudoTerminal::PseudoTerminal() {
  master_ = ::posix_openpt(O_RDWR | O_NOCTTY);
  if (master_ < 0 || ::grantpt(master_) != 0 || ::unlockpt(master_) != 0) {
    ADD_FAILURE() << "no pseudo-terminal";
    return;
  }
  slave_name_ = ::ptsname(master_);
}

PseudoTerminal::~PseudoTerminal() {
  if (master_ >= 0) ::close(master_);
}

bool PseudoTerminal::Is19200EightNoneOne() const {
  termios settings{};
  if (::tcgetattr(master_, &settings) != 0) return false;
  return ::cfgetospeed(&settings) == B19200 && ::cfgetispeed(&settings) == B19200 &&
         (settings.c_cflag & CSIZE) == CS8 && (settings.c_cflag & (PARENB | CSTOPB)) == 0;
}

std::string PseudoTerminal::ReceiveAll(std::chrono::milliseconds quiet) {
  std::string received;
  for (;;) {
    pollfd request{master_, POLLIN, 0};
    if (::poll(&request, 1, static_cast<int>(quiet.count())) <= 0) break;
    char buffer[512];
    const ssize_t n = ::read(master_, buffer, sizeof buffer);
    if (n <= 0) break;
    received.append(buffer, static_cast<std::size_t>(n));
  }
  return received;
}

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
  SetEnvironment("ZEL_COM5", port_.slave_name());
  receipt_printer_ = Env::Default()->OpenLibrary(LibraryFile("libMp2032.so"));
  ASSERT_NE(receipt_printer_, nullptr);
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
      ::setenv(it->first.c_str(), it->second->c_str(), 1);
    } else {
      ::unsetenv(it->first.c_str());
    }
  }
  saved_.clear();
}

void CreditFixture::SetEnvironment(const char* name, const std::string& value) {
  const char* old = std::getenv(name);
  saved_.emplace_back(name, old ? std::optional<std::string>(old) : std::nullopt);
  ::setenv(name, value.c_str(), 1);
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
