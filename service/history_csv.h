#pragma once
// A game's whole history as a UTF-8 CSV file: the layout of the bundled
// snapshot, which is also the layout of the store's own files. One header
// row, then one row per draw from draw 1 on, "\n" line ends, ISO dates.

#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "service/draw.h"

namespace norv::service {

class HistoryFormatError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

std::string_view HistoryHeader(Game game);

// Draws 1..N in order. Throws HistoryFormatError naming the line for a wrong
// header, a malformed row, a draw with a DrawProblem, or a gap.
std::vector<Draw> ReadHistoryCsv(Game game, std::string_view text);

std::string WriteHistoryCsv(Game game, const std::vector<Draw>& draws);

// "loto6.csv" and so on.
std::string HistoryFileName(Game game);

}  // namespace norv::service
