#pragma once
// Whether the store keeps up with the draw calendar. Each game's allowance is
// the longest gap between two consecutive draws held over the five years up to
// its newest draw, plus one day: derived from the store, so that the New Year
// break and moved drawing days are already inside it. A game whose newest draw
// is older than its allowance, by today's date in Japan, is stale.

#include <chrono>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "service/draw.h"
#include "service/store.h"

namespace norv::service {

struct Allowance {
  int days = 0;        // the longest gap plus one
  int longestGap = 0;  // in days
  std::string gapFrom, gapTo;  // the ISO dates of the draws around that gap
};

struct Freshness {
  Game game = Game::Loto6;
  int newest = 0;              // draw number, 0 when none is held
  std::string newestDate;      // ISO, empty when none is held
  int ageDays = 0;             // today less the newest draw's date
  std::optional<Allowance> allowance;  // none with fewer than two draws to measure
  bool stale = false;
};

// Nothing for fewer than two draws.
std::optional<Allowance> AllowanceOf(const std::vector<Draw>& draws);

// Each of the four games, in kAllGames order.
std::vector<Freshness> JudgeFreshness(const Histories& histories, std::chrono::sys_days today);

// The date in Japan (UTC+9, no daylight saving time) at `now`.
std::chrono::sys_days JapanToday(std::chrono::system_clock::time_point now);

// Midnight of an ISO date in Japan, as Unix time.
long long JapanMidnightUnixSeconds(std::string_view isoDate);

// "loto6 is stale: newest draw 2085 of 2026-03-16, 267 days ago (allowance 8
// days: ...); the bank answered 404 for A1022086.CSV", for one stale game and
// what the bank answered for its next file.
std::string StaleText(const Freshness& freshness, std::string_view bankAnswer);

}  // namespace norv::service
