#include "tools/drawservice/pages.h"

#include <algorithm>

namespace norv::drawservice {

namespace {

constexpr std::size_t kSlotWidth = 100;
constexpr std::string_view kSampleNotice =
    "SAMPLE DATA - NOT REAL RESULTS / "
    "これは試験用のサンプルデータです。実際の当せん番号ではありません。";

std::string Digits(long long value, int width) {
  std::string text = std::to_string(std::clamp(value, 0LL, 9999LL));
  text.insert(0, static_cast<std::size_t>(width) - std::min(text.size(), static_cast<std::size_t>(width)), '0');
  return text;
}

std::string TwoDigits(int value) { return Digits(value, 2); }

std::string JapaneseDate(const std::chrono::year_month_day& date) {
  return std::to_string(static_cast<int>(date.year())) + "年" + std::to_string(static_cast<unsigned>(date.month())) +
         "月" + std::to_string(static_cast<unsigned>(date.day())) + "日";
}

std::string_view GameTitle(Game game) {
  constexpr std::array<std::string_view, 4> titles{"ロト6", "ミニロト", "ナンバーズ4", "ナンバーズ3"};
  return titles[static_cast<std::size_t>(GameIndex(game))];
}

std::string PageHead(std::string_view title) {
  std::string page = "<!DOCTYPE html>\r\n<html lang=\"ja\">\r\n<head>\r\n<meta charset=\"UTF-8\">\r\n<title>";
  page.append(title);
  page += "（サンプルデータ）</title>\r\n</head>\r\n<body>\r\n<p class=\"sample\">";
  page.append(kSampleNotice);
  page += "</p>\r\n";
  return page;
}

constexpr std::string_view kPageTail = "</body>\r\n</html>\r\n";

std::string StrongCell(std::string_view cssClass, std::string_view content, int colspan = 1) {
  std::string cell = "<td";
  if (colspan > 1) {
    cell += " colspan=\"" + std::to_string(colspan) + "\"";
  }
  cell += " class=\"";
  cell.append(cssClass);
  cell += "\"><strong>";
  cell.append(content);
  cell += "</strong></td>";
  return cell;
}

std::string NumberRows(const SampleDraw& draw) {
  std::string rows;
  if (draw.game == Game::Loto6 || draw.game == Game::MiniLoto) {
    const int mainCount = static_cast<int>(draw.numbers.size());
    rows += "<tr><th scope=\"col\" colspan=\"" + std::to_string(mainCount) +
            "\">本数字</th><th scope=\"col\">ボーナス数字</th></tr>\r\n<tr>";
    for (int n : draw.numbers) {
      rows += StrongCell("number", TwoDigits(n));
    }
    rows += StrongCell("bonus", "(" + TwoDigits(draw.bonus) + ")");
    rows += "</tr>\r\n";
  } else {
    rows += "<tr><th scope=\"row\">抽せん数字</th>" + StrongCell("number", WinningDigits(draw), 2) + "</tr>\r\n";
  }
  return rows;
}

std::string PrizeRows(const SampleDraw& draw) {
  std::string rows = "<tr><th scope=\"col\">等級</th><th scope=\"col\">口数</th><th scope=\"col\">当せん金額</th></tr>\r\n";
  const std::vector<PrizeClass>& classes = PrizeClassesOf(draw.game);
  for (std::size_t i = 0; i < classes.size(); ++i) {
    const bool unwon = draw.prizes[i] == 0;
    rows += "<tr><th scope=\"row\">";
    rows.append(classes[i].label);
    rows += "</th><td class=\"count\">";
    rows += unwon ? std::string("該当なし") : WithCommas(draw.winners[i]) + "口";
    rows += "</td>";
    rows += StrongCell("amount", unwon ? std::string("該当なし") : WithCommas(draw.prizes[i]) + "円");
    rows += "</tr>\r\n";
  }
  rows += "<tr><th scope=\"row\">販売実績額</th>" + StrongCell("amount", WithCommas(draw.sales) + "円", 2) +
          "</tr>\r\n";
  return rows;
}

std::string DrawTable(const SampleDraw& draw) {
  const int span = draw.game == Game::Loto6 ? 7 : draw.game == Game::MiniLoto ? 6 : 2;
  std::string table = "<table class=\"result\">\r\n<tr><th scope=\"row\">回別</th>";
  table += StrongCell("title", "第" + std::to_string(draw.number) + "回", span);
  table += "</tr>\r\n<tr><th scope=\"row\">抽せん日</th><td colspan=\"" + std::to_string(span) + "\">" +
           JapaneseDate(draw.date) + "</td></tr>\r\n";
  table += NumberRows(draw);
  table += PrizeRows(draw);
  table += "</table>\r\n";
  return table;
}

std::string IndexLink(std::string_view path, std::string_view image, std::string_view alt) {
  std::string link = "<li><a href=\"";
  link.append(path);
  link += "\"><img src=\"";
  link.append(image);
  link += "\" alt=\"";
  link.append(alt);
  link += "\"></a></li>\r\n";
  return link;
}

}  // namespace

std::string BankRootFor(std::string_view origin) {
  std::string root = "/bank";
  if (origin.size() + root.size() < kLinkPrefixLength) {
    root.append(kLinkPrefixLength - origin.size() - root.size(), '_');
  }
  return root;
}

std::string_view HistoryFileName(Game game) {
  constexpr std::array<std::string_view, 4> names{"/lot6.txt", "/mini.txt", "/num4.txt", "/num3.txt"};
  return names[static_cast<std::size_t>(GameIndex(game))];
}

std::string_view ResultPagePath(Game game) {
  constexpr std::array<std::string_view, 4> paths{
      "/takarakuji/loto/loto6/index.html", "/takarakuji/loto/miniloto/index.html",
      "/takarakuji/numbers/numbers4/index.html", "/takarakuji/numbers/numbers3/index.html"};
  return paths[static_cast<std::size_t>(GameIndex(game))];
}

std::string_view IndexPagePath(Family family, bool fallback) {
  if (family == Family::Loto) {
    return fallback ? "/takarakuji/loto/index2.html" : "/takarakuji/loto/index.html";
  }
  return fallback ? "/takarakuji/numbers/index2.html" : "/takarakuji/numbers/index.html";
}

std::string_view ButtonImage(Game game) {
  constexpr std::array<std::string_view, 4> images{"/img/BTN_LOTO6.JPG", "/img/BTN_MINILOTO.JPG",
                                                   "/img/BTN_NBS4.JPG", "/img/BTN_NBS3.JPG"};
  return images[static_cast<std::size_t>(GameIndex(game))];
}

std::array<std::string, 14> DirectorySlots(std::string_view origin) {
  const std::string base(origin);
  std::array<std::string, 14> slots;
  for (int copy = 0; copy < 2; ++copy) {
    const std::string maker = base + std::string(ServicePaths::kMakerFolder[static_cast<std::size_t>(copy)]);
    slots[static_cast<std::size_t>(copy)] = maker + std::string(ServicePaths::kStatusFile);
    for (Game game : kAllGames) {
      slots[static_cast<std::size_t>(2 + 2 * GameIndex(game) + copy)] = maker + std::string(HistoryFileName(game));
    }
  }
  const std::string bank = base + BankRootFor(origin);
  slots[10] = bank + std::string(IndexPagePath(Family::Loto, false));
  slots[11] = bank + std::string(IndexPagePath(Family::Loto, true));
  slots[12] = bank + std::string(IndexPagePath(Family::Numbers, false));
  slots[13] = bank + std::string(IndexPagePath(Family::Numbers, true));
  return slots;
}

std::string DirectoryPage(const std::array<std::string, 14>& slots) {
  std::string body;
  for (const std::string& slot : slots) {
    std::string field = slot.substr(0, kSlotWidth);
    field.resize(kSlotWidth, ' ');
    body += field;
  }
  return "<HTML>\r\n<HEAD><TITLE>NORVALE DIRECTORY - SAMPLE SERVICE</TITLE></HEAD>\r\n<BODY>" + body +
         "</BODY>\r\n</HTML>\r\n";
}

std::string StatusText(const StatusFields& fields) {
  std::string text(100, '0');
  text[0] = fields.mark;
  auto put = [&text](std::size_t position, long long value) { text.replace(position - 1, 4, Digits(value, 4)); };
  put(5, fields.birch);
  put(9, fields.cedar);
  put(13, fields.damson);
  put(17, fields.norvale);
  put(25, fields.elder);
  put(33, fields.drawCounts[3]);
  put(37, fields.drawCounts[2]);
  put(41, fields.drawCounts[1]);
  put(45, fields.drawCounts[0]);
  put(97, fields.fennel);
  return text + "\r\n";
}

std::string IndexPage(Family family) {
  std::string page = PageHead(family == Family::Loto ? "当せん番号案内 ロト" : "当せん番号案内 ナンバーズ");
  page += "<p><a href=\"/takarakuji/index.html\">宝くじトップ</a></p>\r\n<ul class=\"lottery\">\r\n";
  const std::array<Game, 2> games = family == Family::Loto ? std::array{Game::Loto6, Game::MiniLoto}
                                                           : std::array{Game::Numbers4, Game::Numbers3};
  for (Game game : games) {
    page += IndexLink(ResultPagePath(game), ButtonImage(game), GameTitle(game));
  }
  page += "</ul>\r\n";
  page.append(kPageTail);
  return page;
}

std::string ResultPage(Game game, const std::vector<SampleDraw>& newestFirst) {
  std::string page = PageHead(std::string(GameTitle(game)) + " 当せん番号");
  page += "<h1>";
  page.append(GameTitle(game));
  page += " 当せん番号</h1>\r\n";
  for (const SampleDraw& draw : newestFirst) {
    page += DrawTable(draw);
  }
  page.append(kPageTail);
  return page;
}

std::string DownloadList(std::string_view address) { return std::string(address) + "\r\n"; }

std::string WithCommas(long long value) {
  const std::string digits = std::to_string(value);
  std::string grouped;
  for (std::size_t i = 0; i < digits.size(); ++i) {
    if (i > 0 && (digits.size() - i) % 3 == 0) {
      grouped.push_back(',');
    }
    grouped.push_back(digits[i]);
  }
  return grouped;
}

}  // namespace norv::drawservice
