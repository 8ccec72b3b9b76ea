#pragma once
// Windows' own CNG (bcrypt.dll) for the update tool: SHA-256 and the check of
// an ECDSA P-256 signature in the r||s form. Nothing here is written by hand.

#include <windows.h>
#include <bcrypt.h>

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "notices/release_manifest.h"

namespace norv {

// SHA-256 over data given in pieces. A hasher that could not be made
// (bcrypt missing) gives an empty digest, which matches no manifest.
class Sha256Hasher {
 public:
  Sha256Hasher();
  ~Sha256Hasher();
  Sha256Hasher(const Sha256Hasher&) = delete;
  Sha256Hasher& operator=(const Sha256Hasher&) = delete;

  void Add(std::string_view bytes);
  // 32 bytes; empty after any failure.
  std::string Digest();
  // 64 lowercase hex digits; empty after any failure.
  std::string HexDigest();

 private:
  BCRYPT_ALG_HANDLE algorithm_ = nullptr;
  BCRYPT_HASH_HANDLE hash_ = nullptr;
  bool failed_ = false;
};

// Whether `signature` is the holder of `publicKey`'s over `bytes`.
bool ReleaseSignatureHolds(const std::array<std::uint8_t, kPublicKeyBytes>& publicKey, std::string_view bytes,
                           const Signature& signature);

}  // namespace norv
