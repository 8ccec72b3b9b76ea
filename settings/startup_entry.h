#pragma once
// The text of the start-with-Windows entry. The path is written in quotes:
// under a folder with a space ("C:\Program Files\...") Windows would
// otherwise try "C:\Program.exe" first. Earlier releases wrote it bare.

#include <string>
#include <string_view>

namespace norv {

// "\"" + program folder + "norv.exe" + "\"".
std::string StartupEntryCommand(std::string_view programFolder);

// The entry an earlier release wrote for this program: the bare path, in any
// letter case. It means start-with-Windows all the same, and is rewritten in
// quotes at the next apply.
bool IsBareStartupEntry(std::string_view entry, std::string_view programFolder);

}  // namespace norv
