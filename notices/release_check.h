#pragma once
// The update tool's decisions on a fetched manifest, in the order that keeps
// an attacker's bytes unread: the size, then the signature, and only then the
// fields (product, rollback, freeze, plain address).

#include <chrono>
#include <cstdint>
#include <functional>
#include <optional>
#include <string_view>

#include "notices/release_manifest.h"

namespace norv {

enum class ManifestRefusal { None, TooLarge, BadSignature, Malformed, OtherProduct, NotNewer, Expired, NotHttps };

using SignatureCheck = std::function<bool(std::string_view signedPart, const Signature& signature)>;

struct ManifestVerdict {
  ManifestRefusal refusal = ManifestRefusal::None;
  std::optional<ReleaseManifest> manifest;  // set only when nothing was refused
};

ManifestVerdict CheckManifest(std::string_view text, const SignatureCheck& signatureHolds, std::string_view product,
                              int installedRelease, std::int64_t now);

// The refusal's sentence for the user.
std::string_view RefusalText(ManifestRefusal refusal);

// The longest the whole download of `size` bytes may take: generous for a
// slow line (16 KiB/s) and never under two minutes.
std::chrono::seconds DownloadTimeLimit(std::uint64_t size);

// The download list of the companion with this update code ("12" ...);
// empty for Norvale's own code and for codes that name no product.
std::string_view CompanionDownloadList(std::string_view updateCode);

}  // namespace norv
