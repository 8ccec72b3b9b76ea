#pragma once
// A day's faults: on some days none, on the others one to three, each on an
// address the program has asked for (as the request log shows), of a random
// kind. A fault that holds a request until the program gives up costs its
// whole time-out, so such a one is rare and alone on its day.

#include <array>
#include <iterator>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "tests/win/helpers/soak/soak_dice.h"
#include "tests/win/helpers/soak/soak_service.h"

namespace norv::soak {

inline constexpr std::array<std::string_view, 13> kQuickFaultKinds{
    "404",    "empty",      "truncated", "broken",   "wrongscheme", "slow", "lowercase",
    "letter", "emptycells", "zerobyte",  "oneshort", "nines",       "huge"};

struct FaultOdds {
  double quietDay = 0.3;  // a day without faults
  int mostPerDay = 3;
  double hang = 0.0;      // of one fault being a hang
};

class FaultPlan {
 public:
  explicit FaultPlan(FaultOdds odds) : odds_(odds) {}

  void Learn(const std::vector<std::string>& paths) { known_.insert(paths.begin(), paths.end()); }
  bool HangToday() const { return hangToday_; }
  std::size_t KnownPaths() const { return known_.size(); }
  // "PATH KIND" of each fault of today, and of the day before the last ClearAll.
  const std::vector<std::string>& TodayFaults() const { return today_; }
  const std::vector<std::string>& LastDayFaults() const { return lastDay_; }
  const std::map<std::string, int>& Kinds() const { return kinds_; }

  // Today's faults; the number placed.
  int PlaceDayFaults(Dice& dice, const SoakService& service) {
    if (known_.empty() || dice.Chance(odds_.quietDay)) return 0;
    const int count = dice.Between(1, odds_.mostPerDay);
    int placed = 0;
    bool hangPlaced = false;
    for (int i = 0; i < count; ++i) {
      const std::string& path = *std::next(known_.begin(), dice.Between(0, static_cast<int>(known_.size()) - 1));
      const bool hang = !hangPlaced && dice.Chance(odds_.hang);
      hangPlaced = hangPlaced || hang;
      hangToday_ = hangToday_ || hang;
      const std::string_view kind = hang ? "hang" : QuickKind(dice);
      const int delayMs = kind == "slow" ? dice.Between(200, 3000) : 0;
      if (!service.SetFault(path, kind, delayMs)) continue;
      placed_.insert(path);
      today_.push_back(path + " " + std::string(kind));
      ++kinds_[std::string(kind)];
      ++placed;
    }
    return placed;
  }

  // Every fault gone: those placed, and any the service still lists.
  bool ClearAll(const SoakService& service) {
    for (const std::string& path : placed_) service.ClearFault(path);
    placed_.clear();
    lastDay_ = std::exchange(today_, {});
    hangToday_ = false;
    for (int round = 0; round < 2; ++round) {
      const std::optional<ServiceState> state = service.State();
      if (!state) return false;
      if (state->faultPaths.empty()) return true;
      for (const std::string& path : state->faultPaths) service.ClearFault(path);
    }
    return false;
  }

 private:
  static std::string_view QuickKind(Dice& dice) {
    return kQuickFaultKinds[static_cast<std::size_t>(dice.Between(0, static_cast<int>(kQuickFaultKinds.size()) - 1))];
  }

  FaultOdds odds_;
  std::set<std::string> known_;
  std::set<std::string> placed_;
  std::vector<std::string> today_;
  std::vector<std::string> lastDay_;
  std::map<std::string, int> kinds_;
  bool hangToday_ = false;
};

}  // namespace norv::soak
