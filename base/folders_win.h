#pragma once
// The folders the program works in, each ending in a backslash.

#include <optional>
#include <string>

namespace norv {

// The full path of this program's own executable, however long.
std::wstring OwnExecutablePath();

std::string ExecutableFolder();

// The user's roaming application-data folder; empty when the shell has none.
std::optional<std::string> RoamingAppDataFolder();

bool FileExists(const std::string& path);

}  // namespace norv
