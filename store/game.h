#pragma once
// The four games, in the order of every per-game loop, file, table, grid and tab.

#include <array>
#include <string_view>

namespace norv {

enum class Game : int { Loto6 = 1, MiniLoto = 2, Numbers4 = 3, Numbers3 = 4 };

inline constexpr std::array<Game, 4> kAllGames{Game::Loto6, Game::MiniLoto, Game::Numbers4, Game::Numbers3};

// A record holds its draw number in four digits: no game goes beyond this draw.
inline constexpr int kHighestDrawNumber = 9999;

constexpr int GameIndex(Game game) { return static_cast<int>(game) - 1; }

constexpr std::string_view GameName(Game game) {
  constexpr std::array<std::string_view, 4> names{"LOTO6", "MiniLOTO", "Numbers4", "Numbers3"};
  return names[static_cast<std::size_t>(GameIndex(game))];
}

}  // namespace norv
