#include "service/shift_jis.h"

#include <stdexcept>
#include <string>

#include "base/iconv_converter.h"

namespace norv::service {

namespace {

std::optional<std::string> Convert(const char* to, const char* from, std::string_view input) {
  IconvConverter converter(to, from);
  // A system without the code page is a broken installation, not bad input.
  if (!converter.Valid()) throw std::runtime_error(std::string("iconv cannot convert from ") + from + " to " + to);
  return converter.Convert(input);
}

}  // namespace

std::optional<std::string> DecodeShiftJis(std::string_view bytes) { return Convert("UTF-8", "CP932", bytes); }

std::optional<std::string> EncodeShiftJis(std::string_view utf8) { return Convert("CP932", "UTF-8", utf8); }

}  // namespace norv::service
