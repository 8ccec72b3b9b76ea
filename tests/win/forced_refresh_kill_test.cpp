// The program is killed at random moments of a forced refresh of four long
// histories. Whatever the moment, each data file is one whole state a check
// passes through (the old file, the refreshed history, or that history with
// the newest draw appended), never a mix, and the next check completes it.

#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <array>
#include <chrono>
#include <iostream>
#include <random>
#include <string>

#include "app/app_messages.h"
#include "app/command_ids.h"
#include "store/draw_record.h"
#include "tests/win/norv_process.h"
#include "tests/win/test_service_session.h"
#include "tests/win/win_test_support.h"

namespace norv::testing {
namespace {

using namespace std::chrono_literals;

constexpr int kHighestDraw = 9999;
constexpr int kKillsPerTest = 10;
constexpr std::size_t kOldFileShortBy = 9;  // records the old files lack
constexpr int kToolButton2 = kToolButtonFirst + 1;

bool CheckRunning(HWND window) {
  return (::SendMessageW(window, kMsgRunStateProbe, 0, 0) & kProbeCheckRunning) != 0;
}

bool StartupRunDone(HWND window) {
  return WaitUntil([&] { return ::SendMessageW(window, kMsgActiveGridTopRow, 0, 0) != 0 && !CheckRunning(window); },
                   30000);
}

// Shift held on the check button, as a user forces a refresh.
void PressCheckWithShift(HWND window) {
  HWND bar = ::FindWindowExW(window, nullptr, TOOLBARCLASSNAMEW, nullptr);
  const LPARAM onCheckButton = MAKELPARAM(29 + 14, 14);
  ::PostMessageW(bar, WM_LBUTTONDOWN, MK_LBUTTON | MK_SHIFT, onCheckButton);
  ::PostMessageW(bar, WM_LBUTTONUP, MK_SHIFT, onCheckButton);
}

std::size_t Record(Game game) { return static_cast<std::size_t>(LayoutOf(game).recordBytes); }

class ForcedRefreshKill : public ::testing::TestWithParam<unsigned> {
 protected:
  static void SetUpTestSuite() {
    if (TestServicePort() == 0) return;
    FromTestService("/control/reset");
    PublishUpToTheHighestDraw();
    complete_ = CompleteDataFiles();
  }
  static void TearDownTestSuite() {
    if (TestServicePort() != 0) FromTestService("/control/reset");
  }

  void SetUp() override {
    ASSERT_NE(TestServicePort(), 0) << "the test service is not running (see tools/service-ctl)";
    for (Game game : kAllGames) {
      ASSERT_EQ(PublishedDraws(game), kHighestDraw) << "the service lost its made-up draws";
      ASSERT_EQ(Complete(game).size(), kHighestDraw * Record(game));
    }
    PrepareQuietCheckSettings();
  }
  void TearDown() override {
    RemoveDataFiles();
    ClearProgramRegistry();
  }

  static void PublishUpToTheHighestDraw() {
    for (const char* key : {"lot6", "mini", "num4", "num3"}) {
      FromTestService(std::string("/control/publish?game=") + key + "&count=" + std::to_string(kHighestDraw));
    }
  }

  static const std::string& Complete(Game game) { return complete_[static_cast<std::size_t>(GameIndex(game))]; }
  static std::string Old(Game game) { return Complete(game).substr(0, Complete(game).size() - kOldFileShortBy * Record(game)); }
  // The history is one draw behind the result page.
  static std::string Refreshed(Game game) { return Complete(game).substr(0, Complete(game).size() - Record(game)); }

  static void WriteOldFiles() {
    RemoveDataFiles();
    for (Game game : kAllGames) WriteDataFile(game, Old(game));
  }

  // A forced check to its end, from the press; zero when it did not end.
  static std::chrono::milliseconds TimeOneForcedCheck() {
    WriteOldFiles();
    NorvProcess norv;
    const HWND window = norv.WaitForMainWindow();
    if (!window || !StartupRunDone(window)) return 0ms;
    const auto start = std::chrono::steady_clock::now();
    PressCheckWithShift(window);
    // The files are read only once the check is over: an open handle would
    // keep the program from replacing them.
    if (!WaitUntil([&] { return CheckRunning(window); }, 5000) || !WaitUntil([&] { return !CheckRunning(window); }, 60000)) {
      return 0ms;
    }
    const auto took = std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start);
    for (Game game : kAllGames) {
      if (ReadDataFile(game) != Complete(game)) return 0ms;
    }
    return took;
  }

  static inline std::array<std::string, 4> complete_;
};

TEST_P(ForcedRefreshKill, EveryDataFileIsOneWholeStateAndTheNextCheckCompletesIt) {
  const std::chrono::milliseconds whole = TimeOneForcedCheck();
  ASSERT_GT(whole, 0ms) << "a forced check without a kill did not complete the files";
  std::mt19937 random(GetParam());
  std::uniform_int_distribution<long long> moment(0, whole.count());
  std::array<int, 3> seen{};  // old, refreshed, complete

  for (int kill = 0; kill < kKillsPerTest; ++kill) {
    WriteOldFiles();
    {
      NorvProcess norv;
      const HWND window = norv.WaitForMainWindow();
      ASSERT_TRUE(window && StartupRunDone(window));
      PressCheckWithShift(window);
      ::Sleep(static_cast<DWORD>(moment(random)));
    }  // killed here, if it still runs
    for (Game game : kAllGames) {
      const std::string now = ReadDataFile(game);
      const bool old = now == Old(game), refreshed = now == Refreshed(game), complete = now == Complete(game);
      EXPECT_TRUE(old || refreshed || complete)
          << GameName(game) << " after kill " << kill << ": " << now.size() << " bytes, neither old nor new";
      ++seen[old ? 0 : refreshed ? 1 : 2];
    }

    NorvProcess norv;
    const HWND window = norv.WaitForMainWindow();
    ASSERT_TRUE(window && StartupRunDone(window));
    ::SendMessageW(window, WM_COMMAND, kToolButton2, 0);
    ASSERT_TRUE(WaitUntil([&] { return !CheckRunning(window); }, 60000));
    for (Game game : kAllGames) {
      EXPECT_EQ(ReadDataFile(game), Complete(game)) << GameName(game) << ": the check after kill " << kill;
    }
  }
  std::cout << "kill points tried: " << kKillsPerTest << " (files found old " << seen[0] << ", refreshed " << seen[1]
            << ", complete " << seen[2] << "; a forced check took " << whole.count() << " ms)\n";
}

// Five runs of ten kills: fifty kill points, each run within the time one test may take.
INSTANTIATE_TEST_SUITE_P(FiftyKills, ForcedRefreshKill, ::testing::Values(1u, 2u, 3u, 4u, 5u));

}  // namespace
}  // namespace norv::testing
