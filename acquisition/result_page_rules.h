#pragma once
// How the bank's pages differ from game to game. The readers and the page
// parser are one family driven by this table.

#include <array>
#include <span>
#include <string_view>

#include "store/game.h"

namespace norv {

struct PrizeClassRule {
  std::string_view label;
  int width;
  bool noWinnerReadsZero;  // "該当なし" in the section means an amount of 0
};

struct PageRules {
  Game game;
  int eventCode;
  int attemptBase;  // the sub-codes of attempt k start at attemptBase * k
  std::array<int, 2> indexSlots;
  int prefixSlot;  // its first 27 characters go before the result-page link
  std::string_view buttonImage;
  std::string_view numbersHeader;
  int mainNumbers;    // two-digit cells taken (LOTO6, MiniLOTO); 0 for Numbers
  bool hasBonus;
  int winningDigits;  // width of the single winning-number cell (Numbers); 0 for LOTO
  std::span<const PrizeClassRule> prizes;
  // Offsets from the attempt base.
  int cellsRanOutOffset;
  int bonusMissingOffset;
  int prizeUnreadableOffset;
  // Sub-codes of the append, not offset by the attempt.
  int appendFailedCode;
  int replaceFailedCode;
};

const PageRules& PageRulesOf(Game game);

// Offsets from the attempt base shared by every game.
inline constexpr int kIndexFetchThrew = 1;
inline constexpr int kIndexEmpty = 2;
inline constexpr int kLinkEmpty = 3;
inline constexpr int kButtonMissing = 4;
inline constexpr int kResultFetchThrew = 5;
inline constexpr int kResultEmpty = 6;
inline constexpr int kResultsMarkerMissing = 7;

inline constexpr int kResultPrefixLength = 27;

}  // namespace norv
