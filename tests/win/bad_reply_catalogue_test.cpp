// The real program checks while the maker's service answers one address, or
// both copies of one, badly: every fault kind on every kind of address, and the
// replies that once made a stored history go wrong. Each check ends with every
// data file as it was or correctly further on, with no message but the one
// for an unreachable directory or status file, and with the program
// answering; the next good check then brings all four files to the published
// histories, byte for byte.

#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <ostream>
#include <string>
#include <vector>

#include "app/app_messages.h"
#include "app/command_ids.h"
#include "store/draw_record.h"
#include "tests/win/companion_test_support.h"
#include "tests/win/norv_process.h"
#include "tests/win/probes/test_stall_limit.h"
#include "tests/win/test_service_session.h"
#include "tests/win/win_test_support.h"

namespace norv::testing {
namespace {

using namespace std::chrono_literals;

constexpr int kToolButton2 = kToolButtonFirst + 1;
// A hanging address costs a check the test build's stall limit once per
// reader that asks for it: twice for an index page, which two games share.
constexpr int kCheckLimitMs = static_cast<int>(2 * kTestBuildStallLimit.count()) + 30000;

enum class Address { Directory, BothDirectories, Status, BothStatusFiles, History, BothHistories, IndexPage, ResultPage };

struct BadReply {
  std::string name;
  Address address;
  std::string fault;
  Game game = Game::Loto6;
  bool unreachable = false;  // neither address of the directory or status file answers usably
  std::string fallbackFault;  // the second address's own fault, when it differs
};

// The case's name in test names and failure messages.
void PrintTo(const BadReply& bad, std::ostream* out) { *out << bad.name; }

std::vector<std::string> Paths(Address address, Game game) {
  const std::string history = std::string(LayoutOf(game).dataFile).substr(4, 4) + ".txt";
  switch (address) {
    case Address::Directory: return {"/dir1/dir.cgi"};
    case Address::BothDirectories: return {"/dir1/dir.cgi", "/dir2/dir.cgi"};
    case Address::Status: return {"/svc1/status.txt"};
    case Address::BothStatusFiles: return {"/svc1/status.txt", "/svc2/status.txt"};
    case Address::History: return {"/svc1/" + history};
    case Address::BothHistories: return {"/svc1/" + history, "/svc2/" + history};
    case Address::IndexPage: return {IndexPagePath(game)};
    case Address::ResultPage: return {ResultPagePath(game)};
  }
  return {};
}

std::vector<BadReply> Catalogue() {
  const std::array<std::pair<const char*, Address>, 5> addresses{{{"Directory", Address::Directory},
                                                                  {"StatusFile", Address::Status},
                                                                  {"History", Address::History},
                                                                  {"IndexPage", Address::IndexPage},
                                                                  {"ResultPage", Address::ResultPage}}};
  std::vector<BadReply> cases;
  for (const char* kind : {"404", "empty", "truncated", "broken", "wrongscheme", "slow", "hang", "lowercase", "letter"}) {
    for (const auto& [name, address] : addresses) cases.push_back({std::string(name) + "_" + kind, address, kind});
  }
  const std::vector<BadReply> particular{
      {"Loto6PageWhoseNewestDrawHasEmptyCells", Address::ResultPage, "emptycells"},
      {"MiniLotoPageWhoseNewestDrawHasEmptyCells", Address::ResultPage, "emptycells", Game::MiniLoto},
      {"Numbers3PageWhoseNewestDrawHasEmptyCells", Address::ResultPage, "emptycells", Game::Numbers3},
      {"Numbers4IndexPageTruncated", Address::IndexPage, "truncated", Game::Numbers4},
      {"HistoryWithAZeroByte", Address::History, "zerobyte"},
      {"BothNumbers3HistoriesWithAZeroByte", Address::BothHistories, "zerobyte", Game::Numbers3},
      {"HistoryOneCharacterShort", Address::History, "oneshort", Game::MiniLoto},
      {"ResultPageWithAZeroByte", Address::ResultPage, "zerobyte", Game::Numbers4},
      {"DirectoryOf1399Characters", Address::Directory, "oneshort"},
      {"BothDirectoriesOf1399Characters", Address::BothDirectories, "oneshort", Game::Loto6, true},
      {"BothDirectoriesNotFound", Address::BothDirectories, "404", Game::Loto6, true},
      {"StatusFileOf9999Counts", Address::Status, "nines"},
      {"BothStatusFilesOf9999Counts", Address::BothStatusFiles, "nines"},
      {"BothStatusFilesWithALetterFirst", Address::BothStatusFiles, "letter", Game::Loto6, true},
      {"ResultPageOf20MiB", Address::ResultPage, "huge"},
      {"HistoryOf20MiB", Address::History, "huge", Game::Numbers4},
      // Draw 1's prizes turned to nines, each record still starting with its
      // number; the other copy unreadable: no held draw may change.
      {"PrimaryHistoryOfNinesAndFallbackWithALetterFirst", Address::BothHistories, "nines", Game::Loto6, false,
       "letter"},
  };
  cases.insert(cases.end(), particular.begin(), particular.end());
  return cases;
}

// The case's faults on, or all off; false when the service refused one of them.
bool SetFaults(const BadReply& bad, bool on) {
  const std::vector<std::string> paths = Paths(bad.address, bad.game);
  bool accepted = true;
  for (std::size_t i = 0; i < paths.size(); ++i) {
    const std::string& fault = i > 0 && !bad.fallbackFault.empty() ? bad.fallbackFault : bad.fault;
    const std::string kind = on ? fault : "none";
    accepted = FromTestService("/control/fault?path=" + paths[i] + "&kind=" + kind) == "ok" && accepted;
  }
  return accepted;
}

// The test build as norv.exe in a folder of its own, beside a stand-in
// message utility that logs each code it is started with.
struct ProgramCopy {
  ProgramCopy() : folder(ScratchFolder(L"catalogue")) {
    ::CopyFileW(BesideTestBinary(L"norv_probed.exe").c_str(), (folder + L"norv.exe").c_str(), FALSE);
    InstallStandin(folder, L"nnote.exe");
  }
  ~ProgramCopy() { RemoveFolder(folder); }
  // The codes the message utility was started with, once `count` have come or
  // the time is up: it is started without waiting for it.
  std::vector<std::string> Messages(std::size_t count, std::chrono::milliseconds wait) const {
    return WaitForLaunches(folder, count, wait);
  }
  std::wstring folder;
};

bool CheckRunning(HWND window) {
  return (::SendMessageW(window, kMsgRunStateProbe, 0, 0) & kProbeCheckRunning) != 0;
}

bool Answers(HWND window) {
  DWORD_PTR result = 0;
  return ::SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 2000, &result) != 0;
}

int LoggedRequests() {
  const std::string log = FromTestService("/control/log");
  return static_cast<int>(std::count(log.begin(), log.end(), '\t'));
}

// Presses the check button once the start-up run is over and waits for the
// check it starts to end; false when no check started or it never ended.
bool RunCheck(HWND window) {
  if (!WaitUntil([&] { return !CheckRunning(window); }, kCheckLimitMs)) return false;
  const int before = LoggedRequests();
  DWORD_PTR result = 0;
  ::SendMessageTimeoutW(window, WM_COMMAND, kToolButton2, 0, SMTO_ABORTIFHUNG, 5000, &result);
  if (!WaitUntil([&] { return !CheckRunning(window); }, kCheckLimitMs)) return false;
  return LoggedRequests() > before;
}

class BadReplyCatalogue : public ::testing::TestWithParam<BadReply> {
 protected:
  static void SetUpTestSuite() {
    if (TestServicePort() == 0) return;
    FromTestService("/control/reset");
    complete_ = CompleteDataFiles();
  }

