#pragma once
// The bank publishes its files in Shift_JIS as Windows reads it (code page
// 932); inside the service all text is UTF-8.

#include <optional>
#include <string>
#include <string_view>

namespace norv::service {

// Nothing when the bytes are not valid code page 932 text. Both throw
// std::runtime_error when the system has no converter for code page 932.
std::optional<std::string> DecodeShiftJis(std::string_view bytes);

// Nothing when a character has no code page 932 form.
std::optional<std::string> EncodeShiftJis(std::string_view utf8);

}  // namespace norv::service
