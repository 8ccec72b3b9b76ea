#include "store/shift_jis.h"

#include <windows.h>

namespace norv {

namespace {

constexpr UINT kJapaneseCodePage = 932;

// MultiByteToWideChar with MB_ERR_INVALID_CHARS, so broken UTF-8 is refused
// instead of turning into replacement characters.
std::optional<std::wstring> StrictWiden(std::string_view utf8) {
  if (utf8.empty()) return std::wstring();
  const int length = MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, utf8.data(), static_cast<int>(utf8.size()),
                                         nullptr, 0);
  if (length <= 0) return std::nullopt;
  std::wstring wide(static_cast<std::size_t>(length), L'\0');
  MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, utf8.data(), static_cast<int>(utf8.size()), wide.data(), length);
  return wide;
}

}  // namespace

std::optional<std::string> FromShiftJis(std::string_view bytes) {
  if (bytes.empty()) return std::string();
  const int byteLength = static_cast<int>(bytes.size());
  const int length = MultiByteToWideChar(kJapaneseCodePage, MB_ERR_INVALID_CHARS, bytes.data(), byteLength, nullptr, 0);
  if (length <= 0) return std::nullopt;
  std::wstring wide(static_cast<std::size_t>(length), L'\0');
  MultiByteToWideChar(kJapaneseCodePage, MB_ERR_INVALID_CHARS, bytes.data(), byteLength, wide.data(), length);
  const int utf8Length = WideCharToMultiByte(CP_UTF8, 0, wide.data(), length, nullptr, 0, nullptr, nullptr);
  if (utf8Length <= 0) return std::nullopt;
  std::string utf8(static_cast<std::size_t>(utf8Length), '\0');
  WideCharToMultiByte(CP_UTF8, 0, wide.data(), length, utf8.data(), utf8Length, nullptr, nullptr);
  return utf8;
}

std::optional<std::string> ToShiftJis(std::string_view utf8) {
  const std::optional<std::wstring> wide = StrictWiden(utf8);
  if (!wide) return std::nullopt;
  if (wide->empty()) return std::string();
  const int wideLength = static_cast<int>(wide->size());
  BOOL usedDefault = FALSE;
  const int length = WideCharToMultiByte(kJapaneseCodePage, WC_NO_BEST_FIT_CHARS, wide->data(), wideLength, nullptr,
                                         0, nullptr, &usedDefault);
  if (length <= 0 || usedDefault) return std::nullopt;
  std::string bytes(static_cast<std::size_t>(length), '\0');
  WideCharToMultiByte(kJapaneseCodePage, WC_NO_BEST_FIT_CHARS, wide->data(), wideLength, bytes.data(), length,
                      nullptr, &usedDefault);
  return bytes;
}

}  // namespace norv
