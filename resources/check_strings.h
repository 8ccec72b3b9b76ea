#pragma once
// Texts of the check schedule, the running check and the CSV export. UTF-8.
// Kept beside strings.h so the pieces shared with it are not repeated.

#include <string_view>

namespace norv::text {

// Tray hint pieces; each begins with a line feed.
inline constexpr std::string_view kStartupModeText = "\n [起動モード]";
inline constexpr std::string_view kNormalModeText = "\n [通常モード]";
inline constexpr std::string_view kWindowModeText = "\n [特定モード]";
inline constexpr std::string_view kManualModeText = "\n [手動モード]";
inline constexpr std::string_view kWaitingText = "\n (待機中)";
inline constexpr std::string_view kCheckingText = "\n (最新DATAチェック中)";

// Caption words of a running check.
inline constexpr std::string_view kCheckingCaption = "最新DATAチェック中";
inline constexpr std::string_view kForcedCaption = "強制DATA更新中";

// The caption word when both Numbers games were updated.
inline constexpr std::string_view kNumbersFamilyName = "Numbers";

// CSV export.
inline constexpr std::string_view kCsvDialogTitleSuffix = "のCSVファイルを保存する";
inline constexpr std::string_view kCsvDialogFilter = "CSVファイル(*.csv)|*.csv|テキストファイル(*.txt)|*.txt";
inline constexpr std::string_view kCsvDefaultExtension = "csv";
inline constexpr std::string_view kCsvTitleSuffix = "当選データ";

}  // namespace norv::text
