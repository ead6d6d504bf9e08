// A cash register for benchmarks that play the point-of-sale host: the
// driver and the simulated printer loaded by path at run time as a host
// loads them (from ../lib beside the benchmark), a fresh printer whose
// memory and paper tape live in a scratch folder under the temporary
// directory (the driver's debug log too), a host that answers every
// question "no" and counts its dialogs, and the driver started.
//
// One per process: the libraries are never unloaded. One thread.
#ifndef ZEL_BENCH_LOADED_REGISTER_H_
#define ZEL_BENCH_LOADED_REGISTER_H_

#include <memory>
#include <string>

#include "platform/env.h"
#include "zel/error.h"
#include "zel/host_services.h"

namespace zelbench {

// The colour scheme the benchmarks pass.
inline constexpr char kScheme[] = "001";

// A new, empty folder `name` under the temporary directory, with the
// simulated printer's, the system's and drive C's folders in it.
std::string FreshScratch(const char* name);

// A dialog during a run means an operation did not go as planned.
class CountingHost : public zel::HostServices {
 public:
  bool Mensagem(const std::string& text, const std::string&, const std::string&, const std::string&,
                int, const std::string&, const std::string&, int, zel::Dataset*) override;
  std::string GravaCER(const std::string&, const std::string&, const std::string&) override;
  void GravaDocumentosNaoFiscais(const std::string&, const std::string&, const std::string&, int,
                                 int) override {}
  void Delay(int) override {}
  void ProcessMessages() override {}
  void Terminate() override {}

  int dialogs = 0;
  std::string last_text;
};

// The debug log goes to the scratch folder instead of beside the program.
class ScratchEnv : public zel::EnvWrapper {
 public:
  explicit ScratchEnv(std::string directory)
      : EnvWrapper(zel::Env::Default()), directory_(std::move(directory)) {}
  std::string HostExecutableDirectory() override { return directory_; }

 private:
  std::string directory_;
};

class LoadedRegister {
 public:
  // `scratch_name` names the scratch folder, emptied first. Raises
  // zel::Error when a library does not load or the driver does not start.
  explicit LoadedRegister(const char* scratch_name);
  LoadedRegister(const LoadedRegister&) = delete;
  LoadedRegister& operator=(const LoadedRegister&) = delete;

  // A symbol of the driver or of the printer; raises zel::Error naming it
  // when missing.
  template <typename Signature>
  Signature* Driver(const char* name) const {
    return reinterpret_cast<Signature*>(Symbol(driver_, name));
  }
  template <typename Signature>
  Signature* Printer(const char* name) const {
    return reinterpret_cast<Signature*>(Symbol(printer_, name));
  }

  CountingHost& host() { return host_; }

  // Makes the register ready for management reports as a host does: the
  // driver finds (or programs) its totalizers on the printer, the report's
  // among them, and programs the report's payment form "Rel Gerencial".
  // Raises zel::Error when the form could not be programmed.
  void ReadyForReports();

 private:
  static void* Symbol(zel::LibraryHandle library, const char* name);

  std::string scratch_;
  ScratchEnv env_;
  CountingHost host_;
  zel::LibraryHandle driver_ = nullptr;
  zel::LibraryHandle printer_ = nullptr;
};

// The one T of the whole run (T holds a LoadedRegister), made on first use.
// Null, with the reason in `failure`, when making it raised zel::Error.
template <typename T>
T* MadeOnce(std::string& failure) {
  static std::string reason;
  static std::unique_ptr<T> made = []() -> std::unique_ptr<T> {
    try {
      return std::make_unique<T>();
    } catch (const zel::Error& error) {
      reason = error.what();
      return nullptr;
    }
  }();
  failure = reason;
  return made.get();
}

}  // namespace zelbench

#endif  // ZEL_BENCH_LOADED_REGISTER_H_
