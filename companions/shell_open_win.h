#pragma once
// Starting a program or opening an address with the shell's default action.

#include <windows.h>

#include <string_view>

namespace norv {

// Default verb, no working folder, normal show state. The result is not
// examined: a missing program or an address that cannot be opened fails
// silently.
void ShellOpen(HWND owner, std::string_view target, std::string_view parameters);

}  // namespace norv
