#include "companions/companion_table.h"

#include "resources/companion_strings.h"
#include "settings/settings_storage.h"

namespace norv {

namespace {

constexpr int kFirstVistaVersionCode = 4;

constexpr std::array<CompanionInfo, kCompanionCount> kCompanions{{
    {kAlderId, "Alder", Game::Numbers4, kAlderSection, "alder.exe", "C:\\Program Files\\Alder for Numbers4\\",
     " Ver4.0", "ad", "ad4", 7, "Alder for Numbers4", 43, "Alder for Numbers4", "Alder", &Settings::ad,
     &Settings::ad4},
    {kBirchId, "Birch", Game::Numbers4, kBirchSection, "birch.exe", "C:\\Program Files\\Birch for Numbers4\\",
     " Ver3.0", "bc", "bc4", 8, "Birch for Numbers4", 44, "Birch for Numbers4", "Birch", &Settings::bc,
     &Settings::bc4},
    {kCedarId, "Cedar", Game::MiniLoto, kCedarSection, "cedar.exe", "C:\\Program Files\\Cedar for MiniLOTO\\",
     " Ver2.1", "cd", "cdm", 6, "Cedar for MiniLOTO", 42, "Cedar for MiniLOTO", "Cedar", &Settings::cd,
     &Settings::cdm},
    {kDamsonId, "Damson", Game::Loto6, kDamsonSection, "damson.exe", "C:\\Program Files\\Damson for LOTO6\\",
     " Ver2.1", "dm", "dml", 5, "Damson for LOTO6", 41, "Damson for ＬＯＴＯ６", "Damson", &Settings::dm,
     &Settings::dml},
    {kElderId, "Elder", Game::Numbers3, kElderSection, "elder.exe", "C:\\Program Files\\Elder for Numbers3\\",
     " Ver2.0", "el", "elj", 9, "Elder for Numbers3", 45, "Elder for Numbers3", "Elder", &Settings::el,
     &Settings::elj},
    {kFennelId, "Fennel", std::nullopt, kFennelSection, "fennel.exe", "C:\\Program Files\\Fennel\\", " Ver1.1", {},
     {}, 0, {}, 0, {}, {}, nullptr, nullptr},
}};

constexpr std::array<int, 5> kButtonOrder{kDamsonId, kCedarId, kAlderId, kBirchId, kElderId};

constexpr int kFirstCompanionButton = 5;
constexpr int kFirstCompanionMenuItem = 41;

std::optional<int> CompanionAtButtonIndex(int index) {
  if (index < 0 || index >= static_cast<int>(kButtonOrder.size())) return std::nullopt;
  return kButtonOrder[static_cast<std::size_t>(index)];
}

}  // namespace

const std::array<CompanionInfo, kCompanionCount>& CompanionTable() { return kCompanions; }

const CompanionInfo* FindCompanion(int id) {
  for (const CompanionInfo& companion : kCompanions) {
    if (companion.id == id) return &companion;
  }
  return nullptr;
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
  return id == kAlderId && versionCode >= kFirstVistaVersionCode;
}

}  // namespace norv
