#include "acquisition/environment.h"

#include <windows.h>

#include "base/unicode_win.h"

namespace norv {

// The wide call, so that a value outside the ANSI code page arrives intact.
std::optional<std::string> ReadEnvironment(const char* name) {
  const std::wstring wideName = Widen(name);
  const DWORD needed = ::GetEnvironmentVariableW(wideName.c_str(), nullptr, 0);
  if (needed == 0) {
    return std::nullopt;
  }
  std::wstring value(needed, L'\0');
  const DWORD written = ::GetEnvironmentVariableW(wideName.c_str(), value.data(), needed);
  if (written >= needed) {
    return std::nullopt;  // the value grew between the two calls
  }
  value.resize(written);
  return Narrow(value);
}

}  // namespace norv
