#pragma once
// Addresses that ToolButton10..12 and N61..N63 open with the shell.

#include <string_view>

namespace norv::pages {

inline constexpr std::string_view kSupportPage = "http://www.pellmark.example/norv/";
inline constexpr std::string_view kBankLotteryPage = "https://www.mizuhobank.co.jp/takarakuji/";
inline constexpr std::string_view kMakerPage = "http://www.pellmark.example/";

}  // namespace norv::pages
