#include "store/csv_export.h"

#include <span>
#include <string_view>

#include "resources/check_strings.h"
#include "resources/strings.h"
#include "store/file_replace.h"
#include "store/shift_jis.h"

namespace norv {

namespace {

constexpr std::string_view kLineEnd = "\r\n";

struct CsvLayout {
  int titleCommas;               // makes the title line as wide as a data line
  std::string_view header;
  int leadingColumns;            // written one per column from column 0
  int digitColumns;              // then the winning number as one column of digits
  int trailingColumns;           // then one per column again
};

const CsvLayout& CsvLayoutOf(Game game) {
  static const CsvLayout loto6{12,
                               "回数,当選番号1,当選番号2,当選番号3,当選番号4,当選番号5,当選番号6,"
                               "Bonus,１等,２等,３等,４等,５等",
                               13, 0, 0};
  static const CsvLayout miniLoto{10,
                                  "回数,当選番号1,当選番号2,当選番号3,当選番号4,当選番号5,"
                                  "Bonus,１等,２等,３等,４等",
                                  11, 0, 0};
  static const CsvLayout numbers4{5, "回数,当選番号,ストレート,ボックス,セットＳ,セットＢ", 1, 4, 4};
  static const CsvLayout numbers3{6, "回数,当選番号,ストレート,ボックス,セットＳ,セットＢ,ミニ", 1, 3, 5};
  switch (game) {
    case Game::Loto6: return loto6;
    case Game::MiniLoto: return miniLoto;
    case Game::Numbers4: return numbers4;
    case Game::Numbers3: return numbers3;
  }
  return loto6;
}

// A row cut short reads as 0 in its missing columns rather than past its end.
std::int32_t ColumnOf(const DrawRow& row, int column) {
  return static_cast<std::size_t>(column) < row.size() ? row[static_cast<std::size_t>(column)] : 0;
}

void AppendDataLine(std::string& out, const CsvLayout& layout, const DrawRow& row) {
  int column = 0;
  auto appendFields = [&](int count) {
    for (int i = 0; i < count; ++i, ++column) {
      if (column > 0) out.push_back(',');
      out.append(std::to_string(ColumnOf(row, column)));
    }
  };
  appendFields(layout.leadingColumns);
  if (layout.digitColumns > 0) {
    // One column of digits, so a winning number such as 0071 keeps its zeros.
    out.push_back(',');
    for (int i = 0; i < layout.digitColumns; ++i, ++column) out.append(std::to_string(ColumnOf(row, column)));
  }
  appendFields(layout.trailingColumns);
  out.append(kLineEnd);
}

}  // namespace

std::string CsvContent(Game game, const DrawTable& table) {
  const CsvLayout& layout = CsvLayoutOf(game);
  std::string out(text::kProductName);
  out.append(" ").append(GameName(game)).append(text::kCsvTitleSuffix);
  out.append(static_cast<std::size_t>(layout.titleCommas), ',').append(kLineEnd);
  out.append(layout.header).append(kLineEnd);
  // The table holds the newest draw first; the file starts with draw 1.
  for (auto row = table.rows.rbegin(); row != table.rows.rend(); ++row) AppendDataLine(out, layout, *row);
  return out;
}

std::optional<std::string> CsvFileBytes(Game game, const DrawTable& table) {
  return ToShiftJis(CsvContent(game, table));
}

std::string CsvTwinPath(const std::string& path) {
  const std::size_t nameAt = path.find_last_of("\\/");
  const std::size_t at = nameAt == std::string::npos ? 0 : nameAt + 1;
  return path.substr(0, at) + "tmp_" + path.substr(at);
}

bool WriteCsvFile(Game game, const DrawTable& table, const std::string& path, FileSystem& files) {
  const std::optional<std::string> bytes = CsvFileBytes(game, table);
  return bytes && WriteTwinAndReplace(CsvTwinPath(path), path, *bytes, files) == ReplaceOutcome::Replaced;
}

std::string CsvDialogTitle(Game game) {
  std::string title(GameName(game));
  title.append(text::kCsvDialogTitleSuffix);
  return title;
}

std::string CsvProposedFileName(Game game) { return std::string(GameName(game)); }

}  // namespace norv
