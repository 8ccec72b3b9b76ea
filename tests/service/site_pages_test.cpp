// The page texts on their own, read by Norvale's parsers where they have one.

#include "service/site_pages.h"

#include <gtest/gtest.h>

#include <utility>
#include <vector>

#include "acquisition/result_page_parser.h"
#include "acquisition/status_file.h"
#include "base/text_fields.h"
#include "acquisition/url_directory.h"
#include "base/utf8.h"
#include "base/status_layout.h"

namespace norv::service {
namespace {

Draw Loto6Draw(int number, std::vector<long long> prizes) {
  return {Game::Loto6, number, "2026-03-16", {3, 11, 19, 24, 30, 42}, 7, "", std::move(prizes)};
}

std::string Parsed(Game game, const std::string& page, int number) {
  return ReadResultText(game, RemoveLineBreaks(page), number).record;
}

TEST(DirectoryPage, ItsBodyIsTheFourteenSlotsOfOneHundredCharacters) {
  const SiteLayout layout("http://127.0.0.1:40123/");
  const std::string page = DirectoryPage(layout.DirectorySlots());
  const std::string body = ExtractBetween(RemoveLineBreaks(page), 1, "<BODY>", "</BODY>", false, false);
  ASSERT_EQ(body.size(), 1400u);
  UrlTable table;
  ASSERT_TRUE(ParseUrlDirectory(RemoveLineBreaks(page), layout.DirectoryEndpoint(0), table));
  EXPECT_EQ(table.slots, layout.DirectorySlots());
  EXPECT_EQ(table[10], "http://127.0.0.1:40123/bank/takarakuji/loto/index.html");
  EXPECT_EQ(table[13], "http://127.0.0.1:40123/bank/takarakuji/numbers/index2.html");
}

TEST(StatusText, EveryFieldStandsAtItsPosition) {
  StatusFields fields;
  fields.drawCounts = {2084, 1352, 7053, 7052};
  fields.releases = {52, 11, 12, 21, 31, 41};
  const std::string text = RemoveLineBreaks(StatusText(fields));
  ASSERT_EQ(text.size(), 100u);
  const StatusFile status = ReadStatusFile(text);
  EXPECT_EQ(status.loto6Count, 2084);
  EXPECT_EQ(status.miniLotoCount, 1352);
  EXPECT_EQ(status.numbers4Count, 7053);
  EXPECT_EQ(status.numbers3Count, 7052);
  EXPECT_EQ(status.programRelease, 52);
  EXPECT_EQ(status.birchRelease, 11);
  EXPECT_EQ(status.cedarRelease, 12);
  EXPECT_EQ(status.damsonRelease, 21);
  EXPECT_EQ(status.elderRelease, 31);
  EXPECT_EQ(status.fennelRelease, 41);
  EXPECT_EQ(StatusText(fields).substr(100), "\r\n");
}

// Every field of the shared layout, each with a value of its own: the reader
// finds each one where the writer put it, and the writer leaves zeros between.
TEST(StatusText, TheReaderFindsEveryFieldOfTheSharedLayoutWhereTheWriterPutIt) {
  namespace layout = status_layout;
  StatusFields fields;
  fields.mark = '7';
  fields.drawCounts = {1001, 1002, 1003, 1004};
  fields.releases = {2001, 2002, 2003, 2004, 2005, 2006};
  const std::string text = RemoveLineBreaks(StatusText(fields));
  ASSERT_EQ(text.size(), static_cast<std::size_t>(layout::kLength));
  EXPECT_EQ(text[layout::kMarkPosition - 1], '7');
  EXPECT_TRUE(IsValidStatusText(text));

  const std::vector<std::pair<int, int>> expected{
      {layout::kNorvaleRelease, 2001}, {layout::kBirchRelease, 2002}, {layout::kCedarRelease, 2003},
      {layout::kDamsonRelease, 2004},  {layout::kElderRelease, 2005}, {layout::kFennelRelease, 2006},
      {layout::kDrawCounts[0], 1001},  {layout::kDrawCounts[1], 1002}, {layout::kDrawCounts[2], 1003},
      {layout::kDrawCounts[3], 1004}};
  std::string rest = text;
  rest[layout::kMarkPosition - 1] = '0';
  for (const auto& [position, value] : expected) {
    EXPECT_EQ(StatusFieldAt(text, position), value) << "position " << position;
    rest.replace(static_cast<std::size_t>(position - 1), layout::kFieldWidth, layout::kFieldWidth, '0');
  }
  EXPECT_EQ(rest, std::string(layout::kLength, '0'));
}

TEST(ResultPage, AClassWithoutAWinnerShowsNoWinnerAndReadsAsZero) {
  const Draw draw = Loto6Draw(541, {0, 15'000'000, 400'000, 8'000, 1'000});
  const std::string page = ResultPage(Game::Loto6, std::vector{draw});
  EXPECT_NE(page.find("該当なし"), std::string::npos);
  EXPECT_NE(page.find("<strong>15,000,000円</strong></td>"), std::string::npos);
  EXPECT_EQ(Parsed(Game::Loto6, page, 541), RecordText(draw));
  EXPECT_EQ(Parsed(Game::Loto6, page, 541).substr(18, 10), "0000000000");
}

TEST(ResultPage, ANumbersStraightWithoutAWinnerStillShowsItsAmount) {
  // The reader does not take 該当なし for the straight class; 0円 it can read.
  const Draw draw{Game::Numbers4, 12, "1994-12-01", {}, 0, "0071", {0, 50'000, 550'000, 25'000}};
  const std::string page = ResultPage(Game::Numbers4, std::vector{draw});
  EXPECT_EQ(Parsed(Game::Numbers4, page, 12), RecordText(draw));
  EXPECT_EQ(Parsed(Game::Numbers4, page, 12).substr(4, 4), "0071") << "leading zeros kept";
}

TEST(ResultPage, LotoCellsServeBothTheLoto6AndTheMiniLotoReader) {
  const Draw mini{Game::MiniLoto, 9, "1999-06-08", {1, 5, 11, 22, 31}, 12, "", {10'000'000, 150'000, 10'000, 1'000}};
  const std::string page = ResultPage(Game::MiniLoto, std::vector{mini});
  EXPECT_EQ(Parsed(Game::MiniLoto, page, 9), RecordText(mini));
  const std::size_t header = page.find("本数字");
  EXPECT_LT(header, page.find("ボーナス数字"));
  EXPECT_LT(page.find("ボーナス数字"), page.find("\"><strong>01</strong>")) << "both headers before the cells";
}

TEST(WithCommas, GroupsThousands) {
  EXPECT_EQ(WithCommas(1234567), "1,234,567");
  EXPECT_EQ(WithCommas(100), "100");
  EXPECT_EQ(WithCommas(0), "0");
}

}  // namespace
}  // namespace norv::service
