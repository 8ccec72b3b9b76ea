#pragma once
// Texts of the options dialog. UTF-8. Kept beside strings.h so the pieces
// shared with it are not repeated.

#include <array>
#include <string_view>

namespace norv::text {

inline constexpr std::string_view kOptionsCaption = "オプション設定";
inline constexpr std::string_view kOptionsFont = "メイリオ";

inline constexpr std::string_view kTabGeneral = "全般";
inline constexpr std::string_view kTabCheckMethod = "ﾁｪｯｸ方法";
inline constexpr std::string_view kTabNetwork = "通信";
inline constexpr std::string_view kTabDataView = "DATA画面";

inline constexpr std::string_view kAboutButton = "バージョン情報";
inline constexpr std::string_view kOkButton = "OK";
inline constexpr std::string_view kCancelButton = "キャンセル";
inline constexpr std::string_view kApplyButton = "適用";
inline constexpr std::string_view kHelpButton = "ヘルプ";
inline constexpr std::string_view kBrowseButton = "参照";

// "全般".
inline constexpr std::string_view kStartWithWindows = "Windows起動時にNorvaleを起動する";
inline constexpr std::string_view kShowNewData = "DATA更新時に最新DATAを表示する（タスクトレイ常駐時）";
inline constexpr std::string_view kShowUpdateMessage = "DATA更新時にメッセージを表示する（タスクトレイ常駐時）";
inline constexpr std::string_view kPlayUpdateSound = "DATA更新時に音で知らせる";
inline constexpr std::string_view kUpdateSound = "更新音";
inline constexpr std::string_view kSoundFilter = "WAVEファイル(*.wav)|*.wav";

// "ﾁｪｯｸ方法".
inline constexpr std::string_view kResident = "タスクトレイに常駐し監視する";
inline constexpr std::string_view kNormalInterval = " [通常モード]自動チェックする間隔";
inline constexpr std::string_view kWindowInterval = " [特定モード]自動チェックする間隔";
inline constexpr std::string_view kStartupCheck = " [起動モード]自動チェックする";
inline constexpr std::string_view kHour = "時";
inline constexpr std::string_view kMinuteTo = "分 ～";
inline constexpr std::string_view kMinute = "分";
inline constexpr std::array<std::string_view, 7> kNormalIntervalItems = {"なし", "５分", "10分", "15分",
                                                                         "30分", "60分", "90分"};
inline constexpr std::array<std::string_view, 7> kWindowIntervalItems = {"なし", "１分", "３分", "５分",
                                                                         "10分", "15分", "30分"};
inline constexpr std::array<std::string_view, 7> kStartupCheckItems = {"なし",   "直後",   "３秒後", "５秒後",
                                                                       "10秒後", "30秒後", "60秒後"};

// "通信".
inline constexpr std::string_view kUseDefaultConnection = "デフォルトの設定を使用する";
inline constexpr std::string_view kUseProxy = "プロキシ サーバーを使用する";
inline constexpr std::string_view kProxyAddress = "アドレス:";
inline constexpr std::string_view kProxyPort = "ポート:";

// "DATA画面".
inline constexpr std::string_view kButtonGroup = "ボタン表示";
inline constexpr std::array<std::string_view, 10> kButtonBoxes = {
    "CSVファイル出力",   "サポート ホームページ", "みずほ銀行ホームページ", "Pellmarkホームページ",
    "ヘルプ",            "Damson for LOTO6",      "Cedar for MiniLOTO",     "Alder for Numbers4",
    "Birch for Numbers4", "Elder for Numbers3"};

// Companion tabs; the name goes between the pieces of the first three boxes.
inline constexpr std::string_view kOnUpdate = "DATA更新時に";
inline constexpr std::string_view kAlsoUpdateData = "のDATAも同時更新する";
inline constexpr std::string_view kLaunch = "を起動する";
inline constexpr std::string_view kLaunchCheckMode = "を当選番号チェックモードで起動＆実行する";
inline constexpr std::string_view kListInTrayMenu = "Norvaleの予想ソフト起動メニュー（タスクトレイメニュー）に登録する";

inline constexpr std::string_view kRestartQuestion =
    "オプション設定を有効にするには再起動する必要があります\n今すぐNorvaleを再起動しますか？";

}  // namespace norv::text
