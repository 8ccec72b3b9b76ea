#pragma once
// Text steps for the bank's per-draw files, on UTF-8. The bank mixes the
// full-width and the ASCII forms of the same characters (ロト６, 03) and pads
// cells with ideographic spaces, so labels are compared in one folded form.

#include <string>
#include <string_view>
#include <vector>

namespace norv::service {

// Full-width ASCII forms (！ to ～) become ASCII and the ideographic space a
// plain space; every other character is kept as it is.
std::string FoldWidth(std::string_view text);

// A label as rows are matched by it: folded, without any blank.
std::string LabelForm(std::string_view text);

// Without ASCII blanks and ideographic spaces at either end.
std::string_view TrimBlanks(std::string_view text);

// The lines of a text whose lines end in CR LF, LF or CR, in any mix.
std::vector<std::string_view> SplitLines(std::string_view text);

// The cells of one CSV row; a cell in double quotes may hold commas and
// doubled quotes.
std::vector<std::string> SplitCsvCells(std::string_view line);

// A cell as a one-line message may quote it: in double quotes, at most 40
// bytes (cut at a character boundary), control characters shown as '?'.
std::string QuotedForMessage(std::string_view text);

}  // namespace norv::service
