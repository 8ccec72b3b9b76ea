// Stand-in for the draw store until its branch is merged: the layouts' sizes
// and file names and a loader that keeps each record's draw number. Compiled
// only while store/ has no implementation of its own.

#if !__has_include("store/draw_table.cpp") && !__has_include("store/draw_record.cpp")

#include <windows.h>

#include <array>
#include <filesystem>
#include <fstream>

#include "acquisition/text_fields.h"
#include "app/unicode_win.h"
#include "store/draw_table.h"

namespace norv {

namespace {

constexpr FieldSpec kDrawNumber[13] = {{1, 4}};

const std::array<RecordLayout, 4> kLayouts{{
    {Game::Loto6, 56, 58, std::span(kDrawNumber, 13), "dat_lot6.tan", "tmp_lot6.tan"},
    {Game::MiniLoto, 40, 42, std::span(kDrawNumber, 11), "dat_mini.tan", "tmp_mini.tan"},
    {Game::Numbers4, 34, 36, std::span(kDrawNumber, 9), "dat_num4.tan", "tmp_num4.tan"},
    {Game::Numbers3, 35, 37, std::span(kDrawNumber, 9), "dat_num3.tan", "tmp_num3.tan"},
}};

}  // namespace

const RecordLayout& LayoutOf(Game game) {
  return kLayouts[static_cast<std::size_t>(GameIndex(game))];
}

GameData& GameDataOf(Game game) {
  static std::array<GameData, 4> data;
  return data[static_cast<std::size_t>(GameIndex(game))];
}

bool LoadDrawTable(Game game, const std::string& dataFolder, const std::stop_token& stop, const ReloadHooks& hooks) {
  GameData& data = GameDataOf(game);
  while (!data.TryTakeBusy()) {
    ::Sleep(1000);
  }
  hooks.beginGridReload(game);
  const RecordLayout& layout = LayoutOf(game);
  std::ifstream file(std::filesystem::path(Widen(dataFolder + std::string(layout.dataFile))), std::ios::binary);
  if (!file) {
    data.ReleaseBusy();
    return false;
  }
  std::string content((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
  const int count = static_cast<int>(content.size() / static_cast<std::size_t>(layout.recordBytes));
  data.table.rows.assign(static_cast<std::size_t>(count), DrawRow(static_cast<std::size_t>(layout.columns()), 0));
  for (int k = 0; k < count && !stop.stop_requested(); ++k) {
    const auto record = std::string_view(content).substr(static_cast<std::size_t>(k * layout.recordBytes), 4);
    data.table.rows[static_cast<std::size_t>(count - 1 - k)][0] = ParseDigits(record).value_or(0);
  }
  data.drawCount = count;
  hooks.endGridReload(game);
  data.ReleaseBusy();
  return true;
}

}  // namespace norv

#endif
