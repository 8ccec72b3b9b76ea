#pragma once
// The texts the draw service sends: the maker's directory, status file and
// download lists, and the bank-style index and result pages.

#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "tools/drawservice/sample_data.h"

namespace norv::drawservice {

// The reader of the result index pages puts the first 27 characters of the
// slot 10 (or 12) address before each link it finds there, and the links are
// paths from the server root. "http://127.0.0.1:NNNNN" is only 22 characters,
// so the bank pages live under a root folder that fills the prefix up to
// exactly 27: "/bank" for a five-digit port, "/bank_" for four digits and so
// on. Every link on an index page is a path below that folder, written from
// "/" ("/takarakuji/loto/loto6/index.html"), so the prefix and the link
// together give the right host and the right page.
inline constexpr std::size_t kLinkPrefixLength = 27;
std::string BankRootFor(std::string_view origin);

enum class Family { Loto, Numbers };  // index page of slots 10/11 and 12/13

struct ServicePaths {
  static constexpr std::array<std::string_view, 2> kDirectory{"/dir1/dir.cgi", "/dir2/dir.cgi"};
  static constexpr std::array<std::string_view, 2> kMakerFolder{"/svc1", "/svc2"};
  static constexpr std::array<std::string_view, 2> kDownloadFolder{"/dlf1", "/dlf2"};
  static constexpr std::string_view kStatusFile = "/status.txt";
  static constexpr std::array<std::string_view, 5> kDownloadLists{"bc4_dlf.new", "cdm_dlf.new", "dml_dlf.new",
                                                                  "el3_dlf.new", "fnl_dlf.new"};
};

std::string_view HistoryFileName(Game game);      // "/lot6.txt" ...
std::string_view ResultPagePath(Game game);       // below the bank root
std::string_view IndexPagePath(Family family, bool fallback);  // below the bank root
std::string_view ButtonImage(Game game);          // "/img/BTN_LOTO6.JPG" ...

// The 14 addresses of the URL table, in slot order, for a service at `origin`.
std::array<std::string, 14> DirectorySlots(std::string_view origin);

// An HTML page whose body is exactly the 14 slots of 100 characters each.
std::string DirectoryPage(const std::array<std::string, 14>& slots);

struct StatusFields {
  char mark = '1';  // a digit marks the file valid
  std::array<int, 4> drawCounts{};  // by game id 1..4
  int norvale = 51, birch = 0, cedar = 0, damson = 0, elder = 0, fennel = 0;
};
// 100 characters: every field at its position, the rest filled with zeros.
std::string StatusText(const StatusFields& fields);

std::string IndexPage(Family family);

// The draws newest first; "回別" opens the page, and each draw has its title
// 第N回, its numbers and its prize classes up to 販売実績額.
std::string ResultPage(Game game, const std::vector<SampleDraw>& newestFirst);

std::string DownloadList(std::string_view address);

// "1,234,500"
std::string WithCommas(long long value);

}  // namespace norv::drawservice
