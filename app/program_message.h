#pragma once
// The texts of the program's numbered messages and the message utility's
// parameters.

#include <string>
#include <string_view>

namespace norv {

// Codes below 100 are boxes; 0 and unknown codes have no text.
std::string ProgramMessageText(int code, int number);

// Codes of 100 and above: "code-100", then " number" when number > 0.
std::string MessageUtilityParameters(int code, int number);

inline constexpr int kFirstUtilityCode = 100;

// The message utility's notice of new wins: its code, then the text, whose
// line breaks the utility keeps.
inline constexpr int kWinsUtilityCode = 20;
std::string MessageUtilityWinsParameters(std::string_view winText);

}  // namespace norv
