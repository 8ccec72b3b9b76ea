#include "service/history_csv.h"

#include <array>
#include <charconv>

namespace norv::service {

namespace {

std::vector<std::string_view> SplitCells(std::string_view line) {
  std::vector<std::string_view> cells;
  for (std::size_t start = 0;;) {
    const std::size_t comma = line.find(',', start);
    cells.push_back(line.substr(start, comma == std::string_view::npos ? std::string_view::npos : comma - start));
    if (comma == std::string_view::npos) return cells;
    start = comma + 1;
  }
}

long long Number(std::string_view cell, std::string_view what) {
  long long value = 0;
  const auto [end, error] = std::from_chars(cell.data(), cell.data() + cell.size(), value);
  if (cell.empty() || error != std::errc() || end != cell.data() + cell.size() || cell.front() == '-') {
    throw HistoryFormatError(std::string(what) + " \"" + std::string(cell) + "\" is not a number");
  }
  return value;
}

bool IsIsoDate(std::string_view cell) {
  if (cell.size() != 10 || cell[4] != '-' || cell[7] != '-') return false;
  for (std::size_t i : {0, 1, 2, 3, 5, 6, 8, 9}) {
    if (cell[i] < '0' || cell[i] > '9') return false;
  }
  return true;
}

Draw ReadRow(Game game, std::string_view line) {
  const GameRules& rules = RulesOf(game);
  const std::vector<std::string_view> cells = SplitCells(line);
  const std::size_t numberCells = rules.balls > 0 ? static_cast<std::size_t>(rules.balls) + 1 : 1;
  const std::size_t expected = 2 + numberCells + rules.prizeWidths.size();
  if (cells.size() != expected) {
    throw HistoryFormatError(std::to_string(cells.size()) + " cells where " + std::to_string(expected) +
                             " are expected");
  }
  Draw draw;
  draw.game = game;
  draw.number = static_cast<int>(Number(cells[0], "draw number"));
  if (!IsIsoDate(cells[1])) throw HistoryFormatError("date \"" + std::string(cells[1]) + "\" is not yyyy-mm-dd");
  draw.date = cells[1];
  std::size_t at = 2;
  if (rules.balls > 0) {
    for (int i = 0; i < rules.balls; ++i) draw.balls.push_back(static_cast<int>(Number(cells[at++], "number")));
    draw.bonus = static_cast<int>(Number(cells[at++], "bonus number"));
  } else {
    draw.digits = cells[at++];
  }
  while (at < cells.size()) draw.prizes.push_back(Number(cells[at++], "prize"));
  if (const auto problem = DrawProblem(draw)) throw HistoryFormatError(*problem);
  return draw;
}

std::string Row(const Draw& draw) {
  std::string row = std::to_string(draw.number) + "," + draw.date;
  if (draw.balls.empty()) {
    row += "," + draw.digits;
  } else {
    for (int ball : draw.balls) row += "," + std::to_string(ball);
    row += "," + std::to_string(draw.bonus);
  }
  for (long long prize : draw.prizes) row += "," + std::to_string(prize);
  return row;
}

}  // namespace

std::string_view HistoryHeader(Game game) {
  constexpr std::array<std::string_view, 4> headers{
      "draw,date,n1,n2,n3,n4,n5,n6,bonus,prize1,prize2,prize3,prize4,prize5",
      "draw,date,n1,n2,n3,n4,n5,bonus,prize1,prize2,prize3,prize4",
      "draw,date,number,straight,box,set_straight,set_box",
      "draw,date,number,straight,box,set_straight,set_box,mini",
  };
  return headers[static_cast<std::size_t>(GameIndex(game))];
}

std::vector<Draw> ReadHistoryCsv(Game game, std::string_view text) {
  std::vector<Draw> draws;
  int lineNumber = 0;
  while (!text.empty()) {
    const std::size_t end = text.find('\n');
    std::string_view line = text.substr(0, end);
    text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
    ++lineNumber;
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    if (lineNumber == 1) {
      if (line != HistoryHeader(game)) throw HistoryFormatError("line 1: not the header of a " +
                                                                std::string(RulesOf(game).storeName) + " history");
      continue;
    }
    if (line.empty() && text.empty()) break;
    try {
      draws.push_back(ReadRow(game, line));
    } catch (const HistoryFormatError& error) {
      throw HistoryFormatError("line " + std::to_string(lineNumber) + ": " + error.what());
    }
    if (draws.back().number != static_cast<int>(draws.size())) {
      throw HistoryFormatError("line " + std::to_string(lineNumber) + ": draw " +
                               std::to_string(draws.back().number) + " where draw " +
                               std::to_string(draws.size()) + " belongs");
    }
  }
  if (lineNumber == 0) throw HistoryFormatError("the file is empty");
  return draws;
}

std::string WriteHistoryCsv(Game game, const std::vector<Draw>& draws) {
  std::string text(HistoryHeader(game));
  text += '\n';
  for (const Draw& draw : draws) text += Row(draw) + '\n';
  return text;
}

std::string HistoryFileName(Game game) {
  return std::string(RulesOf(game).storeName) + ".csv";
}

}  // namespace norv::service
