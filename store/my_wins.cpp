#include "store/my_wins.h"

#include "resources/my_numbers_strings.h"
#include "store/csv_export.h"
#include "store/file_replace.h"
#include "store/shift_jis.h"

namespace norv {

namespace {

void FindGameWins(Game game, const std::vector<Ticket>& tickets, const DrawTable& table, int after,
                  std::vector<MyWin>& wins) {
  for (const DrawRow& row : table.rows) {
    if (row.empty() || row[0] <= after) continue;
    const DrawKey draw = DrawKeyOf(game, row);
    for (const Ticket& ticket : tickets) {
      if (const std::optional<WinMatch> match = Match(ticket, draw)) {
        wins.push_back({game, draw.draw, NumbersText(*ticket.line), ticket.line->way, match->winClass, match->prize});
      }
    }
  }
}

// The only words of the file that are not ASCII, in the file's encoding: the
// file may hold a hundred thousand wins, and converting each line would cost
// more than finding them.
struct WinWords {
  std::string header;
  std::string noPrize;
  std::array<std::string, 5> ways;      // by BuyWay
  std::array<std::string, 10> classes;  // by WinClass
};

WinWords Utf8Words() {
  WinWords words{std::string(text::kMyWinsHeader), std::string(text::kNoPrize), {}, {}};
  for (std::size_t i = 0; i < words.ways.size(); ++i) words.ways[i] = WayText(static_cast<BuyWay>(i));
  for (std::size_t i = 0; i < words.classes.size(); ++i) words.classes[i] = WinClassText(static_cast<WinClass>(i));
  return words;
}

std::optional<WinWords> ShiftJisWords() {
  WinWords words = Utf8Words();
  bool converted = true;
  auto convert = [&](std::string& word) {
    const std::optional<std::string> bytes = ToShiftJis(word);
    converted = converted && bytes.has_value();
    word = bytes.value_or(std::string());
  };
  convert(words.header);
  convert(words.noPrize);
  for (std::string& way : words.ways) convert(way);
  for (std::string& winClass : words.classes) convert(winClass);
  if (!converted) return std::nullopt;
  return words;
}

std::string WinsText(const std::vector<MyWin>& wins, const WinWords& words) {
  std::string text = words.header + "\r\n";
  for (const MyWin& win : wins) {
    text.append(GameName(win.game)).append(",").append(std::to_string(win.draw)).append(",");
    text.append(win.numbers).append(",").append(words.ways[static_cast<std::size_t>(win.way)]).append(",");
    text.append(words.classes[static_cast<std::size_t>(win.winClass)]).append(",");
    text.append(win.prize > 0 ? std::to_string(win.prize) : words.noPrize).append("\r\n");
  }
  return text;
}

}  // namespace

std::vector<MyWin> FindWins(const std::vector<MyLine>& lines, const TablesByGame& tables, const DrawsByGame& after) {
  std::vector<MyWin> wins;
  for (Game game : kAllGames) {
    const DrawTable* table = tables[static_cast<std::size_t>(GameIndex(game))];
    if (table == nullptr) continue;
    std::vector<Ticket> tickets;
    for (const MyLine& line : lines) {
      if (line.game == game) tickets.push_back(TicketOf(line));
    }
    const int from = after[static_cast<std::size_t>(GameIndex(game))];
    if (!tickets.empty()) FindGameWins(game, tickets, *table, from, wins);
  }
  return wins;
}

std::int64_t TotalPrize(const std::vector<MyWin>& wins) {
  std::int64_t total = 0;
  for (const MyWin& win : wins) total += win.prize;
  return total;
}

std::string MyWinsText(const std::vector<MyWin>& wins) { return WinsText(wins, Utf8Words()); }

std::optional<std::string> MyWinsBytes(const std::vector<MyWin>& wins) {
  const std::optional<WinWords> words = ShiftJisWords();
  if (!words) return std::nullopt;
  return WinsText(wins, *words);
}

std::string MyWinsPath(const std::string& dataFolder) { return dataFolder + std::string(kMyWinsFileName); }

bool WriteMyWinsFile(const std::vector<MyWin>& wins, const std::string& path, FileSystem& files) {
  const std::optional<std::string> bytes = MyWinsBytes(wins);
  return bytes && WriteTwinAndReplace(CsvTwinPath(path), path, *bytes, files) == ReplaceOutcome::Replaced;
}

}  // namespace norv
