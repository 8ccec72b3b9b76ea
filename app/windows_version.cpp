#include "app/windows_version.h"

namespace norv {

namespace {

int VersionCodeOf(unsigned major, unsigned minor) {
  switch (major) {
    case 4:
      return 1;
    case 5:
      return minor == 1 ? 3 : 2;
    case 6:
      switch (minor) {
        case 0:
          return 4;
        case 1:
          return 5;
        case 2:
          return 6;
        default:
          return 98;
      }
    default:
      return 99;
  }
}

}  // namespace

WindowsLook MapWindowsVersion(unsigned major, unsigned minor, bool themeActive) {
  WindowsLook look;
  look.versionCode = VersionCodeOf(major, minor);
  look.balloonsAvailable = major != 4;
  const bool modernMajor = major != 4 && major != 5;
  look.themedLook = themeActive && ((major == 5 && minor == 1) || modernMajor);
  // Major 5 keeps the classic about-box layout even with visual styles on.
  look.classicLook = major == 5 || (modernMajor && !themeActive);
  return look;
}

}  // namespace norv
