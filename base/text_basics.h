#pragma once
// Byte-level text tests that every subsystem shares: ASCII case, control
// trimming, plain decimal numbers and hexadecimal digits. None of them throws.

#include <optional>
#include <string>
#include <string_view>

namespace norv {

// Copy with only the ASCII letters upper-cased, so byte positions are kept.
std::string UpperAscii(std::string_view text);

// Leading and trailing bytes with codes up to 32 removed.
std::string_view TrimControls(std::string_view text);

// Whether every byte is an ASCII digit (true for the empty text).
bool AllDigits(std::string_view text);

// A non-empty run of ASCII digits that fits in 32 bits; anything else
// (signs, blanks, the empty text) is not a number.
std::optional<int> ParseDigits(std::string_view text);

// The value of one hexadecimal digit of either case; -1 for any other byte.
int HexDigitValue(char c);

// An optionally signed decimal integer that fits in 32 bits, as the
// settings' reading rule takes it.
std::optional<int> ParseInteger(std::string_view text);

}  // namespace norv
