#pragma once
// The program's user-visible texts, file names and registry value names, in one
// place. Messages are assembled from these pieces. All texts are UTF-8.

#include <string>
#include <string_view>

namespace norv::text {

inline constexpr std::string_view kProductName = "Norvale";
inline constexpr std::string_view kProductCode = "T-NORV";
inline constexpr std::string_view kMakerName = "Pellmark";
inline constexpr std::string_view kVersionStamp = "0051";

// Process start.
inline constexpr std::string_view kAlreadyRunningBefore = "既に";
inline constexpr std::string_view kAlreadyRunningAfter = "は起動しています";
inline constexpr std::string_view kRestartArgument = "reboot";

inline std::string AlreadyRunningMessage() {
  return std::string(kAlreadyRunningBefore) + std::string(kProductName) + std::string(kAlreadyRunningAfter);
}

// Program messages, by code.
inline constexpr std::string_view kExitQuestion = " 終了しますか？";
inline constexpr std::string_view kBusyNotExported = "只今、データ更新中です";
inline constexpr std::string_view kErrorOccurred = "エラーが発生しました\n";
inline constexpr std::string_view kNotExported = "ファイルは出力されませんでした";
inline constexpr std::string_view kCsvWritten = "CSVファイルを出力しました";
inline constexpr std::string_view kConversionError = "データ変換エラー\n";
inline constexpr std::string_view kInitFailed = "データの初期化に失敗しました";
inline constexpr std::string_view kBracketOpen = "　【";
inline constexpr std::string_view kBracketClose = "】";
inline constexpr std::string_view kUpdatedSuffix = " が更新されました";

// Main window.
inline constexpr std::string_view kWindowFont = "メイリオ";
inline constexpr std::string_view kPageCaptions[4] = {" ＬＯＴＯ６", " MiniLOTO", " Numbers4", " Numbers3"};
inline constexpr std::string_view kButtonHints[14] = {
    "終了",
    "最新DATAチェック",
    "CSVファイル出力",
    "オプション設定",
    "Damson for LOTO6",
    "Cedar for MiniLOTO",
    "Alder for Numbers4",
    "Birch for Numbers4",
    "Elder for Numbers3",
    "Norvaleサポート ホームページ",
    "みずほ銀行 宝くじホームページ",
    "Pellmarkホームページ",
    "Norvaleヘルプ",
    "マイ数字",
};
inline constexpr std::string_view kCheckingStatus = "最新DATAチェック中";
inline constexpr std::string_view kForcedStatus = "強制DATA更新中";
inline constexpr std::string_view kBothNumbers = "Numbers";

// Tray hint pieces: each begins with a line feed.
inline constexpr std::string_view kModeStartup = "\n [起動モード]";
inline constexpr std::string_view kModeNormal = "\n [通常モード]";
inline constexpr std::string_view kModeWindow = "\n [特定モード]";
inline constexpr std::string_view kModeManual = "\n [手動モード]";
inline constexpr std::string_view kStateWaiting = "\n (待機中)";
inline constexpr std::string_view kStateChecking = "\n (最新DATAチェック中)";

// Tray menu.
inline constexpr std::string_view kMenuShowData = "宝くじデータ表示";
inline constexpr std::string_view kMenuOptions = "オプション設定";
inline constexpr std::string_view kMenuCheck = "最新DATAチェック";
inline constexpr std::string_view kMenuCompanions = "予想ソフト起動";
inline constexpr std::string_view kMenuDamson = "Damson for ＬＯＴＯ６";
inline constexpr std::string_view kMenuCedar = "Cedar for MiniLOTO";
inline constexpr std::string_view kMenuAlder = "Alder for Numbers4";
inline constexpr std::string_view kMenuBirch = "Birch for Numbers4";
inline constexpr std::string_view kMenuElder = "Elder for Numbers3";
inline constexpr std::string_view kMenuUnregistered = "未登録";
inline constexpr std::string_view kMenuVersions = "バージョン管理";
inline constexpr std::string_view kMenuAbout = "バージョン情報";
inline constexpr std::string_view kMenuLiveUpdate = "Vivi Zidivaz IV";
inline constexpr std::string_view kMenuHomePages = "ホームページ";
inline constexpr std::string_view kMenuSupportPage = "Norvale";
inline constexpr std::string_view kMenuBankPage = "みずほ銀行 宝くじ";
inline constexpr std::string_view kMenuMakerPage = "Pellmark";
inline constexpr std::string_view kMenuHelp = "ヘルプ";
inline constexpr std::string_view kMenuExit = "終了";
inline constexpr std::string_view kMenuMyNumbers = "マイ数字";

// Companion names in the order of the program messages 5 to 9.
inline constexpr std::string_view kConversionCompanions[5] = {"Damson", "Cedar", "Alder", "Birch", "Elder"};

// About box.
inline constexpr std::string_view kAboutCaption = "バージョン情報";
inline constexpr std::string_view kAboutVersionWord = "Version";
inline constexpr std::string_view kCopyrightNotice = "Copyright (C) 2026 Pellmark";

// Files.
inline constexpr std::string_view kProgramFile = "norv.exe";
inline constexpr std::string_view kSoundFile = "norv.wav";
inline constexpr std::string_view kHelpFile = "norv.chm";
inline constexpr std::string_view kMessageUtility = "nnote.exe";
inline constexpr std::string_view kUpdateTool = "liveup.exe";

}  // namespace norv::text
