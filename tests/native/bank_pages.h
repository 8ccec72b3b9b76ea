#pragma once
// Pages written in the bank's vocabulary: the result index page with its
// button images and result pages with draw titles, number cells and prize
// classes, plus the maker's directory reply.

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "store/game.h"

namespace norv::testing {

inline constexpr std::string_view kNoWinnerText = "該当なし";

// Scheme and host are exactly the 27 characters the readers put before a link.
inline const std::string kBankHost = "http://takarakuji.bank.test";
inline const std::string kLotoIndex = kBankHost + "/takarakuji/loto/index.html";
inline const std::string kLotoIndexFallback = "http://mirror.bank.test/takarakuji/loto/index.html";
inline const std::string kNumbersIndex = kBankHost + "/takarakuji/numbers/index.html";
inline const std::string kNumbersIndexFallback = "http://mirror.bank.test/takarakuji/numbers/index.html";

struct ButtonLink {
  std::string href;
  std::string image;
};

inline std::string ButtonLinkOf(Game game) {
  switch (game) {
    case Game::Loto6: return "/takarakuji/loto/loto6/index.html";
    case Game::MiniLoto: return "/takarakuji/loto/miniloto/index.html";
    case Game::Numbers4: return "/takarakuji/numbers/numbers4/index.html";
    case Game::Numbers3: return "/takarakuji/numbers/numbers3/index.html";
  }
  return {};
}

inline std::string ButtonImageOf(Game game) {
  switch (game) {
    case Game::Loto6: return "/img/BTN_LOTO6.jpg";
    case Game::MiniLoto: return "/img/btn_miniloto.jpg";
    case Game::Numbers4: return "/img/BTN_NBS4.jpg";
    case Game::Numbers3: return "/img/BTN_NBS3.jpg";
  }
  return {};
}

inline std::string IndexPageHtml(const std::vector<ButtonLink>& buttons) {
  std::string html =
      "<!DOCTYPE html>\n<html lang=\"ja\"><head><meta charset=\"utf-8\"><title>当せん番号案内</title>"
      "<link href=\"/css/common.css\" rel=\"stylesheet\"></head><body>\n<ul class=\"gameList\">";
  for (const ButtonLink& b : buttons) {
    html += "<li><a href=\"" + b.href + "\"><img src=\"" + b.image + "\" alt=\"\"></a></li>\n";
  }
  return html + "</ul></body></html>\n";
}

// The index page of a game's family, with both of its buttons.
inline std::string BankIndexPage(Game game) {
  const bool loto = game == Game::Loto6 || game == Game::MiniLoto;
  const Game first = loto ? Game::Loto6 : Game::Numbers4;
  const Game second = loto ? Game::MiniLoto : Game::Numbers3;
  return IndexPageHtml({{ButtonLinkOf(first), ButtonImageOf(first)}, {ButtonLinkOf(second), ButtonImageOf(second)}});
}

// One draw as the bank shows it. Cell texts are written as they stand on the page.
struct DrawOnPage {
  Game game = Game::Loto6;
  int draw = 1;
  std::vector<std::string> numberCells;
  std::optional<std::string> bonusCell;  // without its parentheses
  std::vector<std::pair<std::string, std::string>> prizes;  // label, amount cell text
  // The bonus under its own "ボーナス数字" row below the main numbers, as the
  // LOTO6 page lays it out, instead of one header row over all number cells.
  bool bonusInOwnRow = false;
};

inline std::string NumberCell(std::string_view text) {
  return "<td class=\"x\"><strong>" + std::string(text) + "</strong></td>";
}

inline std::string BonusCell(std::string_view text) {
  return "<td class=\"x\"><strong>(" + std::string(text) + ")</strong></td>";
}

inline std::string AmountCell(std::string_view text) {
  return "<td class=\"y\"><strong>" + std::string(text) + "</strong></td>";
}

inline std::string NumbersHeaderRow(Game game, bool bonusInOwnRow = false) {
  if (bonusInOwnRow) {
    return "<tr><th colspan=\"6\">本数字</th></tr>\n";
  }
  switch (game) {
    case Game::Loto6: return "<tr><th colspan=\"6\">本数字</th><th>ボーナス数字</th></tr>\n";
    case Game::MiniLoto: return "<tr><th colspan=\"5\">本数字</th><th>ボーナス数字</th></tr>\n";
    default: return "<tr><th>抽せん数字</th></tr>\n";
  }
}

inline std::string DrawTableHtml(const DrawOnPage& d) {
  std::string html = "<table class=\"typeTK\">\n<tr><th>回別</th><th colspan=\"7\">第" + std::to_string(d.draw) +
                     "回</th></tr>\n<tr><th>抽せん日</th><td colspan=\"7\">2011年1月6日</td></tr>\n" +
                     NumbersHeaderRow(d.game, d.bonusInOwnRow) + "<tr>";
  for (const std::string& cell : d.numberCells) {
    html += NumberCell(cell);
  }
  if (d.bonusInOwnRow) {
    html += "</tr>\n<tr><th>ボーナス数字</th></tr>\n<tr>";
  }
  if (d.bonusCell) {
    html += BonusCell(*d.bonusCell);
  }
  html += "</tr>\n";
  for (const auto& [label, amount] : d.prizes) {
    const bool none = amount == kNoWinnerText;
    html += "<tr><th>" + label + "</th><td class=\"n\">" + (none ? std::string(kNoWinnerText) : "12口") + "</td>" +
            AmountCell(amount) + "</tr>\n";
  }
  return html +
         "<tr><th>キャリーオーバー</th><td colspan=\"2\">0円</td></tr>\n"
         "<tr><th>販売実績額</th><td colspan=\"2\">1,234,567,800円</td></tr>\n</table>\n";
}

// Navigation and notices around the results, roughly as heavy as the bank's.
inline std::string Surroundings(std::size_t bytes) {
  std::string html;
  for (int i = 0; html.size() < bytes; ++i) {
    html += "<li class=\"nav\"><a href=\"/takarakuji/info/notice" + std::to_string(i) +
            ".html\" title=\"お知らせ\">宝くじの最新情報とお知らせ " + std::to_string(i) + "</a></li>\n";
  }
  return html;
}

// The "回別" heading opens the results; the draws follow newest first.
inline std::string ResultPageHtml(const std::vector<DrawOnPage>& draws, std::size_t surroundingBytes = 0) {
  std::string html =
      "<!DOCTYPE html>\n<html lang=\"ja\"><head><meta charset=\"utf-8\"><title>当せん番号</title></head><body>\n<ul>" +
      Surroundings(surroundingBytes / 2) + "</ul>\n<h2>回別 当せん番号</h2>\n";
  for (const DrawOnPage& d : draws) {
    html += DrawTableHtml(d);
  }
  return html + "<ul>" + Surroundings(surroundingBytes / 2) + "</ul></body></html>\n";
}

inline std::string ResultPageHtml(const DrawOnPage& draw) {
  return ResultPageHtml(std::vector<DrawOnPage>{draw});
}

inline DrawOnPage Loto6Draw(int draw) {
  return {Game::Loto6,
          draw,
          {"05", "12", "18", "27", "33", "41"},
          "08",
          {{"１等", "該当なし"}, {"２等", "12,345,600円"}, {"３等", "456,700円"}, {"４等", "9,800円"}, {"５等", "1,000円"}}};
}

inline DrawOnPage MiniLotoDraw(int draw) {
  return {Game::MiniLoto,
          draw,
          {"03", "09", "14", "22", "30"},
          "17",
          {{"１等", "10,012,300円"}, {"２等", "123,400円"}, {"３等", "12,300円"}, {"４等", "1,000円"}}};
}

inline DrawOnPage Numbers4Draw(int draw) {
  return {Game::Numbers4,
          draw,
          {"0123"},
          std::nullopt,
          {{"ストレート", "1,037,900円"},
           {"ボックス", "43,200円"},
           {"セット（ストレート）", "540,500円"},
           {"セット（ボックス）", "21,600円"}}};
}

inline DrawOnPage Numbers3Draw(int draw) {
  return {Game::Numbers3,
          draw,
          {"079"},
          std::nullopt,
          {{"ストレート", "90,000円"},
           {"ボックス", "15,000円"},
           {"セット（ストレート）", "52,500円"},
           {"セット（ボックス）", "7,500円"},
           {"ミニ", "9,000円"}}};
}

inline DrawOnPage SampleDraw(Game game, int draw) {
  switch (game) {
    case Game::Loto6: return Loto6Draw(draw);
    case Game::MiniLoto: return MiniLotoDraw(draw);
    case Game::Numbers4: return Numbers4Draw(draw);
    case Game::Numbers3: return Numbers3Draw(draw);
  }
  return {};
}

// The records the sample draws above give, after the four-digit draw number.
inline std::string SampleRecordTail(Game game) {
  switch (game) {
    case Game::Loto6: return "051218273341" "08" "0000000000" "012345600" "00456700" "009800" "01000";
    case Game::MiniLoto: return "030914223017" "10012300" "0123400" "12300" "1000";
    case Game::Numbers4: return "0123" "1037900" "043200" "0540500" "021600";
    case Game::Numbers3: return "079" "090000" "015000" "052500" "07500" "09000";
  }
  return {};
}

// Every occurrence of `part` taken out.
inline std::string Without(std::string text, std::string_view part) {
  for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at)) {
    text.erase(at, part.size());
  }
  return text;
}

inline std::string Replaced(std::string text, std::string_view from, std::string_view to) {
  const std::size_t at = text.find(from);
  if (at != std::string::npos) {
    text.replace(at, from.size(), to);
  }
  return text;
}

// A directory page whose body is the given fields, each padded to 100 characters.
inline std::string DirectoryBody(const std::array<std::string, 14>& addresses) {
  std::string body;
  for (const std::string& a : addresses) {
    body += a + std::string(100 - a.size(), ' ');
  }
  return body;
}

inline std::string DirectoryPage(std::string_view body) {
  return "<HTML><HEAD><TITLE>url</TITLE></HEAD><BODY>" + std::string(body) + "</BODY></HTML>";
}

}  // namespace norv::testing
