#include "app/windows_version_win.h"

#include <windows.h>
#include <uxtheme.h>

namespace norv {

namespace {

using RtlGetVersionFunction = LONG(WINAPI*)(OSVERSIONINFOW*);

OSVERSIONINFOW KernelVersion() {
  OSVERSIONINFOW info{};
  info.dwOSVersionInfoSize = sizeof info;
  if (HMODULE ntdll = ::GetModuleHandleW(L"ntdll.dll")) {
    auto rtlGetVersion = reinterpret_cast<RtlGetVersionFunction>(
        reinterpret_cast<void*>(::GetProcAddress(ntdll, "RtlGetVersion")));
    if (rtlGetVersion && rtlGetVersion(&info) == 0) {
      return info;
    }
  }
  info.dwMajorVersion = 6;
  info.dwMinorVersion = 1;
  return info;
}

}  // namespace

WindowsLook ReadWindowsLook() {
  const OSVERSIONINFOW version = KernelVersion();
  return MapWindowsVersion(version.dwMajorVersion, version.dwMinorVersion, ::IsThemeActive() != FALSE);
}

}  // namespace norv
