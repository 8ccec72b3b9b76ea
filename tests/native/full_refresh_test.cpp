#include "acquisition/full_refresh.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "acquisition/fetch_reply.h"
#include "scripted_fetcher.h"
#include "store/draw_record.h"
#include "temp_data_folder.h"

namespace norv {
namespace {

using Reports = std::vector<std::pair<int, int>>;

// `count` record texts of the game, each starting with its draw number.
std::string History(Game game, int count) {
  const std::size_t textBytes = static_cast<std::size_t>(LayoutOf(game).textBytes);
  std::string text;
  for (int draw = 1; draw <= count; ++draw) {
    std::string record = std::to_string(10000 + draw).substr(1);
    record += std::string(textBytes - record.size(), static_cast<char>('0' + draw % 10));
    text += record;
  }
  return text;
}

std::string AsDataFile(Game game, std::string_view history) {
  const std::size_t textBytes = static_cast<std::size_t>(LayoutOf(game).textBytes);
  std::string file;
  for (std::size_t at = 0; at + textBytes <= history.size(); at += textBytes) {
    file += std::string(history.substr(at, textBytes)) + "\r\n";
  }
  return file;
}

class FullRefresh : public ::testing::Test {
 protected:
  FullRefresh() {
    for (int slot = 2; slot <= 9; ++slot) {
      urls.slots[static_cast<std::size_t>(slot)] = "http://data.pellmark.test/history" + std::to_string(slot) + ".txt";
    }
  }

  std::optional<int> Refresh(Game game, int drawCount, bool forced = false, bool fallback = false) {
    const AcquisitionContext context{fetcher, urls, folder.Prefix(), stop.get_token()};
    return RefreshDataFile(game, fallback, forced, drawCount, context,
                           [&](int code, int number) { messages.emplace_back(code, number); });
  }

  void Offer(Game game, std::string history, bool fallback = false) {
    fetcher.Serve(urls[HistorySlot(game, fallback)], std::move(history));
  }

