#include "store/shift_jis.h"

#include "base/iconv_converter.h"

namespace norv {

namespace {

std::optional<std::string> Convert(const char* to, const char* from, std::string_view text) {
  IconvConverter converter(to, from);
  return converter.Convert(text);
}

}  // namespace

std::optional<std::string> ToShiftJis(std::string_view utf8) { return Convert("CP932", "UTF-8", utf8); }

std::optional<std::string> FromShiftJis(std::string_view bytes) { return Convert("UTF-8", "CP932", bytes); }

}  // namespace norv
