#pragma once
// Values the main window's creation step settles once, before any worker
// thread starts; read-only afterwards, so both threads read them freely.

#include <string>

#include "app/windows_version.h"

namespace norv {

inline std::string ProgramFolder;  // folder of norv.exe, ending in a backslash
inline std::string MakerFolder;    // roaming application data + "Pellmark\"
inline std::string DataFolder;     // MakerFolder + "T-NORV\"
inline WindowsLook Look;           // VersionCode, BalloonsAvailable, ThemedLook, ClassicLook

}  // namespace norv
