#include "companions/companion_lines.h"

#include <set>

#include "base/text_fields.h"
#include "store/draw_record.h"

namespace norv {

namespace {

constexpr char kLineEnd[] = "\r\n";
constexpr int kDigitsColumn = 1;  // the digits follow the draw number

// Blanks between the record text and the line end.
int TrailingBlanks(Game game) {
  switch (game) {
    case Game::Loto6: return 2;
    case Game::MiniLoto: return 8;
    case Game::Numbers4: return 2;
    case Game::Numbers3: return 0;
  }
  return 0;
}

bool HasClassMark(Game game) { return game == Game::Numbers4 || game == Game::Numbers3; }

int DigitCount(Game game) { return game == Game::Numbers4 ? 4 : 3; }

// A row shorter than its layout (it never is after parsing) reads as 0.
long long Column(const DrawRow& row, std::size_t column) { return column < row.size() ? row[column] : 0; }

}  // namespace

int CompanionLineBytes(Game game) {
  return LayoutOf(game).textBytes + (HasClassMark(game) ? 1 : 0) + TrailingBlanks(game) + 2;
}

// Counted on the digits as written, so the mark always matches the line.
char ClassMark(Game game, const DrawRow& row) {
  const int digits = DigitCount(game);
  std::set<std::string> distinct;
  for (int i = 0; i < digits; ++i) {
    distinct.insert(FixedDigits(Column(row, static_cast<std::size_t>(kDigitsColumn + i)), 1));
  }
  const int different = static_cast<int>(distinct.size());
  if (different == digits) return ' ';
  if (different == digits - 1) return '*';
  return '$';
}

std::string CompanionLine(Game game, const DrawRow& row) {
  const RecordLayout& layout = LayoutOf(game);
  std::string line;
  line.reserve(static_cast<std::size_t>(CompanionLineBytes(game)));
  for (std::size_t column = 0; column < layout.fields.size(); ++column) {
    if (column == kDigitsColumn && HasClassMark(game)) line += ClassMark(game, row);
    line += FixedDigits(Column(row, column), layout.fields[column].width);
  }
  line.append(static_cast<std::size_t>(TrailingBlanks(game)), ' ');
  line += kLineEnd;
  return line;
}

// The table holds the newest draw first; the companions read oldest first.
std::string CompanionFileContent(Game game, const DrawTable& table) {
  std::string content;
  content.reserve(table.rows.size() * static_cast<std::size_t>(CompanionLineBytes(game)));
  for (auto row = table.rows.rbegin(); row != table.rows.rend(); ++row) {
    content += CompanionLine(game, *row);
  }
  return content;
}

}  // namespace norv
