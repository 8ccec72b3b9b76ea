#pragma once
// One conversion between two encodings with the system's iconv, for the
// POSIX builds (Windows converts through its code page APIs instead).

#include <iconv.h>

#include <optional>
#include <string>
#include <string_view>

namespace norv {

class IconvConverter {
 public:
  // Names as iconv_open takes them ("UTF-8", "CP932").
  IconvConverter(const char* to, const char* from);
  ~IconvConverter();
  IconvConverter(const IconvConverter&) = delete;
  IconvConverter& operator=(const IconvConverter&) = delete;

  // False when the system has no converter between the two.
  bool Valid() const;

  // Nothing when the input is not valid text of `from`, ends part-way through
  // a character, or holds a character `to` cannot represent.
  std::optional<std::string> Convert(std::string_view input);

 private:
  iconv_t handle_;
};

}  // namespace norv
