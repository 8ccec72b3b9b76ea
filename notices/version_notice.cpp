#include "notices/version_notice.h"

#include "acquisition/check_run.h"
#include "resources/companion_strings.h"
#include "resources/strings.h"
#include "settings/products.h"
#include "settings/setting_access.h"

namespace norv {

namespace {

std::string OfferText(int product, int number, std::string_view tail) {
  return std::string(VersionProductName(product)) + std::string(text::kNoticeVersion) + ShownRelease(number) +
         std::string(tail);
}

bool StartsWithIgnoringCase(std::string_view text, std::string_view prefix) {
  if (text.size() < prefix.size()) return false;
  for (std::size_t i = 0; i < prefix.size(); ++i) {
    char c = text[i];
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    if (c != prefix[i]) return false;
  }
  return true;
}

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

// Spaces, control characters and DEL: none belongs in an address, and a
// space would let the shell read the rest as something else.
bool HasUnsafeCharacter(std::string_view text) {
  for (const char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte <= 0x20 || byte == 0x7F) return true;
  }
  return false;
}

}  // namespace

const VersionProduct* FindVersionProduct(int product) {
  const ProductInfo* info = FindProduct(product);
  return info && !info->updateCode.empty() ? info : nullptr;
}

std::string_view VersionProductName(int product) {
  const ProductInfo* info = FindProduct(product);
  return info ? info->name : std::string_view();
}

std::string ShownRelease(int number) {
  std::string digits = std::to_string(number);
  digits.insert(digits.size() - 1, ".");
  return digits;
}

std::string UpdateOfferText(int product, int number) { return OfferText(product, number, text::kUpdateOfferTail); }

std::string DownloadOfferText(int product, int number) {
  return OfferText(product, number, text::kDownloadOfferTail);
}

std::optional<std::string> DownloadPageAddress(std::string_view listText) {
  while (!listText.empty() && IsBlank(listText.front())) listText.remove_prefix(1);
  while (!listText.empty() && IsBlank(listText.back())) listText.remove_suffix(1);
  for (const std::string_view scheme : {std::string_view("http://"), std::string_view("https://")}) {
    if (StartsWithIgnoringCase(listText, scheme) && listText.size() > scheme.size() &&
        !HasUnsafeCharacter(listText)) {
      return std::string(listText);
    }
  }
  return std::nullopt;
}

void VersionNotices::ShowVersionNotice(bool installed, int product, int number, bool fallback,
                                       const std::stop_token& stop) const {
  const VersionProduct* row = FindVersionProduct(product);
  if (!row || number < 0) return;
  if (installed) {
    OfferUpdate(*row, number);
  } else {
    OfferDownload(*row, number, fallback, stop);
  }
}

// Cancel means "do not tell me again", so it stores the release as announced
// just as Yes does; No leaves it for the next start. For this program Yes
// stores nothing: the update tool replaces it, and a failed update is offered
// again.
void VersionNotices::OfferUpdate(const VersionProduct& product, int number) const {
  switch (host_.AskYesNoCancel(text::kNoticeCaption, UpdateOfferText(ProductId(product.product), number))) {
    case NoticeAnswer::Yes:
      StartUpdateTool(product.updateCode);
      if (product.product == Product::Norvale) {
        host_.CloseMainWindow();
      } else {
        StoreAnnounced(ProductId(product.product), number);
      }
      break;
    case NoticeAnswer::Cancel: StoreAnnounced(ProductId(product.product), number); break;
    case NoticeAnswer::No: break;
  }
}

// Without a usable download address there is nothing to offer: no message,
// and the release is looked at again at the next start.
void VersionNotices::OfferDownload(const VersionProduct& product, int number, bool fallback,
                                   const std::stop_token& stop) const {
  const std::optional<std::string> address = DownloadPageAddress(FetchDownloadList(product, fallback, stop));
  if (!address) return;
  switch (host_.AskYesNoCancel(text::kNoticeCaption, DownloadOfferText(ProductId(product.product), number))) {
    case NoticeAnswer::Yes:
      host_.OpenTarget(*address, "");
      StoreAnnounced(ProductId(product.product), number);
      break;
    case NoticeAnswer::Cancel: StoreAnnounced(ProductId(product.product), number); break;
    case NoticeAnswer::No: break;
  }
}

std::string VersionNotices::FetchDownloadList(const VersionProduct& product, bool fallback,
                                              const std::stop_token& stop) const {
  if (product.downloadList.empty() || !listAddress_) return {};
  try {
    return fetcher_.FetchUrlText(listAddress_(product.downloadList, fallback), false, stop);
  } catch (...) {
    return {};
  }
}

void VersionNotices::StartUpdateTool(std::string_view updateCode) const {
  host_.OpenTarget(programFolder_ + std::string(text::kUpdateTool), std::string(updateCode));
}

void VersionNotices::StoreAnnounced(int product, int number) const {
  WriteSetting(storage_, AnnouncedReleaseName(product), VersionStampText(number));
}

void VersionNotices::N52Click() const {
  StartUpdateTool(InfoOf(Product::Norvale).updateCode);
  host_.CloseMainWindow();
}

}  // namespace norv
