#pragma once
// Opens pages, the help file and the maker's programs with the shell's default action.

#include <string>

namespace norv {

enum class TargetKind { SupportPage, BankPage, MakerPage, HelpFile, MessageUtility };

// The address or file a kind stands for.
std::string TargetOf(TargetKind kind);

// No verb, no working directory, normal show state; the result is not checked.
void OpenTarget(TargetKind kind, const std::string& parameters);
void OpenPath(const std::string& pathOrAddress, const std::string& parameters);

}  // namespace norv
