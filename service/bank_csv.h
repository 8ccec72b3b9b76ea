#pragma once
// The bank's per-draw result files: one Shift_JIS CSV file per draw. The first
// line names the series ("A52" LOTO6, "A51" MiniLOTO, "A50" Numbers4 and
// Numbers3 together); the rows that follow are found by their labels, never by
// their line numbers. A file is either read whole or refused with a reason.

#include <optional>
#include <span>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "service/draw.h"

namespace norv::service {

enum class BankSeries { Numbers, MiniLoto, Loto6 };

inline constexpr BankSeries kAllSeries[] = {BankSeries::Loto6, BankSeries::MiniLoto, BankSeries::Numbers};

// One per-draw file: "A102" + the draw number in four digits + ".CSV".
struct BankFileId {
  BankSeries series = BankSeries::Loto6;
  int number = 0;
  bool operator==(const BankFileId&) const = default;
};

class BankFileError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

std::string_view SeriesName(BankSeries series);    // "LOTO6", "MiniLOTO", "Numbers"
std::span<const Game> GamesOf(BankSeries series);  // Numbers: Numbers4, then Numbers3
BankSeries SeriesOf(Game game);

// The id a file name of the bank's form fixes ("A1010694.CSV", any letter
// case, with or without a folder); nothing for any other name.
std::optional<BankFileId> BankFileIdFromName(std::string_view fileName);
std::string BankFileName(BankFileId id);
// Where the bank publishes the file, below its host: "/retail/takarakuji/...".
std::string BankFilePath(BankFileId id);

// The short HTML page the bank's content network sends instead of a file
// when it refuses a client ("Access Denied"), with status 403 or 200.
bool IsAccessDeniedPage(std::string_view bytes);

// The draws of one file as published (Shift_JIS bytes): one draw, or for an
// A50 file the Numbers4 draw and then the Numbers3 draw of the same number.
// Every draw returned is free of DrawProblem. `expected` is the file the
// name or the address asked for; the body must be that series and draw.
// Throws BankFileError with a one-line reason for anything else.
std::vector<Draw> ReadBankFile(std::string_view bytes, std::optional<BankFileId> expected = std::nullopt);

}  // namespace norv::service
