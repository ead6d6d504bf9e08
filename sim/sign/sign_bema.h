// The stand-in for the printer maker's file-signing library, loaded as
// sign_bema.dll (here libsign_bema.so). It signs a text file in place with
// a real RSA signature and checks such a signature, with OpenSSL's
// libcrypto.
//
// Signature record. Signing appends one line to the file:
//   "EAD" + the signature in upper-case hexadecimal + CR LF
// The signature is RSA PKCS #1 v1.5 over the SHA-256 digest of every byte
// of the file before that line. A file that does not end in a line break
// first gets CR LF, which is then part of the signed bytes. With a 1024-bit
// key the record is 3 + 256 + 2 = 261 bytes, so anyone can check a file
// with the openssl command line (see the README):
//   tail -n 1 F | tr -d '\r\n' | cut -c4- | xxd -r -p > F.sig
//   head -c -261 F > F.body
//   openssl dgst -sha256 -verify ead_public.pem -signature F.sig F.body
//
// Keys are passed as texts of exactly 256 hexadecimal digits (either case):
// the modulus of a 1024-bit key and its private exponent (for signing) or
// its public exponent (for checking; an empty one is 65537, the exponent
// every key of this library has).
//
// Results: 1 done (or, for validateFile, the signature holds); 0 the
// signature does not hold or the file has none; negative codes below for
// failures. Nothing is shown and nothing is logged. Texts are
// zero-terminated; null pointers are treated as empty texts. Every call
// stands alone: the library keeps no state between calls, and two calls
// may run at once on different files.
#ifndef SIGN_BEMA_H_
#define SIGN_BEMA_H_

#define SIGN_BEMA_ENTRY extern "C" __attribute__((visibility("default"))) int

// Failure codes.
inline constexpr int kSignCannotReadFile = -1;
inline constexpr int kSignCannotWriteFile = -2;
inline constexpr int kSignBadKey = -3;
inline constexpr int kSignAlreadySigned = -4;
inline constexpr int kSignUnknownMode = -5;
inline constexpr int kSignCryptoFailure = -6;

// Length of the hexadecimal key texts and of the signature in the record.
inline constexpr int kSignKeyDigits = 256;

// Chooses the kind of signature; only type 1 (RSA with SHA-256, the one
// described above) exists. Returns 1 for it and kSignUnknownMode otherwise;
// the choice itself changes nothing, since there is no other kind.
SIGN_BEMA_ENTRY setLibType(int type);

// Makes a new 1024-bit key pair with public exponent 65537 and writes its
// modulus and private exponent, 256 upper-case hexadecimal digits and a
// terminating zero each, into the two buffers (at least 257 bytes each).
SIGN_BEMA_ENTRY genkkey(char* modulus, char* private_exponent);

// Appends the signature record to `file`, signed with the key (`modulus`,
// `private_exponent`). `work` (at least 256 bytes, may be null) receives
// the signature's 256 hexadecimal digits, without a terminator. `mode` must
// be 1 (append the record). A file whose last line already is a signature
// record is not signed again (kSignAlreadySigned). A failed write leaves
// the file as it was.
SIGN_BEMA_ENTRY generateEAD(const char* file, const char* modulus, const char* private_exponent,
                            char* work, int mode);

// Checks the signature record at the end of `file` against the public key
// (`modulus`, `public_exponent`): 1 when it holds, 0 when it does not or
// there is no record.
SIGN_BEMA_ENTRY validateFile(const char* file, const char* modulus, const char* public_exponent);

#undef SIGN_BEMA_ENTRY

#endif  // SIGN_BEMA_H_
