#pragma once
// Text leaves the program in the Windows Japanese code page (932) where a file
// format asks for it, and a file the user made in it is read back.

#include <optional>
#include <string>
#include <string_view>

namespace norv {

// Nothing when the text is not valid UTF-8 or holds a character that code
// page 932 cannot represent: a lossy file would be worse than none.
std::optional<std::string> ToShiftJis(std::string_view utf8);

// The UTF-8 text of code page 932 bytes; nothing when they are not valid
// code page 932.
std::optional<std::string> FromShiftJis(std::string_view bytes);

}  // namespace norv
