#pragma once
// The user's wins after a check that added draws: "my_wins.csv" rewritten,
// the wins in the added draws picked out for the announcement, and which
// wins nobody has seen yet.
//
// What has been seen is kept in "my_wins_seen.txt" in the data folder: per
// game, the newest draw whose wins the user has been shown. A win in a later
// draw is new until the wins list is shown, also across restarts.

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "store/file_system.h"
#include "store/my_wins.h"

namespace norv {

inline constexpr std::string_view kMyWinsSeenFileName = "my_wins_seen.txt";

// What the previous refresh found, so that the next one matches only the
// draws added since, and reads the lines again only when they changed. Any
// change to the lines, or to the draws it covered, makes the next refresh
// match the whole history again.
struct WinsMemory {
  bool valid = false;  // the fields below `lines` hold what was found
  std::string linesBytes;
  std::vector<MyLine> lines;  // as read from linesBytes, always
  DrawsByGame heldDraws{};
  std::uint64_t heldFingerprint = 0;
  MyWinsFileBytes file;  // "my_wins.csv" as last written
};

// Nothing when the file is missing or not four draw numbers.
std::optional<DrawsByGame> ReadSeenDraws(const std::string& dataFolder, FileSystem& files = LocalFileSystem());
bool WriteSeenDraws(const DrawsByGame& seen, const std::string& dataFolder, FileSystem& files = LocalFileSystem());

// Per game, the newest draw the tables hold; 0 for a game without one.
DrawsByGame NewestDraws(const TablesByGame& tables);

bool IsNewWin(const MyWin& win, const DrawsByGame& seen);

// Run after the tables hold the added draws; `drawsBefore` are the counts the
// check started with. Rewrites "my_wins.csv" when the user has lines (or had
// a wins file) and gives the wins in draws after `drawsBefore`. A missing
// seen file starts at `drawsBefore`. Nothing is written, and nothing given,
// when "my_numbers.csv" is there but cannot be read.
std::vector<MyWin> RefreshMyWins(const std::string& dataFolder, const TablesByGame& tables,
                                 const DrawsByGame& drawsBefore, WinsMemory& memory,
                                 FileSystem& files = LocalFileSystem());

// "LOTO6 第2085回 1等 600000000円", one line per win; after `most` wins the
// rest are counted ("ほか3件"), so the balloon keeps its title and date.
std::string WinNoticeText(const std::vector<MyWin>& wins, std::size_t most = 3);

}  // namespace norv
