// The host's reversible text cipher. The driver keeps a few host texts (the
// printer's serial number and grand total in the host's configuration file,
// the software identification) only in enciphered form and compares them
// after deciphering.
//
// This is an obfuscation, not security: anyone with this code or enough
// samples can read the texts. It only keeps them from being read or edited by
// eye, and lets the driver tell a damaged or hand-edited value from a good
// one.
//
// Cipher text uses only the characters 0-9 and A-F, so it survives a dataset
// text field, a file and a quoted filter expression. Its length is
// predictable: an empty text enciphers to an empty text, and a text of n bytes
// to exactly 2 * n + 4 characters (kCipherOverhead is the 4). Enciphering is
// deterministic, so equal texts under the same key give equal cipher texts.
// Plain functions without state; safe from any thread.
#ifndef ZEL_CIPHER_H_
#define ZEL_CIPHER_H_

#include <cstddef>
#include <string>
#include <string_view>

namespace zel {

// The one key the driver passes to the cipher, whatever it enciphers.
constexpr int kCipherKey = 47;

// Characters a non-empty cipher text has beyond two per byte of the text.
constexpr std::size_t kCipherOverhead = 4;

// Enciphers any bytes (Windows-1252 accents, control bytes, NUL included).
std::string Cripto(std::string_view text, int key);

// Gives back the text that Cripto enciphered with the same key. Blanks around
// the cipher text are ignored, and a blank or empty cipher text gives an empty
// text. Raises zel::Error when the text is not a cipher text of that key: a
// wrong length, a character outside 0-9 and A-F, or a failed check (a changed
// character, a different key, a text that was never enciphered).
std::string Uncripto(std::string_view cipher_text, int key);

}  // namespace zel

#endif  // ZEL_CIPHER_H_
