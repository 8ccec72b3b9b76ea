#pragma once
// Small, stateless helpers that take apart and build the texts the program
// downloads and stores. Text is UTF-8; positions and lengths count bytes and
// are 1-based. None of them throws: a field that is not there is empty text.

#include <string>
#include <string_view>

#include "base/text_basics.h"

namespace norv {

std::string FieldAt(std::string_view text, int start, int count);

std::string ExtractBetween(std::string_view text, int position, std::string_view startMarker,
                           std::string_view endMarker, bool backward, bool trim);

std::string RemoveCommas(std::string_view text);

std::string FixedDigits(long long number, int width);

}  // namespace norv
