#pragma once
// One line the user plays: a game's numbers, or a Numbers way of buying plus
// digits, over a span of draws. The same rules check a line typed into the
// dialog and a line read from the user's file.

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "store/game.h"

namespace norv {

enum class BuyWay { None, Straight, Box, Set, Mini };

struct MyLine {
  Game game = Game::Loto6;
  // LOTO6 and MiniLOTO: the numbers, ascending. Numbers games: the digits in
  // their order (two for ミニ, the last two of the draw).
  std::vector<int> numbers;
  BuyWay way = BuyWay::None;
  int firstDraw = 1;
  std::optional<int> lastDraw;  // nothing: every draw from firstDraw on
  std::string memo;

  bool Plays(int draw) const { return draw >= firstDraw && (!lastDraw || draw <= *lastDraw); }
};

enum class LineFault {
  ColumnCount,
  UnknownGame,
  UnknownWay,
  NotANumber,
  OutOfRange,
  Twice,
  WrongCount,
  SameDigits,
  MiniOutsideNumbers3,
  EndBeforeStart,
  Unreadable,
};

std::string_view LineFaultText(LineFault fault);

// The six columns of the user's file, as text.
struct LineFields {
  std::string game;
  std::string numbers;
  std::string way;
  std::string firstDraw;
  std::string lastDraw;
  std::string memo;
};

using LineReading = std::variant<MyLine, LineFault>;

// The line, or the first rule it breaks.
LineReading ReadLine(const LineFields& fields);

// The columns as the file holds them: lotto numbers two digits each,
// ascending and separated by spaces; Numbers digits with their zeros.
LineFields FieldsOf(const MyLine& line);
std::string NumbersText(const MyLine& line);

std::string_view WayText(BuyWay way);
std::optional<Game> GameNamed(std::string_view name);

}  // namespace norv
