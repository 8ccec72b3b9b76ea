// The completeness soak: DAYS days of the program's test build, run as
// norv.exe from a scratch folder, against the maker's service in test mode.
// Each day publishes new made-up draws, puts faults on addresses the program
// asks for, and runs a few checks, some of them killed part-way. Every data
// file must hold whole records of the published history at every day's
// start, and after one good check at the end, with the faults gone, all of
// it, byte for byte.
//   soak_driver DAYS SEED [--no-hangs]
// Prints one summary line last. Exit code 0: complete; 1: a data file did
// not match; 2: the program died, hung or did not start; 3: no service or
// no setup.

#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include "tests/win/helpers/soak/soak_data_files.h"
#include "tests/win/helpers/soak/soak_dice.h"
#include "tests/win/helpers/soak/soak_faults.h"
#include "tests/win/helpers/soak/soak_games.h"
#include "tests/win/helpers/soak/soak_message_boxes.h"
#include "tests/win/helpers/soak/soak_program.h"
#include "tests/win/helpers/soak/soak_program_copy.h"
#include "tests/win/helpers/soak/soak_program_settings.h"
#include "tests/win/helpers/soak/soak_service.h"
#include "tests/win/helpers/soak/soak_tally.h"
#include "tests/win/local_services.h"
#include "tests/win/probes/test_stall_limit.h"

namespace {

using namespace norv::soak;
using namespace std::chrono_literals;

constexpr auto kCheckLimit = 120s;
constexpr auto kStartLimit = 60s;
constexpr auto kCloseLimit = 15s;
constexpr int kMostDrawsPerDay = 2;
constexpr int kMostChecksPerDay = 3;
constexpr double kKillChance = 0.12;
constexpr double kForcedChance = 0.05;
constexpr int kKillWindowMs = 1500;  // about one check's length under Wine
constexpr int kProgressEvery = 10;
constexpr FaultOdds kFaultOdds{0.3, 3, 0.02};
// The program waits out a hanging address for its whole stall limit (the test
// build's), and the LOTO index page serves two games: one hanging address may
// cost that twice.
constexpr auto kHangAllowance = 2 * norv::testing::kTestBuildStallLimit;

enum Verdict : int { kComplete = 0, kMismatch = 1, kProgramFailed = 2, kSetupFailed = 3 };

void Say(const std::string& line) {
  std::printf("soak: %s\n", line.c_str());
  std::fflush(stdout);
}

class Soak {
 public:
  Soak(const SoakService& service, const ProgramCopy& copy, std::uint64_t seed, FaultOdds odds)
      : service_(service), dice_(seed), faults_(odds), program_(copy.Exe(), boxes_) {}

  Verdict Run(int days) {
    if (!StartFromPublishedOrEmptyFiles()) return kSetupFailed;
    if (!program_.Start(kStartLimit)) return ProgramFailed("did not start");
    for (int day = 1; day <= days; ++day) {
      stage_ = "day " + std::to_string(day);
      if (!faults_.ClearAll(service_)) return SetupFailed("faults left on: " + service_.Ask("/control/state"));
      if (!CheckDataFilesWhole(day)) return SetupFailed("no published histories");
      PublishDraws();
      tally_.faults += faults_.PlaceDayFaults(dice_, service_);
      if (const Verdict verdict = PlayChecks(dice_.Between(1, kMostChecksPerDay)); verdict != kComplete) {
        return verdict;
      }
      tally_.days = day;
      if (day % kProgressEvery == 0) Say("day " + std::to_string(day) + ": " + Counts() + " (" + Seconds() + ")");
    }
    return Finish();
  }

  std::string Counts() const { return tally_.Counts(); }

