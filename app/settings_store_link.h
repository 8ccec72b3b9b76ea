#pragma once
// The settings store's entry points that the main window's start-up and close
// steps call. The store fills AppSettings(); the window applies the result to
// its controls.

#include <string>
#include <string_view>

namespace norv {

// Writes the first-run values when the value "win" is absent.
void RunFirstRunStep(const std::string& programFolder);

// Reads every option into AppSettings() (companion flags only for installed
// companions; the Alder flags forced off from versionCode 4 on).
void LoadSettings(const std::string& programFolder, int versionCode);

struct WindowPosition {
  int left;
  int top;
};

// The stored pox/poy pulled inside the desktop work area for a window of this
// outer size (centred when absent); also kept as the loaded pox/poy.
WindowPosition LoadWindowPosition(int windowWidth, int windowHeight);

// The version stamps and the start counter of the start-up step.
void ReadVersionStampsAndStartCount();

// Stores one value in the program's section at once.
void WriteSetting(std::string_view name, std::string_view text);

}  // namespace norv
