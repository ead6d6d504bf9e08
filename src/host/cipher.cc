#include "host/cipher.h"

#include <cstdint>

#include "host/codepage.h"
#include "zel/error.h"

namespace zel {
namespace {

constexpr std::string_view kDigits = "0123456789ABCDEF";

// A 16-bit check over the key and the text (FNV-1a folded in half). It leads
// the cipher text and seeds the key stream, so a changed byte, a wrong key or
// a text that was never enciphered is refused but for one chance in 65536.
std::uint16_t Check(std::string_view text, int key) {
  std::uint32_t hash = 2166136261u;
  auto mix = [&hash](unsigned char byte) {
    hash ^= byte;
    hash *= 16777619u;
  };
  const auto key_bits = static_cast<std::uint32_t>(key);
  for (int shift = 0; shift < 32; shift += 8) mix(static_cast<unsigned char>(key_bits >> shift));
  for (char byte : text) mix(static_cast<unsigned char>(byte));
  return static_cast<std::uint16_t>((hash >> 16) ^ (hash & 0xFFFF));
}

// Key stream of a linear congruential generator seeded with the key and the
// check; each cipher byte also folds in the one before, so repeated letters
// do not show as repeated pairs.
class KeyStream {
 public:
  KeyStream(int key, std::uint16_t check)
      : state_((static_cast<std::uint32_t>(key) * 2654435761u) ^ (std::uint32_t{check} << 8)) {}

  unsigned char Next() {
    state_ = state_ * 1664525u + 1013904223u;
    return static_cast<unsigned char>(state_ >> 24);
  }

 private:
  std::uint32_t state_;
};

void AppendHex(unsigned char byte, std::string& out) {
  out.push_back(kDigits[byte >> 4]);
  out.push_back(kDigits[byte & 0x0F]);
}

// The value of a cipher digit, or -1 for any other character.
int DigitValue(char c) {
  const auto at = kDigits.find(c);
  return at == std::string_view::npos ? -1 : static_cast<int>(at);
}

std::string_view TrimBlanks(std::string_view text) {
  const auto first = text.find_first_not_of(' ');
  if (first == std::string_view::npos) return {};
  return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

[[noreturn]] void Refuse(std::string_view cipher_text, std::string_view reason_utf8) {
  constexpr std::size_t kShown = 40;
  std::string shown(cipher_text.substr(0, kShown));
  for (char& c : shown) {
    if (static_cast<unsigned char>(c) < 0x20) c = ' ';
  }
  if (cipher_text.size() > kShown) shown += "...";
  throw Error(Utf8ToCp1252("O texto '") + shown +
              Utf8ToCp1252("' não é um texto cifrado válido (") + Utf8ToCp1252(reason_utf8) + ")");
}

}  // namespace

std::string Cripto(std::string_view text, int key) {
  if (text.empty()) return {};
  const std::uint16_t check = Check(text, key);
  std::string out;
  out.reserve(2 * text.size() + kCipherOverhead);
  AppendHex(static_cast<unsigned char>(check >> 8), out);
  AppendHex(static_cast<unsigned char>(check & 0xFF), out);
  KeyStream stream(key, check);
  unsigned char previous = 0;
  for (char c : text) {
    const auto plain = static_cast<unsigned char>(c);
    const auto enciphered = static_cast<unsigned char>((plain + stream.Next()) ^ previous);
    AppendHex(enciphered, out);
    previous = enciphered;
  }
  return out;
}

std::string Uncripto(std::string_view cipher_text, int key) {
  const std::string_view digits = TrimBlanks(cipher_text);
  if (digits.empty()) return {};
  if (digits.size() < kCipherOverhead + 2 || digits.size() % 2 != 0) {
    Refuse(cipher_text, "tamanho " + std::to_string(digits.size()));
  }
  std::string bytes;
  bytes.reserve(digits.size() / 2);
  for (std::size_t i = 0; i < digits.size(); i += 2) {
    const int high = DigitValue(digits[i]);
    const int low = DigitValue(digits[i + 1]);
    if (high < 0 || low < 0) Refuse(cipher_text, "caractere fora de 0-9 e A-F");
    bytes.push_back(static_cast<char>(high * 16 + low));
  }
  const auto check = static_cast<std::uint16_t>((static_cast<unsigned char>(bytes[0]) << 8) |
                                                static_cast<unsigned char>(bytes[1]));
  KeyStream stream(key, check);
  std::string text;
  text.reserve(bytes.size() - 2);
  unsigned char previous = 0;
  for (std::size_t i = 2; i < bytes.size(); ++i) {
    const auto enciphered = static_cast<unsigned char>(bytes[i]);
    text.push_back(static_cast<char>((enciphered ^ previous) - stream.Next()));
    previous = enciphered;
  }
  if (Check(text, key) != check) Refuse(cipher_text, "verificação falhou");
  return text;
}

}  // namespace zel
