#include "companions/companion_table.h"

#include "resources/companion_strings.h"

namespace norv {

namespace {

constexpr int kFirstCompanionButton = 5;
constexpr int kFirstCompanionMenuItem = 41;

constexpr std::array<int, kCompanionOrder.size()> kButtonOrder = [] {
  std::array<int, kCompanionOrder.size()> ids{};
  for (std::size_t i = 0; i < ids.size(); ++i) ids[i] = ProductId(kCompanionOrder[i]);
  return ids;
}();

std::optional<int> CompanionAtButtonIndex(int index) {
  if (index < 0 || index >= static_cast<int>(kButtonOrder.size())) return std::nullopt;
  return kButtonOrder[static_cast<std::size_t>(index)];
}

}  // namespace

std::span<const CompanionInfo, kCompanionCount> CompanionTable() { return Companions(); }

const CompanionInfo* FindCompanion(int id) {
  const ProductInfo* product = FindProduct(id);
  return product && product->product != Product::Norvale ? product : nullptr;
}

const std::array<int, 5>& ButtonCompanions() { return kButtonOrder; }

std::optional<int> CompanionOfToolButton(int toolButton) {
  return CompanionAtButtonIndex(toolButton - kFirstCompanionButton);
}

std::optional<int> CompanionOfMenuItem(int menuItem) {
  return CompanionAtButtonIndex(menuItem - kFirstCompanionMenuItem);
}

std::string CompanionOptionCaption(int id, int option) {
  const CompanionInfo* companion = FindCompanion(id);
  if (!companion) return {};
  const std::string name(companion->name);
  const std::string prefix(text::kOptionPrefix);
  switch (option) {
    case 0: return prefix + name + std::string(text::kOptionExportSuffix);
    case 1: return prefix + name + std::string(text::kOptionLaunchSuffix);
    case 2: return prefix + name + std::string(text::kOptionCheckModeSuffix);
    case 3: return std::string(text::kOptionMenuEntry);
    default: return {};
  }
}

bool IsCompanionUnavailableOnThisWindows(int id, int versionCode) {
  const CompanionInfo* companion = FindCompanion(id);
  return companion && !RunsOnThisWindows(*companion, versionCode);
}

}  // namespace norv
