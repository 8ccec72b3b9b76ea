#include "store/my_wins.h"

#include "resources/my_numbers_strings.h"
#include "store/csv_export.h"
#include "store/file_replace.h"
#include "store/shift_jis.h"

namespace norv {

namespace {

void FindGameWins(Game game, const std::vector<const MyLine*>& lines, const DrawTable& table, int after,
                  std::vector<MyWin>& wins) {
  for (const DrawRow& row : table.rows) {
    if (row.empty() || row[0] <= after) continue;
    for (const MyLine* line : lines) {
      if (const std::optional<WinMatch> match = MatchLine(*line, row)) {
        wins.push_back({game, row[0], NumbersText(*line), line->way, match->winClass, match->prize});
      }
    }
  }
}

}  // namespace

std::vector<MyWin> FindWins(const std::vector<MyLine>& lines, const TablesByGame& tables, const DrawsByGame& after) {
  std::vector<MyWin> wins;
  for (Game game : kAllGames) {
    const DrawTable* table = tables[static_cast<std::size_t>(GameIndex(game))];
    if (table == nullptr) continue;
    std::vector<const MyLine*> gameLines;
    for (const MyLine& line : lines) {
      if (line.game == game) gameLines.push_back(&line);
    }
    const int from = after[static_cast<std::size_t>(GameIndex(game))];
    if (!gameLines.empty()) FindGameWins(game, gameLines, *table, from, wins);
  }
  return wins;
}

std::int64_t TotalPrize(const std::vector<MyWin>& wins) {
  std::int64_t total = 0;
  for (const MyWin& win : wins) total += win.prize;
  return total;
}

std::string MyWinsText(const std::vector<MyWin>& wins) {
  std::string text(text::kMyWinsHeader);
  text.append("\r\n");
  for (const MyWin& win : wins) {
    text.append(GameName(win.game)).append(",").append(std::to_string(win.draw)).append(",");
    text.append(win.numbers).append(",").append(WayText(win.way)).append(",");
    text.append(WinClassText(win.winClass)).append(",").append(PrizeText(win.prize)).append("\r\n");
  }
  return text;
}

std::optional<std::string> MyWinsBytes(const std::vector<MyWin>& wins) { return ToShiftJis(MyWinsText(wins)); }

std::string MyWinsPath(const std::string& dataFolder) { return dataFolder + std::string(kMyWinsFileName); }

bool WriteMyWinsFile(const std::vector<MyWin>& wins, const std::string& path, FileSystem& files) {
  const std::optional<std::string> bytes = MyWinsBytes(wins);
  return bytes && WriteTwinAndReplace(CsvTwinPath(path), path, *bytes, files) == ReplaceOutcome::Replaced;
}

}  // namespace norv
