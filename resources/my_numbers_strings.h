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

}  // namespace norv::text
