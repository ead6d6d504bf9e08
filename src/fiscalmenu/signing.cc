// The electronic signature of the fiscal-menu files: the signing library is
// loaded at each signing (the system counts the loads; it is never
// released), its four entries bound, and the file signed in place with the
// driver's key.
#include <string>

#include "core/vendor_call.h"
#include "platform/env.h"
#include "zel/fiscal_menu.h"

namespace Zel00101 {

TsetLibType Bematech_setLibType = nullptr;
Tgenkkey Bematech_genkkey = nullptr;
TgenerateEAD Bematech_generateEAD = nullptr;
TvalidateFile Bematech_validateFile = nullptr;

}  // namespace Zel00101

namespace zel {
namespace {

// The driver's signing key, a 1024-bit RSA pair made for this project with
// the openssl command line: key string 1 is its modulus, key string 2 its
// private exponent. The public half is src/fiscalmenu/ead_public.pem (the
// modulus and the exponent 65537), with which anyone checks a signed file.
constexpr char kKeyString1[] =
    "EE2C05A6AA3118F5C44AC27EE3F409A33EE242FA003C915C8593A3F00CF4B458"
    "DCD11590666489A8A59BF01F81C433FF7F835A361C453F0652F25521AD748E5F"
    "587FC8675ED82D5DF07522120AFD22ADE61A7951EB468EF2F8319B4123ED2351"
    "A79FE2BD8739FF28F2AAB95CF0CCD5FC04712D1BB829C8AAD6639BFC15AD0F15";
constexpr char kKeyString2[] =
    "289E7764423857626AD4B930FCDD7CDB4B793924FBEF5877280CD2F3B8B1EF24"
    "0C9CD809A57CD6015E252721A876F6CB474AF692ADE59D670DB4689272CBA310"
    "0984884A9DFB970B8A3D5D39370204EBEEDC2C2F7A6F3F6323AAF2C62ED25412"
    "FC20BEF56CE914F8964BF3D8E5E40AAADC92606449E55D67AB75671D2FDA424D";
constexpr char kPublicExponent[] = "010001";

constexpr int kWorkBufferSize = 256;
// What generateEAD's last argument asks for: append the signature record.
constexpr int kAppendRecord = 1;

template <typename Pointer>
bool Bind(LibraryHandle library, const char* name, Pointer& entry) {
  entry = reinterpret_cast<Pointer>(Env::Current()->GetSymbol(library, name));
  return entry != nullptr;
}

}  // namespace
}  // namespace zel

namespace Zel00101 {

// Nothing is reported: signing is an extra the caller announces on the
// strength of its own steps. All four entries must be there, though only
// generateEAD is called, so a library that lacks one is not used at all.
void geraEad(const std::string& Arquivo) {
  using namespace zel;
  const LibraryHandle library = Env::Current()->OpenLibrary("sign_bema.dll");
  if (library == nullptr) return;
  if (!Bind(library, "setLibType", Bematech_setLibType) ||
      !Bind(library, "genkkey", Bematech_genkkey) ||
      !Bind(library, "generateEAD", Bematech_generateEAD) ||
      !Bind(library, "validateFile", Bematech_validateFile)) {
    return;
  }
  std::string work = Blanks(kWorkBufferSize);
  Bematech_generateEAD(Arquivo.c_str(), kKeyString1, kKeyString2, work.data(), kAppendRecord);
  Bematech_setLibType = nullptr;
  Bematech_genkkey = nullptr;
  Bematech_generateEAD = nullptr;
  Bematech_validateFile = nullptr;
}

std::string ChavePublicaEad() { return zel::kKeyString1; }
std::string ExpoentePublicoEad() { return zel::kPublicExponent; }

}  // namespace Zel00101

ZEL_EXPORT_PLAIN_NAME(void, geraEad, (const std::string& Arquivo), (Arquivo))
ZEL_EXPORT_PLAIN_NAME(std::string, ChavePublicaEad, (), ())
ZEL_EXPORT_PLAIN_NAME(std::string, ExpoentePublicoEad, (), ())
