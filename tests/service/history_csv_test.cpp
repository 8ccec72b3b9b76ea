#include "service/history_csv.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

namespace norv::service {
namespace {

std::string SeedText(Game game) {
  std::ifstream in(std::string(NORVALE_SOURCE_DIR) + "/service/seed/" + HistoryFileName(game), std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

std::string Header(Game game) { return std::string(HistoryHeader(game)) + "\n"; }

TEST(HistoryCsv, TheBundledSnapshotReadsWholeAndWritesBackByteForByte) {
  const std::array<std::size_t, 4> expected{2085, 1353, 7054, 7054};
  for (Game game : kAllGames) {
    const std::string text = SeedText(game);
    const std::vector<Draw> draws = ReadHistoryCsv(game, text);
    EXPECT_EQ(draws.size(), expected[static_cast<std::size_t>(GameIndex(game))]) << GameName(game);
    EXPECT_EQ(WriteHistoryCsv(game, draws), text) << GameName(game);
  }
}

TEST(HistoryCsv, ARowBecomesTheRecordNorvaleStores) {
  const auto loto6 = ReadHistoryCsv(Game::Loto6, Header(Game::Loto6) +
                                                     "1,2000-10-05,2,8,10,13,27,30,39,45513600,40961900,375200,6900,1000\n");
  EXPECT_EQ(RecordText(loto6[0]), "000102081013273039004551360004096190000375200006900" "01000");
  const auto numbers4 = ReadHistoryCsv(Game::Numbers4, Header(Game::Numbers4) + "1,1994-10-07,0097,1516600,126300,821400,63100\n");
  EXPECT_EQ(RecordText(numbers4[0]), "00010097151660012630008214000" "63100");
  EXPECT_EQ(RecordText(numbers4[0]).size(), 34u);
}

TEST(HistoryCsv, ShapesThatCannotBeStoredAreRefusedNamingTheLine) {
  const std::string good = "1,1999-04-13,1,3,17,20,25,26,6090500,275800,9400,900\n";
  const std::vector<std::pair<std::string, std::string>> bad{
      {"wrong header\n" + good, "line 1"},
      {Header(Game::MiniLoto) + good + "3,1999-05-11,1,8,10,24,30,28,11481000,412400,12000,1000\n", "line 3: draw 3"},
      {Header(Game::MiniLoto) + "1,1999-04-13,1,3,17,20,32,26,6090500,275800,9400,900\n", "outside 1-31"},
      {Header(Game::MiniLoto) + "1,1999-04-13,1,3,17,20,25,25,6090500,275800,9400,900\n", "drawn twice"},
      {Header(Game::MiniLoto) + "1,1999-04-13,1,3,17,20,25,26,609050000,275800,9400,900\n", "does not fit 8"},
      {Header(Game::MiniLoto) + "1,1999-04-13,1,3,17,20,25,26,6090500,275800,9400\n", "cells"},
      {Header(Game::MiniLoto) + "1,13/04/1999,1,3,17,20,25,26,6090500,275800,9400,900\n", "yyyy-mm-dd"},
      {Header(Game::MiniLoto) + "1,1999-04-13,1,3,17,20,25,26,6090500,-5,9400,900\n", "not a number"},
      {"", "empty"},
  };
  for (const auto& [text, reason] : bad) {
    try {
      ReadHistoryCsv(Game::MiniLoto, text);
      ADD_FAILURE() << "accepted: " << text;
    } catch (const HistoryFormatError& error) {
      EXPECT_NE(std::string(error.what()).find(reason), std::string::npos) << error.what();
    }
  }
}

TEST(HistoryCsv, ANumbers3WinningNumberMustHaveThreeDigits) {
  EXPECT_THROW(ReadHistoryCsv(Game::Numbers3, Header(Game::Numbers3) + "1,1994-10-07,1919,1,1,1,1,1\n"),
               HistoryFormatError);
  EXPECT_EQ(ReadHistoryCsv(Game::Numbers3, Header(Game::Numbers3) + "1,1994-10-07,091,1,1,1,1,1\n")[0].digits, "091");
}

}  // namespace
}  // namespace norv::service