  void SetUp() override {
    ASSERT_NE(TestServicePort(), 0) << "the test service is not running (see tools/service-ctl)";
    ASSERT_EQ(FromTestService("/control/reset"), "ok");
    PrepareQuietCheckSettings();
    // Three draws behind: the check takes the history, then the newest page;
    // a history it refuses still leaves a draw for the page, which holds three.
    for (Game game : kAllGames) {
      const std::string& full = Complete(game);
      ASSERT_GT(full.size(), 3u * Record(game));
      WriteDataFile(game, full.substr(0, full.size() - 3 * Record(game)));
      before_[static_cast<std::size_t>(GameIndex(game))] = ReadDataFile(game);
    }
  }

  void TearDown() override {
    FromTestService("/control/reset");
    RemoveDataFiles();
    ClearProgramRegistry();
  }

  static const std::string& Complete(Game game) { return complete_[static_cast<std::size_t>(GameIndex(game))]; }
  static std::size_t Record(Game game) { return static_cast<std::size_t>(LayoutOf(game).recordBytes); }

  // As it was, or whole records of the published history and no fewer than before.
  void ExpectUnchangedOrCorrectlyFurther() const {
    for (Game game : kAllGames) {
      const std::string now = ReadDataFile(game);
      const std::string& was = before_[static_cast<std::size_t>(GameIndex(game))];
      EXPECT_EQ(now.size() % Record(game), 0u) << GameName(game) << " holds a torn record";
      EXPECT_GE(now.size(), was.size()) << GameName(game) << " lost draws";
      EXPECT_TRUE(Complete(game).starts_with(now)) << GameName(game) << " holds a draw that was never published";
    }
  }

  static inline std::array<std::string, 4> complete_;
  std::array<std::string, 4> before_;
};

TEST_P(BadReplyCatalogue, LeavesEveryHistoryWholeAndTheNextGoodCheckCompletesIt) {
  const BadReply& bad = GetParam();
  ProgramCopy program;
  NorvProcess norv(program.folder + L"norv.exe");
  const HWND window = norv.WaitForMainWindow();
  ASSERT_NE(window, nullptr);

  ASSERT_TRUE(SetFaults(bad, true));
  ASSERT_TRUE(RunCheck(window)) << "the check with the bad reply never ended";
  EXPECT_TRUE(norv.Running());
  EXPECT_TRUE(Answers(window));
  EXPECT_EQ(norv.MessageBoxWindow(), nullptr) << "no message box belongs to a bad reply";
  ExpectUnchangedOrCorrectlyFurther();
  // A plain window reports an unreachable service at every check that fails.
  const std::vector<std::string> expected = bad.unreachable ? std::vector<std::string>{"6"} : std::vector<std::string>{};
  EXPECT_EQ(program.Messages(expected.size(), 10s), expected);

  ASSERT_TRUE(SetFaults(bad, false));
  ASSERT_TRUE(RunCheck(window)) << "the good check never ended";
  for (Game game : kAllGames) {
    EXPECT_EQ(ReadDataFile(game), Complete(game)) << GameName(game) << " differs from the published history";
  }
  EXPECT_EQ(program.Messages(expected.size() + 1, 1s), expected) << "nothing more is reported";
}

INSTANTIATE_TEST_SUITE_P(EachFaultOnEachAddress, BadReplyCatalogue, ::testing::ValuesIn(Catalogue()),
                         [](const ::testing::TestParamInfo<BadReply>& info) { return info.param.name; });

}  // namespace
}  // namespace norv::testing
