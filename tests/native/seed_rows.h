#pragma once
// Rows of the real history that the maker's service ships as its seed, read
// straight from service/seed, for tests that hold a rule against real draws.

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "store/draw_record.h"

namespace norv::testing {

inline std::string SeedFileOf(Game game) {
  static constexpr const char* names[] = {"loto6", "miniloto", "numbers4", "numbers3"};
  return std::string(NORVALE_SOURCE_DIR) + "/service/seed/" + names[GameIndex(game)] + ".csv";
}

// draw,date,numbers...,prizes... becomes the table row: the draw, each number
// (a Numbers draw digit by digit), then the prizes.
inline DrawRow SeedRowOf(Game game, const std::string& csvLine) {
  std::vector<std::string> cells;
  std::stringstream stream(csvLine);
  for (std::string cell; std::getline(stream, cell, ',');) cells.push_back(cell);
  DrawRow row{std::stoi(cells[0])};
  const bool numbers = game == Game::Numbers4 || game == Game::Numbers3;
  for (std::size_t i = 2; i < cells.size(); ++i) {
    if (numbers && i == 2) {
      for (char digit : cells[i]) row.push_back(digit - '0');
    } else {
      row.push_back(std::stoi(cells[i]));
    }
  }
  return row;
}

// Every draw of the seed, newest first as the tables hold them.
inline std::vector<DrawRow> SeedRows(Game game) {
  std::ifstream in(SeedFileOf(game));
  std::vector<DrawRow> rows;
  std::string line;
  std::getline(in, line);  // header
  while (std::getline(in, line)) {
    if (!line.empty()) rows.insert(rows.begin(), SeedRowOf(game, line));
  }
  return rows;
}

inline DrawRow SeedDraw(Game game, int draw) {
  for (const DrawRow& row : SeedRows(game)) {
    if (row[0] == draw) return row;
  }
  return {};
}

}  // namespace norv::testing
