#include "store/my_numbers_file.h"

#include "base/utf8.h"
#include "base/text_basics.h"
#include "resources/my_numbers_strings.h"
#include "store/csv_export.h"
#include "store/csv_line.h"
#include "store/file_replace.h"
#include "store/shift_jis.h"

namespace norv {

namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
constexpr std::string_view kLineEnd = "\r\n";
constexpr std::size_t kFewestColumns = 5;  // the memo may be left off
constexpr std::size_t kMostColumns = 6;

struct Decoded {
  std::optional<std::string> text;
  std::string bytes;
};

// A file that is UTF-8 as a whole is read as UTF-8; otherwise each line is
// Shift_JIS, or UTF-8 when it is not, so one odd line costs only itself.
std::vector<Decoded> DecodeLines(std::string_view bytes) {
  bool utf8 = bytes.starts_with(kByteOrderMark);
  if (utf8) bytes.remove_prefix(kByteOrderMark.size());
  utf8 = utf8 || IsValidUtf8(bytes);
  std::vector<Decoded> lines;
  for (std::string_view line : SplitLines(bytes)) {
    Decoded decoded{std::nullopt, std::string(line)};
    if (utf8) {
      if (IsValidUtf8(line)) decoded.text = std::string(line);
    } else {
      decoded.text = FromShiftJis(line);
      if (!decoded.text && IsValidUtf8(line)) decoded.text = std::string(line);
    }
    lines.push_back(std::move(decoded));
  }
  return lines;
}

MyNumbersEntry ReadEntry(std::string_view text) {
  MyNumbersEntry entry;
  entry.text = std::string(text);
  std::vector<std::string> columns = SplitCsvLine(text);
  if (columns.size() < kFewestColumns || columns.size() > kMostColumns) {
    entry.fault = LineFault::ColumnCount;
    return entry;
  }
  columns.resize(kMostColumns);
  const LineReading reading = ReadLine({columns[0], columns[1], columns[2], columns[3], columns[4], columns[5]});
  if (const MyLine* line = std::get_if<MyLine>(&reading)) {
    entry.line = *line;
  } else {
    entry.fault = std::get<LineFault>(reading);
  }
  return entry;
}

bool IsHeader(std::string_view text) {
  const std::vector<std::string> columns = SplitCsvLine(text);
  return TrimControls(columns.front()) == text::kMyNumbersHeader.substr(0, text::kMyNumbersHeader.find(','));
}

// The line as it is to be written; a line in neither encoding keeps its bytes.
std::string EntryText(const MyNumbersEntry& entry) {
  return entry.line ? MyNumbersLine(*entry.line) : entry.text;
}

std::string Encode(const MyNumbers& numbers, bool shiftJis) {
  std::string bytes = shiftJis ? std::string() : std::string(kByteOrderMark);
  auto append = [&](std::string_view text) -> bool {
    if (!shiftJis) {
      bytes.append(text);
      return true;
    }
    const std::optional<std::string> converted = ToShiftJis(text);
    if (converted) bytes.append(*converted);
    return converted.has_value();
  };
  if (!append(text::kMyNumbersHeader)) return {};
  bytes.append(kLineEnd);
  for (const MyNumbersEntry& entry : numbers.entries) {
    if (entry.rawBytes) {
      bytes.append(*entry.rawBytes);
    } else if (!append(EntryText(entry))) {
      return {};
    }
    bytes.append(kLineEnd);
  }
  return bytes;
}

}  // namespace

std::vector<MyLine> MyNumbers::PlayedLines() const {
  std::vector<MyLine> lines;
  for (const MyNumbersEntry& entry : entries) {
    if (entry.line) lines.push_back(*entry.line);
  }
  return lines;
}

MyNumbers ParseMyNumbers(std::string_view bytes) {
  MyNumbers numbers;
  int lineNumber = 0;
  bool headerSeen = false;
  for (const Decoded& decoded : DecodeLines(bytes)) {
    ++lineNumber;
    if (decoded.text && TrimControls(*decoded.text).empty()) continue;
    if (!headerSeen && decoded.text && IsHeader(*decoded.text)) {
      headerSeen = true;
      continue;
    }
    headerSeen = true;
    MyNumbersEntry entry;
    if (decoded.text) {
      entry = ReadEntry(*decoded.text);
    } else {
      entry.text = RepairUtf8(decoded.bytes);
      entry.rawBytes = decoded.bytes;
    }
    entry.lineNumber = lineNumber;
    numbers.entries.push_back(std::move(entry));
  }
  return numbers;
}

std::string MyNumbersLine(const MyLine& line) {
  const LineFields fields = FieldsOf(line);
  std::string text = CsvField(fields.game);
  for (const std::string* field : {&fields.numbers, &fields.way, &fields.firstDraw, &fields.lastDraw, &fields.memo}) {
    text.push_back(',');
    text.append(CsvField(*field));
  }
  return text;
}

std::string MyNumbersBytes(const MyNumbers& numbers) {
  std::string bytes = Encode(numbers, true);
  return bytes.empty() ? Encode(numbers, false) : bytes;
}

std::string MyNumbersPath(const std::string& dataFolder) { return dataFolder + std::string(kMyNumbersFileName); }

std::optional<MyNumbers> ReadMyNumbers(const std::string& dataFolder, FileSystem& files) {
  const std::string path = MyNumbersPath(dataFolder);
  const std::optional<std::string> bytes = files.ReadWhole(path);
  if (!bytes) {
    if (files.SizeOf(path)) return std::nullopt;
    return MyNumbers{};
  }
  return ParseMyNumbers(*bytes);
}

bool WriteMyNumbers(const MyNumbers& numbers, const std::string& dataFolder, FileSystem& files) {
  const std::string path = MyNumbersPath(dataFolder);
  return WriteTwinAndReplace(CsvTwinPath(path), path, MyNumbersBytes(numbers), files) == ReplaceOutcome::Replaced;
}

}  // namespace norv
