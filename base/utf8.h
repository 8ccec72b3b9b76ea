#pragma once
// Downloaded pages are checked as UTF-8 before any marker is searched in them.

#include <string>
#include <string_view>

namespace norv {

bool IsValidUtf8(std::string_view bytes);

// The bytes with every ill-formed sequence replaced by U+FFFD, so the result
// is always valid UTF-8 whatever was cut off or corrupted on the way.
std::string RepairUtf8(std::string_view bytes);

// The text with every CR and LF removed: the lines of a reply run together.
std::string RemoveLineBreaks(std::string_view text);

}  // namespace norv
