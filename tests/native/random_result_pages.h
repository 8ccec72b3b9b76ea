#pragma once
// Result pages made from random known draws, in the bank's vocabulary, with
// the layout variations the bank's pages show: tags in any letter case,
// whitespace between tags, extra cells of three or more characters, amounts
// with or without commas, "該当なし" for a class without winners, the bonus
// in one header row with the main numbers or in a row of its own. A draw can
// also be left unfinished, as the bank fills a new table in steps. Each draw's
// record is worked out here on its own, without the reader's rule table.
//
// `Pick` is any callable (int low, int high) -> int giving a number in
// [low, high]: a fuzzer's data or a seeded generator.

#include <cstdint>
#include <string>
#include <vector>

#include "store/game.h"

namespace norv::testing {

struct RandomDraw {
  int draw = 0;
  std::string record;     // what the reader must give for it; empty when unfinished
  bool unfinished = false;
};

struct RandomPage {
  Game game = Game::Loto6;
  std::string html;
  std::vector<RandomDraw> draws;  // newest first, as on the page
};

namespace random_page_detail {

struct PrizeSpec {
  const char* label;
  int width;
  bool noWinnerAllowed;
};

inline std::vector<PrizeSpec> PrizesOf(Game game) {
  switch (game) {
    case Game::Loto6:
      return {{"１等", 10, true}, {"２等", 9, true}, {"３等", 8, true}, {"４等", 6, true}, {"５等", 5, true}};
    case Game::MiniLoto:
      return {{"１等", 8, true}, {"２等", 7, true}, {"３等", 5, true}, {"４等", 4, true}};
    case Game::Numbers4:
      return {{"ストレート", 7, false}, {"ボックス", 6, true}, {"セット（ストレート）", 7, true},
              {"セット（ボックス）", 6, true}};
    case Game::Numbers3:
      return {{"ストレート", 6, false}, {"ボックス", 6, true}, {"セット（ストレート）", 6, true},
              {"セット（ボックス）", 5, true}, {"ミニ", 5, true}};
  }
  return {};
}

inline std::string Padded(long long value, int width) {
  std::string text = std::to_string(value);
  return std::string(static_cast<std::size_t>(width) - text.size(), '0') + text;
}

template <typename Pick>
std::string Cased(const std::string& tag, Pick& pick) {
  std::string out = tag;
  const int mode = pick(0, 2);
  for (char& c : out) {
    const bool lower = c >= 'a' && c <= 'z';
    const bool upper = c >= 'A' && c <= 'Z';
    if (!lower && !upper) continue;
    const bool wantUpper = mode == 1 || (mode == 2 && pick(0, 1) == 1);
    if (wantUpper && lower) c = static_cast<char>(c - 32);
    if (!wantUpper && upper) c = static_cast<char>(c + 32);
  }
  return out;
}

template <typename Pick>
std::string Space(Pick& pick) {
  static const char* const kSpaces[] = {"", "", " ", "\n", "\r\n  ", "\t"};
  return kSpaces[pick(0, 5)];
}

template <typename Pick>
std::string Cell(const std::string& text, Pick& pick, const char* cls = "x") {
  return Space(pick) + Cased(std::string("<td class=\"") + cls + "\"><strong>", pick) + text +
         Cased("</strong></td>", pick);
}

// Digits with commas every three places from the right, or at random places,
// or none; the yen sign after them.
template <typename Pick>
std::string AmountText(long long value, Pick& pick) {
  const std::string digits = std::to_string(value);
  std::string out;
  const int style = pick(0, 2);
  for (std::size_t i = 0; i < digits.size(); ++i) {
    const std::size_t fromRight = digits.size() - i;
    if (i > 0 && ((style == 1 && fromRight % 3 == 0) || (style == 2 && pick(0, 3) == 0))) out.push_back(',');
    out.push_back(digits[i]);
  }
  return out + "円";
}

// A cell the reader passes over: three or more characters that are not a
// number of the winning number's width.
template <typename Pick>
std::string ExtraCellText(Game game, Pick& pick) {
  static const char* const kWords[] = {"抽せん", "ABC", "No.", "----", "組", "当せん番号"};
  if (pick(0, 1) == 0) return kWords[pick(0, 5)];
  const int avoid = game == Game::Numbers4 ? 4 : game == Game::Numbers3 ? 3 : 0;
  int length = pick(3, 6);
  if (length == avoid) ++length;
  std::string digits;
  for (int i = 0; i < length; ++i) digits.push_back(static_cast<char>('0' + pick(0, 9)));
  return digits;
}

template <typename Pick>
std::string ExtraCells(Game game, Pick& pick) {
  std::string cells;
  for (int i = pick(0, 2); i > 0; --i) cells += Cell(ExtraCellText(game, pick), pick);
  return cells;
}

// How an unfinished draw stands on the page.
enum class Unfinished { Title, EmptyCell, NoPrizes, OnePrizeMissing };

template <typename Pick>
RandomDraw WriteDraw(Game game, int drawNumber, bool unfinished, Pick& pick, std::string& html) {
  RandomDraw result;
  result.draw = drawNumber;
  result.unfinished = unfinished;
  const Unfinished how = static_cast<Unfinished>(pick(0, 3));
  const bool loto = game == Game::Loto6 || game == Game::MiniLoto;
  const int mainCount = game == Game::Loto6 ? 6 : game == Game::MiniLoto ? 5 : 0;
  const int digits = game == Game::Numbers4 ? 4 : 3;
  // The MiniLOTO reader starts after "ボーナス数字"; a table that puts it below
  // the main numbers cannot be read for that game.
  const bool bonusRow = loto && pick(0, 3) == 0;
  const bool readable = !(bonusRow && game == Game::MiniLoto);
  std::string record = Padded(drawNumber, 4);

  html += Space(pick) + Cased("<table class=\"typeTK\">", pick) + Cased("<tr><th>", pick) + "回別" +
          Cased("</th><th colspan=\"7\">", pick) + "第" + std::to_string(drawNumber) + "回" +
          Cased("</th></tr>", pick) + Space(pick);
  if (unfinished && how == Unfinished::Title) {
    html += Cased("</table>", pick);
    return result;
  }
  html += Cased("<tr><th>", pick) + "抽せん日" + Cased("</th><td colspan=\"7\">", pick) + "2011年1月6日" +
          Cased("</td></tr>", pick) + Space(pick);
  if (!loto) {
    html += Cased("<tr><th>", pick) + "抽せん数字" + Cased("</th></tr>", pick);
  } else if (bonusRow) {
    html += Cased("<tr><th colspan=\"6\">", pick) + "本数字" + Cased("</th></tr>", pick);
  } else {
    html += Cased("<tr><th colspan=\"6\">", pick) + "本数字" + Cased("</th><th>", pick) + "ボーナス数字" +
            Cased("</th></tr>", pick);
  }
  html += Space(pick) + Cased("<tr>", pick) + ExtraCells(game, pick);
  const int emptyAt = unfinished && how == Unfinished::EmptyCell ? pick(0, loto ? mainCount : 0) : -1;
  if (loto) {
    for (int i = 0; i < mainCount; ++i) {
      const int number = pick(1, 43);
      record += Padded(number, 2);
      const std::string text = number < 10 && pick(0, 1) == 0 ? std::to_string(number) : Padded(number, 2);
      html += Cell(i == emptyAt ? std::string() : text, pick) + (pick(0, 4) == 0 ? ExtraCells(game, pick) : "");
    }
    if (bonusRow) {
      html += Cased("</tr>", pick) + Space(pick) + Cased("<tr><th>", pick) + "ボーナス数字" +
              Cased("</th></tr>", pick) + Cased("<tr>", pick);
    }
    const int bonus = pick(1, 43);
    record += Padded(bonus, 2);
    html += Cell("(" + (emptyAt == mainCount ? std::string() : Padded(bonus, 2)) + ")", pick);
  } else {
    std::string number;
    for (int i = 0; i < digits; ++i) number.push_back(static_cast<char>('0' + pick(0, 9)));
    record += number;
    html += Cell(emptyAt == 0 ? std::string() : number, pick);
  }
  html += Cased("</tr>", pick) + Space(pick);

  const std::vector<PrizeSpec> prizes = PrizesOf(game);
  const bool noPrizes = unfinished && how == Unfinished::NoPrizes;
  const int missing = unfinished && how == Unfinished::OnePrizeMissing ? pick(0, static_cast<int>(prizes.size()) - 1)
                                                                        : -1;
  for (int i = 0; i < static_cast<int>(prizes.size()) && !noPrizes; ++i) {
    const PrizeSpec& prize = prizes[static_cast<std::size_t>(i)];
    const bool noWinner = prize.noWinnerAllowed && pick(0, 3) == 0;
    long long amount = 0;
    if (!noWinner) {
      long long limit = 1;
      for (int d = 0; d < prize.width; ++d) limit *= 10;
      amount = pick(1, 999999) % limit;
      if (pick(0, 1) == 0 && prize.width > 6) amount = amount * 1000 + pick(0, 999);
      amount %= limit;
    }
    record += Padded(amount, prize.width);
    if (i == missing) continue;
    html += Cased("<tr><th>", pick) + prize.label + Cased("</th><td class=\"n\">", pick) +
            (noWinner ? "該当なし" : std::to_string(pick(1, 500)) + "口") + Cased("</td>", pick) +
            Cell(noWinner ? std::string("該当なし") : AmountText(amount, pick), pick, "y") + Cased("</tr>", pick) +
            Space(pick);
  }
  html += Cased("<tr><th>", pick) + "キャリーオーバー" + Cased("</th><td colspan=\"2\">", pick) + "0円" +
          Cased("</td></tr>", pick) + Cased("<tr><th>", pick) + "販売実績額" +
          Cased("</th><td colspan=\"2\">", pick) + "1,234,567,800円" + Cased("</td></tr></table>", pick) +
          Space(pick);
  if (!unfinished && readable) result.record = record;
  return result;
}

}  // namespace random_page_detail

// One to four draws, newest first; only the newest may be unfinished.
template <typename Pick>
RandomPage WriteRandomResultPage(Pick& pick) {
  using namespace random_page_detail;
  RandomPage page;
  page.game = static_cast<Game>(pick(1, 4));
  const int count = pick(1, 4);
  const int newest = pick(count, 2500);
  page.html = "<!DOCTYPE html>\n<html lang=\"ja\"><head><meta charset=\"utf-8\"><title>当せん番号</title></head>"
              "<body>\n<h2>回別 当せん番号</h2>\n";
  for (int i = 0; i < count; ++i) {
    const bool unfinished = i == 0 && pick(0, 2) == 0;
    page.draws.push_back(WriteDraw(page.game, newest - i, unfinished, pick, page.html));
  }
  page.html += "</body></html>\n";
  return page;
}

}  // namespace norv::testing
