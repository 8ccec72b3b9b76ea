#pragma once
// What the rest of the program needs to know about the Windows it runs on.

namespace norv {

struct WindowsLook {
  int versionCode = 99;  // 1 (4.x), 2 (5.x), 3 (5.1), 4 (6.0), 5 (6.1), 6 (6.2), 98 (other 6.x), 99
  bool balloonsAvailable = true;
  bool themedLook = false;
  bool classicLook = false;
};

WindowsLook MapWindowsVersion(unsigned major, unsigned minor, bool themeActive);

}  // namespace norv
