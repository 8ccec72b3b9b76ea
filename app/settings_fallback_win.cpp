// Stand-in for the settings store until its branch is merged: reads the
// values the main window needs with their defaults for a missing value and
// writes single values. Deleted when settings/ provides the real store.

#include <windows.h>

#include <algorithm>
#include <optional>

#include "acquisition/text_fields.h"
#include "app/settings_store_link.h"
#include "app/unicode_win.h"
#include "settings/settings.h"

namespace norv {

namespace {

constexpr wchar_t kSectionKey[] = L"Software\\Pellmark\\T-NORV";

std::optional<std::string> ReadValue(std::string_view name) {
  wchar_t buffer[1024] = {};
  DWORD size = sizeof buffer - sizeof(wchar_t);
  if (::RegGetValueW(HKEY_CURRENT_USER, kSectionKey, Widen(name).c_str(), RRF_RT_REG_SZ, nullptr, buffer, &size) !=
      ERROR_SUCCESS) {
    return std::nullopt;
  }
  return Narrow(buffer);
}

int ReadInt(std::string_view name, int missing) {
  const auto text = ReadValue(name);
  return text ? ParseInteger(*text).value_or(missing) : missing;
}

bool ReadFlag(std::string_view name, bool missing) {
  return ReadInt(name, missing ? 1 : 0) != 0;
}

int PlaceOnAxis(int stored, int size, int edge, int area) {
  if (area <= size || stored < edge - 1) {
    return edge - 1;
  }
  return stored + size - edge > area ? edge + area - size : stored;
}

}  // namespace

int Settings::NormalIntervalMinutes() const {
  constexpr int minutes[7] = {0, 5, 10, 15, 30, 60, 90};
  return in1 >= 0 && in1 <= 6 ? minutes[in1] : 0;
}

int Settings::WindowIntervalMinutes() const {
  constexpr int minutes[7] = {0, 1, 3, 5, 10, 15, 30};
  return in2 >= 0 && in2 <= 6 ? minutes[in2] : 0;
}

int Settings::WindowStart() const {
  return tm1 * 100 + tm2 * 5;
}

int Settings::WindowEnd() const {
  return tm3 * 100 + tm4 * 5;
}

SettingsHolder& AppSettings() {
  static SettingsHolder holder;
  return holder;
}

void RunFirstRunStep(const std::string&) {}

void LoadSettings(const std::string& programFolder, int) {
  AppSettings().Update([&](Settings& s) {
    s.dkg = ReadFlag("dkg", false);
    s.msg = ReadFlag("msg", true);
    s.snd = ReadFlag("snd", true);
    s.wav = ReadValue("wav").value_or(programFolder + "norv.wav");
    s.mod = ReadFlag("mod", false);
    s.in1 = ReadInt("in1", 1);
    s.in2 = ReadInt("in2", 1);
    s.tm1 = ReadInt("tm1", 1);
    s.tm2 = ReadInt("tm2", 1);
    s.tm3 = ReadInt("tm3", 1);
    s.tm4 = ReadInt("tm4", 1);
    s.kid = ReadInt("kid", 1);
    s.csv = ReadFlag("csv", true);
    s.shp = ReadFlag("shp", true);
    s.dhp = ReadFlag("dhp", true);
    s.chp = ReadFlag("chp", true);
    s.hlp = ReadFlag("hlp", true);
    s.dml = ReadFlag("dml", true);
    s.cdm = ReadFlag("cdm", true);
    s.ad4 = ReadFlag("ad4", true);
    s.bc4 = ReadFlag("bc4", true);
    s.elj = ReadFlag("elj", true);
  });
}

WindowPosition LoadWindowPosition(int windowWidth, int windowHeight) {
  RECT work{};
  ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
  const int areaW = work.right - work.left;
  const int areaH = work.bottom - work.top;
  const int bx = ::GetSystemMetrics(SM_CXEDGE) + ::GetSystemMetrics(SM_CXFIXEDFRAME);
  const int by = ::GetSystemMetrics(SM_CYEDGE) + ::GetSystemMetrics(SM_CYFIXEDFRAME);
  const int left = PlaceOnAxis(ReadInt("pox", (areaW - windowWidth) / 2), windowWidth, bx, areaW);
  const int top = PlaceOnAxis(ReadInt("poy", (areaH - windowHeight) / 2), windowHeight, by, areaH);
  AppSettings().Update([&](Settings& s) {
    s.pox = left;
    s.poy = top;
  });
  return {left, top};
}

void ReadVersionStampsAndStartCount() {}

void WriteSetting(std::string_view name, std::string_view text) {
  const std::wstring value = Widen(text);
  ::RegSetKeyValueW(HKEY_CURRENT_USER, kSectionKey, Widen(name).c_str(), REG_SZ, value.c_str(),
                    static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
}

}  // namespace norv
