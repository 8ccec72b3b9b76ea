#pragma once
// Text is UTF-8 inside the program; these convert at the Windows API boundary.

#include <string>
#include <string_view>

namespace norv {

std::wstring Widen(std::string_view utf8);
std::string Narrow(std::wstring_view utf16);

}  // namespace norv
