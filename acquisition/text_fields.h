#pragma once
// Small, stateless helpers that take apart and build the texts the program
// downloads and stores. Text is UTF-8; positions and lengths count bytes and
// are 1-based. None of them throws: a field that is not there is empty text.

#include <optional>
#include <string>
#include <string_view>

namespace norv {

std::string FieldAt(std::string_view text, int start, int count);

std::string ExtractBetween(std::string_view text, int position, std::string_view startMarker,
                           std::string_view endMarker, bool backward, bool trim);

std::string RemoveCommas(std::string_view text);

std::string FixedDigits(long long number, int width);

// Copy with only the ASCII letters upper-cased, so byte positions are kept.
std::string UpperAscii(std::string_view text);

// Leading and trailing bytes with codes up to 32 removed.
std::string_view TrimControls(std::string_view text);

// Whether every byte is an ASCII digit (true for the empty text).
bool AllDigits(std::string_view text);

// A non-empty run of ASCII digits that fits in 32 bits; anything else
// (signs, blanks, the empty text) is not a number.
std::optional<int> ParseDigits(std::string_view text);

// An optionally signed decimal integer that fits in 32 bits, as the
// settings' reading rule takes it.
std::optional<int> ParseInteger(std::string_view text);

}  // namespace norv
