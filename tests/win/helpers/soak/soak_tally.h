#pragma once
// What a soak did, for its progress lines and its one summary line.

#include <algorithm>
#include <chrono>
#include <string>

namespace norv::soak {

struct Tally {
  int days = 0;
  int draws = 0;
  int faults = 0;
  int kills = 0;
  int checks = 0;
  int mismatches = 0;

  void NoteFollowedCheck(std::chrono::steady_clock::duration spent) {
    const long long ms = std::chrono::duration_cast<std::chrono::milliseconds>(spent).count();
    followedMs_ += ms;
    longestMs_ = std::max(longestMs_, ms);
    ++followed_;
  }

  std::string Counts() const {
    return "days " + std::to_string(days) + " draws " + std::to_string(draws) + " faults " + std::to_string(faults) +
           " kills " + std::to_string(kills) + " checks " + std::to_string(checks) + " mismatches " +
           std::to_string(mismatches);
  }

  // Empty when no check was followed to its end.
  std::string CheckTimes() const {
    if (followed_ == 0) return "";
    return "a check followed to its end took " + std::to_string(followedMs_ / followed_) + " ms on average, " +
           std::to_string(longestMs_) + " ms at most";
  }

 private:
  long long followedMs_ = 0;
  long long longestMs_ = 0;
  long long followed_ = 0;
};

}  // namespace norv::soak
