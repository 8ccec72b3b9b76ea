#pragma once
// "my_numbers.csv": the user's lines, in the data folder. Read as Shift_JIS or
// as UTF-8 with or without a byte-order mark; written as Shift_JIS with CR LF.
// A line the program cannot read stays in the file as it stood, with the
// reason, and is not played.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "store/file_system.h"
#include "store/my_line.h"

namespace norv {

inline constexpr std::string_view kMyNumbersFileName = "my_numbers.csv";

struct MyNumbersEntry {
  int lineNumber = 0;  // 1-based line of the file as read; 0 for a line added since
  std::string text;    // the line as it stood, UTF-8
  std::optional<MyLine> line;
  LineFault fault = LineFault::Unreadable;  // why `line` is empty
  // A line in neither encoding: its bytes, written back untouched.
  std::optional<std::string> rawBytes;
};

struct MyNumbers {
  std::vector<MyNumbersEntry> entries;  // in file order
  std::vector<MyLine> PlayedLines() const;
};

MyNumbers ParseMyNumbers(std::string_view bytes);

// The whole file: header, then every entry, each line ended by CR LF. In
// Shift_JIS; a memo with a character Shift_JIS lacks makes the file UTF-8
// with a byte-order mark instead, which reads back alike, so nothing is lost.
std::string MyNumbersBytes(const MyNumbers& numbers);

// One line of the file, as it is written for a readable line.
std::string MyNumbersLine(const MyLine& line);

std::string MyNumbersPath(const std::string& dataFolder);

// A missing file is no lines; nothing when the file is there but cannot be
// read, so that nobody writes over it.
std::optional<MyNumbers> ReadMyNumbers(const std::string& dataFolder, FileSystem& files = LocalFileSystem());

// Through a twin and one replace step: a crash leaves the old file or the new.
bool WriteMyNumbers(const MyNumbers& numbers, const std::string& dataFolder, FileSystem& files = LocalFileSystem());

}  // namespace norv
