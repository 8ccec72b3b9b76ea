#pragma once
// Program paths are UTF-8 text; the file system wants its own path type.

#include <filesystem>
#include <string_view>

namespace norv {

std::filesystem::path PathFromUtf8(std::string_view utf8);

}  // namespace norv
