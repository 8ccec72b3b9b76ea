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
