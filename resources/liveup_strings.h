#pragma once
// The update tool's texts: each refusal names its reason in plain words.

#include <string_view>

namespace norv::text {

inline constexpr std::string_view kLiveupCaption = "Norvale";
inline constexpr std::string_view kLiveupProgressTitle = "Norvale のアップデート";
inline constexpr std::string_view kLiveupCancel = "キャンセル";
inline constexpr std::string_view kLiveupBytesOf = " / ";
inline constexpr std::string_view kLiveupBytes = " バイト";

inline constexpr std::string_view kLiveupUsage = "アップデートする製品が指定されていません。";
inline constexpr std::string_view kLiveupAlreadyRunning = "アップデートは既に実行中です。";
inline constexpr std::string_view kLiveupUnreachable = "アップデート情報を取得できませんでした。ネットワークの接続を確認して下さい。";
inline constexpr std::string_view kLiveupTooLarge = "アップデート情報が大きすぎるため、使用しませんでした。";
inline constexpr std::string_view kLiveupBadSignature = "アップデート情報の署名が正しくないため、使用しませんでした。";
inline constexpr std::string_view kLiveupMalformed = "アップデート情報の形式が正しくないため、使用しませんでした。";
inline constexpr std::string_view kLiveupOtherProduct = "アップデート情報が別の製品のものであるため、使用しませんでした。";
inline constexpr std::string_view kLiveupNotNewer = "新しいバージョンはありません。お使いの Norvale が最新です。";
inline constexpr std::string_view kLiveupExpired = "アップデート情報の有効期限が切れているため、使用しませんでした。";
inline constexpr std::string_view kLiveupNotHttps = "アップデートの配布先が安全な接続 (https) ではないため、ダウンロードしませんでした。";
inline constexpr std::string_view kLiveupNoInstalled = "インストールされている Norvale が見つかりません。";
inline constexpr std::string_view kLiveupDownloadFailed = "アップデートをダウンロードできませんでした。";
inline constexpr std::string_view kLiveupDownloadTooLong = "アップデートが公表された大きさを超えたため、ダウンロードを中止しました。";
inline constexpr std::string_view kLiveupDownloadStalled = "アップデートのダウンロードが止まったため、中止しました。";
inline constexpr std::string_view kLiveupDownloadCancelled = "アップデートを中止しました。";
inline constexpr std::string_view kLiveupHashMismatch = "ダウンロードしたアップデートが公表された内容と一致しないため、削除しました。";
inline constexpr std::string_view kLiveupSetupFailed = "アップデートのインストールに失敗しました。\nダウンロードしたファイル: ";
inline constexpr std::string_view kLiveupNoDownloadPage = "ダウンロードページの場所を取得できませんでした。";

}  // namespace norv::text
