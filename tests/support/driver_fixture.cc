#include "support/driver_fixture.h"

#include <stdlib.h>

#include <cstdlib>
#include <regex>

#include "core/vendor_table.h"
#include "host/codepage.h"
#include "zel/debug_log.h"
#include "zel/env.h"
#include "zel/error.h"

namespace zel {
namespace {

// By their Windows names, as the driver names libraries.
constexpr char kDriverFile[] = "zel00100.dll";
constexpr char kPrinterFile[] = "BemaFI32.dll";

// The build's lib/ folder holding `file`, from ZEL_LIBRARY_PATH (which
// zel_add_test sets); raises when no directory of it has the file.
std::string LibraryPath(const char* file) {
  const char* search = std::getenv("ZEL_LIBRARY_PATH");
  if (search == nullptr || *search == '\0') {
    throw Error(
        "ZEL_LIBRARY_PATH is not set; run the test through CTest or set it to the "
        "build's lib folder");
  }
  const std::string path = FindLibrary(file, {});
  if (path.empty())
    throw Error(std::string("No ") + file + " in ZEL_LIBRARY_PATH (" + search + ")");
  return path;
}

// Loaded once per process: a host never unloads the driver either.
LibraryHandle LoadOnce(const char* file) {
  static std::map<std::string, LibraryHandle> loaded;
  LibraryHandle& handle = loaded[file];
  if (handle == nullptr) {
    Env* env = Env::Default();
    handle = env->OpenLibrary(LibraryPath(file));
    if (handle == nullptr) {
      throw Error(std::string("Cannot load ") + file + ": " + env->LastLibraryError());
    }
  }
  return handle;
}

std::optional<std::string> GetVariable(const char* name) {
  const char* value = std::getenv(name);
  if (value == nullptr) return std::nullopt;
  return std::string(value);
}

// "07/12/2026 10:05:07 - ": the start of a log entry, whatever the
// separators of the regional settings.
const std::regex& EntryStart() {
  static const std::regex pattern(R"(^\d{2}\D\d{2}\D\d{2,4} \d{2}\D\d{2}\D\d{2} - )");
  return pattern;
}

}  // namespace

std::string UnitVariableSymbol(std::string_view name, bool is_text) {
  return "_ZN8Zel00101" + std::to_string(name.size()) + std::string(name) +
         (is_text ? "B5cxx11E" : "E");
}

void* RequireSymbol(LibraryHandle library, std::string_view library_name, std::string_view symbol) {
  void* address = Env::Default()->GetSymbol(library, symbol);
  if (address == nullptr) {
    throw Error(std::string(library_name) + " does not export \"" + std::string(symbol) + "\"");
  }
  return address;
}

DriverFixture::DriverFixture() = default;
DriverFixture::~DriverFixture() = default;

void DriverFixture::SetUp() {
  env_.CreateDirectories(env_.root() + "/ecfsim");
  SetVariable("ZEL_SYSTEM_DIR", env_.SystemDirectory());
  SetVariable("ZEL_DRIVE_C", env_.DriveRoot('c'));
  SetVariable("ECFSIM_DIR", env_.root() + "/ecfsim");
  // The printer library's own configuration: the model key the driver
  // checks at start, and where its reading files go.
  WriteBemaIni({"[Sistema]", "Porta=COM1", "Impressora=0", "Path=C:\\"});

  driver_ = LoadOnce(kDriverFile);
  printer_ = LoadOnce(kPrinterFile);
  Op<void(Env*)>("ZelDefineEnv")(&env_);
  Op<void(HostServices*)>("ZelRegistraHost")(&host_);
  Sim<void()>("EcfSim_Reset")();
}

void DriverFixture::TearDown() {
  if (driver_ != nullptr) {
    Op<void()>("StopImpFiscal")();
    Var<bool>("boComando") = false;
    Var<std::string>("stImpDebug").clear();
    Op<void(HostServices*)>("ZelRegistraHost")(nullptr);
    Op<void(Env*)>("ZelDefineEnv")(nullptr);
  }
  for (const auto& [name, value] : saved_variables_) {
    if (value) {
      zel::SetEnvironmentVariable(name, *value);
    } else {
      zel::UnsetEnvironmentVariable(name);
    }
  }
  saved_variables_.clear();
}

void DriverFixture::SetVariable(const char* name, const std::string& value) {
  saved_variables_.try_emplace(name, GetVariable(name));
  zel::SetEnvironmentVariable(name, value);
}

void DriverFixture::BindPrinterEntries() {
#define ZEL_BIND_ENTRY(name, parameters) \
  Var<Zel00101::T##name>(#name) =        \
      reinterpret_cast<Zel00101::T##name>(RequireSymbol(printer_, kPrinterFile, #name));
  ZEL_BOUND_VENDOR_ENTRIES(ZEL_BIND_ENTRY)
  ZEL_OLDER_INTERFACE_ENTRIES(ZEL_BIND_ENTRY)
#undef ZEL_BIND_ENTRY
}

std::vector<std::string> DriverFixture::SimJournal() {
  const int count = Sim<int()>("EcfSim_JournalCount")();
  auto* get = Sim<int(int, char*, int)>("EcfSim_JournalGet");
  std::vector<std::string> journal;
  for (int index = 0; index < count; ++index) {
    const int length = get(index, nullptr, 0);
    std::string call(static_cast<std::size_t>(length) + 1, '\0');
    get(index, call.data(), length + 1);
    call.resize(static_cast<std::size_t>(length));
    journal.push_back(call);
  }
  return journal;
}

void DriverFixture::ClearSimJournal() { Sim<void()>("EcfSim_JournalClear")(); }

long long DriverFixture::SimFigure(const char* name) {
  const long long value = Sim<long long(const char*)>("EcfSim_Figure")(name);
  if (value == -1) ADD_FAILURE() << "The printer has no figure named " << name;
  return value;
}

std::vector<std::string> DriverFixture::LogLines() {
  const std::string path = DebugLogPath(env_.Now());
  if (!env_.FileExists(path)) return {};
  return env_.ReadLines(path);
}

std::vector<std::string> DriverFixture::LogEntries() {
  std::vector<std::string> entries;
  for (const std::string& line : LogLines()) {
    std::smatch start;
    if (std::regex_search(line, start, EntryStart())) {
      entries.push_back(Cp1252ToUtf8(line.substr(start.length())));
    } else if (entries.empty()) {
      ADD_FAILURE() << "The debug log starts without a date and time: " << line;
    } else {
      entries.back() += "\r\n" + Cp1252ToUtf8(line);
    }
  }
  return entries;
}

void DriverFixture::WriteBemaIni(const std::vector<std::string>& lines) {
  env_.WriteLines(env_.SystemDirectory() + "/BemaFI32.ini", lines);
}

}  // namespace zel