  void ReportDetails(const ProgramCopy& copy) const {
    Say("started from " + std::string(startedEmpty_ ? "empty" : "complete") + " data files; " +
        std::to_string(faults_.KnownPaths()) + " addresses faulted at random; " + std::to_string(boxes_.Total()) +
        " message boxes answered, " + std::to_string(copy.MessageUtilityLaunches()) +
        " message utility starts; " + Seconds());
    std::string kinds;
    for (const auto& [kind, count] : faults_.Kinds()) kinds += " " + kind + " x" + std::to_string(count);
    Say("faults by kind:" + (kinds.empty() ? std::string(" none") : kinds));
    if (const std::string times = tally_.CheckTimes(); !times.empty()) Say(times);
    for (const auto& [text, count] : boxes_.Texts()) Say("box x" + std::to_string(count) + ": " + text);
  }

 private:
  // Either start is one the program must complete from.
  bool StartFromPublishedOrEmptyFiles() {
    startedEmpty_ = dice_.Chance(0.5);
    const std::optional<DataFiles> start = startedEmpty_ ? DataFiles{} : PublishedDataFiles(service_);
    if (!start) {
      Say("no published histories");
      return false;
    }
    if (!WriteDataFiles(*start)) {
      Say("cannot write the data files");
      return false;
    }
    return true;
  }

  void PublishDraws() {
    for (std::size_t g = 0; g < kGames.size(); ++g) {
      const int wanted = dice_.Between(0, kMostDrawsPerDay);
      if (wanted == 0) continue;
      const std::optional<ServiceState> before = service_.State();
      if (!before) continue;
      const int room = kHighestDrawNumber - before->published[g];
      const int count = std::min(wanted, room);
      if (count <= 0) continue;
      if (const std::optional<int> now = service_.Publish(kGames[g], count)) {
        tally_.draws += *now - before->published[g];
      }
    }
  }

  Verdict PlayChecks(int count) {
    for (int i = 0; i < count; ++i) {
      const bool forced = dice_.Chance(kForcedChance);
      const bool kill = dice_.Chance(kKillChance);
      const int killAfterMs = dice_.Between(0, kKillWindowMs);
      if (!PressCheck(forced)) return ProgramFailed("took no check");
      ++tally_.checks;
      const Verdict verdict = kill ? KillPartWay(std::chrono::milliseconds(killAfterMs)) : FollowCheck();
      // Only whole checks teach addresses: what a killed one reached depends
      // on timing, and the same seed should pick the same faults.
      const std::vector<std::string> requested = service_.TakeProgramRequests();
      if (!kill) faults_.Learn(requested);
      if (verdict != kComplete) return verdict;
    }
    return kComplete;
  }

  // A press may meet the end of the last check still on the window thread.
  bool PressCheck(bool forced) {
    for (int attempt = 0; attempt < 50; ++attempt) {
      if (program_.PressCheck(forced)) return true;
      if (!program_.Idle(100ms)) return false;
    }
    return false;
  }

  Verdict FollowCheck() {
    const auto start = std::chrono::steady_clock::now();
    const auto limit = faults_.HangToday() ? kCheckLimit + kHangAllowance : std::chrono::milliseconds(kCheckLimit);
    switch (program_.WaitForCheckEnd(limit)) {
      case CheckEnd::Ended:
        tally_.NoteFollowedCheck(std::chrono::steady_clock::now() - start);
        return kComplete;
      case CheckEnd::Hung:
        return ProgramFailed("hung: a check ran past " +
                             std::to_string(std::chrono::duration_cast<std::chrono::seconds>(limit).count()) + " s");
      case CheckEnd::Died: break;
    }
    return ProgramFailed("died during a check");
  }

  Verdict KillPartWay(std::chrono::milliseconds after) {
    if (!program_.Idle(after)) return ProgramFailed("died during a check");
    program_.Kill();
    ++tally_.kills;
    return program_.Start(kStartLimit) ? kComplete : ProgramFailed("did not start again after a kill");
  }

  // The program is idle and no fault is on, so the histories read true.
  bool CheckDataFilesWhole(int day) {
    const std::optional<DataFiles> published = PublishedDataFiles(service_);
    if (!published) return false;
    for (std::size_t g = 0; g < kGames.size(); ++g) {
      const std::string held = ReadDataFile(kGames[g]);
      if (IsWholeRecordsPrefix(held, (*published)[g])) continue;
      ++tally_.mismatches;
      Say("day " + std::to_string(day) + ": the " + kGames[g].stateName + " data file (" +
          std::to_string(held.size()) + " bytes) is not whole records of the published history (" +
          std::to_string((*published)[g].size()) + " bytes)" + FirstDifference(held, (*published)[g]));
      for (const std::string& fault : faults_.LastDayFaults()) Say("  the day before had the fault " + fault);
    }
    return true;
  }

