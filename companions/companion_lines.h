#pragma once
// The companions' data files: one fixed-width line per draw, oldest first,
// derived from the game's draw records.

#include <string>

#include "store/draw_table.h"
#include "store/game.h"

namespace norv {

// Bytes of one line, CR LF included: LOTO6 60, MiniLOTO 50, Numbers4 39,
// Numbers3 38.
int CompanionLineBytes(Game game);

// How the digits of a Numbers winning number repeat: ' ' all different, '*'
// one repeat (Numbers4: three different digits, Numbers3: two), '$' more.
char ClassMark(Game game, const DrawRow& row);

std::string CompanionLine(Game game, const DrawRow& row);

// The whole file: every row of the table, the oldest draw first.
std::string CompanionFileContent(Game game, const DrawTable& table);

}  // namespace norv
