// Libraries build with hidden visibility; only what is marked here is seen by
// a host that loads the driver at run time.
//
// Operations. Each exported operation is a C++ function in namespace
// Zel00101 (its unit-qualified name) marked ZEL_EXPORT. Unless it is
// exported under that name only, it is also a C symbol under its plain name
// ("FechaPorta") with the same parameters and result, so a host finds it
// with a plain symbol lookup. ZEL_EXPORT_PLAIN_NAME writes that forwarder;
// put it at global scope in the .cc file that defines the operation,
// repeating the parameter list and naming the arguments once more:
//
//   namespace Zel00101 {
//   bool FechaPorta() { ... }
//   std::string RetornoImpFiscal(const std::string& Cmd, bool Apara) { ... }
//   }  // namespace Zel00101
//
//   ZEL_EXPORT_PLAIN_NAME(bool, FechaPorta, (), ())
//   ZEL_EXPORT_PLAIN_NAME(std::string, RetornoImpFiscal,
//                         (const std::string& Cmd, bool Apara), (Cmd, Apara))
//
// The C symbol has C linkage only (no name mangling); its parameters stay
// C++ types, so a host calls it through a pointer of exactly that type, and
// a host must be built with the same compiler family as the driver (g++ on
// Linux, mingw-w64 g++ on Windows).
//
// On Windows the libraries of this project export what is marked and a host
// that links them imports it; the build defines ZEL_BUILDING_LIBRARY for
// everything it compiles, an installed host does not.
#ifndef ZEL_EXPORT_H_
#define ZEL_EXPORT_H_

#if defined(_WIN32)
#if defined(ZEL_BUILDING_LIBRARY)
#define ZEL_EXPORT __declspec(dllexport)
#else
#define ZEL_EXPORT __declspec(dllimport)
#endif
#else
#define ZEL_EXPORT __attribute__((visibility("default")))
#endif

#define ZEL_EXPORT_PLAIN_NAME(Result, Name, Parameters, Arguments) \
  extern "C" ZEL_EXPORT Result Name Parameters { return Zel00101::Name Arguments; }

#endif  // ZEL_EXPORT_H_
