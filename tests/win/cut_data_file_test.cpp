// A data file cut short by another tool, a bad restore or a full disk, at
// offsets inside and at the edges of its records: the real program loads the
// whole records and its next check against the maker's service gives back the
// published file byte for byte.

#include <windows.h>

#include <gtest/gtest.h>

#include <array>
#include <string>

#include "app/app_messages.h"
#include "app/command_ids.h"
#include "store/draw_record.h"
#include "tests/win/norv_process.h"
#include "tests/win/test_service_session.h"
#include "tests/win/win_test_support.h"

namespace norv::testing {
namespace {

constexpr int kToolButton2 = kToolButtonFirst + 1;

bool CheckRunning(HWND window) {
  return (::SendMessageW(window, kMsgRunStateProbe, 0, 0) & kProbeCheckRunning) != 0;
}

class CutDataFileUnderWine : public ::testing::TestWithParam<Game> {
 protected:
  void SetUp() override {
    ASSERT_NE(TestServicePort(), 0) << "the test service is not running (see tools/service-ctl)";
    ASSERT_EQ(FromTestService("/control/reset"), "ok");
    complete_ = CompleteDataFiles();
    PrepareQuietCheckSettings();
  }
  void TearDown() override {
    RemoveDataFiles();
    ClearProgramRegistry();
  }

  std::array<std::string, 4> complete_;
};

TEST_P(CutDataFileUnderWine, TheNextCheckGivesBackThePublishedFileByteForByte) {
  const Game game = GetParam();
  const std::string& published = complete_[static_cast<std::size_t>(GameIndex(game))];
  const std::size_t record = static_cast<std::size_t>(LayoutOf(game).recordBytes);
  for (std::size_t cut : {std::size_t{1}, record - 1, record + 1, published.size() / 2, published.size() - 2,
                          published.size() - record - 1}) {
    for (Game other : kAllGames) WriteDataFile(other, complete_[static_cast<std::size_t>(GameIndex(other))]);
    WriteDataFile(game, published.substr(0, cut));

    NorvProcess norv;
    const HWND window = norv.WaitForMainWindow();
    ASSERT_NE(window, nullptr);
    ASSERT_TRUE(WaitUntil([&] { return !CheckRunning(window); }, 30000));
    ::SendMessageW(window, WM_COMMAND, kToolButton2, 0);
    ASSERT_TRUE(WaitUntil([&] { return !CheckRunning(window); }, 60000));
    EXPECT_EQ(norv.MessageBoxWindow(), nullptr) << "cut at " << cut;
    EXPECT_EQ(ReadDataFile(game), published) << "cut at " << cut;
  }
}

INSTANTIATE_TEST_SUITE_P(Games, CutDataFileUnderWine, ::testing::Values(Game::Loto6, Game::Numbers3),
                         [](const auto& info) { return std::string(GameName(info.param)); });

}  // namespace
}  // namespace norv::testing
