#pragma once
// "my_wins.csv": every win of the user's lines over the draws held, and the
// list the dialog shows. Rewritten after every check that adds a draw and
// after every change to the lines.

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "store/draw_table.h"
#include "store/file_system.h"
#include "store/my_line.h"
#include "store/win_rules.h"

namespace norv {

inline constexpr std::string_view kMyWinsFileName = "my_wins.csv";

struct MyWin {
  Game game;
  int draw;
  std::string numbers;  // as the user's file writes them
  BuyWay way;
  WinClass winClass;
  std::int32_t prize;
  friend bool operator==(const MyWin&, const MyWin&) = default;
};

// The tables by game index; a game without a table has no wins.
using TablesByGame = std::array<const DrawTable*, 4>;
using DrawsByGame = std::array<int, 4>;

// Game by game in the tabs' order, each newest draw first (the records carry
// no dates, so draws of different games cannot be put in one order), and in
// the order of the lines within a draw. Only draws after `after` count.
std::vector<MyWin> FindWins(const std::vector<MyLine>& lines, const TablesByGame& tables,
                            const DrawsByGame& after = {});

std::int64_t TotalPrize(const std::vector<MyWin>& wins);

// The file: header, then one line per win, Shift_JIS with CR LF.
std::string MyWinsText(const std::vector<MyWin>& wins);
std::optional<std::string> MyWinsBytes(const std::vector<MyWin>& wins);

// The file as written, and where each game's rows end in it: a refresh
// keeps it, so that it encodes only the wins of the draws it adds.
struct MyWinsFileBytes {
  std::string bytes;
  std::array<std::size_t, 4> gameEnds{};  // by game index
};

// The file of `wins`, each under its game in the order given; nothing when
// the file's words cannot be encoded.
std::optional<MyWinsFileBytes> MyWinsFileOf(const std::vector<MyWin>& wins);
// `earlier`, as made here, with the rows of `newer` before each game's rows;
// a file moved in is changed in place.
std::optional<MyWinsFileBytes> WithNewerWins(MyWinsFileBytes earlier, const std::vector<MyWin>& newer);

std::string MyWinsPath(const std::string& dataFolder);

// Through a twin and one replace step, at `path`.
bool WriteMyWinsFile(const std::vector<MyWin>& wins, const std::string& path, FileSystem& files = LocalFileSystem());
bool WriteMyWinsBytes(const MyWinsFileBytes& file, const std::string& path, FileSystem& files = LocalFileSystem());

}  // namespace norv
