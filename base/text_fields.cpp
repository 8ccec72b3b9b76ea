#include "base/text_fields.h"

#include <algorithm>

namespace norv {

namespace {

constexpr std::size_t kNotFound = std::string_view::npos;

// Left-to-right search for the last match lying wholly before `limit`.
// Each search continues after the end of the previous match, so
// overlapping occurrences count the way a forward scan sees them.
std::size_t LastMatchBefore(std::string_view haystack, std::string_view marker, std::size_t limit) {
  const std::string_view part = haystack.substr(0, limit);
  std::size_t last = kNotFound;
  for (std::size_t at = part.find(marker); at != kNotFound; at = part.find(marker, at + marker.size())) {
    last = at;
  }
  return last;
}

}  // namespace

std::string FieldAt(std::string_view text, int start, int count) {
  if (start < 1 || text.size() < static_cast<std::size_t>(start)) {
    return {};
  }
  const std::size_t from = static_cast<std::size_t>(start) - 1;
  if (count <= 0) {
    return std::string(text.substr(from));
  }
  if (text.size() - from < static_cast<std::size_t>(count)) {
    return {};  // a field is never cut short
  }
  return std::string(text.substr(from, static_cast<std::size_t>(count)));
}

std::string ExtractBetween(std::string_view text, int position, std::string_view startMarker,
                           std::string_view endMarker, bool backward, bool trim) {
  if (startMarker.empty() || endMarker.empty()) {
    return {};
  }
  const std::string upper = UpperAscii(text);
  const std::string_view copy(upper);
  const std::size_t from = position < 1 ? 0 : static_cast<std::size_t>(position) - 1;

  std::size_t markerAt = kNotFound;
  if (backward) {
    markerAt = LastMatchBefore(copy, startMarker, std::min(from, copy.size()));
  } else if (from <= copy.size()) {
    markerAt = copy.find(startMarker, from);
  }
  if (markerAt == kNotFound) {
    return {};
  }
  const std::size_t contentAt = markerAt + startMarker.size();
  const std::size_t endAt = copy.find(endMarker, contentAt);
  if (endAt == kNotFound) {
    return {};
  }
  const std::string_view result = text.substr(contentAt, endAt - contentAt);
  return std::string(trim ? TrimControls(result) : result);
}

std::string RemoveCommas(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (char c : text) {
    if (c != ',') {
      out.push_back(c);
    }
  }
  return out;
}

std::string FixedDigits(long long number, int width) {
  std::string digits = std::to_string(number);
  if (width <= 0) {
    return {};
  }
  const std::size_t w = static_cast<std::size_t>(width);
  if (digits.size() > w) {
    return digits.substr(digits.size() - w);
  }
  return std::string(w - digits.size(), '0') + digits;
}

}  // namespace norv
