#include "store/draw_record.h"

#include <algorithm>
#include <array>

#include "base/text_fields.h"

namespace norv {

namespace {

constexpr FieldSpec kLoto6Fields[] = {
    {1, 4},  {5, 2},   {7, 2},   {9, 2},  {11, 2}, {13, 2}, {15, 2},
    {17, 2}, {19, 10}, {29, 9},  {38, 8}, {46, 6}, {52, 5},
};

constexpr FieldSpec kMiniLotoFields[] = {
    {1, 4}, {5, 2}, {7, 2}, {9, 2}, {11, 2}, {13, 2}, {15, 2}, {17, 8}, {25, 7}, {32, 5}, {37, 4},
};

constexpr FieldSpec kNumbers4Fields[] = {
    {1, 4}, {5, 1}, {6, 1}, {7, 1}, {8, 1}, {9, 7}, {16, 6}, {22, 7}, {29, 6},
};

// One byte longer than Numbers4: one digit fewer, but five prize fields.
constexpr FieldSpec kNumbers3Fields[] = {
    {1, 4}, {5, 1}, {6, 1}, {7, 1}, {8, 6}, {14, 6}, {20, 6}, {26, 5}, {31, 5},
};

constexpr std::array<RecordLayout, 4> kLayouts{{
    {Game::Loto6, 56, 58, kLoto6Fields, "dat_lot6.tan", "tmp_lot6.tan"},
    {Game::MiniLoto, 40, 42, kMiniLotoFields, "dat_mini.tan", "tmp_mini.tan"},
    {Game::Numbers4, 34, 36, kNumbers4Fields, "dat_num4.tan", "tmp_num4.tan"},
    {Game::Numbers3, 35, 37, kNumbers3Fields, "dat_num3.tan", "tmp_num3.tan"},
}};

// The record's text is its first L bytes; a zero byte (a file padded or
// damaged by a crash) ends it early, so the fields behind it read as 0.
std::string_view RecordText(const RecordLayout& layout, std::string_view record) {
  record = record.substr(0, std::min(record.size(), static_cast<std::size_t>(layout.textBytes)));
  return record.substr(0, record.find('\0'));
}

}  // namespace

const RecordLayout& LayoutOf(Game game) {
  return kLayouts[static_cast<std::size_t>(GameIndex(game))];
}

DrawRow ParseRecordText(Game game, std::string_view text) {
  const RecordLayout& layout = LayoutOf(game);
  const std::string_view recordText = RecordText(layout, text);
  DrawRow row;
  row.reserve(layout.fields.size());
  for (const FieldSpec& field : layout.fields) {
    row.push_back(ParseDigits(FieldAt(recordText, field.position, field.width)).value_or(0));
  }
  return row;
}

}  // namespace norv
