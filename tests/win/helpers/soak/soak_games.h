#pragma once
// The four games as the soak names them: the service's key, the name its
// state line uses, and the program's data file.

#include <array>

#include "store/game.h"

namespace norv::soak {

using norv::kHighestDrawNumber;

struct GameNames {
  Game game;
  const char* key;        // lot6 ...: publish, status and history addresses
  const char* stateName;  // LOTO6 ...: /control/state lines
  const wchar_t* dataFile;
};

inline constexpr std::array<GameNames, 4> kGames{{
    {Game::Loto6, "lot6", "LOTO6", L"dat_lot6.tan"},
    {Game::MiniLoto, "mini", "MiniLOTO", L"dat_mini.tan"},
    {Game::Numbers4, "num4", "Numbers4", L"dat_num4.tan"},
    {Game::Numbers3, "num3", "Numbers3", L"dat_num3.tan"},
}};

}  // namespace norv::soak
