#pragma once
// The fixed-width draw records: one layout per game, the single definition of
// record lengths, field positions and the data file names.

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "store/game.h"

namespace norv {

struct FieldSpec {
  int position;  // 1-based byte position in the record text
  int width;
};

struct RecordLayout {
  Game game;
  int textBytes;    // L: the record without its CR LF
  int recordBytes;  // L + 2
  std::span<const FieldSpec> fields;  // one per table column, in column order
  std::string_view dataFile;          // "dat_lot6.tan" ...
  std::string_view tempFile;          // "tmp_lot6.tan" ...
  int columns() const { return static_cast<int>(fields.size()); }
};

const RecordLayout& LayoutOf(Game game);

using DrawRow = std::vector<std::int32_t>;

// One table row from a record's text: exactly `columns()` integers; a field that
// does not fit wholly or does not hold digits gives 0.
DrawRow ParseRecordText(Game game, std::string_view text);

}  // namespace norv
