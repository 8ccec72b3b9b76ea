#include "service/site_pages.h"

#include <algorithm>

#include "base/text_fields.h"
#include "base/status_layout.h"

namespace norv::service {

namespace {

constexpr std::string_view kPageTail = "</body>\r\n</html>\r\n";

struct PrizeLabel {
  std::string_view label;
  bool noWinnerReadsZero;  // else a class without a winner must still show 0円
};

std::span<const PrizeLabel> PrizeLabelsOf(Game game) {
  static constexpr PrizeLabel loto6[]{{"１等", true}, {"２等", true}, {"３等", true}, {"４等", true}, {"５等", true}};
  static constexpr PrizeLabel miniLoto[]{{"１等", true}, {"２等", true}, {"３等", true}, {"４等", true}};
  static constexpr PrizeLabel numbers4[]{
      {"ストレート", false}, {"ボックス", true}, {"セット（ストレート）", true}, {"セット（ボックス）", true}};
  static constexpr PrizeLabel numbers3[]{{"ストレート", false},
                                         {"ボックス", true},
                                         {"セット（ストレート）", true},
                                         {"セット（ボックス）", true},
                                         {"ミニ", true}};
  switch (game) {
    case Game::Loto6:
      return loto6;
    case Game::MiniLoto:
      return miniLoto;
    case Game::Numbers4:
      return numbers4;
    case Game::Numbers3:
      break;
  }
  return numbers3;
}

std::string_view GameTitle(Game game) {
  constexpr std::array<std::string_view, 4> titles{"ロト6", "ミニロト", "ナンバーズ4", "ナンバーズ3"};
  return titles[static_cast<std::size_t>(GameIndex(game))];
}

// "2026-03-16" as the bank writes it, "2026年3月16日".
std::string JapaneseDate(std::string_view iso) {
  if (iso.size() != 10) return std::string(iso);
  const auto part = [&](std::size_t at, std::size_t length) {
    return std::to_string(ParseDigits(iso.substr(at, length)).value_or(0));
  };
  return part(0, 4) + "年" + part(5, 2) + "月" + part(8, 2) + "日";
}

std::string PageHead(std::string_view title) {
  std::string page = "<!DOCTYPE html>\r\n<html lang=\"ja\">\r\n<head>\r\n<meta charset=\"UTF-8\">\r\n<title>";
  page.append(title);
  page += "</title>\r\n</head>\r\n<body>\r\n";
  return page;
}

// The readers find a number or amount between "\"><STRONG>" and
// "</STRONG></TD>", so every such cell ends its start tag with an attribute.
std::string StrongCell(std::string_view cssClass, std::string_view content, int colspan = 1) {
  std::string cell = "<td";
  if (colspan > 1) cell += " colspan=\"" + std::to_string(colspan) + "\"";
  cell += " class=\"" + std::string(cssClass) + "\"><strong>" + std::string(content) + "</strong></td>";
  return cell;
}

// Both headers stand in one row before the cells, so the LOTO6 reader (which
// starts after "本数字") and the MiniLOTO reader (after "ボーナス数字") meet
// the same cells: the main numbers, then the bonus number in parentheses.
std::string NumberRows(const Draw& draw) {
  if (draw.balls.empty()) {
    return "<tr><th scope=\"row\">抽せん数字</th>" + StrongCell("number", draw.digits) + "</tr>\r\n";
  }
  std::string rows = "<tr><th scope=\"col\" colspan=\"" + std::to_string(draw.balls.size()) +
                     "\">本数字</th><th scope=\"col\">ボーナス数字</th></tr>\r\n<tr>";
  for (int ball : draw.balls) rows += StrongCell("number", FixedDigits(ball, 2));
  rows += StrongCell("bonus", "(" + FixedDigits(draw.bonus, 2) + ")");
  return rows + "</tr>\r\n";
}

std::string AmountText(long long prize, const PrizeLabel& label) {
  if (prize == 0 && label.noWinnerReadsZero) return "該当なし";
  return WithCommas(prize) + "円";
}

std::string PrizeRows(const Draw& draw) {
  std::string rows = "<tr><th scope=\"col\">等級</th><th scope=\"col\">当せん金額</th></tr>\r\n";
  const std::span<const PrizeLabel> labels = PrizeLabelsOf(draw.game);
  for (std::size_t i = 0; i < labels.size() && i < draw.prizes.size(); ++i) {
    rows += "<tr><th scope=\"row\">" + std::string(labels[i].label) + "</th>" +
            StrongCell("amount", AmountText(draw.prizes[i], labels[i])) + "</tr>\r\n";
  }
  // The sales total closes the last class; the service does not hold it.
  return rows + "<tr><th scope=\"row\">販売実績額</th><td class=\"sales\">-</td></tr>\r\n";
}

std::string DrawTable(const Draw& draw) {
  const int span = draw.balls.empty() ? 1 : static_cast<int>(draw.balls.size()) + 1;
  std::string table = "<table class=\"result\">\r\n<tr><th scope=\"row\">回別</th>";
  table += StrongCell("title", "第" + std::to_string(draw.number) + "回", span);
  table += "</tr>\r\n<tr><th scope=\"row\">抽せん日</th><td colspan=\"" + std::to_string(span) + "\">" +
           JapaneseDate(draw.date) + "</td></tr>\r\n";
  table += NumberRows(draw);
  table += PrizeRows(draw);
  return table + "</table>\r\n";
}

std::string IndexLink(std::string_view link, std::string_view image, std::string_view alt) {
  return "<li><a href=\"" + std::string(link) + "\"><img src=\"" + std::string(image) + "\" alt=\"" +
         std::string(alt) + "\"></a></li>\r\n";
}

}  // namespace

std::string DirectoryPage(const std::array<std::string, kSlotCount>& slots) {
  std::string body;
  for (const std::string& slot : slots) {
    std::string field = slot.substr(0, kSlotWidth);
    field.resize(kSlotWidth, ' ');
    body += field;
  }
  return "<HTML>\r\n<HEAD><TITLE>NORVALE DIRECTORY</TITLE></HEAD>\r\n<BODY>" + body + "</BODY>\r\n</HTML>\r\n";
}

std::string StatusText(const StatusFields& fields) {
  namespace layout = status_layout;
  std::string text(layout::kLength, '0');
  text[layout::kMarkPosition - 1] = fields.mark;
  const auto put = [&text](int position, long long value) {
    text.replace(static_cast<std::size_t>(position - 1), layout::kFieldWidth,
                 FixedDigits(std::clamp(value, 0LL, 9999LL), layout::kFieldWidth));
  };
  const Releases& r = fields.releases;
  put(layout::kBirchRelease, r.birch);
  put(layout::kCedarRelease, r.cedar);
  put(layout::kDamsonRelease, r.damson);
  put(layout::kNorvaleRelease, r.norvale);
  put(layout::kElderRelease, r.elder);
  put(layout::kFennelRelease, r.fennel);
  for (std::size_t game = 0; game < fields.drawCounts.size(); ++game) {
    put(layout::kDrawCounts[game], fields.drawCounts[game]);
  }
  return text + "\r\n";
}

std::string HistoryText(std::span<const Draw> draws, std::size_t count) {
  count = std::min(count, draws.size());
  std::string text;
  if (count > 0) text.reserve(count * (RecordText(draws.front()).size() + 2));
  for (std::size_t i = 0; i < count; ++i) text += RecordText(draws[i]) + "\r\n";
  return text;
}

std::string IndexPage(const SiteLayout& layout, PageFamily family) {
  std::string page = PageHead(family == PageFamily::Loto ? "当せん番号案内 ロト" : "当せん番号案内 ナンバーズ");
  page += "<ul class=\"lottery\">\r\n";
  const std::array<Game, 2> games = family == PageFamily::Loto ? std::array{Game::Loto6, Game::MiniLoto}
                                                               : std::array{Game::Numbers4, Game::Numbers3};
  for (Game game : games) {
    page += IndexLink(layout.LinkTo(layout.ResultPagePath(game)), SiteLayout::ButtonImageLink(game), GameTitle(game));
  }
  page += "</ul>\r\n";
  return page + std::string(kPageTail);
}

std::string ResultPage(Game game, std::span<const Draw> newestFirst) {
  const std::string title = std::string(GameTitle(game)) + " 当せん番号";
  std::string page = PageHead(title);
  page += "<h1>" + title + "</h1>\r\n";
  for (const Draw& draw : newestFirst) page += DrawTable(draw);
  return page + std::string(kPageTail);
}

std::string DownloadList(std::string_view address) { return std::string(address) + "\r\n"; }

std::string WithCommas(long long value) {
  const std::string digits = std::to_string(value);
  std::string grouped;
  for (std::size_t i = 0; i < digits.size(); ++i) {
    if (i > 0 && (digits.size() - i) % 3 == 0) grouped.push_back(',');
    grouped.push_back(digits[i]);
  }
  return grouped;
}

}  // namespace norv::service
