#include "acquisition/check_run.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <exception>
#include <map>
#include <stdexcept>
#include <vector>

namespace norv {
namespace {

using ::testing::Contains;
using ::testing::ElementsAre;
using ::testing::IsEmpty;
using ::testing::Not;

// Status file with every field present: positions 1..100.
std::string StatusText(int loto6, int mini, int numbers4, int numbers3) {
  std::string text(100, '0');
  auto put = [&](int position, int value) { text.replace(static_cast<std::size_t>(position - 1), 4, FourDigitStamp(value)); };
  put(5, 10);   // Birch
  put(9, 10);   // Cedar
  put(13, 10);  // Damson
  put(17, 51);  // this program
  put(25, 10);  // Elder
  put(33, numbers3);
  put(37, numbers4);
  put(41, mini);
  put(45, loto6);
  put(97, 10);  // Fennel
  return text;
}

std::string WithRelease(std::string text, int position, int value) {
  text.replace(static_cast<std::size_t>(position - 1), 4, FourDigitStamp(value));
  return text;
}

// Scripts every operation of a run and records what the run asked for.
class FakeHost : public CheckWindow, public CheckSources, public CheckNotices, public CheckFollowUps {
 public:
  FakeHost() {
    settings.mod = true;
    settings.msg = true;
    settings.snd = false;
    settings.newest = 51;
    settings.new2 = settings.new3 = settings.new4 = settings.new5 = settings.new6 = 10;
    status[false] = StatusText(100, 100, 100, 100);
    counts.fill(100);
  }

  CheckHost Host() { return {*this, *this, *this, *this}; }

  void RunCheck(CheckState& state) {
    state.checkRunning = true;
    failure = CheckRun(state, Host()).Execute(stop.get_token());
    state_ = nullptr;
  }

  // CheckWindow
  void StartOfCheck(const StartOfCheckView& view) override {
    log.push_back("start");
    startView = view;
  }
  void EndOfCheck(const CheckOutcome& outcome) override {
    log.push_back("end");
    ++ends;
    lastOutcome = outcome;
    if (state_) {
      FinishCheck(outcome, *state_, ScheduleConfig{60, 5, 1900, 2100, 0}, nowHhmm,
                  [&](const EndOfCheckView& view) { endView = view; });
    }
  }

  // CheckSources
  Settings SettingsSnapshot() override { return settings; }
  bool FetchUrlDirectory(bool secondary) override {
    log.push_back(secondary ? "directory 2" : "directory 1");
    StopAfter(log.back());
    return secondary ? secondaryDirectory : primaryDirectory;
  }
  std::string FetchStatusText(bool fallback) override {
    log.push_back(fallback ? "status 1" : "status 0");
    StopAfter(log.back());
    if (throwStatus[fallback]) throw std::runtime_error("unreachable");
    return status[fallback];
  }
  int DrawCount(Game game) override { return counts[Index(game)]; }
  bool DataFileWhole(Game game) override { return damaged.count(game) == 0; }
  void SetDrawCount(Game game, int count) override { counts[Index(game)] = count; }
  std::optional<int> RefreshDataFile(Game game, bool fallback, bool forced) override {
    log.push_back("refresh " + Name(game));
    refreshFallback = fallback;
    refreshForced = forced;
    if (forced) forcedRefreshes.push_back(Name(game));
    StopAfter("refresh " + Name(game));
    return refreshed.count(game) ? std::optional<int>(refreshed[game]) : std::nullopt;
  }
  bool ReadLatestDraw(Game game) override {
    log.push_back("read " + Name(game));
    if (throwOnRead) throw std::runtime_error("reader broke");
    StopAfter("read " + Name(game));
    return newDraw.count(game) > 0;
  }
  bool LoadDrawTable(Game game) override {
    log.push_back("load " + Name(game));
    StopAfter("load " + Name(game));
    return !failLoad.count(game);
  }

  // CheckNotices
  void PlayUpdateSound(const std::string& wavPath) override { log.push_back("sound " + wavPath); }
  bool BalloonsAvailable() override { return balloons; }
  std::string CurrentDateTimeText() override { return "2024/01/06 19:05:30"; }
  void ShowBalloon(const std::string& text) override { balloonTexts.push_back(text); }
  void ShowProgramMessage(int code, int number) override { messages.push_back(code * 1000 + number); }
  void ShowWinsMessage(const std::string& text) override { winMessages.push_back(text); }

