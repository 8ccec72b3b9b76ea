#pragma once
// The texts of the published site: the maker's directory reply, status file,
// full histories and download lists, and the result pages in the bank's old
// vocabulary that Norvale's readers take apart. Pages are UTF-8.

#include <array>
#include <span>
#include <string>
#include <string_view>

#include "service/draw.h"
#include "service/site_layout.h"

namespace norv::service {

struct Releases {
  int norvale = 51;  // this release, 5.1
  int birch = 0, cedar = 0, damson = 0, elder = 0, fennel = 0;

  bool operator==(const Releases&) const = default;
};

struct StatusFields {
  char mark = '1';  // a digit marks the file valid
  std::array<int, 4> drawCounts{};  // by game index
  Releases releases;
};

// An HTML page whose body is exactly the 14 slots, 100 characters each.
std::string DirectoryPage(const std::array<std::string, kSlotCount>& slots);

// 100 characters, every field at its position and the rest zeros, then CR LF.
std::string StatusText(const StatusFields& fields);

// The records of the first `count` draws, each followed by CR LF.
std::string HistoryText(std::span<const Draw> draws, std::size_t count);

// The game family's index page: each game's button image inside the link to
// its result page.
std::string IndexPage(const SiteLayout& layout, PageFamily family);

// `newestFirst` draws of one game, each opened by its title 第N回 after "回別",
// numbers after their header, prize classes up to "販売実績額".
std::string ResultPage(Game game, std::span<const Draw> newestFirst);

std::string DownloadList(std::string_view address);

// "1,234,500"
std::string WithCommas(long long value);

}  // namespace norv::service
