#include "store/my_wins.h"

#include <algorithm>
#include <charconv>
#include <iterator>

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

// Converted once: they never change, and a refresh that adds a draw has only
// a few rows to encode.
const std::optional<WinWords>& FileWords() {
  static const std::optional<WinWords> words = ShiftJisWords();
  return words;
}

void AppendNumber(std::string& text, long long value) {
  char digits[24];
  const std::to_chars_result end = std::to_chars(std::begin(digits), std::end(digits), value);
  text.append(digits, end.ptr);
}

void AppendRow(std::string& text, const MyWin& win, const WinWords& words) {
  text.append(GameName(win.game)).push_back(',');
  AppendNumber(text, win.draw);
  text.push_back(',');
  text.append(win.numbers).push_back(',');
  text.append(words.ways[static_cast<std::size_t>(win.way)]).push_back(',');
  text.append(words.classes[static_cast<std::size_t>(win.winClass)]).push_back(',');
  if (win.prize > 0) {
    AppendNumber(text, win.prize);
  } else {
    text.append(words.noPrize);
  }
  text.append("\r\n");
}

std::string WinsText(const std::vector<MyWin>& wins, const WinWords& words) {
  std::string text = words.header + "\r\n";
  for (const MyWin& win : wins) AppendRow(text, win, words);
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
  const std::optional<WinWords>& words = FileWords();
  if (!words) return std::nullopt;
  return WinsText(wins, *words);
}

std::optional<MyWinsFileBytes> MyWinsFileOf(const std::vector<MyWin>& wins) {
  const std::optional<WinWords>& words = FileWords();
  if (!words) return std::nullopt;
  MyWinsFileBytes empty{words->header + "\r\n", {}};
  empty.gameEnds.fill(empty.bytes.size());
  return WithNewerWins(std::move(empty), wins);
}

// In place, from the last game back: each game's earlier rows move once,
// within a buffer that a resident program keeps from check to check, so a
// check that adds a draw neither copies nor allocates the hundred thousand
// rows a long history may hold.
std::optional<MyWinsFileBytes> WithNewerWins(MyWinsFileBytes earlier, const std::vector<MyWin>& newer) {
  const std::optional<WinWords>& words = FileWords();
  if (!words) return std::nullopt;
  std::array<std::string, 4> rows;
  for (const MyWin& win : newer) AppendRow(rows[static_cast<std::size_t>(GameIndex(win.game))], win, *words);
  std::array<std::size_t, 4> shifts{};  // how far each game's earlier rows move
  std::size_t shift = 0;
  for (std::size_t i = 0; i < rows.size(); ++i) shifts[i] = shift += rows[i].size();
  std::string& bytes = earlier.bytes;
  bytes.resize(bytes.size() + shift);
  const std::size_t headerEnd = words->header.size() + 2;
  for (std::size_t i = rows.size(); i-- > 0;) {
    if (shifts[i] == 0) continue;  // nothing new up to this game: it stays
    const std::size_t start = i == 0 ? headerEnd : earlier.gameEnds[i - 1];
    const auto begin = bytes.begin() + static_cast<std::ptrdiff_t>(start);
    std::copy_backward(begin, bytes.begin() + static_cast<std::ptrdiff_t>(earlier.gameEnds[i]),
                       bytes.begin() + static_cast<std::ptrdiff_t>(earlier.gameEnds[i] + shifts[i]));
    std::copy(rows[i].begin(), rows[i].end(), begin + static_cast<std::ptrdiff_t>(shifts[i] - rows[i].size()));
    earlier.gameEnds[i] += shifts[i];
  }
  return earlier;
}

std::string MyWinsPath(const std::string& dataFolder) { return dataFolder + std::string(kMyWinsFileName); }

bool WriteMyWinsFile(const std::vector<MyWin>& wins, const std::string& path, FileSystem& files) {
  const std::optional<std::string> bytes = MyWinsBytes(wins);
  return bytes && WriteTwinAndReplace(CsvTwinPath(path), path, *bytes, files) == ReplaceOutcome::Replaced;
}

bool WriteMyWinsBytes(const MyWinsFileBytes& file, const std::string& path, FileSystem& files) {
  return WriteTwinAndReplace(CsvTwinPath(path), path, file.bytes, files) == ReplaceOutcome::Replaced;
}

}  // namespace norv
