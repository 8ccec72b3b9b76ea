#include "acquisition/result_page_rules.h"

namespace norv {

namespace {

constexpr std::array<PrizeClassRule, 5> kLoto6Prizes{{
    {"１等", 10, true},
    {"２等", 9, true},
    {"３等", 8, true},
    {"４等", 6, true},
    {"５等", 5, true},
}};

constexpr std::array<PrizeClassRule, 4> kMiniLotoPrizes{{
    {"１等", 8, true},
    {"２等", 7, true},
    {"３等", 5, true},
    {"４等", 4, true},
}};

// The straight always has an amount on a finished page; "該当なし" there
// means the page is not complete yet.
constexpr std::array<PrizeClassRule, 4> kNumbers4Prizes{{
    {"ストレート", 7, false},
    {"ボックス", 6, true},
    {"セット（ストレート）", 7, true},
    {"セット（ボックス）", 6, true},
}};

constexpr std::array<PrizeClassRule, 5> kNumbers3Prizes{{
    {"ストレート", 6, false},
    {"ボックス", 6, true},
    {"セット（ストレート）", 6, true},
    {"セット（ボックス）", 5, true},
    {"ミニ", 5, true},
}};

constexpr std::array<PageRules, 4> kRules{{
    {Game::Loto6, 112, 11, {10, 11}, 10, "/BTN_LOTO6.JPG", "本数字", 6, true, 0, kLoto6Prizes, 8, 9, 10, 10, 11},
    {Game::MiniLoto, 111, 12, {10, 11}, 10, "/BTN_MINILOTO.JPG", "ボーナス数字", 5, true, 0, kMiniLotoPrizes, 8, 9,
     10, 11, 12},
    {Game::Numbers4, 110, 11, {12, 13}, 12, "/BTN_NBS4.JPG", "抽せん数字", 0, false, 4, kNumbers4Prizes, 8, 0, 9,
     10, 11},
    {Game::Numbers3, 109, 11, {12, 13}, 12, "/BTN_NBS3.JPG", "抽せん数字", 0, false, 3, kNumbers3Prizes, 8, 0, 9,
     10, 11},
}};

}  // namespace

const PageRules& PageRulesOf(Game game) {
  return kRules[static_cast<std::size_t>(GameIndex(game))];
}

}  // namespace norv
