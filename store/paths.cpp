#include "store/paths.h"

#include <string>

namespace norv {

// Going through char8_t makes the conversion UTF-8 on every platform; a plain
// std::string would be taken in the Windows ANSI code page and lose any folder
// name outside it.
std::filesystem::path PathFromUtf8(std::string_view utf8) {
  return std::filesystem::path(std::u8string(utf8.begin(), utf8.end()));
}

}  // namespace norv
