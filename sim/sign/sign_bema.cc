#include "sign_bema.h"

#include <openssl/bn.h>
#include <openssl/core_names.h>
#include <openssl/evp.h>
#include <openssl/param_build.h>
#include <openssl/rsa.h>

#include <cstdio>
#include <cstring>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "signed_file.h"
#include "windows_paths.h"

namespace signbema {
namespace {

constexpr unsigned kPublicExponent = 65537;
constexpr int kKeyBits = 1024;

struct BnFree {
  void operator()(BIGNUM* n) const { BN_clear_free(n); }
};
struct PkeyFree {
  void operator()(EVP_PKEY* key) const { EVP_PKEY_free(key); }
};
struct PkeyCtxFree {
  void operator()(EVP_PKEY_CTX* context) const { EVP_PKEY_CTX_free(context); }
};
struct MdCtxFree {
  void operator()(EVP_MD_CTX* context) const { EVP_MD_CTX_free(context); }
};
struct ParamBldFree {
  void operator()(OSSL_PARAM_BLD* builder) const { OSSL_PARAM_BLD_free(builder); }
};
struct ParamFree {
  void operator()(OSSL_PARAM* params) const { OSSL_PARAM_free(params); }
};
using Bn = std::unique_ptr<BIGNUM, BnFree>;
using Pkey = std::unique_ptr<EVP_PKEY, PkeyFree>;

std::string Text(const char* text) { return text == nullptr ? std::string() : text; }

bool IsHexDigits(std::string_view text) {
  return text.find_first_not_of("0123456789abcdefABCDEF") == std::string_view::npos;
}

// A key text of hexadecimal digits as a number: exactly 256 of them for
// the modulus and the private exponent, 1 to 256 for a public exponent.
Bn KeyNumber(std::string_view text, bool exact = true) {
  const std::size_t digits = kSignKeyDigits;
  if ((exact ? text.size() != digits : text.empty() || text.size() > digits) || !IsHexDigits(text))
    return nullptr;
  BIGNUM* number = nullptr;
  const std::string copy(text);
  if (BN_hex2bn(&number, copy.c_str()) == 0) return nullptr;
  return Bn(number);
}

// An RSA key from its modulus and exponents; the private exponent may be
// left out for a public key. Signing with n and d alone works without the
// prime factors (only slower), which is all the driver's two texts carry.
Pkey RsaKey(const BIGNUM* n, const BIGNUM* e, const BIGNUM* d) {
  std::unique_ptr<OSSL_PARAM_BLD, ParamBldFree> builder(OSSL_PARAM_BLD_new());
  if (!builder || !OSSL_PARAM_BLD_push_BN(builder.get(), OSSL_PKEY_PARAM_RSA_N, n) ||
      !OSSL_PARAM_BLD_push_BN(builder.get(), OSSL_PKEY_PARAM_RSA_E, e) ||
      (d != nullptr && !OSSL_PARAM_BLD_push_BN(builder.get(), OSSL_PKEY_PARAM_RSA_D, d))) {
    return nullptr;
  }
  std::unique_ptr<OSSL_PARAM, ParamFree> params(OSSL_PARAM_BLD_to_param(builder.get()));
  std::unique_ptr<EVP_PKEY_CTX, PkeyCtxFree> context(
      EVP_PKEY_CTX_new_from_name(nullptr, "RSA", nullptr));
  if (!params || !context || EVP_PKEY_fromdata_init(context.get()) <= 0) return nullptr;
  EVP_PKEY* key = nullptr;
  const int selection = d != nullptr ? EVP_PKEY_KEYPAIR : EVP_PKEY_PUBLIC_KEY;
  if (EVP_PKEY_fromdata(context.get(), &key, selection, params.get()) <= 0) return nullptr;
  return Pkey(key);
}

Bn DefaultExponent() {
  Bn e(BN_new());
  if (e && BN_set_word(e.get(), kPublicExponent) != 1) return nullptr;
  return e;
}

std::string Hex(const unsigned char* bytes, std::size_t size) {
  static constexpr char kDigits[] = "0123456789ABCDEF";
  std::string hex;
  hex.reserve(size * 2);
  for (std::size_t i = 0; i < size; ++i) {
    hex += kDigits[bytes[i] >> 4];
    hex += kDigits[bytes[i] & 15];
  }
  return hex;
}

std::optional<std::string> Unhex(std::string_view hex) {
  if (hex.size() % 2 != 0 || !IsHexDigits(hex)) return std::nullopt;
  std::string bytes;
  for (std::size_t i = 0; i < hex.size(); i += 2) {
    bytes += static_cast<char>(std::stoi(std::string(hex.substr(i, 2)), nullptr, 16));
  }
  return bytes;
}

// Feeds the first `length` bytes of the file to the digest, a block at a
// time, so a file of any size costs the same memory.
bool DigestPrefix(EVP_MD_CTX* context, std::FILE* file, long length) {
  if (std::fseek(file, 0, SEEK_SET) != 0) return false;
  char block[1 << 16];
  while (length > 0) {
    const std::size_t want = length < static_cast<long>(sizeof block) ? length : sizeof block;
    if (std::fread(block, 1, want, file) != want) return false;
    if (EVP_DigestUpdate(context, block, want) != 1) return false;
    length -= static_cast<long>(want);
  }
  return true;
}

struct FileClose {
  void operator()(std::FILE* file) const { std::fclose(file); }
};
using File = std::unique_ptr<std::FILE, FileClose>;

int Sign(const std::string& path, const BIGNUM* n, const BIGNUM* d, char* work) {
  File file(std::fopen(path.c_str(), "rb+"));
  if (!file) return kSignCannotReadFile;
  const std::optional<FileLayout> layout = ReadLayout(file.get());
  if (!layout) return kSignCannotReadFile;
  if (layout->record) return kSignAlreadySigned;

  Bn e = DefaultExponent();
  Pkey key = e ? RsaKey(n, e.get(), d) : nullptr;
  if (!key) return kSignBadKey;
  std::unique_ptr<EVP_MD_CTX, MdCtxFree> context(EVP_MD_CTX_new());
  if (!context || EVP_DigestSignInit(context.get(), nullptr, EVP_sha256(), nullptr, key.get()) != 1)
    return kSignCryptoFailure;
  if (!DigestPrefix(context.get(), file.get(), layout->size)) return kSignCannotReadFile;
  const std::string_view line_break = layout->ends_with_line_break ? "" : "\r\n";
  if (!line_break.empty() &&
      EVP_DigestSignUpdate(context.get(), line_break.data(), line_break.size()) != 1) {
    return kSignCryptoFailure;
  }
  std::size_t length = 0;
  if (EVP_DigestSignFinal(context.get(), nullptr, &length) != 1) return kSignCryptoFailure;
  std::string signature(length, '\0');
  if (EVP_DigestSignFinal(context.get(), reinterpret_cast<unsigned char*>(signature.data()),
                          &length) != 1) {
    return kSignCryptoFailure;
  }
  signature.resize(length);
  const std::string hex = Hex(reinterpret_cast<const unsigned char*>(signature.data()), length);
  if (!AppendRecord(file.get(), path, layout->size,
                    std::string(line_break) + std::string(kRecordTag) + hex + "\r\n"))
    return kSignCannotWriteFile;
  if (work != nullptr) std::memcpy(work, hex.data(), hex.size() < 256 ? hex.size() : 256);
  return 1;
}

[[maybe_unused]] int Validate(const std::string& path, const BIGNUM* n, const BIGNUM* e) {
  File file(std::fopen(path.c_str(), "rb"));
  if (!file) return kSignCannotReadFile;
  const std::optional<FileLayout> layout = ReadLayout(file.get());
  if (!layout) return kSignCannotReadFile;
  if (!layout->record) return 0;
  const std::optional<std::string> signature = Unhex(layout->record->signature_hex);
  if (!signature) return 0;

  Pkey key = RsaKey(n, e, nullptr);
  if (!key) return kSignBadKey;
  std::unique_ptr<EVP_MD_CTX, MdCtxFree> context(EVP_MD_CTX_new());
  if (!context ||
      EVP_DigestVerifyInit(context.get(), nullptr, EVP_sha256(), nullptr, key.get()) != 1) {
    return kSignCryptoFailure;
  }
  if (!DigestPrefix(context.get(), file.get(), layout->record->start)) return kSignCannotReadFile;
  return EVP_DigestVerifyFinal(context.get(),
                               reinterpret_cast<const unsigned char*>(signature->data()),
                               signature->size()) == 1
             ? 1
             : 0;
}

int NewKeyPair(char* modulus, char* private_exponent) {
  std::unique_ptr<EVP_PKEY_CTX, PkeyCtxFree> context(
      EVP_PKEY_CTX_new_from_name(nullptr, "RSA", nullptr));
  EVP_PKEY* generated = nullptr;
  if (!context || EVP_PKEY_keygen_init(context.get()) <= 0 ||
      EVP_PKEY_CTX_set_rsa_keygen_bits(context.get(), kKeyBits) <= 0 ||
      EVP_PKEY_keygen(context.get(), &generated) <= 0) {
    return kSignCryptoFailure;
  }
  Pkey key(generated);
  BIGNUM* n = nullptr;
  BIGNUM* d = nullptr;
  const bool read = EVP_PKEY_get_bn_param(key.get(), OSSL_PKEY_PARAM_RSA_N, &n) == 1 &&
                    EVP_PKEY_get_bn_param(key.get(), OSSL_PKEY_PARAM_RSA_D, &d) == 1;
  Bn owned_n(n), owned_d(d);
  if (!read) return kSignCryptoFailure;
  for (auto [number, out] : {std::pair{n, modulus}, std::pair{d, private_exponent}}) {
    unsigned char bytes[kKeyBits / 8];
    if (BN_bn2binpad(number, bytes, sizeof bytes) != static_cast<int>(sizeof bytes))
      return kSignCryptoFailure;
    const std::string hex = Hex(bytes, sizeof bytes);
    std::memcpy(out, hex.c_str(), hex.size() + 1);
  }
  return 1;
}

}  // namespace
}  // namespace signbema

