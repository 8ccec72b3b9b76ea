#pragma once
// The table of the 14 addresses every check reads, filled once per process from
// the maker's directory service.

#include <array>
#include <stop_token>
#include <string>
#include <string_view>

#include "acquisition/fetch.h"

namespace norv {

// Slots 0/1 status file, 2..9 full histories (primary/fallback per game),
// 10..13 the bank's result index pages (10/11 LOTO6 and MiniLOTO, 12/13 Numbers).
struct UrlTable {
  static constexpr int kSlots = 14;
  std::array<std::string, kSlots> slots;

  const std::string& operator[](int slot) const { return slots[static_cast<std::size_t>(slot)]; }
};

// Checks a directory reply (CR and LF already removed) and, when it is valid,
// overwrites all 14 slots. Returns false and leaves the table alone otherwise;
// a reply to an https:// endpoint with any slot that is not https:// is not valid.
bool ParseUrlDirectory(std::string_view reply, std::string_view primaryEndpoint, UrlTable& table);

// Fetches one endpoint and parses its reply. A fetch that throws is a failure.
bool FetchUrlDirectory(UrlFetcher& fetcher, std::string_view endpoint, std::string_view primaryEndpoint,
                       const std::stop_token& stop, UrlTable& table);

}  // namespace norv