  Verdict Finish() {
    stage_ = "the final check";
    if (!faults_.ClearAll(service_)) return SetupFailed("faults left on: " + service_.Ask("/control/state"));
    if (!PressCheck(false)) return ProgramFailed("took no final check");
    ++tally_.checks;
    if (const Verdict verdict = FollowCheck(); verdict != kComplete) return verdict;
    const std::optional<DataFiles> published = PublishedDataFiles(service_);
    if (!published) return SetupFailed("no published histories");
    for (std::size_t g = 0; g < kGames.size(); ++g) {
      const std::string held = ReadDataFile(kGames[g]);
      if (held == (*published)[g]) continue;
      ++tally_.mismatches;
      Say(std::string("after the final check the ") + kGames[g].stateName + " data file holds " +
          std::to_string(held.size()) + " bytes, the published history makes " +
          std::to_string((*published)[g].size()) + FirstDifference(held, (*published)[g]));
    }
    if (!program_.Close(kCloseLimit)) return ProgramFailed("did not close");
    return tally_.mismatches == 0 ? kComplete : kMismatch;
  }

  static std::string FirstDifference(const std::string& held, const std::string& published) {
    std::size_t at = 0;
    while (at < held.size() && at < published.size() && held[at] == published[at]) ++at;
    if (at == held.size() || at == published.size()) return "";
    return "; first difference at byte " + std::to_string(at);
  }

  Verdict ProgramFailed(const std::string& why) {
    Say("the program " + why + " (" + stage_ + ", exit code " +
        std::to_string(program_.Alive() ? STILL_ACTIVE : program_.ExitCode()) + ")");
    for (const std::string& fault : faults_.TodayFaults()) Say("  the day had the fault " + fault);
    return kProgramFailed;
  }

  Verdict SetupFailed(const std::string& why) {
    Say(why);
    return kSetupFailed;
  }

  std::string Seconds() const {
    const auto spent = std::chrono::duration_cast<std::chrono::seconds>(std::chrono::steady_clock::now() - begun_);
    return std::to_string(spent.count()) + " s";
  }

  const SoakService& service_;
  Dice dice_;
  FaultPlan faults_;
  MessageBoxAnswerer boxes_;
  SoakProgram program_;
  Tally tally_;
  bool startedEmpty_ = false;
  std::string stage_ = "the start";
  const std::chrono::steady_clock::time_point begun_ = std::chrono::steady_clock::now();
};

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc < 3 || (argc > 3 && std::wstring(argv[3]) != L"--no-hangs")) {
    std::printf("usage: soak_driver DAYS SEED [--no-hangs]\n");
    return kSetupFailed;
  }
  const int days = _wtoi(argv[1]);
  const std::uint64_t seed = _wcstoui64(argv[2], nullptr, 10);
  const int port = norv::testing::LocalServicePort("service.port");
  if (port == 0) {
    Say("no test service (NORVALE_LOCAL_SERVICES, see tools/service-ctl)");
    return kSetupFailed;
  }
  const SoakService service(port);
  if (!service.Reset()) {
    Say("the test service does not answer at " + service.Origin());
    return kSetupFailed;
  }
  ApplyProgramSettings();
  PointProgramAt(service);
  const ProgramCopy copy;
  if (!copy.Ready()) {
    Say("cannot copy norv_probed.exe and companion_standin.exe into a scratch folder");
    return kSetupFailed;
  }
  FaultOdds odds = kFaultOdds;
  if (argc > 3) odds.hang = 0.0;
  Soak soak(service, copy, seed, odds);
  const Verdict verdict = soak.Run(days);
  soak.ReportDetails(copy);
  std::printf("soak: %s\n", soak.Counts().c_str());
  return verdict;
}
