#include "notices/release_check.h"

#include "resources/liveup_strings.h"
#include "settings/products.h"

namespace norv {

namespace {

constexpr std::uint64_t kSlowLineBytesPerSecond = 16 * 1024;
constexpr std::chrono::seconds kShortestDownloadLimit{120};

ManifestRefusal FieldRefusal(const ReleaseManifest& manifest, std::string_view product, int installedRelease,
                             std::int64_t now) {
  if (manifest.product != product) return ManifestRefusal::OtherProduct;
  if (manifest.release <= installedRelease) return ManifestRefusal::NotNewer;
  if (now >= manifest.expiresAt) return ManifestRefusal::Expired;
  if (!manifest.url.starts_with("https://")) return ManifestRefusal::NotHttps;
  return ManifestRefusal::None;
}

}  // namespace

ManifestVerdict CheckManifest(std::string_view text, const SignatureCheck& signatureHolds, std::string_view product,
                              int installedRelease, std::int64_t now) {
  if (text.size() > kManifestMaxBytes) return {ManifestRefusal::TooLarge, std::nullopt};
  const auto split = SplitSignature(text);
  if (!split) return {ManifestRefusal::Malformed, std::nullopt};
  if (!signatureHolds(split->signedPart, split->signature)) return {ManifestRefusal::BadSignature, std::nullopt};
  auto manifest = ParseManifest(text);
  if (!manifest) return {ManifestRefusal::Malformed, std::nullopt};
  const ManifestRefusal refusal = FieldRefusal(*manifest, product, installedRelease, now);
  if (refusal != ManifestRefusal::None) return {refusal, std::nullopt};
  return {ManifestRefusal::None, std::move(manifest)};
}

std::string_view RefusalText(ManifestRefusal refusal) {
  switch (refusal) {
    case ManifestRefusal::TooLarge: return text::kLiveupTooLarge;
    case ManifestRefusal::BadSignature: return text::kLiveupBadSignature;
    case ManifestRefusal::Malformed: return text::kLiveupMalformed;
    case ManifestRefusal::OtherProduct: return text::kLiveupOtherProduct;
    case ManifestRefusal::NotNewer: return text::kLiveupNotNewer;
    case ManifestRefusal::Expired: return text::kLiveupExpired;
    case ManifestRefusal::NotHttps: return text::kLiveupNotHttps;
    case ManifestRefusal::None: break;
  }
  return {};
}

std::chrono::seconds DownloadTimeLimit(std::uint64_t size) {
  const auto slow = std::chrono::seconds(static_cast<std::int64_t>(size / kSlowLineBytesPerSecond));
  return std::max(kShortestDownloadLimit, kShortestDownloadLimit + slow);
}

std::string_view CompanionDownloadList(std::string_view updateCode) {
  for (const ProductInfo& product : kProducts) {
    if (!product.updateCode.empty() && product.updateCode == updateCode) return product.downloadList;
  }
  return {};
}

}  // namespace norv
