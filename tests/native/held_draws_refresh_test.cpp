// A full refresh against the draws the data file already holds: a history
// that changes one of them is refused and the other copy is tried; only both
// copies giving the same new record change a held draw. A shorter history,
// a torn tail and a missing tail keep every held draw.

#include <gtest/gtest.h>

#include "acquisition/full_refresh.h"
#include "disk_check.h"
#include "scripted_fetcher.h"
#include "store/draw_record.h"
#include "temp_data_folder.h"

namespace norv {
namespace {

using testing::DataFileOf;
using testing::HistoryText;
using testing::RecordText;

constexpr int kHeld = 20;
constexpr int kPublished = 25;

std::size_t TextBytes(Game game) { return static_cast<std::size_t>(LayoutOf(game).textBytes); }

// The history with one digit of draw `draw`'s last prize amount changed.
std::string WithPrizeChanged(Game game, std::string history, int draw) {
  char& digit = history[static_cast<std::size_t>(draw) * TextBytes(game) - 2];
  digit = digit == '9' ? '0' : static_cast<char>(digit + 1);
  return history;
}

// The data file `history` makes.
std::string FileOf(Game game, const std::string& history) {
  std::string file;
  for (std::size_t at = 0; at + TextBytes(game) <= history.size(); at += TextBytes(game)) {
    file += history.substr(at, TextBytes(game)) + "\r\n";
  }
  return file;
}

class HeldDrawsRefresh : public ::testing::Test {
 protected:
  HeldDrawsRefresh() {
    for (int slot = 2; slot <= 9; ++slot) {
      urls.slots[static_cast<std::size_t>(slot)] = "http://data.pellmark.test/history" + std::to_string(slot) + ".txt";
    }
  }

  std::optional<int> Refresh(Game game, bool forced = false, bool fallback = false) {
    const AcquisitionContext context{fetcher, urls, folder.Prefix(), stop.get_token()};
    return RefreshDataFile(game, fallback, forced, kHeld, context,
                           [&](int code, int number) { messages.emplace_back(code, number); });
  }

  void Offer(Game game, std::string primary, std::string fallback) {
    fetcher.Serve(urls[HistorySlot(game, false)], std::move(primary));
    fetcher.Serve(urls[HistorySlot(game, true)], std::move(fallback));
  }

  void Hold(Game game, const std::string& file) const { folder.Write(LayoutOf(game).dataFile, file); }
  std::string Held(Game game) const { return folder.Read(LayoutOf(game).dataFile); }

