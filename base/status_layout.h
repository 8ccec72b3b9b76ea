#pragma once
// The maker's status file as the service writes it and Norvale reads it: one
// line of kLength characters, a digit first to mark it valid, four-digit
// fields at fixed 1-based positions and zeros elsewhere.

#include <array>

namespace norv::status_layout {

inline constexpr int kLength = 100;
inline constexpr int kFieldWidth = 4;
inline constexpr int kMarkPosition = 1;

// The newest release of this program and of each companion.
inline constexpr int kBirchRelease = 5;
inline constexpr int kCedarRelease = 9;
inline constexpr int kDamsonRelease = 13;
inline constexpr int kNorvaleRelease = 17;
inline constexpr int kElderRelease = 25;
inline constexpr int kFennelRelease = 97;

// The draws each full history holds, by game index (LOTO6, MiniLOTO,
// Numbers4, Numbers3).
inline constexpr std::array<int, 4> kDrawCounts{45, 41, 37, 33};

}  // namespace norv::status_layout
