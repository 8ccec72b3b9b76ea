#include "store/shift_jis.h"

#include <iconv.h>

namespace norv {

namespace {

class Converter {
 public:
  Converter(const char* to, const char* from) : cd_(iconv_open(to, from)) {}
  ~Converter() {
    if (Valid()) iconv_close(cd_);
  }
  Converter(const Converter&) = delete;
  Converter& operator=(const Converter&) = delete;

  bool Valid() const { return cd_ != reinterpret_cast<iconv_t>(-1); }
  iconv_t get() const { return cd_; }

 private:
  iconv_t cd_;
};

// `growth`: how many output bytes one input byte may need at most.
std::optional<std::string> Convert(const char* to, const char* from, std::string_view text, std::size_t growth) {
  Converter converter(to, from);
  if (!converter.Valid()) return std::nullopt;
  std::string input(text);
  std::string output(input.size() * growth, '\0');
  char* in = input.data();
  std::size_t inLeft = input.size();
  char* out = output.data();
  std::size_t outLeft = output.size();
  if (iconv(converter.get(), &in, &inLeft, &out, &outLeft) == static_cast<std::size_t>(-1)) return std::nullopt;
  output.resize(output.size() - outLeft);
  return output;
}

}  // namespace

// A Shift_JIS character never takes more bytes than its UTF-8 form; the
// spare room only guards against a converter that thinks otherwise.
std::optional<std::string> ToShiftJis(std::string_view utf8) { return Convert("CP932", "UTF-8", utf8, 2); }

// One byte becomes at most three (a half-width katakana), two at most three.
std::optional<std::string> FromShiftJis(std::string_view bytes) { return Convert("UTF-8", "CP932", bytes, 3); }

}  // namespace norv