  testing::ScriptedFetcher fetcher;
  testing::TempDataFolder folder;
  UrlTable urls;
  std::stop_source stop;
  std::vector<std::pair<int, int>> messages;
};

TEST_F(HeldDrawsRefresh, AHistoryChangingAHeldPrizeIsRefusedAndTheOtherCopyTaken) {
  for (Game game : kAllGames) {
    for (int draw : {kHeld / 2, kHeld - 2, kHeld}) {
      Hold(game, DataFileOf(game, kHeld));
      const std::string good = HistoryText(game, kPublished);
      Offer(game, WithPrizeChanged(game, good, draw), good);

      EXPECT_EQ(Refresh(game), kPublished) << GameName(game) << " draw " << draw;
      EXPECT_EQ(Held(game), DataFileOf(game, kPublished)) << GameName(game) << " draw " << draw;
    }
  }
  EXPECT_TRUE(messages.empty());
}

TEST_F(HeldDrawsRefresh, NeitherCopyIsTakenWhenBothChangeHeldDrawsDifferently) {
  const Game game = Game::MiniLoto;
  const std::string good = HistoryText(game, kPublished);
  const std::vector<std::pair<std::string, std::string>> pairs{
      {WithPrizeChanged(game, good, kHeld), WithPrizeChanged(game, good, 3)},
      {WithPrizeChanged(game, good, 7), WithPrizeChanged(game, WithPrizeChanged(game, good, 7), 7)},
      {WithPrizeChanged(game, good, kHeld - 1), "<html>busy</html>"},
      {WithPrizeChanged(game, good, kHeld - 1), ""},
  };
  for (const auto& [primary, fallback] : pairs) {
    Hold(game, DataFileOf(game, kHeld));
    Offer(game, primary, fallback);
    EXPECT_EQ(Refresh(game), std::nullopt);
    EXPECT_EQ(Refresh(game, true), std::nullopt) << "a forced refresh is no exception";
    EXPECT_EQ(Held(game), DataFileOf(game, kHeld));
  }
  fetcher.Throw(urls[HistorySlot(game, true)]);
  EXPECT_EQ(Refresh(game), std::nullopt);
  EXPECT_EQ(Held(game), DataFileOf(game, kHeld));
  EXPECT_TRUE(messages.empty());
}

// The maker's correction of a held draw reaches both copies.
TEST_F(HeldDrawsRefresh, TheSameChangeOnBothCopiesIsTaken) {
  const Game game = Game::Numbers4;
  Hold(game, DataFileOf(game, kHeld));
  const std::string corrected = WithPrizeChanged(game, HistoryText(game, kPublished), 12);
  Offer(game, corrected, corrected);
  EXPECT_EQ(Refresh(game), kPublished);
  EXPECT_EQ(Held(game), FileOf(game, corrected));

  // Each copy may bring a correction the other confirms, beside a change the
  // other one alone makes: the copy whose every change is confirmed is taken.
  Hold(game, DataFileOf(game, kHeld));
  const std::string alsoDamaged = WithPrizeChanged(game, corrected, 4);
  Offer(game, alsoDamaged, corrected);
  EXPECT_EQ(Refresh(game, true), kPublished);
  EXPECT_EQ(Held(game), FileOf(game, corrected));
}

TEST_F(HeldDrawsRefresh, TheRunsFallbackCopyIsCheckedAgainstThePrimary) {
  const Game game = Game::Numbers3;
  Hold(game, DataFileOf(game, kHeld));
  const std::string good = HistoryText(game, kPublished);
  Offer(game, good, WithPrizeChanged(game, good, 5));
  EXPECT_EQ(Refresh(game, false, true), kPublished);
  EXPECT_EQ(Held(game), DataFileOf(game, kPublished));
  EXPECT_EQ(fetcher.Urls(), (std::vector<std::string>{urls[9], urls[8]}));
}

TEST_F(HeldDrawsRefresh, AnUnreadableCopyMovesToTheOtherOneButAFailedOrStoppedOneDoesNot) {
  const Game game = Game::Loto6;
  const std::string good = HistoryText(game, kPublished);
  std::string letter = good;
  letter.front() = 'C';
  Hold(game, DataFileOf(game, kHeld));
  Offer(game, letter, good);
  EXPECT_EQ(Refresh(game), kPublished);
  EXPECT_EQ(Held(game), DataFileOf(game, kPublished));

  Hold(game, DataFileOf(game, kHeld));
  Offer(game, WithPrizeChanged(game, good, 2), good);
  fetcher.requests.clear();
  fetcher.AfterEachFetch([&] { stop.request_stop(); });
  EXPECT_EQ(Refresh(game), std::nullopt);
  EXPECT_EQ(fetcher.Urls(), std::vector<std::string>{urls[2]});
  EXPECT_EQ(Held(game), DataFileOf(game, kHeld));
}

// A readable run's copy no longer than the data held is simply not needed;
// the other copy is not asked for.
TEST_F(HeldDrawsRefresh, ACopyNoLongerThanTheDataCostsNoSecondFetch) {
  const Game game = Game::Loto6;
  Hold(game, DataFileOf(game, kHeld));
  Offer(game, WithPrizeChanged(game, HistoryText(game, kHeld), 3), HistoryText(game, kPublished));
  EXPECT_EQ(Refresh(game), std::nullopt);
  EXPECT_EQ(fetcher.Urls(), std::vector<std::string>{urls[2]});
  EXPECT_EQ(Held(game), DataFileOf(game, kHeld));
}

TEST_F(HeldDrawsRefresh, AShorterHistoryKeepsTheHeldDrawsBeyondIt) {
  const Game game = Game::MiniLoto;
  const std::string torn = DataFileOf(game, kHeld) + RecordText(game, kHeld + 1).substr(0, 9);
  Hold(game, torn);
  Offer(game, HistoryText(game, kHeld - 4), HistoryText(game, kHeld - 4));
  EXPECT_EQ(Refresh(game, true), kHeld);
  EXPECT_EQ(Held(game), DataFileOf(game, kHeld)) << "the torn tail goes, every whole draw stays";

  Offer(game, WithPrizeChanged(game, HistoryText(game, kHeld - 4), 8), HistoryText(game, kHeld - 4));
  EXPECT_EQ(Refresh(game, true), kHeld);
  EXPECT_EQ(Held(game), DataFileOf(game, kHeld));
}

// A torn record is no witness: only whole records are held.
TEST_F(HeldDrawsRefresh, ATornTailAMissingTailAndAnEmptyFileAreCompleted) {
  const Game game = Game::Loto6;
  const std::string good = HistoryText(game, kPublished);
  Offer(game, good, "");
  for (const std::string& held : {DataFileOf(game, kHeld) + "99999999999", DataFileOf(game, kHeld - 3),
                                  std::string()}) {
    Hold(game, held);
    EXPECT_EQ(Refresh(game, true), kPublished);
    EXPECT_EQ(Held(game), DataFileOf(game, kPublished));
  }
  EXPECT_TRUE(messages.empty());
}

// The program three draws behind the status file; the primary LOTO6 history
// with bytes 32 to 47 turned into nines, so draw 1's prizes change while each
// record still begins with its draw number; the fallback with a letter first.
TEST(HeldDrawsCheck, AFalsifiedPrimaryAndAnUnreadableFallbackChangeNoHeldDraw) {
  const Game game = Game::Loto6;
  testing::TempDataFolder folder;
  testing::ScriptedService service;
  service.Publish(game, kHeld + 3, kHeld);
  folder.Write(LayoutOf(game).dataFile, DataFileOf(game, kHeld));
  std::string nines = HistoryText(game, kHeld + 3);
  nines.replace(32, 16, std::string(16, '9'));
  ASSERT_NE(nines, HistoryText(game, kHeld + 3));
  std::string letter = HistoryText(game, kHeld + 3);
  letter.front() = 'C';
  service.fetcher.Serve(service.urls[HistorySlot(game, false)], nines);
  service.fetcher.Serve(service.urls[HistorySlot(game, true)], letter);

  testing::DiskCheck check(service, folder.Prefix());
  check.Start();
  check.Check();
  EXPECT_EQ(folder.Read(LayoutOf(game).dataFile), DataFileOf(game, kHeld));
  EXPECT_EQ(GameDataOf(game).drawCount.load(), kHeld);

  service.Publish(game, kHeld + 3, kHeld);
  check.Check();
  EXPECT_EQ(folder.Read(LayoutOf(game).dataFile), DataFileOf(game, kHeld + 3)) << "the next good check completes it";
}

}  // namespace
}  // namespace norv
