// liveup.exe: the maker's update tool, started by Norvale with a product code.

#include <windows.h>

#include <string>
#include <vector>

#include "base/exception_display_win.h"
#include "base/unicode_win.h"
#include "notices/liveup_win.h"
#include "resources/strings.h"

#ifndef NORVALE_RELEASE_PUBLIC_KEY
#error "the build gives the release key (cmake/ReleaseKey.cmake)"
#endif

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  std::vector<std::string> arguments;
  for (int i = 1; i < __argc; ++i) arguments.push_back(norv::Narrow(__wargv[i]));
  norv::LiveupSettings settings{NORVALE_RELEASE_PUBLIC_KEY};
#ifdef NORVALE_LIVEUP_LOOPBACK_HTTP
  settings.loopbackHttp = true;
#endif
  try {
    norv::SetExceptionReport(nullptr, norv::Widen(norv::text::kProductName));
    return norv::RunLiveup(arguments, settings);
  } catch (...) {
    return norv::kLiveupRefused;
  }
}
