#pragma once
// The four tables of the real history, each held up to its newest draw, for
// tests that match the user's lines against real draws.

#include "seed_rows.h"
#include "store/draw_table.h"
#include "store/my_wins.h"

namespace norv::testing {

struct RealTables {
  DrawTable loto6{SeedRows(Game::Loto6)};
  DrawTable miniLoto{SeedRows(Game::MiniLoto)};
  DrawTable numbers4{SeedRows(Game::Numbers4)};
  DrawTable numbers3{SeedRows(Game::Numbers3)};
  TablesByGame All() const { return {&loto6, &miniLoto, &numbers4, &numbers3}; }
};

}  // namespace norv::testing
