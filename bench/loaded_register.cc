#include "loaded_register.h"

#include <stdlib.h>

#include <cstdint>
#include <filesystem>

#include "zel/variant.h"

namespace zelbench {
namespace {

zel::LibraryHandle Load(const std::string& path) {
  zel::Env* env = zel::Env::Default();
  zel::LibraryHandle handle = env->OpenLibrary(path);
  if (handle == nullptr) throw zel::Error("Cannot load " + path + ": " + env->LastLibraryError());
  return handle;
}

}  // namespace

std::string FreshScratch(const char* name) {
  const std::filesystem::path path = std::filesystem::temp_directory_path() / name;
  std::filesystem::remove_all(path);
  for (const char* folder : {"ecfsim", "system", "drive_c"}) {
    std::filesystem::create_directories(path / folder);
  }
  return path.string();
}

bool CountingHost::Mensagem(const std::string& text, const std::string&, const std::string&,
                            const std::string&, int, const std::string&, const std::string&, int,
                            zel::Dataset*) {
  ++dialogs;
  last_text = text;
  return false;
}

std::string CountingHost::GravaCER(const std::string&, const std::string&, const std::string&) {
  return "";
}

LoadedRegister::LoadedRegister(const char* scratch_name)
    : scratch_(FreshScratch(scratch_name)), env_(scratch_) {
  const std::string lib = zel::Env::Default()->HostExecutableDirectory() + "/../lib";
  ::setenv("ZEL_LIBRARY_PATH", lib.c_str(), 1);
  ::setenv("ECFSIM_DIR", (scratch_ + "/ecfsim").c_str(), 1);
  ::setenv("ZEL_SYSTEM_DIR", (scratch_ + "/system").c_str(), 1);
  ::setenv("ZEL_DRIVE_C", (scratch_ + "/drive_c").c_str(), 1);
  env_.WriteLines(scratch_ + "/system/BemaFI32.ini",
                  {"[Sistema]", "Porta=COM1", "Impressora=0", "Path=C:\\"});
  driver_ = Load(lib + "/libzel00100.so");
  printer_ = Load(lib + "/libBemaFI32.so");
  Driver<void(zel::Env*)>("ZelDefineEnv")(&env_);
  Driver<void(zel::HostServices*)>("ZelRegistraHost")(&host_);
  Printer<void()>("EcfSim_Reset")();

  if (!Driver<bool(const zel::Variant&)>("StartImpFiscal")(
          zel::MakeParams({{"CDFILIAL", "0001"},
                           {"CDCAIXA", "001"},
                           {"NRSERIE", "X"},
                           {"NRSERIEIMP", "X"},
                           {"ESQUEMA", kScheme},
                           {"ESQUEMACOR", kScheme},
                           {"PORTAIMPFIS", "COM1"},
                           {"CDPORTAIMPFIS", "COM1"}}))) {
    throw zel::Error("The driver did not start: " + host_.last_text);
  }
}

void LoadedRegister::ReadyForReports() {
  std::string cv, consumer, purchase, cancellation, report;
  std::int32_t unused = 0;
  Driver<void(std::string&, std::string&, std::string&, std::string&, std::string&,
              const std::string&, std::int32_t&, zel::Dataset*)>("CarregaTotalizador")(
      cv, consumer, purchase, cancellation, report, kScheme, unused, nullptr);
  if (!Driver<bool(const std::string&, const std::string&, bool, bool)>("Config_FormaPg")(
          kScheme, "Rel Gerencial", false, false)) {
    throw zel::Error("No report payment form: " + host_.last_text);
  }
}

void* LoadedRegister::Symbol(zel::LibraryHandle library, const char* name) {
  void* address = zel::Env::Default()->GetSymbol(library, name);
  if (address == nullptr) throw zel::Error(std::string("Missing symbol ") + name);
  return address;
}

}  // namespace zelbench
