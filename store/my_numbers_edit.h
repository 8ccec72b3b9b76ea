#pragma once
// The dialog's edits of the user's lines. An entry is checked by the very
// rules the file is read by; every change is written at once, and the wins
// file with it, so the two files always agree.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "store/file_system.h"
#include "store/my_numbers_file.h"
#include "store/my_wins.h"

namespace norv {

// One line as typed: the numbers, or the digits with a way of buying.
struct LineEntry {
  Game game = Game::Loto6;
  std::string numbers;
  std::string way;  // empty for LOTO6 and MiniLOTO
  std::string firstDraw;
  std::string lastDraw;  // empty: every draw from the first on
  std::string memo;
};

// The line, or the first rule the entry breaks.
LineReading CheckEntry(const LineEntry& entry);
LineEntry EntryOf(const MyLine& line);

// Indexes into `numbers.entries` listed under `game`: its lines in file
// order, then every line that cannot be read, so that none is hidden.
std::vector<std::size_t> EntriesListed(const MyNumbers& numbers, Game game);

void AddLine(MyNumbers& numbers, const MyLine& line);
// Also turns a line that could not be read into the corrected one.
void ReplaceLine(MyNumbers& numbers, std::size_t index, const MyLine& line);
void RemoveLine(MyNumbers& numbers, std::size_t index);

enum class SaveOutcome { Saved, LinesNotWritten, WinsNotWritten };

// "my_numbers.csv" first, then "my_wins.csv" from the lines now played.
// Without `tables` (the draws are being rewritten) only the lines are
// written; the check that holds the tables rewrites the wins after it.
SaveOutcome SaveLines(const MyNumbers& numbers, const std::string& dataFolder, const TablesByGame* tables,
                      FileSystem& files = LocalFileSystem());

// The wins page: every win of the lines, which of them nobody has seen, and
// the total.
struct WinsList {
  std::vector<MyWin> wins;
  std::vector<bool> unseen;
  std::int64_t total = 0;
};
// Without a record of what was seen (no wins were ever announced), none is new.
WinsList ListWins(const MyNumbers& numbers, const TablesByGame& tables, const std::optional<DrawsByGame>& seen);

}  // namespace norv