  // CheckFollowUps
  void ExportCompanionData(int companionId) override { exports.push_back(companionId); }
  bool IsCompanionInstalled(int companionId) override { return installed.count(companionId) > 0; }
  void ShowVersionNotice(bool isInstalled, int product, int number, bool fallback) override {
    notices.push_back({isInstalled, product, number, fallback});
  }
  void RememberAnnounced(int product, int number) override { AnnouncedReleaseOf(settings, product) = number; }
  void StoreAnnounced(int product, int number) override { stored[product] = FourDigitStamp(number); }
  std::string MatchMyNumbers(const std::array<int, 4>& before) override {
    matchedBefore.push_back(before);
    return winText;
  }

  void Attach(CheckState& state) { state_ = &state; }

  struct Notice {
    bool installed;
    int product;
    int number;
    bool fallback;
    bool operator==(const Notice&) const = default;
  };

  Settings settings;
  std::map<bool, std::string> status;
  std::map<bool, bool> throwStatus;
  bool primaryDirectory = true;
  bool secondaryDirectory = true;
  std::array<int, 4> counts{};
  std::map<Game, int> refreshed;
  std::map<Game, bool> damaged;
  std::map<Game, bool> newDraw;
  std::map<Game, bool> failLoad;
  bool throwOnRead = false;
  std::exception_ptr failure;  // what the last run handed back
  bool balloons = false;
  std::map<int, bool> installed;
  std::string stopAfter;
  std::stop_source stop;
  int nowHhmm = 1930;

  std::vector<std::string> log;
  std::vector<int> messages;
  std::vector<std::string> balloonTexts;
  std::string winText;
  std::vector<std::string> winMessages;
  std::vector<std::array<int, 4>> matchedBefore;
  std::vector<int> exports;
  std::vector<Notice> notices;
  std::map<int, std::string> stored;
  int ends = 0;
  bool refreshFallback = false;
  bool refreshForced = false;
  std::vector<std::string> forcedRefreshes;
  StartOfCheckView startView;
  EndOfCheckView endView;
  CheckOutcome lastOutcome;

 private:
  static std::size_t Index(Game game) { return static_cast<std::size_t>(GameIndex(game)); }
  static std::string Name(Game game) { return std::string(GameName(game)); }
  void StopAfter(const std::string& step) {
    if (step == stopAfter) stop.request_stop();
  }

  CheckState* state_ = nullptr;
};

class CheckRunTest : public ::testing::Test {
 protected:
  void Run() {
    host.Attach(state);
    host.RunCheck(state);
  }
  std::vector<std::string> Loads() const {
    std::vector<std::string> loads;
    for (const auto& entry : host.log) {
      if (entry.rfind("load ", 0) == 0) loads.push_back(entry);
    }
    return loads;
  }

