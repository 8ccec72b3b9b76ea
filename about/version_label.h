#pragma once
// The version number the about box shows for a four-digit version stamp.

#include <string>
#include <string_view>

namespace norv {

// "0051" gives "5.1": the stamp read as a number, with a point before its
// last digit. A stamp that is not all digits is shown as it is.
std::string VersionLabel(std::string_view stamp);

}  // namespace norv
