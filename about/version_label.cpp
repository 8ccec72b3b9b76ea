#include "about/version_label.h"

#include <algorithm>

namespace norv {

std::string VersionLabel(std::string_view stamp) {
  const bool digitsOnly = !stamp.empty() && std::all_of(stamp.begin(), stamp.end(), [](char ch) {
    return ch >= '0' && ch <= '9';
  });
  if (!digitsOnly) {
    return std::string(stamp);
  }
  const std::size_t firstSignificant = std::min(stamp.find_first_not_of('0'), stamp.size() - 1);
  std::string number(stamp.substr(firstSignificant));
  if (number.size() == 1) {
    // "0005" would otherwise read ".5".
    number.insert(0, "0");
  }
  number.insert(number.size() - 1, ".");
  return number;
}

}  // namespace norv
