#pragma once
// Texts of the companion programs and of the version notices. UTF-8.
// Kept beside strings.h so the pieces shared with it are not repeated.

#include <string_view>

namespace norv::text {

// Installation test messages.
inline constexpr std::string_view kUnavailableCaption = "この機能は使用できません";
inline constexpr std::string_view kNotInstalled = "はインストールされていません";
inline constexpr std::string_view kNotSupportedBefore = "以前はサポートされていません";
inline constexpr std::string_view kOrOpen = "（もしく";
inline constexpr std::string_view kOrClose = "）";

// The companion's winning-number check mode.
inline constexpr std::string_view kCheckModeParameter = "-c";

// Captions of the four companion options in the options dialog.
inline constexpr std::string_view kOptionPrefix = "DATA更新時に";
inline constexpr std::string_view kOptionExportSuffix = "のDATAも同時更新する";
inline constexpr std::string_view kOptionLaunchSuffix = "を起動する";
inline constexpr std::string_view kOptionCheckModeSuffix = "を当選番号チェックモードで起動＆実行する";
inline constexpr std::string_view kOptionMenuEntry = "Norvaleの予想ソフト起動メニュー（タスクトレイメニュー）に登録する";

// Version notices.
inline constexpr std::string_view kNoticeCaption = "New バージョンのお知らせ";
inline constexpr std::string_view kNoticeVersion = " Ver ";
inline constexpr std::string_view kUpdateOfferTail =
    " がリリースされました\n今すぐアップデートしますか？\nこのメッセージを以後、表示しない場合はキャンセルを押して下さい";
inline constexpr std::string_view kDownloadOfferTail =
    " がリリースされました\n今すぐダウンロードしますか？\nこのメッセージを以後、表示しない場合はキャンセルを押して下さい";

}  // namespace norv::text
