#pragma once
// The settings the soaked program starts with, and the service it asks.

#include <windows.h>

#include <cwchar>

#include "base/unicode_win.h"
#include "tests/win/helpers/soak/soak_service.h"

namespace norv::soak {

inline void SetProgramSetting(const wchar_t* name, const wchar_t* value) {
  ::RegSetKeyValueW(HKEY_CURRENT_USER, L"Software\\Pellmark\\T-NORV", name, REG_SZ, value,
                    static_cast<DWORD>((std::wcslen(value) + 1) * sizeof(wchar_t)));
}

// Not a first start; no automatic checks, no sound, no balloons; and every
// release the service names already announced, so no version notice waits
// for an answer.
inline void ApplyProgramSettings() {
  ::RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\Pellmark\\T-NORV");
  for (const wchar_t* name : {L"win", L"mod", L"kid", L"in1", L"in2", L"snd", L"msg", L"dkg", L"cnt"}) {
    SetProgramSetting(name, L"0");
  }
  SetProgramSetting(L"new", L"9999");
}

// Inherited by the program, which reads its directory endpoints from them.
inline void PointProgramAt(const SoakService& service) {
  ::SetEnvironmentVariableW(L"NORVALE_DIRECTORY_1", Widen(service.Origin() + "/dir1/dir.cgi?SFT=0").c_str());
  ::SetEnvironmentVariableW(L"NORVALE_DIRECTORY_2", Widen(service.Origin() + "/dir2/dir.cgi?SFT=0").c_str());
}

}  // namespace norv::soak
