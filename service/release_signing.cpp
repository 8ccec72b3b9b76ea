#include "service/release_signing.h"

#include <openssl/bn.h>
#include <openssl/core_names.h>
#include <openssl/ec.h>
#include <openssl/evp.h>
#include <openssl/params.h>
#include <openssl/pem.h>

#include <array>
#include <fstream>
#include <memory>
#include <vector>

namespace norv::service {

namespace {

constexpr std::string_view kCurveName = "prime256v1";
constexpr std::size_t kCoordinateBytes = 32;

template <typename T, void (*Free)(T*)>
struct Freer {
  void operator()(T* p) const { Free(p); }
};
using Key = std::unique_ptr<EVP_PKEY, Freer<EVP_PKEY, EVP_PKEY_free>>;
using KeyContext = std::unique_ptr<EVP_PKEY_CTX, Freer<EVP_PKEY_CTX, EVP_PKEY_CTX_free>>;
using DigestContext = std::unique_ptr<EVP_MD_CTX, Freer<EVP_MD_CTX, EVP_MD_CTX_free>>;
using Bio = std::unique_ptr<BIO, Freer<BIO, BIO_free_all>>;
using EcdsaSignature = std::unique_ptr<ECDSA_SIG, Freer<ECDSA_SIG, ECDSA_SIG_free>>;

bool IsP256(EVP_PKEY* key) {
  std::array<char, 64> group{};
  std::size_t length = 0;
  return EVP_PKEY_get_base_id(key) == EVP_PKEY_EC &&
         EVP_PKEY_get_group_name(key, group.data(), group.size(), &length) == 1 &&
         std::string_view(group.data(), length) == kCurveName;
}

Key ReadPrivateKey(std::string_view pem) {
  Bio bio(BIO_new_mem_buf(pem.data(), static_cast<int>(pem.size())));
  Key key(bio ? PEM_read_bio_PrivateKey(bio.get(), nullptr, nullptr, nullptr) : nullptr);
  if (!key) throw SigningError("the key file holds no private key in PEM form");
  if (!IsP256(key.get())) throw SigningError("the key is not an ECDSA key on the P-256 curve");
  return key;
}

// The P-256 public key of X||Y; nothing when the point is not on the curve.
Key PublicKey(const std::array<std::uint8_t, kPublicKeyBytes>& point) {
  std::array<unsigned char, kPublicKeyBytes + 1> encoded{0x04};
  std::copy(point.begin(), point.end(), encoded.begin() + 1);
  std::string group(kCurveName);
  OSSL_PARAM params[] = {
      OSSL_PARAM_construct_utf8_string(OSSL_PKEY_PARAM_GROUP_NAME, group.data(), 0),
      OSSL_PARAM_construct_octet_string(OSSL_PKEY_PARAM_PUB_KEY, encoded.data(), encoded.size()),
      OSSL_PARAM_construct_end(),
  };
  KeyContext context(EVP_PKEY_CTX_new_from_name(nullptr, "EC", nullptr));
  EVP_PKEY* key = nullptr;
  if (!context || EVP_PKEY_fromdata_init(context.get()) != 1 ||
      EVP_PKEY_fromdata(context.get(), &key, EVP_PKEY_PUBLIC_KEY, params) != 1) {
    return nullptr;
  }
  return Key(key);
}

std::vector<unsigned char> DerSignature(EVP_PKEY* key, std::string_view bytes) {
  DigestContext context(EVP_MD_CTX_new());
  std::size_t length = 0;
  const auto* data = reinterpret_cast<const unsigned char*>(bytes.data());
  if (!context || EVP_DigestSignInit(context.get(), nullptr, EVP_sha256(), nullptr, key) != 1 ||
      EVP_DigestSign(context.get(), nullptr, &length, data, bytes.size()) != 1) {
    throw SigningError("the key cannot sign");
  }
  std::vector<unsigned char> der(length);
  if (EVP_DigestSign(context.get(), der.data(), &length, data, bytes.size()) != 1) {
    throw SigningError("signing failed");
  }
  der.resize(length);
  return der;
}

std::string Hex(const unsigned char* data, std::size_t size) {
  static constexpr char kHex[] = "0123456789abcdef";
  std::string hex;
  for (std::size_t i = 0; i < size; ++i) {
    hex += kHex[data[i] >> 4];
    hex += kHex[data[i] & 15];
  }
  return hex;
}

std::string FinalHex(EVP_MD_CTX* context) {
  std::array<unsigned char, EVP_MAX_MD_SIZE> hash{};
  unsigned int length = 0;
  EVP_DigestFinal_ex(context, hash.data(), &length);
  return Hex(hash.data(), length);
}

}  // namespace

std::string NewSigningKeyPem() {
  Key key(EVP_EC_gen(std::string(kCurveName).c_str()));
  Bio bio(BIO_new(BIO_s_mem()));
  if (!key || !bio || PEM_write_bio_PrivateKey(bio.get(), key.get(), nullptr, nullptr, 0, nullptr, nullptr) != 1) {
    throw SigningError("no key could be made");
  }
  char* data = nullptr;
  const long length = BIO_get_mem_data(bio.get(), &data);
  return std::string(data, static_cast<std::size_t>(length));
}

std::string PublicKeyHex(std::string_view privateKeyPem) {
  const Key key = ReadPrivateKey(privateKeyPem);
  std::array<unsigned char, kPublicKeyBytes + 1> encoded{};
  std::size_t length = 0;
  if (EVP_PKEY_get_octet_string_param(key.get(), OSSL_PKEY_PARAM_PUB_KEY, encoded.data(), encoded.size(),
                                      &length) != 1 ||
      length != encoded.size() || encoded[0] != 0x04) {
    throw SigningError("the key's public point cannot be read");
  }
  return Hex(encoded.data() + 1, kPublicKeyBytes);
}

Signature SignBytes(std::string_view privateKeyPem, std::string_view bytes) {
  const Key key = ReadPrivateKey(privateKeyPem);
  const std::vector<unsigned char> der = DerSignature(key.get(), bytes);
  const unsigned char* cursor = der.data();
  EcdsaSignature parsed(d2i_ECDSA_SIG(nullptr, &cursor, static_cast<long>(der.size())));
  if (!parsed) throw SigningError("the signature cannot be read back");
  const BIGNUM* r = nullptr;
  const BIGNUM* s = nullptr;
  ECDSA_SIG_get0(parsed.get(), &r, &s);
  Signature signature{};
  if (BN_bn2binpad(r, signature.data(), kCoordinateBytes) != static_cast<int>(kCoordinateBytes) ||
      BN_bn2binpad(s, signature.data() + kCoordinateBytes, kCoordinateBytes) != static_cast<int>(kCoordinateBytes)) {
    throw SigningError("the signature does not fit the r||s form");
  }
  return signature;
}

bool SignatureHolds(std::string_view publicKeyHex, std::string_view bytes, const Signature& signature) {
  const auto point = ParsePublicKeyHex(publicKeyHex);
  if (!point) return false;
  const Key key = PublicKey(*point);
  EcdsaSignature parsed(ECDSA_SIG_new());
  BIGNUM* r = BN_bin2bn(signature.data(), kCoordinateBytes, nullptr);
  BIGNUM* s = BN_bin2bn(signature.data() + kCoordinateBytes, kCoordinateBytes, nullptr);
  if (!key || !parsed || !r || !s || ECDSA_SIG_set0(parsed.get(), r, s) != 1) {
    BN_free(r);
    BN_free(s);
    return false;
  }
  unsigned char* der = nullptr;
  const int length = i2d_ECDSA_SIG(parsed.get(), &der);
  if (length <= 0) return false;
  const std::unique_ptr<unsigned char, void (*)(unsigned char*)> derOwner(der, [](unsigned char* p) { OPENSSL_free(p); });
  DigestContext context(EVP_MD_CTX_new());
  return context && EVP_DigestVerifyInit(context.get(), nullptr, EVP_sha256(), nullptr, key.get()) == 1 &&
         EVP_DigestVerify(context.get(), der, static_cast<std::size_t>(length),
                          reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size()) == 1;
}

FileDigest DigestFile(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  DigestContext context(EVP_MD_CTX_new());
  if (!in || !context || EVP_DigestInit_ex(context.get(), EVP_sha256(), nullptr) != 1) {
    throw SigningError("cannot read " + file.string());
  }
  FileDigest digest;
  std::vector<char> buffer(1 << 16);
  while (in.read(buffer.data(), static_cast<std::streamsize>(buffer.size())) || in.gcount() > 0) {
    EVP_DigestUpdate(context.get(), buffer.data(), static_cast<std::size_t>(in.gcount()));
    digest.size += static_cast<std::uintmax_t>(in.gcount());
  }
  if (in.bad()) throw SigningError("cannot read " + file.string());
  digest.sha256 = FinalHex(context.get());
  return digest;
}

std::string Sha256Hex(std::string_view bytes) {
  DigestContext context(EVP_MD_CTX_new());
  if (!context || EVP_DigestInit_ex(context.get(), EVP_sha256(), nullptr) != 1 ||
      EVP_DigestUpdate(context.get(), bytes.data(), bytes.size()) != 1) {
    throw SigningError("SHA-256 is not available");
  }
  return FinalHex(context.get());
}

}  // namespace norv::service
