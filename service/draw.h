#pragma once
// One published draw as the maker's service holds it: what the bank announced,
// with the date that Norvale does not keep. Every part of the service (the
// store, the bank's files, the published site) speaks in these.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "store/game.h"

namespace norv::service {

struct Draw {
  Game game = Game::Loto6;
  int number = 0;
  std::string date;              // ISO, "2026-03-16"
  std::vector<int> balls;        // LOTO6 six, MiniLOTO five, ascending as announced; empty for Numbers
  int bonus = 0;                 // LOTO6 and MiniLOTO
  std::string digits;            // Numbers4 four, Numbers3 three, leading zeros kept; empty for LOTO
  std::vector<long long> prizes;  // yen per winning ticket, in record order; 0 = no winner

  bool operator==(const Draw&) const = default;
};

struct GameRules {
  Game game;
  std::string_view storeName;  // "loto6": file names, parse output, command lines
  int balls;                   // 0 for the Numbers games
  int highestBall;             // 43, 31
  int digits;                  // 0 for LOTO6 and MiniLOTO
  std::vector<int> prizeWidths;  // digits of each prize field in the record
};

const GameRules& RulesOf(Game game);
std::optional<Game> GameFromStoreName(std::string_view name);

// Why a draw cannot be stored or published; nothing when it can. It checks
// the shape (counts, ranges, digits) and that every value fits its record
// field, so that a record never silently loses a digit.
std::optional<std::string> DrawProblem(const Draw& draw);

// The record text Norvale stores for the draw, without CR LF. Only for a draw
// without a DrawProblem.
std::string RecordText(const Draw& draw);

// One line for a person: "loto6 2085 2026-03-16 03 11 19 24 30 42 (07) 0 15000000 ...".
std::string Describe(const Draw& draw);

}  // namespace norv::service
