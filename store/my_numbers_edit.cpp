#include "store/my_numbers_edit.h"

#include "store/my_wins_refresh.h"

namespace norv {

LineReading CheckEntry(const LineEntry& entry) {
  return ReadLine(
      {std::string(GameName(entry.game)), entry.numbers, entry.way, entry.firstDraw, entry.lastDraw, entry.memo});
}

LineEntry EntryOf(const MyLine& line) {
  const LineFields fields = FieldsOf(line);
  return {line.game, fields.numbers, fields.way, fields.firstDraw, fields.lastDraw, fields.memo};
}

std::vector<std::size_t> EntriesListed(const MyNumbers& numbers, Game game) {
  std::vector<std::size_t> listed;
  for (std::size_t i = 0; i < numbers.entries.size(); ++i) {
    if (numbers.entries[i].line && numbers.entries[i].line->game == game) listed.push_back(i);
  }
  for (std::size_t i = 0; i < numbers.entries.size(); ++i) {
    if (!numbers.entries[i].line) listed.push_back(i);
  }
  return listed;
}

namespace {

MyNumbersEntry EntryFor(const MyLine& line, int lineNumber) {
  MyNumbersEntry entry;
  entry.lineNumber = lineNumber;
  entry.text = MyNumbersLine(line);
  entry.line = line;
  return entry;
}

}  // namespace

void AddLine(MyNumbers& numbers, const MyLine& line) { numbers.entries.push_back(EntryFor(line, 0)); }

void ReplaceLine(MyNumbers& numbers, std::size_t index, const MyLine& line) {
  if (index >= numbers.entries.size()) return;
  MyNumbersEntry& entry = numbers.entries[index];
  entry = EntryFor(line, entry.lineNumber);
}

void RemoveLine(MyNumbers& numbers, std::size_t index) {
  if (index < numbers.entries.size()) numbers.entries.erase(numbers.entries.begin() + static_cast<std::ptrdiff_t>(index));
}

SaveOutcome SaveLines(const MyNumbers& numbers, const std::string& dataFolder, const TablesByGame* tables,
                      FileSystem& files) {
  if (!WriteMyNumbers(numbers, dataFolder, files)) return SaveOutcome::LinesNotWritten;
  if (!tables) return SaveOutcome::WinsNotWritten;
  const std::vector<MyWin> wins = FindWins(numbers.PlayedLines(), *tables);
  return WriteMyWinsFile(wins, MyWinsPath(dataFolder), files) ? SaveOutcome::Saved : SaveOutcome::WinsNotWritten;
}

WinsList ListWins(const MyNumbers& numbers, const TablesByGame& tables, const std::optional<DrawsByGame>& seen) {
  WinsList list;
  list.wins = FindWins(numbers.PlayedLines(), tables);
  const DrawsByGame seenDraws = seen.value_or(NewestDraws(tables));
  for (const MyWin& win : list.wins) list.unseen.push_back(IsNewWin(win, seenDraws));
  list.total = TotalPrize(list.wins);
  return list;
}

}  // namespace norv
