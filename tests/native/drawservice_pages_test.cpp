#include "tools/drawservice/pages.h"

#include <gtest/gtest.h>

#include <functional>

#include "acquisition/text_fields.h"
#include "acquisition/utf8.h"
#include "tools/drawservice/service.h"

namespace norv::drawservice {
namespace {

std::string BodyOf(const std::string& page) {
  return ExtractBetween(RemoveLineBreaks(page), 1, "<BODY>", "</BODY>", false, false);
}

TEST(DirectoryPage, BodyIsFourteenFieldsOfOneHundredCharacters) {
  const auto slots = DirectorySlots("http://127.0.0.1:40123");
  const std::string body = BodyOf(DirectoryPage(slots));
  ASSERT_EQ(body.size(), 1400u);
  EXPECT_EQ(body.substr(0, 7), "http://");
  for (int i = 0; i < 14; ++i) {
    EXPECT_EQ(std::string(TrimControls(FieldAt(body, i * 100 + 1, 100))), slots[static_cast<std::size_t>(i)]);
  }
}

TEST(DirectoryPage, SlotsFollowTheUrlTableOrder) {
  const auto slots = DirectorySlots("http://127.0.0.1:40123");
  EXPECT_EQ(slots[0], "http://127.0.0.1:40123/svc1/status.txt");
  EXPECT_EQ(slots[1], "http://127.0.0.1:40123/svc2/status.txt");
  EXPECT_EQ(slots[3], "http://127.0.0.1:40123/svc2/lot6.txt");
  EXPECT_EQ(slots[4], "http://127.0.0.1:40123/svc1/mini.txt");
  EXPECT_EQ(slots[9], "http://127.0.0.1:40123/svc2/num3.txt");
  EXPECT_EQ(slots[10], "http://127.0.0.1:40123/bank/takarakuji/loto/index.html");
  EXPECT_EQ(slots[13], "http://127.0.0.1:40123/bank/takarakuji/numbers/index2.html");
}

// The reader's rule: the first 27 characters of slot 10 (or 12), then the
// link found before the game's button image on the index page.
std::string ResultAddressAsTheReaderBuildsIt(const std::string& slot, Game game) {
  const std::string page = RemoveLineBreaks(IndexPage(game == Game::Loto6 || game == Game::MiniLoto ? Family::Loto
                                                                                                   : Family::Numbers));
  const std::string image = UpperAscii(std::string(ButtonImage(game)).substr(4));  // "/BTN_LOTO6.JPG"
  const std::size_t at = UpperAscii(page).find(image);
  EXPECT_NE(at, std::string::npos) << image;
  const std::string link = ExtractBetween(page, static_cast<int>(at) + 1, "HREF=\"", "\"", true, true);
  return FieldAt(slot, 1, 27) + link;
}

TEST(IndexPage, PrefixAndLinkLeadToTheResultPageForEveryPortLength) {
  for (const std::string port : {"8", "80", "808", "8080", "40123"}) {
    const std::string origin = "http://127.0.0.1:" + port;
    const auto slots = DirectorySlots(origin);
    const std::string bank = origin + BankRootFor(origin);
    ASSERT_EQ(bank.size(), 27u) << bank;
    for (Game game : kAllGames) {
      const std::string& slot = slots[game == Game::Loto6 || game == Game::MiniLoto ? 10 : 12];
      EXPECT_EQ(ResultAddressAsTheReaderBuildsIt(slot, game), bank + std::string(ResultPagePath(game)));
    }
  }
}

TEST(StatusText, FieldsStandAtTheirPositions) {
  StatusFields fields;
  fields.drawCounts = {2159, 1419, 7139, 7138};
  fields.norvale = 52;
  fields.birch = 11;
  fields.cedar = 12;
  fields.damson = 21;
  fields.elder = 31;
  fields.fennel = 41;
  const std::string text = RemoveLineBreaks(StatusText(fields));
  ASSERT_EQ(text.size(), 100u);
  EXPECT_EQ(text[0], '1');
  EXPECT_EQ(FieldAt(text, 5, 4), "0011");
  EXPECT_EQ(FieldAt(text, 9, 4), "0012");
  EXPECT_EQ(FieldAt(text, 13, 4), "0021");
  EXPECT_EQ(FieldAt(text, 17, 4), "0052");
  EXPECT_EQ(FieldAt(text, 25, 4), "0031");
  EXPECT_EQ(FieldAt(text, 33, 4), "7138");
  EXPECT_EQ(FieldAt(text, 37, 4), "7139");
  EXPECT_EQ(FieldAt(text, 41, 4), "1419");
  EXPECT_EQ(FieldAt(text, 45, 4), "2159");
  EXPECT_EQ(FieldAt(text, 97, 4), "0041");
}

struct PageRules {
  std::string_view header;
  int mainNumbers;   // LOTO6 and MiniLOTO
  int digits;        // Numbers games: length of the winning number cell
};

PageRules RulesOf(Game game) {
  switch (game) {
    case Game::Loto6:
      return {"本数字", 6, 0};
    case Game::MiniLoto:
      return {"ボーナス数字", 5, 0};
    case Game::Numbers4:
      return {"抽せん数字", 0, 4};
    case Game::Numbers3:
      break;
  }
  return {"抽せん数字", 0, 3};
}

// Takes cells between the markers until `take` accepts one; the rest of the
// cells after it are left in `cells`.
std::string NextCell(std::string& cells, std::string_view start, std::string_view end,
                     const std::function<bool(const std::string&)>& take) {
  for (;;) {
    const std::string cell = ExtractBetween(cells, 1, start, end, false, false);
    if (cell.empty()) {
      return {};
    }
    const std::string whole = std::string(start) + cell + std::string(end);
    cells = cells.substr(cells.find(whole) + whole.size());
    if (take(cell)) {
      return cell;
    }
  }
}

// The page taken apart the way the program's latest-draw readers do it.
std::string ReadRecordFromPage(Game game, const std::string& page, int drawCount) {
  const PageRules rules = RulesOf(game);
  const std::string text = RemoveLineBreaks(page);
  std::string rest = text.substr(text.find("回別"));
  const std::string title = "第" + std::to_string(drawCount + 1) + "回";
  if (rest.find(title) == std::string::npos) {
    return {};
  }
  rest = rest.substr(rest.find(title) + title.size());
  std::string cells = UpperAscii(rest.substr(rest.find(rules.header) + rules.header.size()));
  std::string record = FixedDigits(drawCount + 1, 4);
  const char* cellStart = "\"><STRONG>";
  const char* cellEnd = "</STRONG></TD>";
  for (int i = 0; i < rules.mainNumbers; ++i) {
    const std::string cell = NextCell(cells, cellStart, cellEnd, [](const std::string& c) {
      return c.size() <= 2 && ParseDigits(c).has_value();
    });
    record += FixedDigits(*ParseDigits(cell), 2);
  }
  if (rules.mainNumbers > 0) {
    record += FixedDigits(*ParseDigits(NextCell(cells, "\"><STRONG>(", ")</STRONG></TD>", [](const std::string& c) {
                            return ParseDigits(c).has_value();
                          })),
                          2);
  } else {
    record += NextCell(cells, cellStart, cellEnd, [&](const std::string& c) {
      return c.size() == static_cast<std::size_t>(rules.digits) && ParseDigits(c).has_value();
    });
  }
  const std::vector<PrizeClass>& classes = PrizeClassesOf(game);
  for (std::size_t i = 0; i < classes.size(); ++i) {
    const std::string_view next = i + 1 < classes.size() ? classes[i + 1].label : "販売実績額";
    const std::string section = ExtractBetween(cells, 1, classes[i].label, next, false, true);
    long long amount = 0;
    if (!(classes[i].mayBeUnwon && section.find("該当なし") != std::string::npos)) {
      const std::size_t yen = section.find("円");
      std::string cell = ExtractBetween(section, static_cast<int>(yen) + 1, cellStart, cellEnd, true, true);
      cell = RemoveCommas(cell.substr(0, cell.find("円")));
      amount = ParseDigits(cell).value_or(-1);
    }
    record += FixedDigits(amount, classes[i].width);
  }
  return record;
}

TEST(ResultPage, EveryDrawShownReadsBackAsItsRecord) {
  for (Game game : kAllGames) {
    const int newest = DefaultPublishedCount(game);
    std::vector<SampleDraw> draws;
    for (int n = newest; n > newest - 3; --n) {
      draws.push_back(MakeDraw(game, n));
    }
    const std::string page = ResultPage(game, draws);
    EXPECT_TRUE(IsValidUtf8(page));
    for (const SampleDraw& draw : draws) {
      EXPECT_EQ(ReadRecordFromPage(game, page, draw.number - 1), RecordText(draw))
          << GameName(game) << " draw " << draw.number;
    }
    EXPECT_EQ(ReadRecordFromPage(game, page, newest), "") << "the next draw is not on the page yet";
  }
}

TEST(ResultPage, UnwonClassesShowNoWinnerAndReadAsZero) {
  // Find a LOTO6 draw whose first class had no winner.
  int number = 1;
  while (MakeDraw(Game::Loto6, number).prizes[0] != 0) {
    ++number;
  }
  const SampleDraw draw = MakeDraw(Game::Loto6, number);
  const std::string page = ResultPage(Game::Loto6, {draw});
  EXPECT_NE(page.find("該当なし"), std::string::npos);
  EXPECT_EQ(ReadRecordFromPage(Game::Loto6, page, number - 1).substr(18, 10), "0000000000");
}

TEST(ResultPage, AmountsCarryCommasAndTheYenSign) {
  const SampleDraw draw = MakeDraw(Game::Loto6, 100);
  const std::string page = ResultPage(Game::Loto6, {draw});
  EXPECT_NE(page.find("<strong>1,000円</strong></td>"), std::string::npos);
  EXPECT_EQ(WithCommas(1234567), "1,234,567");
  EXPECT_EQ(WithCommas(100), "100");
  EXPECT_EQ(WithCommas(0), "0");
}

}  // namespace
}  // namespace norv::drawservice
