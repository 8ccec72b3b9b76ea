#include "service/bank_csv.h"

#include <algorithm>
#include <array>
#include <charconv>

#include "base/text_fields.h"
#include "base/text_basics.h"
#include "service/bank_text.h"
#include "service/japanese_date.h"
#include "service/shift_jis.h"

namespace norv::service {

namespace {

struct SeriesFacts {
  BankSeries series;
  std::string_view name;
  std::string_view fileCode;  // "A102": the file names
  std::string_view marker;    // "A52": the first line
  std::string_view folder;
  std::string_view titleName;  // what the title names, in folded form
};

constexpr std::array<SeriesFacts, 3> kSeries{{
    {BankSeries::Numbers, "Numbers", "A100", "A50", "/retail/takarakuji/numbers/csv/", "ナンバーズ"},
    {BankSeries::MiniLoto, "MiniLOTO", "A101", "A51", "/retail/takarakuji/loto/miniloto/csv/", "ミニロト"},
    {BankSeries::Loto6, "LOTO6", "A102", "A52", "/retail/takarakuji/loto/loto6/csv/", "ロト6"},
}};

constexpr std::array<Game, 2> kNumbersGames{Game::Numbers4, Game::Numbers3};
constexpr std::array<Game, 1> kMiniLotoGames{Game::MiniLoto};
constexpr std::array<Game, 1> kLoto6Games{Game::Loto6};

constexpr std::array<std::string_view, 5> kLotoClasses{"１等", "２等", "３等", "４等", "５等"};
constexpr std::array<std::string_view, 5> kNumbersClasses{"ストレート", "ボックス", "セット（ストレート）",
                                                          "セット（ボックス）", "ミニ"};
constexpr std::string_view kMainNumbers = "本数字";
constexpr std::string_view kBonusNumber = "ボーナス数字";
constexpr std::string_view kSales = "販売実績額";
constexpr std::string_view kNoWinner = "該当なし";
constexpr std::size_t kLongestAmount = 12;  // far wider than any prize field, short of overflow

const SeriesFacts& FactsOf(BankSeries series) {
  return *std::find_if(kSeries.begin(), kSeries.end(), [series](const SeriesFacts& f) { return f.series == series; });
}

struct Row {
  int line = 0;                    // counted from 1, for messages
  std::vector<std::string> cells;  // blanks trimmed, as published
  std::string label;               // the first cell in LabelForm
};

struct Title {
  int number = 0;
  std::string date;
  std::string name;  // after 回, in folded form
  int line = 0;
};

[[noreturn]] void Refuse(const std::string& reason) { throw BankFileError(reason); }

std::string OnLine(const Row& row) { return " on line " + std::to_string(row.line); }

std::vector<Row> ReadRows(std::string_view text) {
  std::vector<Row> rows;
  int line = 0;
  for (std::string_view lineText : SplitLines(text)) {
    ++line;
    Row row;
    row.line = line;
    for (std::string& cell : SplitCsvCells(lineText)) row.cells.emplace_back(TrimBlanks(cell));
    while (!row.cells.empty() && row.cells.back().empty()) row.cells.pop_back();
    if (row.cells.empty()) continue;
    row.label = LabelForm(row.cells.front());
    rows.push_back(std::move(row));
  }
  return rows;
}

bool Labelled(const Row& row, std::string_view published) { return row.label == LabelForm(published); }

bool IsNoWinner(std::string_view cell) { return LabelForm(cell) == LabelForm(kNoWinner); }

// Digits followed by `unit` ("口", "円"), in folded form; nothing otherwise.
std::optional<std::string> DigitsBefore(std::string_view cell, std::string_view unit) {
  std::string folded = LabelForm(cell);
  if (!folded.ends_with(unit)) return std::nullopt;
  folded.resize(folded.size() - unit.size());
  if (folded.empty() || !AllDigits(folded)) return std::nullopt;
  return folded;
}

BankSeries ReadSeries(const std::vector<Row>& rows) {
  if (!rows.empty()) {
    for (const SeriesFacts& facts : kSeries) {
      if (rows.front().label == facts.marker) return facts.series;
    }
  }
  Refuse("does not begin with A50, A51 or A52: not one of the bank's draw files");
}

std::optional<Title> TitleOf(const Row& row) {
  constexpr std::string_view kOrdinal = "第";
  constexpr std::string_view kDrawCounter = "回";
  std::string_view label = row.label;
  if (!label.starts_with(kOrdinal)) return std::nullopt;
  label.remove_prefix(kOrdinal.size());
  const std::size_t digits = label.find_first_not_of("0123456789");
  if (digits == 0 || digits == std::string_view::npos || !label.substr(digits).starts_with(kDrawCounter)) {
    return std::nullopt;
  }
  Title title;
  title.line = row.line;
  title.name = label.substr(digits + kDrawCounter.size());
  const std::string_view number = label.substr(0, digits);
  if (number.size() > 6)
    Refuse("the title" + OnLine(row) + " has a draw number of " + std::to_string(number.size()) + " digits");
  std::from_chars(number.data(), number.data() + number.size(), title.number);
  for (std::size_t i = 1; i < row.cells.size() && title.date.empty(); ++i) {
    if (auto date = IsoDateFromEra(row.cells[i])) title.date = *date;
  }
  if (title.date.empty()) Refuse("the title" + OnLine(row) + " has no draw date");
  return title;
}

Title ReadTitle(const std::vector<Row>& rows, BankSeries series) {
  std::optional<Title> first;
  for (const Row& row : rows) {
    const std::optional<Title> title = TitleOf(row);
    if (!title) continue;
    if (!first) {
      first = title;
    } else if (title->number != first->number || title->date != first->date) {
      Refuse("the titles on lines " + std::to_string(first->line) + " and " + std::to_string(title->line) +
             " name different draws");
    }
  }
  if (!first) Refuse("no title row (第…回) naming the draw");
  if (first->name.find(FactsOf(series).titleName) == std::string::npos) {
    Refuse("the title on line " + std::to_string(first->line) + " names " + QuotedForMessage(first->name) + ", not a " +
           std::string(SeriesName(series)) + " draw");
  }
  return *first;
}

// The prize row of a class: the first row with its label that has cells for
// the winners and the amount (rows that only describe the class have not).
const Row& PrizeRow(std::span<const Row> rows, std::string_view published) {
  for (const Row& row : rows) {
    if (Labelled(row, published) && row.cells.size() >= 3) return row;
  }
  Refuse("no " + std::string(published) + " row with an amount: the file is cut short");
}

long long PrizeAmount(const Row& row, std::string_view published, int width) {
  const std::string& winners = row.cells[row.cells.size() - 2];
  const std::string& amount = row.cells.back();
  const std::string where = "the " + std::string(published) + " row" + OnLine(row);
  if (!IsNoWinner(winners) && !DigitsBefore(winners, "口")) {
    Refuse(where + ": winners " + QuotedForMessage(winners) + " are not a count of tickets");
  }
  if (IsNoWinner(amount)) return 0;
  const std::optional<std::string> digits = DigitsBefore(amount, "円");
  if (!digits) Refuse(where + ": amount " + QuotedForMessage(amount) + " is not digits and 円");
  const std::size_t significant = digits->size() - std::min(digits->find_first_not_of('0'), digits->size());
  if (significant > static_cast<std::size_t>(width) || significant > kLongestAmount) {
    Refuse(where + ": amount " + QuotedForMessage(amount) + " is wider than its " + std::to_string(width) +
           "-digit field");
  }
  long long value = 0;
  const std::string_view kept =
      std::string_view(*digits).substr(digits->size() - std::max<std::size_t>(significant, 1));
  std::from_chars(kept.data(), kept.data() + kept.size(), value);
  return value;
}

std::vector<long long> ReadPrizes(std::span<const Row> rows, std::span<const std::string_view> classes, Game game) {
  const std::vector<int>& widths = RulesOf(game).prizeWidths;
  std::vector<long long> prizes;
  for (std::size_t i = 0; i < widths.size(); ++i) {
    prizes.push_back(PrizeAmount(PrizeRow(rows, classes[i]), classes[i], widths[i]));
  }
  return prizes;
}

int ReadBall(const Row& row, std::string_view cell) {
  const std::string folded = LabelForm(cell);
  const std::optional<int> ball = folded.size() <= 2 ? ParseDigits(folded) : std::nullopt;
  if (!ball)
    Refuse("the " + std::string(kMainNumbers) + " row" + OnLine(row) + " holds " + QuotedForMessage(cell) +
           ", not a number");
  return *ball;
}

void ReadBalls(const std::vector<Row>& rows, Draw& draw) {
  const auto found = std::find_if(rows.begin(), rows.end(), [](const Row& row) { return Labelled(row, kMainNumbers); });
  if (found == rows.end()) Refuse("no " + std::string(kMainNumbers) + " row: the file is cut short");
  const Row& row = *found;
  const auto bonusMark = std::find_if(row.cells.begin() + 1, row.cells.end(), [](const std::string& cell) {
    return LabelForm(cell) == LabelForm(kBonusNumber);
  });
  const int expected = RulesOf(draw.game).balls;
  const auto mainCount = bonusMark - (row.cells.begin() + 1);
  const auto bonusCount = row.cells.end() - bonusMark - (bonusMark == row.cells.end() ? 0 : 1);
  if (mainCount != expected || bonusMark == row.cells.end() || bonusCount != 1) {
    Refuse("the " + std::string(kMainNumbers) + " row" + OnLine(row) + " holds " + std::to_string(mainCount) +
           " numbers and " + std::to_string(bonusMark == row.cells.end() ? 0 : bonusCount) + " " +
           std::string(kBonusNumber) + " where " + std::string(GameName(draw.game)) + " draws " +
           std::to_string(expected) + " and 1");
  }
  for (auto cell = row.cells.begin() + 1; cell != bonusMark; ++cell) draw.balls.push_back(ReadBall(row, *cell));
  draw.bonus = ReadBall(row, *(bonusMark + 1));
}

Draw NewDraw(Game game, const Title& title) {
  Draw draw;
  draw.game = game;
  draw.number = title.number;
  draw.date = title.date;
  return draw;
}

Draw ReadLotoDraw(const std::vector<Row>& rows, Game game, const Title& title) {
  Draw draw = NewDraw(game, title);
  ReadBalls(rows, draw);
  draw.prizes = ReadPrizes(rows, kLotoClasses, game);
  return draw;
}

std::string BlockOpener(Game game) {
  return game == Game::Numbers4 ? "ナンバーズ４抽せん数字" : "ナンバーズ３抽せん数字";
}

// The rows of a Numbers game's block: from its opener up to the other game's
// opener or the end of the file.
std::span<const Row> NumbersBlock(const std::vector<Row>& rows, Game game) {
  const std::string opener = BlockOpener(game);
  const std::string other = BlockOpener(game == Game::Numbers4 ? Game::Numbers3 : Game::Numbers4);
  std::size_t begin = rows.size();
  for (std::size_t i = 0; i < rows.size(); ++i) {
    if (!Labelled(rows[i], opener)) continue;
    if (begin != rows.size())
      Refuse("two " + opener + " rows, on lines " + std::to_string(rows[begin].line) + " and " +
             std::to_string(rows[i].line));
    begin = i;
  }
  if (begin == rows.size()) Refuse("no " + opener + " row: the file is cut short");
  std::size_t end = begin + 1;
  while (end < rows.size() && !Labelled(rows[end], other)) ++end;
  return std::span<const Row>(rows).subspan(begin, end - begin);
}

Draw ReadNumbersDraw(const std::vector<Row>& rows, Game game, const Title& title) {
  Draw draw = NewDraw(game, title);
  const std::span<const Row> block = NumbersBlock(rows, game);
  const Row& opener = block.front();
  const int digits = RulesOf(game).digits;
  draw.digits = opener.cells.size() >= 2 ? LabelForm(opener.cells[1]) : std::string();
  if (static_cast<int>(draw.digits.size()) != digits || !AllDigits(draw.digits) || opener.cells.size() != 2) {
    Refuse("the " + BlockOpener(game) + " row" + OnLine(opener) + " does not hold one number of " +
           std::to_string(digits) + " digits");
  }
  const std::span<const std::string_view> classes(kNumbersClasses.data(), RulesOf(game).prizeWidths.size());
  const Row& straight = PrizeRow(block, classes.front());
  if (straight.cells.size() >= 4 && LabelForm(straight.cells[1]) != draw.digits) {
    Refuse("the " + std::string(classes.front()) + " row" + OnLine(straight) + " repeats " +
           QuotedForMessage(straight.cells[1]) + " where " + draw.digits + " was drawn");
  }
  draw.prizes = ReadPrizes(block, classes, game);
  return draw;
}

void RequireSalesRow(const std::vector<Row>& rows) {
  const std::string sales = LabelForm(kSales);
  const bool found =
      std::any_of(rows.begin(), rows.end(), [&](const Row& row) { return row.label.find(sales) != std::string::npos; });
  if (!found) Refuse("no " + std::string(kSales) + " row: the file is cut short");
}

bool LooksLikeHtml(std::string_view bytes) {
  const std::string head = UpperAscii(bytes.substr(0, 1024));
  const std::string_view trimmed = TrimControls(head);
  return trimmed.starts_with("<") || head.find("<HTML") != std::string::npos;
}

std::string Decoded(std::string_view bytes) {
  if (bytes.empty()) Refuse("the file is empty");
  if (IsAccessDeniedPage(bytes)) Refuse("an \"Access Denied\" page: the bank refused the request");
  if (LooksLikeHtml(bytes)) Refuse("an HTML page, not one of the bank's draw files");
  if (bytes.find('\0') != std::string_view::npos) Refuse("holds a zero byte: not a text file");
  std::optional<std::string> text = DecodeShiftJis(bytes);
  if (!text) Refuse("not Shift_JIS text");
  return std::move(*text);
}

std::string FileAndSeries(BankSeries series) {
  return std::string(SeriesName(series)) + " (" + std::string(FactsOf(series).marker) + ")";
}

}  // namespace

std::string_view SeriesName(BankSeries series) { return FactsOf(series).name; }

std::span<const Game> GamesOf(BankSeries series) {
  switch (series) {
    case BankSeries::Numbers:
      return kNumbersGames;
    case BankSeries::MiniLoto:
      return kMiniLotoGames;
    case BankSeries::Loto6:
      break;
  }
  return kLoto6Games;
}

BankSeries SeriesOf(Game game) {
  switch (game) {
    case Game::Loto6:
      return BankSeries::Loto6;
    case Game::MiniLoto:
      return BankSeries::MiniLoto;
    case Game::Numbers4:
    case Game::Numbers3:
      break;
  }
  return BankSeries::Numbers;
}

std::optional<BankFileId> BankFileIdFromName(std::string_view fileName) {
  const std::size_t slash = fileName.find_last_of('/');
  if (slash != std::string_view::npos) fileName.remove_prefix(slash + 1);
  const std::string name = UpperAscii(fileName);
  if (name.size() != 12 || !name.ends_with(".CSV") || !AllDigits(name.substr(4, 4))) return std::nullopt;
  for (const SeriesFacts& facts : kSeries) {
    if (name.starts_with(facts.fileCode)) return BankFileId{facts.series, *ParseDigits(name.substr(4, 4))};
  }
  return std::nullopt;
}

std::string BankFileName(BankFileId id) {
  return std::string(FactsOf(id.series).fileCode) + FixedDigits(id.number, 4) + ".CSV";
}

std::string BankFilePath(BankFileId id) { return std::string(FactsOf(id.series).folder) + BankFileName(id); }

bool IsAccessDeniedPage(std::string_view bytes) {
  return LooksLikeHtml(bytes) && UpperAscii(bytes.substr(0, 4096)).find("ACCESS DENIED") != std::string::npos;
}

std::vector<Draw> ReadBankFile(std::string_view bytes, std::optional<BankFileId> expected) {
  const std::vector<Row> rows = ReadRows(Decoded(bytes));
  const BankSeries series = ReadSeries(rows);
  if (expected && expected->series != series) {
    Refuse("holds a " + FileAndSeries(series) + " draw where " + BankFileName(*expected) + " is a " +
           FileAndSeries(expected->series) + " file");
  }
  const Title title = ReadTitle(rows, series);
  if (expected && expected->number != title.number) {
    Refuse("the title on line " + std::to_string(title.line) + " names draw " + std::to_string(title.number) +
           " where draw " + std::to_string(expected->number) + " was asked for");
  }
  std::vector<Draw> draws;
  for (Game game : GamesOf(series)) {
    draws.push_back(series == BankSeries::Numbers ? ReadNumbersDraw(rows, game, title)
                                                  : ReadLotoDraw(rows, game, title));
  }
  RequireSalesRow(rows);
  for (const Draw& draw : draws) {
    if (const auto problem = DrawProblem(draw)) Refuse(std::string(GameName(draw.game)) + " draw: " + *problem);
  }
  return draws;
}

}  // namespace norv::service
