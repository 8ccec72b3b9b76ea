#pragma once
// The maker's programs: this program and its companion prediction programs,
// and everything fixed about each of them. A product's number is the one the
// settings, the status file's notices and the message codes use: companions
// 1 to 5 and 7, this program 6.

#include <array>
#include <optional>
#include <span>
#include <string_view>

#include "base/status_layout.h"
#include "resources/strings.h"
#include "settings/settings.h"
#include "store/game.h"

namespace norv {

enum class Product { Alder = 1, Birch = 2, Cedar = 3, Damson = 4, Elder = 5, Norvale = 6, Fennel = 7 };

constexpr int ProductId(Product product) { return static_cast<int>(product); }

struct ProductInfo {
  Product product{};
  std::string_view name{};     // "Alder"
  std::optional<Game> game{};  // the game it predicts; none for this program and Fennel
  std::string_view section{};  // registry section below the maker's key; empty for this program
  // How an installed companion is found and started.
  std::string_view executable{};     // "alder.exe"
  std::string_view defaultFolder{};  // ends in a backslash
  std::string_view versionText{};    // begins with a half-width space
  // The first Windows version code it does not run on; 0 when it runs on all.
  int firstUnsupportedVersionCode = 0;

  // Settings. The options and the button of the five companions with a tab.
  std::string_view optionPrefix{};           // "ad": options "ad0".."ad3"
  std::string_view buttonSetting{};          // "ad4"
  std::array<bool, 4> Settings::*options = nullptr;  // nullptr without options
  bool Settings::*buttonShown = nullptr;             // nullptr without a button
  int Settings::*installedVersion = nullptr;         // the companion's "now" read at start
  int Settings::*announced = nullptr;                // newest release announced; nullptr without notices
  std::string_view announcedName{};          // its value name, "new2"

  // Version notices.
  int statusPosition = 0;             // of its newest release in the status file; 0 for none
  std::string_view updateCode{};    // the update tool's only parameter
  std::string_view downloadList{};  // "bc4_dlf.new"; empty for this program

  // Export after an update of its game.
  std::string_view dataFile{};  // "dat_loto.dml"
  std::string_view tempFile{};  // "tmp_loto.dml"
  int exportFailureCode = 0;      // ShowProgramMessage code of a failed export
};

// The companions by number, then this program.
inline constexpr std::array<ProductInfo, 7> kProducts{{
    {.product = Product::Alder, .name = "Alder", .game = Game::Numbers4, .section = "ALDER",
     .executable = "alder.exe", .defaultFolder = "C:\\Program Files\\Alder for Numbers4\\",
     .versionText = " Ver4.0", .firstUnsupportedVersionCode = 4, .optionPrefix = "ad", .buttonSetting = "ad4",
     .options = &Settings::ad, .buttonShown = &Settings::ad4, .dataFile = "dat_num.ad4",
     .tempFile = "tmp_num.ad4", .exportFailureCode = 7},
    {.product = Product::Birch, .name = "Birch", .game = Game::Numbers4, .section = "BIRCH",
     .executable = "birch.exe", .defaultFolder = "C:\\Program Files\\Birch for Numbers4\\",
     .versionText = " Ver3.0", .optionPrefix = "bc", .buttonSetting = "bc4", .options = &Settings::bc,
     .buttonShown = &Settings::bc4, .installedVersion = &Settings::birchNow, .announced = &Settings::new2,
     .announcedName = "new2", .statusPosition = status_layout::kBirchRelease, .updateCode = "12",
     .downloadList = "bc4_dlf.new", .dataFile = "dat_num.bc4", .tempFile = "tmp_num.bc4",
     .exportFailureCode = 8},
    {.product = Product::Cedar, .name = "Cedar", .game = Game::MiniLoto, .section = "CEDAR",
     .executable = "cedar.exe", .defaultFolder = "C:\\Program Files\\Cedar for MiniLOTO\\",
     .versionText = " Ver2.1", .optionPrefix = "cd", .buttonSetting = "cdm", .options = &Settings::cd,
     .buttonShown = &Settings::cdm, .installedVersion = &Settings::cedarNow, .announced = &Settings::new3,
     .announcedName = "new3", .statusPosition = status_layout::kCedarRelease, .updateCode = "13",
     .downloadList = "cdm_dlf.new", .dataFile = "dat_loto.cdm", .tempFile = "tmp_loto.cdm",
     .exportFailureCode = 6},
    {.product = Product::Damson, .name = "Damson", .game = Game::Loto6, .section = "DAMSON",
     .executable = "damson.exe", .defaultFolder = "C:\\Program Files\\Damson for LOTO6\\",
     .versionText = " Ver2.1", .optionPrefix = "dm", .buttonSetting = "dml", .options = &Settings::dm,
     .buttonShown = &Settings::dml, .installedVersion = &Settings::damsonNow, .announced = &Settings::new4,
     .announcedName = "new4", .statusPosition = status_layout::kDamsonRelease, .updateCode = "14",
     .downloadList = "dml_dlf.new", .dataFile = "dat_loto.dml", .tempFile = "tmp_loto.dml",
     .exportFailureCode = 5},
    {.product = Product::Elder, .name = "Elder", .game = Game::Numbers3, .section = "ELDER",
     .executable = "elder.exe", .defaultFolder = "C:\\Program Files\\Elder for Numbers3\\",
     .versionText = " Ver2.0", .optionPrefix = "el", .buttonSetting = "elj", .options = &Settings::el,
     .buttonShown = &Settings::elj, .installedVersion = &Settings::elderNow, .announced = &Settings::new5,
     .announcedName = "new5", .statusPosition = status_layout::kElderRelease, .updateCode = "17",
     .downloadList = "el3_dlf.new", .dataFile = "dat_num.el3", .tempFile = "tmp_num.el3",
     .exportFailureCode = 9},
    {.product = Product::Fennel, .name = "Fennel", .section = "FENNEL", .executable = "fennel.exe",
     .defaultFolder = "C:\\Program Files\\Fennel\\", .versionText = " Ver1.1",
     .installedVersion = &Settings::fennelNow, .announced = &Settings::new6, .announcedName = "new6",
     .statusPosition = status_layout::kFennelRelease, .updateCode = "99", .downloadList = "fnl_dlf.new"},
    {.product = Product::Norvale, .name = text::kProductName, .announced = &Settings::newest,
     .announcedName = "new", .statusPosition = status_layout::kNorvaleRelease, .updateCode = "5"},
}};

// The five companions with options, a button and a tray-menu entry, in the
// order of the buttons, the menu entries, the options tabs and the settings.
inline constexpr std::array<Product, 5> kCompanionOrder{Product::Damson, Product::Cedar, Product::Alder,
                                                        Product::Birch, Product::Elder};

constexpr const ProductInfo& InfoOf(Product product) {
  for (const ProductInfo& info : kProducts) {
    if (info.product == product) return info;
  }
  return kProducts.back();  // not reached: every product has its row
}

// The row of a product number; nullptr for numbers outside 1 … 7.
const ProductInfo* FindProduct(int id);

// The companions: every product but this program.
constexpr std::span<const ProductInfo, 6> Companions() { return std::span(kProducts).first<6>(); }

// Alder does not run on Windows Vista and later (version code 4 and above).
constexpr bool RunsOnThisWindows(const ProductInfo& product, int versionCode) {
  return product.firstUnsupportedVersionCode == 0 || versionCode < product.firstUnsupportedVersionCode;
}

}  // namespace norv