  CheckState state;
  FakeHost host;
};

TEST_F(CheckRunTest, TheStartUpRunOnlyLoadsTheFourTables) {
  state.startupRun = true;
  Run();
  EXPECT_THAT(host.log, ElementsAre("load LOTO6", "load MiniLOTO", "load Numbers4", "load Numbers3", "end"));
  EXPECT_EQ(host.endView.tab, Game::Loto6);
  EXPECT_EQ(host.endView.caption, "Norvale");
  EXPECT_FALSE(host.endView.updateTray);
  EXPECT_FALSE(state.startupRun.load());
  EXPECT_FALSE(state.checkRunning.load());
}

TEST_F(CheckRunTest, ACheckGoesFromDirectoryToReadersAndReloadsOnlyChangedGames) {
  host.newDraw[Game::MiniLoto] = true;
  Run();
  EXPECT_THAT(host.log, ElementsAre("start", "directory 1", "status 0", "read LOTO6", "read MiniLOTO",
                                    "read Numbers4", "read Numbers3", "load MiniLOTO", "end"));
  EXPECT_EQ(host.endView.tab, Game::MiniLoto);
  EXPECT_EQ(host.endView.caption, "Norvale　【MiniLOTO が更新されました】");
  EXPECT_THAT(host.exports, ElementsAre(3));
  EXPECT_FALSE(state.checkRunning.load());
}

TEST_F(CheckRunTest, TheDirectoryIsReadOncePerProcess) {
  Run();
  host.log.clear();
  Run();
  EXPECT_THAT(host.log, Not(Contains("directory 1")));
}

TEST_F(CheckRunTest, ResidentShowsAnUnreachableServiceOnlyAtTheFirstFailingCheck) {
  host.primaryDirectory = host.secondaryDirectory = false;
  Run();
  Run();
  EXPECT_THAT(host.messages, ElementsAre(106000));
  EXPECT_EQ(host.ends, 2);
  EXPECT_FALSE(state.urlTableFilled.load());
  EXPECT_EQ(std::count(host.log.begin(), host.log.end(), "directory 2"), 2);  // tried again
}

TEST_F(CheckRunTest, APlainWindowShowsAnUnreachableServiceAtEveryFailingCheck) {
  host.settings.mod = false;
  host.primaryDirectory = host.secondaryDirectory = false;
  Run();
  Run();
  EXPECT_THAT(host.messages, ElementsAre(106000, 106000));
}

TEST_F(CheckRunTest, TheSecondaryDirectoryIsAskedOnlyWhenThePrimaryFails) {
  host.primaryDirectory = false;
  Run();
  EXPECT_THAT(host.log, Contains("directory 2"));
  EXPECT_THAT(host.messages, IsEmpty());
  EXPECT_TRUE(state.urlTableFilled.load());
}

TEST_F(CheckRunTest, AStatusFileNotBeginningWithADigitIsFetchedFromTheFallback) {
  host.status[false] = "X" + host.status[false].substr(1);
  host.status[true] = StatusText(101, 100, 100, 100);
  host.refreshed[Game::Loto6] = 101;
  Run();
  EXPECT_THAT(host.log, Contains("status 1"));
  EXPECT_TRUE(host.refreshFallback);
  EXPECT_THAT(host.messages, Not(Contains(106000)));
}

TEST_F(CheckRunTest, TwoBadStatusFilesEndTheCheckWithCode106) {
  host.status[false] = "X";
  host.throwStatus[true] = true;
  Run();
  EXPECT_THAT(host.messages, ElementsAre(106000));
  EXPECT_THAT(host.log, Not(Contains("read LOTO6")));
  EXPECT_EQ(host.ends, 1);
}

TEST_F(CheckRunTest, AStatusFetchThatFailsUsesTheFallbackAddress) {
  host.throwStatus[false] = true;
  host.status[true] = StatusText(100, 100, 100, 100);
  Run();
  EXPECT_THAT(host.messages, IsEmpty());
  EXPECT_THAT(host.log, Contains("read Numbers3"));
}

TEST_F(CheckRunTest, AGameBehindTheStatusIsRefreshedAndCountsWhatTheFileHolds) {
  host.status[false] = StatusText(105, 100, 100, 100);
  host.refreshed[Game::Loto6] = 106;  // the history had one more draw than the status said
  Run();
  EXPECT_THAT(host.log, Contains("refresh LOTO6"));
  EXPECT_THAT(host.log, Not(Contains("refresh MiniLOTO")));
  EXPECT_EQ(host.counts[0], 106);
  EXPECT_THAT(Loads(), ElementsAre("load LOTO6"));
}

TEST_F(CheckRunTest, AShortStatusFileOffersEveryGameARefreshButAnnouncesNoRelease) {
  host.status[false] = "1";
  host.settings.cnt = 60;
  Run();
  EXPECT_THAT(host.log, Contains("refresh Numbers3"));
  EXPECT_THAT(host.notices, IsEmpty());
  EXPECT_THAT(Loads(), IsEmpty());
}

TEST_F(CheckRunTest, AForcedCheckRefreshesAllFourAndIsClearedAtItsEnd) {
  state.forcedRefresh = true;
  Run();
  EXPECT_THAT(host.log, Contains("refresh LOTO6"));
  EXPECT_THAT(host.log, Contains("refresh Numbers3"));
  EXPECT_TRUE(host.refreshForced);
  EXPECT_EQ(host.startView.caption, "Norvale　【強制DATA更新中】");
  EXPECT_FALSE(state.forcedRefresh.load());
}

TEST_F(CheckRunTest, AForcedCheckThatEndsEarlyKeepsTheNextCheckForced) {
  state.forcedRefresh = true;
  host.primaryDirectory = host.secondaryDirectory = false;
  Run();
  EXPECT_TRUE(state.forcedRefresh.load());
}

TEST_F(CheckRunTest, AStopRequestAfterARefreshEndsTheRunBeforeTheNextGame) {
  state.forcedRefresh = true;
  host.stopAfter = "refresh MiniLOTO";
  Run();
  EXPECT_THAT(host.log, Not(Contains("refresh Numbers4")));
  EXPECT_THAT(host.log, Not(Contains("read LOTO6")));
  EXPECT_EQ(host.log.back(), "end");
  EXPECT_EQ(host.ends, 1);
}

// Another program cut the file inside a record: appending to it would make
// every later record straddle a boundary, and the counts still agree.
TEST_F(CheckRunTest, ADataFileCutInsideARecordIsRefreshedInFullBeforeTheReaderAppends) {
  host.damaged[Game::MiniLoto] = true;
  host.refreshed[Game::MiniLoto] = 100;
  Run();
  EXPECT_THAT(host.forcedRefreshes, ElementsAre("MiniLOTO"));
  EXPECT_THAT(host.log, Not(Contains("refresh LOTO6")));
  const auto at = [&](const std::string& step) { return std::find(host.log.begin(), host.log.end(), step); };
  EXPECT_LT(at("refresh MiniLOTO"), at("read MiniLOTO"));
  EXPECT_THAT(Loads(), ElementsAre("load MiniLOTO"));
}

// Closing stops a running check: whatever the stop cut short is no failure.
TEST_F(CheckRunTest, AStopDuringTheDirectoryFetchEndsTheCheckWithoutAMessage) {
  host.primaryDirectory = false;
  host.stopAfter = "directory 1";
  Run();
  EXPECT_THAT(host.log, ElementsAre("start", "directory 1", "end"));
  EXPECT_THAT(host.messages, IsEmpty());
  EXPECT_FALSE(state.urlTableFilled.load()) << "the next start reads the directory again";
}

TEST_F(CheckRunTest, AStopDuringTheStatusFetchEndsTheCheckWithoutAMessage) {
  host.throwStatus[false] = true;
  host.stopAfter = "status 0";
  Run();
  EXPECT_THAT(host.log, Not(Contains("status 1")));
  EXPECT_THAT(host.messages, IsEmpty());
  EXPECT_EQ(host.ends, 1);
}

TEST_F(CheckRunTest, AStopWhileALoadWaitsForTheTableEndsTheCheckWithoutCode113) {
  host.newDraw[Game::Loto6] = true;
  host.failLoad[Game::Loto6] = true;  // as a load that gave up waiting for TableBusy
  host.stopAfter = "load LOTO6";
  Run();
  EXPECT_THAT(host.messages, IsEmpty());
  EXPECT_EQ(host.ends, 1);
  EXPECT_FALSE(state.checkRunning.load());
}

TEST_F(CheckRunTest, AStopRequestDuringTheLoadsAnnouncesAndExportsNothing) {
  host.newDraw[Game::Loto6] = true;
  host.stopAfter = "load LOTO6";
  Run();
  EXPECT_THAT(host.exports, IsEmpty());
  EXPECT_FALSE(state.noticePending.load());
}

TEST_F(CheckRunTest, AFailingTableLoadEndsTheRunWithCode113AndNothingElse) {
  host.newDraw[Game::Loto6] = host.newDraw[Game::Numbers4] = true;
  host.failLoad[Game::Loto6] = true;
  host.settings.cnt = 60;
  host.status[false] = WithRelease(host.status[false], 17, 52);
  Run();
  EXPECT_THAT(host.messages, ElementsAre(113000));
  EXPECT_THAT(Loads(), ElementsAre("load LOTO6"));
  EXPECT_THAT(host.exports, IsEmpty());
  EXPECT_THAT(host.notices, IsEmpty());
  EXPECT_EQ(host.ends, 1);
  EXPECT_FALSE(state.checkRunning.load());
}

TEST_F(CheckRunTest, AnOperationThatThrowsStillEndsTheCheckOnce) {
  host.throwOnRead = true;
  Run();
  EXPECT_EQ(host.ends, 1);
  EXPECT_FALSE(state.checkRunning.load());
}

// The host shows what ended a run early, so the run hands it back, after
// its end-of-check step; a run that ends normally hands back nothing.
TEST_F(CheckRunTest, TheExceptionThatEndedTheRunIsHandedBackAfterTheEnd) {
  Run();
  EXPECT_EQ(host.failure, nullptr);
  host.throwOnRead = true;
  Run();
  ASSERT_NE(host.failure, nullptr);
  EXPECT_THROW(std::rethrow_exception(host.failure), std::runtime_error);
  EXPECT_EQ(host.ends, 2);
  EXPECT_FALSE(state.checkRunning.load());
}

// The window's part of the end-of-check step failing must not stop every
// later check: CheckRunning is given back and the failure goes on to be shown.
TEST(FinishCheck, GivesCheckRunningBackWhenTheWindowStepThrows) {
  CheckState state;
  state.checkRunning = true;
  state.startupRun = true;
  CheckOutcome outcome;
  outcome.startupRun = true;
  EXPECT_THROW(FinishCheck(outcome, state, ScheduleConfig{}, 1200,
                           [](const EndOfCheckView&) { throw std::runtime_error("window step"); }),
               std::runtime_error);
  EXPECT_FALSE(state.checkRunning.load());
  EXPECT_FALSE(state.startupRun.load());
}

TEST_F(CheckRunTest, ReaderEventCodesShowNothingAndDoNotEndTheCheck) {
  CheckRun run(state, host.Host());
  for (int code = 109; code <= 112; ++code) run.NotifyUser(code, 3);
  EXPECT_THAT(host.messages, IsEmpty());
  EXPECT_EQ(host.ends, 0);
}

TEST_F(CheckRunTest, OnlyNumbers3UpdatedGivesCode101AndItsOwnCaption) {
  host.newDraw[Game::Numbers3] = true;
  Run();
  EXPECT_THAT(host.messages, ElementsAre(101000));
  EXPECT_EQ(host.endView.caption, "Norvale　【Numbers3 が更新されました】");
  EXPECT_EQ(host.endView.tab, Game::Numbers3);
  EXPECT_THAT(host.exports, ElementsAre(5));
}

TEST_F(CheckRunTest, LotoAndNumbers3GiveCode101ButABalloonOfTwoLines) {
  host.newDraw[Game::Loto6] = host.newDraw[Game::Numbers3] = true;
  Run();
  EXPECT_THAT(host.messages, ElementsAre(101000));
  EXPECT_EQ(host.endView.tab, Game::Loto6);

  FakeHost withBalloons;
  withBalloons.balloons = true;
  withBalloons.newDraw[Game::Loto6] = withBalloons.newDraw[Game::Numbers3] = true;
  CheckState other;
  withBalloons.Attach(other);
  withBalloons.RunCheck(other);
  EXPECT_THAT(withBalloons.balloonTexts,
              ElementsAre("LOTO6 が更新されました\nNumbers3 が更新されました\n [2024/01/06 19:05:30]"));
  EXPECT_THAT(withBalloons.messages, IsEmpty());
}

TEST_F(CheckRunTest, NewWinsAreNamedInTheBalloonOfTheNewDraw) {
  host.balloons = true;
  host.counts = {2084, 1352, 7053, 7053};
  host.newDraw[Game::Loto6] = true;
  host.winText = "マイ数字が当せんしました\nLOTO6 第2085回 1等 600000000円";
  Run();
  EXPECT_THAT(host.matchedBefore, ElementsAre(std::array<int, 4>{2084, 1352, 7053, 7053}));
  EXPECT_THAT(host.balloonTexts, ElementsAre("LOTO6 が更新されました\n [2024/01/06 19:05:30]\n"
                                             "マイ数字が当せんしました\nLOTO6 第2085回 1等 600000000円"));
}

TEST_F(CheckRunTest, WithoutBalloonsTheMessageUtilityNamesTheNewWinsAfterTheUpdate) {
  host.counts = {2084, 1352, 7053, 7053};
  host.newDraw[Game::Loto6] = true;
  host.winText = "マイ数字が当せんしました\nLOTO6 第2085回 1等 600000000円";
  Run();
  EXPECT_THAT(host.messages, ElementsAre(104000));
  EXPECT_THAT(host.winMessages, ElementsAre(host.winText));

  // No new win, or the messages turned off: nothing more.
  FakeHost quiet;
  quiet.newDraw[Game::Loto6] = true;
  CheckState state;
  quiet.Attach(state);
  quiet.RunCheck(state);
  EXPECT_THAT(quiet.winMessages, IsEmpty());
  FakeHost off;
  off.settings.msg = false;
  off.newDraw[Game::Loto6] = true;
  off.winText = "never shown";
  CheckState offState;
  off.Attach(offState);
  off.RunCheck(offState);
  EXPECT_THAT(off.winMessages, IsEmpty());
}

TEST_F(CheckRunTest, ACheckThatAddsNoDrawMatchesNothing) {
  host.winText = "never shown";
  Run();
  EXPECT_THAT(host.matchedBefore, IsEmpty());
  EXPECT_THAT(host.balloonTexts, IsEmpty());
}

TEST_F(CheckRunTest, BothNumbersGamesUpdatedShowTheFamilyName) {
  host.newDraw[Game::Numbers4] = host.newDraw[Game::Numbers3] = true;
  Run();
  EXPECT_THAT(host.messages, ElementsAre(100000));
  EXPECT_EQ(host.endView.caption, "Norvale　【Numbers が更新されました】");
  EXPECT_EQ(host.endView.tab, Game::Numbers4);
}

TEST_F(CheckRunTest, EveryUpdatedGameFeedsItsCompanionsInOrder) {
  for (Game game : kAllGames) host.newDraw[game] = true;
  Run();
  EXPECT_THAT(host.exports, ElementsAre(4, 3, 2, 1, 5));
}

TEST_F(CheckRunTest, ThePlainWindowPlaysTheSoundButRaisesNoNotice) {
  host.settings.mod = false;
  host.settings.snd = true;
  host.settings.wav = "C:\\norv\\norv.wav";
  host.newDraw[Game::Loto6] = true;
  Run();
  EXPECT_THAT(host.log, Contains("sound C:\\norv\\norv.wav"));
  EXPECT_FALSE(state.noticePending.load());
  EXPECT_THAT(host.messages, IsEmpty());
  EXPECT_FALSE(host.endView.updateTray);
}

TEST_F(CheckRunTest, WithoutTheMessageOptionTheNoticeOnlyAnimatesTheTray) {
  host.settings.msg = false;
  host.settings.dkg = true;
  host.newDraw[Game::Loto6] = true;
  Run();
  EXPECT_TRUE(state.noticePending.load());
  EXPECT_THAT(host.messages, IsEmpty());
  EXPECT_TRUE(host.endView.animateTray);
  EXPECT_TRUE(host.endView.showWindow);
  EXPECT_EQ(host.endView.trayHint, "Norvale\n [特定モード]\n (待機中)");
}

TEST_F(CheckRunTest, ANewerProgramReleaseIsOfferedAsAnUpdate) {
  host.status[false] = WithRelease(host.status[false], 17, 52);
  Run();
  EXPECT_THAT(host.notices, ElementsAre(FakeHost::Notice{true, 6, 52, false}));
  EXPECT_EQ(host.settings.newest, 52);
}

TEST_F(CheckRunTest, OnlyOneVersionItemIsHandledPerCheck) {
  host.settings.cnt = 25;
  host.status[false] = WithRelease(WithRelease(host.status[false], 97, 12), 13, 22);
  Run();
  EXPECT_THAT(host.notices, ElementsAre(FakeHost::Notice{false, 7, 12, false}));
  Run();
  EXPECT_THAT(host.notices, ElementsAre(FakeHost::Notice{false, 7, 12, false}, FakeHost::Notice{false, 4, 22, false}));
}

TEST_F(CheckRunTest, ACompanionReleaseWaitsForEnoughStarts) {
  host.settings.cnt = 15;
  host.status[false] = WithRelease(host.status[false], 13, 22);
  Run();
  EXPECT_THAT(host.notices, IsEmpty());
  host.settings.cnt = 21;
  Run();
  EXPECT_THAT(host.notices, ElementsAre(FakeHost::Notice{false, 4, 22, false}));
}

TEST_F(CheckRunTest, AnInstalledCompanionAlreadyUpToDateIsRecordedWithoutANotice) {
  host.settings.cnt = 60;
  host.installed[4] = true;
  host.settings.damsonNow = 22;
  host.status[false] = WithRelease(host.status[false], 13, 22);
  Run();
  EXPECT_THAT(host.notices, IsEmpty());
  EXPECT_EQ(host.stored[4], "0022");
  EXPECT_EQ(host.settings.new4, 22);
}

TEST_F(CheckRunTest, AnInstalledCompanionBehindIsOfferedAnUpdateExceptFennel) {
  host.settings.cnt = 60;
  host.installed[5] = host.installed[7] = true;
  host.status[false] = WithRelease(host.status[false], 25, 21);
  Run();
  EXPECT_THAT(host.notices, ElementsAre(FakeHost::Notice{true, 5, 21, false}));
  host.status[false] = WithRelease(host.status[false], 97, 12);
  Run();
  EXPECT_EQ(host.notices.back(), (FakeHost::Notice{false, 7, 12, false}));
}

TEST(EndOfCheck, ResidentChecksShowTheModeAndBringUpTheWindowOnlyWhenAsked) {
  CheckOutcome outcome;
  outcome.resident = true;
  outcome.bringUpWindow = true;
  const EndOfCheckView quiet = DecideEndOfCheck(outcome, kModeNone, false, false);
  EXPECT_EQ(quiet.caption, "Norvale");
  EXPECT_FALSE(quiet.tab.has_value());
  EXPECT_EQ(quiet.trayHint, "Norvale\n (待機中)");
  EXPECT_FALSE(quiet.animateTray);
  EXPECT_FALSE(quiet.showWindow);

  outcome.updated[0] = true;
  EXPECT_TRUE(DecideEndOfCheck(outcome, kModeNormal, true, false).showWindow);
  EXPECT_FALSE(DecideEndOfCheck(outcome, kModeNormal, true, true).showWindow);  // already open
}

TEST(EndOfCheck, TheFirstUpdatedGameInGameOrderDecidesTabAndCaption) {
  const auto viewOf = [](std::array<bool, 4> updated) {
    CheckOutcome outcome;
    outcome.updated = updated;
    return DecideEndOfCheck(outcome, kModeNone, false, false);
  };
  const EndOfCheckView lotoAndNumbers3 = viewOf({true, false, false, true});
  EXPECT_EQ(lotoAndNumbers3.tab, Game::Loto6);
  EXPECT_EQ(lotoAndNumbers3.caption, "Norvale　【LOTO6 が更新されました】");
  const EndOfCheckView miniAndNumbers4 = viewOf({false, true, true, false});
  EXPECT_EQ(miniAndNumbers4.tab, Game::MiniLoto);
  EXPECT_EQ(miniAndNumbers4.caption, "Norvale　【MiniLOTO が更新されました】");
  const EndOfCheckView numbers4 = viewOf({false, false, true, false});
  EXPECT_EQ(numbers4.tab, Game::Numbers4);
  EXPECT_EQ(numbers4.caption, "Norvale　【Numbers4 が更新されました】");
  EXPECT_FALSE(viewOf({false, false, false, false}).tab.has_value()) << "no update keeps the layout";
}

TEST(StartOfCheck, TheTrayChangesOnlyWhenResident) {
  const StartOfCheckView resident = DecideStartOfCheck(true, kModeManual, false, true);
  EXPECT_TRUE(resident.stopAnimation);
  EXPECT_EQ(resident.trayHint, "Norvale\n [手動モード]\n (最新DATAチェック中)");
  EXPECT_EQ(resident.caption, "Norvale　【最新DATAチェック中】");
  EXPECT_FALSE(DecideStartOfCheck(false, kModeManual, false, true).updateTray);
}

TEST(StatusNumbers, MissingOrBrokenCountsReadAs9999) {
  std::string status = StatusText(1, 2, 3, 4);
  status.replace(36, 4, "12a4");  // Numbers4 at position 37
  EXPECT_THAT(StatusDrawCounts(status), ElementsAre(1, 2, 9999, 4));
  EXPECT_THAT(StatusDrawCounts(status.substr(0, 44)), ElementsAre(9999, 2, 9999, 4));
  EXPECT_EQ(StatusRelease(status, ProductId(Product::Fennel)), 10);
  EXPECT_EQ(StatusRelease(status.substr(0, 99), ProductId(Product::Fennel)), std::nullopt);
}

}  // namespace
}  // namespace norv
