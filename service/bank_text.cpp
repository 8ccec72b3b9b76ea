#include "service/bank_text.h"

#include <algorithm>

namespace norv::service {

namespace {

constexpr std::string_view kIdeographicSpace = "\xE3\x80\x80";
constexpr std::size_t kQuotedBytes = 40;

bool IsContinuationByte(char c) { return (static_cast<unsigned char>(c) & 0xC0) == 0x80; }

}  // namespace

std::string FoldWidth(std::string_view text) {
  std::string folded;
  folded.reserve(text.size());
  for (std::size_t i = 0; i < text.size();) {
    // U+FF01..U+FF5E are EF BC 81..EF BC BF and EF BD 80..EF BD 9E in UTF-8.
    if (i + 2 < text.size() && static_cast<unsigned char>(text[i]) == 0xEF) {
      const auto second = static_cast<unsigned char>(text[i + 1]);
      const auto third = static_cast<unsigned char>(text[i + 2]);
      if (second == 0xBC && third >= 0x81 && third <= 0xBF) {
        folded += static_cast<char>(third - 0x81 + 0x21);
        i += 3;
        continue;
      }
      if (second == 0xBD && third >= 0x80 && third <= 0x9E) {
        folded += static_cast<char>(third - 0x80 + 0x60);
        i += 3;
        continue;
      }
    }
    if (text.substr(i, kIdeographicSpace.size()) == kIdeographicSpace) {
      folded += ' ';
      i += kIdeographicSpace.size();
      continue;
    }
    folded += text[i++];
  }
  return folded;
}

std::string LabelForm(std::string_view text) {
  std::string label = FoldWidth(text);
  std::erase_if(label, [](char c) { return c == ' ' || c == '\t'; });
  return label;
}

std::string_view TrimBlanks(std::string_view text) {
  for (bool trimmed = true; trimmed && !text.empty();) {
    trimmed = false;
    if (text.front() == ' ' || text.front() == '\t') {
      text.remove_prefix(1);
      trimmed = true;
    } else if (text.starts_with(kIdeographicSpace)) {
      text.remove_prefix(kIdeographicSpace.size());
      trimmed = true;
    }
    if (text.empty()) break;
    if (text.back() == ' ' || text.back() == '\t') {
      text.remove_suffix(1);
      trimmed = true;
    } else if (text.ends_with(kIdeographicSpace)) {
      text.remove_suffix(kIdeographicSpace.size());
      trimmed = true;
    }
  }
  return text;
}

std::vector<std::string_view> SplitLines(std::string_view text) {
  std::vector<std::string_view> lines;
  while (!text.empty()) {
    const std::size_t end = text.find_first_of("\r\n");
    if (end == std::string_view::npos) {
      lines.push_back(text);
      break;
    }
    lines.push_back(text.substr(0, end));
    const bool crLf = text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n';
    text.remove_prefix(end + (crLf ? 2 : 1));
  }
  return lines;
}

std::vector<std::string> SplitCsvCells(std::string_view line) {
  std::vector<std::string> cells(1);
  bool quoted = false;
  for (std::size_t i = 0; i < line.size(); ++i) {
    const char c = line[i];
    if (quoted) {
      if (c != '"') {
        cells.back() += c;
      } else if (i + 1 < line.size() && line[i + 1] == '"') {
        cells.back() += '"';
        ++i;
      } else {
        quoted = false;
      }
    } else if (c == '"') {
      quoted = true;
    } else if (c == ',') {
      cells.emplace_back();
    } else {
      cells.back() += c;
    }
  }
  return cells;
}

std::string QuotedForMessage(std::string_view text) {
  std::size_t length = std::min(text.size(), kQuotedBytes);
  while (length > 0 && length < text.size() && IsContinuationByte(text[length])) --length;
  std::string quoted = "\"";
  for (char c : text.substr(0, length)) {
    const auto byte = static_cast<unsigned char>(c);
    quoted += byte < 0x20 || byte == 0x7F ? '?' : c;
  }
  if (length < text.size()) quoted += "...";
  return quoted + "\"";
}

}  // namespace norv::service
