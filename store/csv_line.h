#pragma once
// The fields of one line of the CSV files the user edits: separated by
// commas, a field in double quotes may hold commas and doubled quotes.

#include <string>
#include <string_view>
#include <vector>

namespace norv {

std::vector<std::string> SplitCsvLine(std::string_view line);

// The field as a CSV line holds it: quoted only when it must be.
std::string CsvField(std::string_view field);

// The text split at CR LF, LF or CR; a last empty line is no line.
std::vector<std::string_view> SplitLines(std::string_view text);

}  // namespace norv
