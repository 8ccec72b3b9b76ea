#pragma once
// The maker's companion prediction programs as the buttons, the tray menu and
// the options present them; their facts are rows of settings/products.h.

#include <array>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "settings/products.h"

namespace norv {

// The companions' numbers, as callers and the host's interfaces pass them.
inline constexpr int kAlderId = ProductId(Product::Alder);
inline constexpr int kBirchId = ProductId(Product::Birch);
inline constexpr int kCedarId = ProductId(Product::Cedar);
inline constexpr int kDamsonId = ProductId(Product::Damson);
inline constexpr int kElderId = ProductId(Product::Elder);
inline constexpr int kFennelId = ProductId(Product::Fennel);

// A companion's row of the product table.
using CompanionInfo = ProductInfo;

inline constexpr int kCompanionCount = 6;

std::span<const CompanionInfo, kCompanionCount> CompanionTable();

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
