#pragma once
// Platform file steps of the replace protocol. Each returns false on any
// failure and may leave a partial file behind for the caller to remove.
// Paths are UTF-8.

#include <string>
#include <string_view>

namespace norv {

// Creates or truncates the file, writes `content` and flushes it to the disk.
bool WriteFileDurably(const std::string& path, std::string_view content);

// Copies an existing `source` over `copy`, appends `tail` and flushes the
// copy to the disk. A missing source fails without creating the copy.
bool CopyAppendDurably(const std::string& source, const std::string& copy, std::string_view tail);

// Removes the file if it is there; a missing file is not an error.
void RemoveFileQuietly(const std::string& path);

}  // namespace norv
