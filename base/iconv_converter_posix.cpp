#include "base/iconv_converter.h"

#include <cerrno>

namespace norv {

IconvConverter::IconvConverter(const char* to, const char* from) : handle_(iconv_open(to, from)) {}

IconvConverter::~IconvConverter() {
  if (Valid()) iconv_close(handle_);
}

bool IconvConverter::Valid() const { return handle_ != reinterpret_cast<iconv_t>(-1); }

std::optional<std::string> IconvConverter::Convert(std::string_view input) {
  if (!Valid()) return std::nullopt;
  iconv(handle_, nullptr, nullptr, nullptr, nullptr);  // a fresh start whatever came before
  std::string output(input.size() * 2 + 16, '\0');
  char* in = const_cast<char*>(input.data());  // iconv never writes through it
  std::size_t inLeft = input.size();
  std::size_t written = 0;
  while (inLeft > 0) {
    char* out = output.data() + written;
    std::size_t outLeft = output.size() - written;
    const std::size_t result = iconv(handle_, &in, &inLeft, &out, &outLeft);
    written = output.size() - outLeft;
    if (result != static_cast<std::size_t>(-1)) break;
    if (errno != E2BIG) return std::nullopt;  // EILSEQ, or EINVAL for a character cut off at the end
    output.resize(output.size() * 2);
  }
  output.resize(written);
  return output;
}

}  // namespace norv
