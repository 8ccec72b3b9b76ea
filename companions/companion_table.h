#pragma once
// The maker's companion prediction programs: what is fixed about each of them
// (registry section, executable, default folder, version text) and how the
// program presents them (button, tray-menu entry, options).

#include <array>
#include <optional>
#include <string>
#include <string_view>

#include "settings/settings.h"
#include "store/game.h"

namespace norv {

inline constexpr int kAlderId = 1;
inline constexpr int kBirchId = 2;
inline constexpr int kCedarId = 3;
inline constexpr int kDamsonId = 4;
inline constexpr int kElderId = 5;
inline constexpr int kFennelId = 7;

struct CompanionInfo {
  int id;
  std::string_view name;            // "Alder"
  std::optional<Game> game;         // none for Fennel
  std::string_view section;         // "ALDER": Software\Pellmark\ALDER
  std::string_view executable;      // "alder.exe"
  std::string_view defaultFolder;   // ends in a backslash
  std::string_view versionText;     // begins with a half-width space
  // Presentation; empty (0) for Fennel, which has none.
  std::string_view optionPrefix;    // "ad": options "ad0".."ad3"
  std::string_view buttonSetting;   // "ad4"
  int toolButton;                   // 7: ToolButton7
  std::string_view buttonHint;
  int menuItem;                     // 43: N43
  std::string_view menuCaption;
  std::string_view optionsTab;
  std::array<bool, 4> Settings::*options;  // nullptr for Fennel
  bool Settings::*buttonShown;             // nullptr for Fennel
};

inline constexpr int kCompanionCount = 6;

const std::array<CompanionInfo, kCompanionCount>& CompanionTable();

// The row of the id; nullptr for ids outside the table (6 included).
const CompanionInfo* FindCompanion(int id);

// The five companions the buttons, menu entries and options apply to, in the
// order of the buttons (ToolButton5 Damson … ToolButton9 Elder).
const std::array<int, 5>& ButtonCompanions();

// Companion id of ToolButton5..ToolButton9 or N41..N45; nothing for others.
std::optional<int> CompanionOfToolButton(int toolButton);
std::optional<int> CompanionOfMenuItem(int menuItem);

// Caption of option 0..3 in the options dialog.
std::string CompanionOptionCaption(int id, int option);

// Alder does not run on Windows Vista and later (version code 4 and above):
// its options and button stay off and the options dialog hides it.
bool IsCompanionUnavailableOnThisWindows(int id, int versionCode);

}  // namespace norv
