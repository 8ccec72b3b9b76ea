#include "service/shift_jis.h"

#include <iconv.h>

#include <cerrno>
#include <stdexcept>
#include <string>

namespace norv::service {

namespace {

class Converter {
 public:
  Converter(const char* to, const char* from) : handle_(iconv_open(to, from)) {}
  ~Converter() {
    if (valid()) iconv_close(handle_);
  }
  Converter(const Converter&) = delete;
  Converter& operator=(const Converter&) = delete;

  bool valid() const { return handle_ != reinterpret_cast<iconv_t>(-1); }

  std::optional<std::string> Convert(std::string_view input) {
    std::string output(input.size() * 2 + 16, '\0');
    char* in = const_cast<char*>(input.data());
    std::size_t inLeft = input.size();
    std::size_t written = 0;
    while (inLeft > 0) {
      char* out = output.data() + written;
      std::size_t outLeft = output.size() - written;
      const std::size_t result = iconv(handle_, &in, &inLeft, &out, &outLeft);
      written = output.size() - outLeft;
      if (result != static_cast<std::size_t>(-1)) break;
      if (errno != E2BIG) return std::nullopt;  // EILSEQ or a sequence cut off at the end
      output.resize(output.size() * 2);
    }
    output.resize(written);
    return output;
  }

 private:
  iconv_t handle_;
};

std::optional<std::string> Convert(const char* to, const char* from, std::string_view input) {
  Converter converter(to, from);
  // A system without the code page is a broken installation, not bad input.
  if (!converter.valid()) throw std::runtime_error(std::string("iconv cannot convert from ") + from + " to " + to);
  return converter.Convert(input);
}

}  // namespace

std::optional<std::string> DecodeShiftJis(std::string_view bytes) { return Convert("UTF-8", "CP932", bytes); }

std::optional<std::string> EncodeShiftJis(std::string_view utf8) { return Convert("CP932", "UTF-8", utf8); }

}  // namespace norv::service