int setLibType(int type) { return type == 1 ? 1 : kSignUnknownMode; }

int genkkey(char* modulus, char* private_exponent) {
  if (modulus == nullptr || private_exponent == nullptr) return kSignBadKey;
  return signbema::NewKeyPair(modulus, private_exponent);
}

int generateEAD(const char* file, const char* modulus, const char* private_exponent, char* work,
                int mode) {
  if (mode != 1) return kSignUnknownMode;
  signbema::Bn n = signbema::KeyNumber(signbema::Text(modulus));
  signbema::Bn d = signbema::KeyNumber(signbema::Text(private_exponent));
  if (!n || !d) return kSignBadKey;
  try {
    return signbema::Sign(ecfsim::RealPath(signbema::Text(file)), n.get(), d.get(), work);
  } catch (const std::exception&) {
    return kSignCannotReadFile;
  }
}

// Left out of the variant that tests a library lacking one entry.
#ifndef SIGN_BEMA_WITHOUT_VALIDATE_ENTRY
int validateFile(const char* file, const char* modulus, const char* public_exponent) {
  const std::string exponent = signbema::Text(public_exponent);
  signbema::Bn n = signbema::KeyNumber(signbema::Text(modulus));
  signbema::Bn e =
      exponent.empty() ? signbema::DefaultExponent() : signbema::KeyNumber(exponent, false);
  if (!n || !e) return kSignBadKey;
  try {
    return signbema::Validate(ecfsim::RealPath(signbema::Text(file)), n.get(), e.get());
  } catch (const std::exception&) {
    return kSignCannotReadFile;
  }
}
#endif
