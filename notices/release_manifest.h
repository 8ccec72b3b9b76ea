#pragma once
// The signed statement of a release, "norvale.release" in the download
// folders. Outside scripts write it, so its lines are fixed: these names, in
// this order, each "name=value" ending in LF, and nothing after the signature:
//
//   product=5
//   release=0052
//   url=https://norvale.pellmark.example/releases/norvale-setup-5.2.exe
//   size=1523456
//   sha256=<64 lowercase hex digits>
//   signed=2026-12-08T12:00:00Z
//   expires=2027-01-07T12:00:00Z
//   signature=<base64 of the 64-byte r||s form of ECDSA P-256 over SHA-256>
//
// The signature covers every byte before its line. A reader splits the text
// first and has the signature checked before it reads a single field.

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace norv {

inline constexpr std::size_t kManifestMaxBytes = 64 * 1024;
inline constexpr std::size_t kSignatureBytes = 64;
inline constexpr std::size_t kPublicKeyBytes = 64;  // the point's X then Y, 32 bytes each
inline constexpr std::string_view kNorvaleManifestName = "norvale.release";
inline constexpr std::string_view kNorvaleProductCode = "5";

using Signature = std::array<std::uint8_t, kSignatureBytes>;

struct ReleaseManifest {
  std::string product;  // the update tool's product code, "5" for Norvale
  int release = 0;      // 52 for "0052"
  std::string url;
  std::uint64_t size = 0;
  std::string sha256;       // 64 lowercase hex digits
  std::int64_t signedAt = 0;  // seconds since 1970, UTC
  std::int64_t expiresAt = 0;
};

// The bytes the signature covers and the signature, or nothing when the text
// does not end in exactly one well-formed signature line.
struct SignedText {
  std::string_view signedPart;
  Signature signature{};
};
std::optional<SignedText> SplitSignature(std::string_view text);

// Every field of a whole manifest, signature line included; nothing for any
// deviation from the fixed form. Only to be called once the signature holds.
std::optional<ReleaseManifest> ParseManifest(std::string_view text);

// The part the signer signs, from valid fields.
std::string ManifestBody(const ReleaseManifest& manifest);
std::string SignatureLine(const Signature& signature);

// "2026-12-08T12:00:00Z" and back; nothing for any other form or a date that
// does not exist.
std::optional<std::int64_t> ParseUtcTime(std::string_view text);
std::string FormatUtcTime(std::int64_t seconds);

std::string Base64(const std::uint8_t* data, std::size_t size);
// Only the canonical form: padded, no line breaks, no stray bits.
std::optional<std::string> FromBase64(std::string_view text);

// The public key as the build takes it: 128 hex digits of X then Y.
std::optional<std::array<std::uint8_t, kPublicKeyBytes>> ParsePublicKeyHex(std::string_view hex);

std::string ReleaseText(int release);  // 52 -> "0052"

}  // namespace norv