  testing::ScriptedFetcher fetcher;
  testing::TempDataFolder folder;
  UrlTable urls;
  std::stop_source stop;
  Reports messages;
  const std::string oldLoto6 = AsDataFile(Game::Loto6, History(Game::Loto6, 3));
};

TEST_F(FullRefresh, LongerHistoryReplacesTheDataFileAndDropsTheRemainder) {
  folder.Write("dat_lot6.tan", oldLoto6);
  const std::string history = History(Game::Loto6, 1000);
  Offer(Game::Loto6, history + "12345678901234567890");

  EXPECT_EQ(Refresh(Game::Loto6, 3), 1000);

  const std::string file = folder.Read("dat_lot6.tan");
  EXPECT_EQ(file.size(), 1000u * 58u);
  EXPECT_EQ(file, AsDataFile(Game::Loto6, history));
  EXPECT_FALSE(folder.Exists("tmp_lot6.tan"));
  EXPECT_EQ(messages, Reports{});
  ASSERT_EQ(fetcher.requests.size(), 1u);
  EXPECT_FALSE(fetcher.requests[0].fromUtf8);
}

TEST_F(FullRefresh, EachGameWritesItsOwnRecordLength) {
  for (Game game : {Game::MiniLoto, Game::Numbers4, Game::Numbers3}) {
    const RecordLayout& layout = LayoutOf(game);
    folder.Write(layout.dataFile, "");
    Offer(game, History(game, 7));
    EXPECT_EQ(Refresh(game, 0), 7);
    EXPECT_EQ(folder.Read(layout.dataFile).size(), 7u * static_cast<std::size_t>(layout.recordBytes));
  }
}

TEST_F(FullRefresh, HistoryNoLongerThanTheDataIsWrittenOnlyWhenForced) {
  folder.Write("dat_lot6.tan", oldLoto6);
  const std::string history = History(Game::Loto6, 3);
  Offer(Game::Loto6, history);

  EXPECT_EQ(Refresh(Game::Loto6, 3), std::nullopt);
  EXPECT_EQ(Refresh(Game::Loto6, 5), std::nullopt);
  EXPECT_EQ(folder.Read("dat_lot6.tan"), oldLoto6);

  EXPECT_EQ(Refresh(Game::Loto6, 5, true), 3);
  EXPECT_EQ(folder.Read("dat_lot6.tan"), AsDataFile(Game::Loto6, history));
}

TEST_F(FullRefresh, FallbackUsesTheOddSlotOfTheGame) {
  EXPECT_EQ(HistorySlot(Game::Loto6, false), 2);
  EXPECT_EQ(HistorySlot(Game::Loto6, true), 3);
  EXPECT_EQ(HistorySlot(Game::MiniLoto, true), 5);
  EXPECT_EQ(HistorySlot(Game::Numbers4, false), 6);
  EXPECT_EQ(HistorySlot(Game::Numbers3, true), 9);

  folder.Write("dat_num3.tan", "");
  Offer(Game::Numbers3, History(Game::Numbers3, 2), true);
  EXPECT_EQ(Refresh(Game::Numbers3, 0, false, true), 2);
  EXPECT_EQ(fetcher.Urls(), std::vector<std::string>{urls[9]});
}

TEST_F(FullRefresh, DownloadWithoutAWholeRecordNeverReplacesTheFileEvenWhenForced) {
  folder.Write("dat_lot6.tan", oldLoto6);
  Offer(Game::Loto6, History(Game::Loto6, 1).substr(0, 55));
  EXPECT_EQ(Refresh(Game::Loto6, 0, true), std::nullopt);
  EXPECT_EQ(folder.Read("dat_lot6.tan"), oldLoto6);
  EXPECT_FALSE(folder.Exists("tmp_lot6.tan"));
  EXPECT_EQ(messages, Reports{});
}

TEST_F(FullRefresh, ErrorPageIsNeverTakenForAHistory) {
  folder.Write("dat_lot6.tan", oldLoto6);
  std::string errorPage = "<html><head><title>503 Service Unavailable</title></head><body>busy</body></html>";
  errorPage += std::string(56 * 10, ' ');
  Offer(Game::Loto6, errorPage);
  EXPECT_EQ(Refresh(Game::Loto6, 0, true), std::nullopt);

  std::string oneBadRecord = History(Game::Loto6, 20);
  oneBadRecord[56 * 12 + 30] = 'x';
  Offer(Game::Loto6, oneBadRecord);
  EXPECT_EQ(Refresh(Game::Loto6, 0), std::nullopt);

  EXPECT_EQ(folder.Read("dat_lot6.tan"), oldLoto6);
  EXPECT_EQ(messages, Reports{});
}

// A zero byte in place of a digit: were it dropped on the way, every later
// record would stand one byte off and still be all digits.
TEST_F(FullRefresh, AHistoryHoldingAZeroByteIsNeverTaken) {
  std::string damaged = History(Game::Loto6, 20);
  damaged[56 * 5 + 10] = '\0';
  ReplyCollector reply;
  reply.Append(damaged);
  EXPECT_EQ(BuildHistoryFile(Game::Loto6, reply.Finish(false), {}), std::nullopt);

  const std::string zeroInTheRemainder = History(Game::Loto6, 20) + std::string(1, '\0');
  EXPECT_EQ(BuildHistoryFile(Game::Loto6, zeroInTheRemainder, {}), std::nullopt);

  folder.Write("dat_lot6.tan", oldLoto6);
  Offer(Game::Loto6, zeroInTheRemainder);
  EXPECT_EQ(Refresh(Game::Loto6, 3, true), std::nullopt);
  EXPECT_EQ(folder.Read("dat_lot6.tan"), oldLoto6);
}

// A byte lost or added in the middle moves every later record off its place,
// yet each still reads as digits; their draw numbers no longer follow on.
TEST_F(FullRefresh, AHistoryWhoseRecordsStandOffTheirPlaceIsNeverTaken) {
  for (Game game : kAllGames) {
    const std::string whole = History(game, 20);
    const std::size_t middle = static_cast<std::size_t>(LayoutOf(game).textBytes) * 9 + 7;
    std::string lostByte = whole;
    lostByte.erase(middle, 1);
    std::string extraByte = whole;
    extraByte.insert(middle, "5");
    EXPECT_EQ(BuildHistoryFile(game, lostByte, {}), std::nullopt) << GameName(game);
    EXPECT_EQ(BuildHistoryFile(game, extraByte, {}), std::nullopt) << GameName(game);
    EXPECT_EQ(BuildHistoryFile(game, whole.substr(LayoutOf(game).textBytes), {}), std::nullopt)
        << GameName(game) << ": a history that does not begin with draw 1";
    EXPECT_NE(BuildHistoryFile(game, whole, {}), std::nullopt) << GameName(game);
  }

  folder.Write("dat_lot6.tan", oldLoto6);
  std::string lostByte = History(Game::Loto6, 20);
  lostByte.erase(56 * 12 + 3, 1);
  Offer(Game::Loto6, lostByte);
  EXPECT_EQ(Refresh(Game::Loto6, 3), std::nullopt);
  EXPECT_EQ(folder.Read("dat_lot6.tan"), oldLoto6);
  EXPECT_EQ(messages, Reports{});
}

TEST_F(FullRefresh, FailedOrEmptyDownloadLeavesTheFilesAlone) {
  folder.Write("dat_lot6.tan", oldLoto6);
  EXPECT_EQ(Refresh(Game::Loto6, 0, true), std::nullopt);
  fetcher.Throw(urls[2]);
  EXPECT_EQ(Refresh(Game::Loto6, 0, true), std::nullopt);
  EXPECT_EQ(folder.Read("dat_lot6.tan"), oldLoto6);
  EXPECT_EQ(messages, Reports{});
}

TEST_F(FullRefresh, StopRequestDuringTheRefreshKeepsTheOldFile) {
  folder.Write("dat_lot6.tan", oldLoto6);
  Offer(Game::Loto6, History(Game::Loto6, 500));
  fetcher.AfterEachFetch([&] { stop.request_stop(); });

  EXPECT_EQ(Refresh(Game::Loto6, 3), std::nullopt);

  EXPECT_EQ(folder.Read("dat_lot6.tan"), oldLoto6);
  EXPECT_FALSE(folder.Exists("tmp_lot6.tan"));
}

TEST_F(FullRefresh, TwinThatCannotBeWrittenShows108AndKeepsTheOldFile) {
  folder.Write("dat_lot6.tan", oldLoto6);
  std::filesystem::create_directory(folder.PathOf("tmp_lot6.tan"));
  std::filesystem::create_directory(folder.PathOf("tmp_lot6.tan/in-the-way"));
  Offer(Game::Loto6, History(Game::Loto6, 10));

  EXPECT_EQ(Refresh(Game::Loto6, 3), std::nullopt);

  EXPECT_EQ(messages, (Reports{{108, 0}}));
  EXPECT_EQ(folder.Read("dat_lot6.tan"), oldLoto6);
}

TEST_F(FullRefresh, DataFileThatCannotBeReplacedShows108AndRemovesTheTwin) {
  std::filesystem::create_directory(folder.PathOf("dat_lot6.tan"));
  folder.Write("dat_lot6.tan/held", "x");
  Offer(Game::Loto6, History(Game::Loto6, 10));

  EXPECT_EQ(Refresh(Game::Loto6, 3), std::nullopt);

  EXPECT_EQ(messages, (Reports{{108, 0}}));
  EXPECT_FALSE(folder.Exists("tmp_lot6.tan"));
  EXPECT_EQ(folder.Read("dat_lot6.tan/held"), "x");
}

}  // namespace
}  // namespace norv
