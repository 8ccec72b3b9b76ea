#pragma once
// Texts of the user's own numbers, their files and their wins. UTF-8; the
// file texts are also the words the files are read by.

#include <string_view>

namespace norv::text {

inline constexpr std::string_view kMyNumbersHeader = "ゲーム,数字,買い方,開始回,終了回,メモ";
inline constexpr std::string_view kMyWinsHeader = "ゲーム,回,数字,買い方,等級,当せん金";

// Ways of buying a Numbers line.
inline constexpr std::string_view kWayStraight = "ストレート";
inline constexpr std::string_view kWayBox = "ボックス";
inline constexpr std::string_view kWaySet = "セット";
inline constexpr std::string_view kWayMini = "ミニ";

// Classes of a win that are not a lotto's 1等…5等.
inline constexpr std::string_view kClassSuffix = "等";
inline constexpr std::string_view kClassSetStraight = "セット（ストレート）";
inline constexpr std::string_view kClassSetBox = "セット（ボックス）";

// A class the draw's record holds as 0: the line matched, nobody was paid.
inline constexpr std::string_view kNoPrize = "該当なし";

// Why a line of the user's file is not played.
inline constexpr std::string_view kFaultColumnCount = "列の数が違います";
inline constexpr std::string_view kFaultUnknownGame = "不明なゲームです";
inline constexpr std::string_view kFaultUnknownWay = "不明な買い方です";
inline constexpr std::string_view kFaultNotANumber = "数字でない文字があります";
inline constexpr std::string_view kFaultOutOfRange = "範囲外の数字があります";
inline constexpr std::string_view kFaultTwice = "同じ数字が二度あります";
inline constexpr std::string_view kFaultWrongCount = "数字の個数が違います";
inline constexpr std::string_view kFaultSameDigits = "すべて同じ数字にボックス・セットは買えません";
inline constexpr std::string_view kFaultMiniOutsideNumbers3 = "ミニはNumbers3だけです";
inline constexpr std::string_view kFaultEndBeforeStart = "終了回が開始回より前です";
inline constexpr std::string_view kFaultUnreadable = "読めない文字があります";

// The announcement of new wins: "LOTO6 第2085回 1等 600000000円".
inline constexpr std::string_view kWinNoticeTitle = "マイ数字が当せんしました";
inline constexpr std::string_view kDrawPrefix = "第";
inline constexpr std::string_view kDrawSuffix = "回";
inline constexpr std::string_view kYen = "円";
inline constexpr std::string_view kMoreWinsPrefix = "ほか";
inline constexpr std::string_view kMoreWinsSuffix = "件";

// The dialog "マイ数字". "&" marks the key of a mnemonic.
inline constexpr std::string_view kDialogCaption = "マイ数字";
inline constexpr std::string_view kTabLines = "登録した数字";
inline constexpr std::string_view kTabWins = "当せん一覧";
inline constexpr std::string_view kGameLabel = "ゲーム(&G):";
inline constexpr std::string_view kNumbersLabel = "数字(&N):";
inline constexpr std::string_view kWayLabel = "買い方(&W):";
inline constexpr std::string_view kFirstDrawLabel = "開始回(&S):";
inline constexpr std::string_view kLastDrawLabel = "終了回(&E):";
inline constexpr std::string_view kMemoLabel = "メモ(&O):";
inline constexpr std::string_view kAddButton = "追加(&A)";
inline constexpr std::string_view kChangeButton = "変更(&U)";
inline constexpr std::string_view kDeleteButton = "削除(&D)";
inline constexpr std::string_view kExportButton = "CSV出力(&X)...";
inline constexpr std::string_view kCloseButton = "閉じる";
inline constexpr std::string_view kNumbersHint = "LOTO6・MiniLOTOは数字を空白で区切って、Numbersは数字を続けて入力します。";
// Columns of the lines list and of the wins list.
inline constexpr std::string_view kColumnGame = "ゲーム";
inline constexpr std::string_view kColumnDraw = "回";
inline constexpr std::string_view kColumnNumbers = "数字";
inline constexpr std::string_view kColumnWay = "買い方";
inline constexpr std::string_view kColumnFirstDraw = "開始回";
inline constexpr std::string_view kColumnLastDraw = "終了回";
inline constexpr std::string_view kColumnMemo = "メモ";
inline constexpr std::string_view kColumnState = "状態";
inline constexpr std::string_view kColumnClass = "等級";
inline constexpr std::string_view kColumnPrize = "当せん金";
inline constexpr std::string_view kNewWin = "新着";
// "12行目: 同じ数字が二度あります" for a line of the file that is not played.
inline constexpr std::string_view kLineNumberSuffix = "行目: ";
inline constexpr std::string_view kRefused = "登録できません: ";
inline constexpr std::string_view kLinesNotRead = "マイ数字のファイルを読めません。変更はできません。";
inline constexpr std::string_view kLinesNotWritten = "マイ数字のファイルを保存できませんでした。";
inline constexpr std::string_view kWinsNotWritten = "保存しました。当せん一覧は次のチェックで更新されます。";
inline constexpr std::string_view kDrawsBusy = "DATAを更新中です。しばらくしてからもう一度表示してください。";
inline constexpr std::string_view kNoLineSelected = "一覧から行を選んでください。";
inline constexpr std::string_view kTotalPrefix = "合計 ";
inline constexpr std::string_view kWinCountSuffix = "件";
inline constexpr std::string_view kWinsExportTitle = "マイ数字の当せん一覧";
inline constexpr std::string_view kWinsExportFileName = "マイ数字当せん";

}  // namespace norv::text
