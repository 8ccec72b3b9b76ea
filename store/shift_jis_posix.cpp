#include "store/shift_jis.h"

#include <iconv.h>

namespace norv {

namespace {

class Converter {
 public:
  Converter() : cd_(iconv_open("CP932", "UTF-8")) {}
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

}  // namespace

std::optional<std::string> ToShiftJis(std::string_view utf8) {
  Converter converter;
  if (!converter.Valid()) return std::nullopt;
  std::string input(utf8);
  // A Shift_JIS character never takes more bytes than its UTF-8 form; the
  // spare room only guards against a converter that thinks otherwise.
  std::string output(input.size() * 2, '\0');
  char* in = input.data();
  std::size_t inLeft = input.size();
  char* out = output.data();
  std::size_t outLeft = output.size();
  if (iconv(converter.get(), &in, &inLeft, &out, &outLeft) == static_cast<std::size_t>(-1)) return std::nullopt;
  output.resize(output.size() - outLeft);
  return output;
}

}  // namespace norv
