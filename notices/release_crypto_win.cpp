#include "notices/release_crypto_win.h"

#include <cstring>
#include <vector>

namespace norv {

namespace {

bool Succeeded(NTSTATUS status) { return status >= 0; }

class AlgorithmProvider {
 public:
  explicit AlgorithmProvider(const wchar_t* name) {
    if (!Succeeded(::BCryptOpenAlgorithmProvider(&handle_, name, nullptr, 0))) handle_ = nullptr;
  }
  ~AlgorithmProvider() {
    if (handle_) ::BCryptCloseAlgorithmProvider(handle_, 0);
  }
  AlgorithmProvider(const AlgorithmProvider&) = delete;
  AlgorithmProvider& operator=(const AlgorithmProvider&) = delete;
  BCRYPT_ALG_HANDLE get() const { return handle_; }

 private:
  BCRYPT_ALG_HANDLE handle_ = nullptr;
};

class KeyHandle {
 public:
  KeyHandle(BCRYPT_ALG_HANDLE algorithm, std::vector<UCHAR>& blob) {
    if (!algorithm || !Succeeded(::BCryptImportKeyPair(algorithm, nullptr, BCRYPT_ECCPUBLIC_BLOB, &handle_,
                                                       blob.data(), static_cast<ULONG>(blob.size()), 0))) {
      handle_ = nullptr;
    }
  }
  ~KeyHandle() {
    if (handle_) ::BCryptDestroyKey(handle_);
  }
  KeyHandle(const KeyHandle&) = delete;
  KeyHandle& operator=(const KeyHandle&) = delete;
  BCRYPT_KEY_HANDLE get() const { return handle_; }

 private:
  BCRYPT_KEY_HANDLE handle_ = nullptr;
};

std::vector<UCHAR> PublicKeyBlob(const std::array<std::uint8_t, kPublicKeyBytes>& point) {
  BCRYPT_ECCKEY_BLOB header{};
  header.dwMagic = BCRYPT_ECDSA_PUBLIC_P256_MAGIC;
  header.cbKey = kPublicKeyBytes / 2;
  std::vector<UCHAR> blob(sizeof(header) + point.size());
  std::memcpy(blob.data(), &header, sizeof(header));
  std::memcpy(blob.data() + sizeof(header), point.data(), point.size());
  return blob;
}

}  // namespace

Sha256Hasher::Sha256Hasher() {
  failed_ = !Succeeded(::BCryptOpenAlgorithmProvider(&algorithm_, BCRYPT_SHA256_ALGORITHM, nullptr, 0)) ||
            !Succeeded(::BCryptCreateHash(algorithm_, &hash_, nullptr, 0, nullptr, 0, 0));
}

Sha256Hasher::~Sha256Hasher() {
  if (hash_) ::BCryptDestroyHash(hash_);
  if (algorithm_) ::BCryptCloseAlgorithmProvider(algorithm_, 0);
}

void Sha256Hasher::Add(std::string_view bytes) {
  if (failed_ || bytes.empty()) return;
  auto* data = reinterpret_cast<PUCHAR>(const_cast<char*>(bytes.data()));
  failed_ = !Succeeded(::BCryptHashData(hash_, data, static_cast<ULONG>(bytes.size()), 0));
}

std::string Sha256Hasher::Digest() {
  std::string digest(32, '\0');
  if (failed_ ||
      !Succeeded(::BCryptFinishHash(hash_, reinterpret_cast<PUCHAR>(digest.data()), static_cast<ULONG>(digest.size()), 0))) {
    failed_ = true;
    return {};
  }
  failed_ = true;  // a finished hash takes nothing more
  return digest;
}

std::string Sha256Hasher::HexDigest() {
  static constexpr char kHex[] = "0123456789abcdef";
  std::string hex;
  for (unsigned char c : Digest()) {
    hex += kHex[c >> 4];
    hex += kHex[c & 15];
  }
  return hex;
}

bool ReleaseSignatureHolds(const std::array<std::uint8_t, kPublicKeyBytes>& publicKey, std::string_view bytes,
                           const Signature& signature) {
  Sha256Hasher hasher;
  hasher.Add(bytes);
  std::string digest = hasher.Digest();
  if (digest.empty()) return false;
  AlgorithmProvider ecdsa(BCRYPT_ECDSA_P256_ALGORITHM);
  std::vector<UCHAR> blob = PublicKeyBlob(publicKey);
  KeyHandle key(ecdsa.get(), blob);
  if (!key.get()) return false;
  Signature copy = signature;
  return Succeeded(::BCryptVerifySignature(key.get(), nullptr, reinterpret_cast<PUCHAR>(digest.data()),
                                           static_cast<ULONG>(digest.size()), copy.data(),
                                           static_cast<ULONG>(copy.size()), 0));
}

}  // namespace norv
