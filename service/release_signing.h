#pragma once
// Signing a release's manifest with OpenSSL's libcrypto: ECDSA on P-256 over
// SHA-256, the signature in the 64-byte r||s form that Windows' CNG verifies.
// The private key lives on the release machine only, never on the web server.

#include <filesystem>
#include <stdexcept>
#include <string>
#include <string_view>

#include "notices/release_manifest.h"

namespace norv::service {

class SigningError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// A new P-256 private key in PEM form.
std::string NewSigningKeyPem();

// The public half of a P-256 private key in PEM form, as the build takes it
// (128 hex digits of X then Y); throws SigningError for any other key.
std::string PublicKeyHex(std::string_view privateKeyPem);

// The r||s signature of `bytes`; throws SigningError for a key that is not P-256.
Signature SignBytes(std::string_view privateKeyPem, std::string_view bytes);

// Whether `signature` is the key's over `bytes`; false for a key that is not
// a point of P-256.
bool SignatureHolds(std::string_view publicKeyHex, std::string_view bytes, const Signature& signature);

// 64 lowercase hex digits of the file's SHA-256 and its size; throws
// SigningError when it cannot be read.
struct FileDigest {
  std::uintmax_t size = 0;
  std::string sha256;
};
FileDigest DigestFile(const std::filesystem::path& file);
std::string Sha256Hex(std::string_view bytes);

}  // namespace norv::service
