#include "notices/release_manifest.h"

#include <algorithm>
#include <cstdio>
#include <vector>

namespace norv {

namespace {

constexpr std::array<std::string_view, 8> kNames{"product", "release", "url",    "size",
                                                 "sha256",  "signed",  "expires", "signature"};
constexpr std::string_view kSignatureName = "signature=";
constexpr std::size_t kMaxUrlBytes = 2000;
constexpr std::string_view kBase64Alphabet = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";

bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool AllDigits(std::string_view text) {
  if (text.empty()) return false;
  for (char c : text) {
    if (!IsDigit(c)) return false;
  }
  return true;
}

// Digits without a leading zero, at most `maxDigits` of them.
std::optional<std::uint64_t> PlainNumber(std::string_view text, std::size_t maxDigits) {
  if (!AllDigits(text) || text.size() > maxDigits || (text.size() > 1 && text[0] == '0')) return std::nullopt;
  std::uint64_t value = 0;
  for (char c : text) value = value * 10 + static_cast<std::uint64_t>(c - '0');
  return value;
}

bool IsLowerHex(std::string_view text, std::size_t length) {
  if (text.size() != length) return false;
  for (char c : text) {
    if (!IsDigit(c) && !(c >= 'a' && c <= 'f')) return false;
  }
  return true;
}

bool IsPlainAddress(std::string_view url) {
  if (url.empty() || url.size() > kMaxUrlBytes || url.find("://") == std::string_view::npos) return false;
  for (char c : url) {
    if (c <= ' ' || c > '~') return false;
  }
  return true;
}

// Days since 1970-01-01 of a civil date (proleptic Gregorian).
std::int64_t DaysFromCivil(std::int64_t y, unsigned m, unsigned d) {
  y -= m <= 2 ? 1 : 0;
  const std::int64_t era = (y >= 0 ? y : y - 399) / 400;
  const auto yoe = static_cast<unsigned>(y - era * 400);
  const unsigned doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
  const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + static_cast<std::int64_t>(doe) - 719468;
}

unsigned DaysInMonth(std::int64_t y, unsigned m) {
  constexpr std::array<unsigned, 12> kDays{31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  const bool leap = (y % 4 == 0 && y % 100 != 0) || y % 400 == 0;
  return m == 2 && leap ? 29 : kDays[m - 1];
}

int Digits(std::string_view text, std::size_t at, std::size_t count) {
  int value = 0;
  for (std::size_t i = at; i < at + count; ++i) value = value * 10 + (text[i] - '0');
  return value;
}

// The lines of `text`, each without its LF; nothing when the last has none.
std::optional<std::vector<std::string_view>> Lines(std::string_view text) {
  if (text.empty() || text.back() != '\n') return std::nullopt;
  std::vector<std::string_view> lines;
  std::size_t start = 0;
  while (start < text.size()) {
    const std::size_t end = text.find('\n', start);
    lines.push_back(text.substr(start, end - start));
    start = end + 1;
  }
  return lines;
}

// The value of `line` when it is "name=value"; nothing otherwise.
std::optional<std::string_view> ValueOf(std::string_view line, std::string_view name) {
  if (line.size() <= name.size() || !line.starts_with(name) || line[name.size()] != '=') return std::nullopt;
  return line.substr(name.size() + 1);
}

bool TakeField(ReleaseManifest& manifest, std::size_t index, std::string_view value) {
  switch (index) {
    case 0:
      manifest.product = std::string(value);
      return PlainNumber(value, 3).has_value();
    case 1:
      if (value.size() != 4 || !AllDigits(value)) return false;
      manifest.release = Digits(value, 0, 4);
      return true;
    case 2:
      manifest.url = std::string(value);
      return IsPlainAddress(value);
    case 3: {
      const auto size = PlainNumber(value, 12);
      manifest.size = size.value_or(0);
      return manifest.size > 0;
    }
    case 4:
      manifest.sha256 = std::string(value);
      return IsLowerHex(value, 64);
    case 5:
    case 6: {
      const auto time = ParseUtcTime(value);
      (index == 5 ? manifest.signedAt : manifest.expiresAt) = time.value_or(0);
      return time.has_value();
    }
    default:
      return false;
  }
}

}  // namespace

std::optional<SignedText> SplitSignature(std::string_view text) {
  if (text.size() > kManifestMaxBytes || text.empty() || text.back() != '\n') return std::nullopt;
  const std::size_t previous = text.rfind('\n', text.size() - 2);
  const std::size_t lineStart = previous == std::string_view::npos ? 0 : previous + 1;
  const std::string_view line = text.substr(lineStart, text.size() - 1 - lineStart);
  if (!line.starts_with(kSignatureName)) return std::nullopt;
  const auto bytes = FromBase64(line.substr(kSignatureName.size()));
  if (!bytes || bytes->size() != kSignatureBytes) return std::nullopt;
  SignedText split;
  split.signedPart = text.substr(0, lineStart);
  std::copy(bytes->begin(), bytes->end(), split.signature.begin());
  return split;
}

std::optional<ReleaseManifest> ParseManifest(std::string_view text) {
  if (!SplitSignature(text)) return std::nullopt;
  const auto lines = Lines(text);
  if (!lines || lines->size() != kNames.size()) return std::nullopt;
  ReleaseManifest manifest;
  for (std::size_t i = 0; i + 1 < kNames.size(); ++i) {
    const auto value = ValueOf((*lines)[i], kNames[i]);
    if (!value || !TakeField(manifest, i, *value)) return std::nullopt;
  }
  if (manifest.expiresAt <= manifest.signedAt) return std::nullopt;
  return manifest;
}

std::string ManifestBody(const ReleaseManifest& manifest) {
  return "product=" + manifest.product + "\nrelease=" + ReleaseText(manifest.release) + "\nurl=" + manifest.url +
         "\nsize=" + std::to_string(manifest.size) + "\nsha256=" + manifest.sha256 +
         "\nsigned=" + FormatUtcTime(manifest.signedAt) + "\nexpires=" + FormatUtcTime(manifest.expiresAt) + "\n";
}

std::string SignatureLine(const Signature& signature) {
  return std::string(kSignatureName) + Base64(signature.data(), signature.size()) + "\n";
}

std::optional<std::int64_t> ParseUtcTime(std::string_view text) {
  constexpr std::string_view kShape = "dddd-dd-ddTdd:dd:ddZ";
  if (text.size() != kShape.size()) return std::nullopt;
  for (std::size_t i = 0; i < kShape.size(); ++i) {
    if (kShape[i] == 'd' ? !IsDigit(text[i]) : text[i] != kShape[i]) return std::nullopt;
  }
  const int year = Digits(text, 0, 4);
  const auto month = static_cast<unsigned>(Digits(text, 5, 2));
  const auto day = static_cast<unsigned>(Digits(text, 8, 2));
  const int hour = Digits(text, 11, 2), minute = Digits(text, 14, 2), second = Digits(text, 17, 2);
  if (year < 1970 || month < 1 || month > 12 || day < 1 || day > DaysInMonth(year, month) || hour > 23 ||
      minute > 59 || second > 59) {
    return std::nullopt;
  }
  return DaysFromCivil(year, month, day) * 86400 + hour * 3600 + minute * 60 + second;
}

std::string FormatUtcTime(std::int64_t seconds) {
  std::int64_t days = seconds / 86400;
  const std::int64_t rest = seconds % 86400;
  // Civil date from days (the inverse of DaysFromCivil).
  days += 719468;
  const std::int64_t era = days / 146097;
  const auto doe = static_cast<unsigned>(days - era * 146097);
  const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const unsigned mp = (5 * doy + 2) / 153;
  const unsigned day = doy - (153 * mp + 2) / 5 + 1;
  const unsigned month = mp < 10 ? mp + 3 : mp - 9;
  const std::int64_t year = static_cast<std::int64_t>(yoe) + era * 400 + (month <= 2 ? 1 : 0);
  char text[64];
  std::snprintf(text, sizeof(text), "%04lld-%02u-%02uT%02lld:%02lld:%02lldZ", static_cast<long long>(year), month, day,
                static_cast<long long>(rest / 3600), static_cast<long long>(rest / 60 % 60),
                static_cast<long long>(rest % 60));
  return text;
}

std::string Base64(const std::uint8_t* data, std::size_t size) {
  std::string text;
  for (std::size_t i = 0; i < size; i += 3) {
    const std::size_t n = std::min<std::size_t>(3, size - i);
    std::uint32_t group = static_cast<std::uint32_t>(data[i]) << 16;
    if (n > 1) group |= static_cast<std::uint32_t>(data[i + 1]) << 8;
    if (n > 2) group |= data[i + 2];
    for (std::size_t k = 0; k < 4; ++k) {
      text += k <= n ? kBase64Alphabet[(group >> (18 - 6 * k)) & 63] : '=';
    }
  }
  return text;
}

std::optional<std::string> FromBase64(std::string_view text) {
  if (text.size() % 4 != 0) return std::nullopt;
  const std::size_t padding = text.ends_with("==") ? 2 : text.ends_with("=") ? 1 : 0;
  std::string bytes;
  for (std::size_t i = 0; i < text.size(); i += 4) {
    const std::size_t digits = i + 4 == text.size() ? 4 - padding : 4;
    std::uint32_t group = 0;
    for (std::size_t k = 0; k < 4; ++k) {
      std::size_t digit = 0;
      if (k < digits) {
        digit = kBase64Alphabet.find(text[i + k]);
        if (digit == std::string_view::npos) return std::nullopt;
      }
      group = (group << 6) | static_cast<std::uint32_t>(digit);
    }
    // Bits a padded group cannot hold must be zero, so that one text means one signature.
    if ((padding == 2 && digits == 2 && (group & 0xFFFF) != 0) || (padding == 1 && digits == 3 && (group & 0xFF) != 0)) {
      return std::nullopt;
    }
    bytes += static_cast<char>(group >> 16);
    if (digits > 2) bytes += static_cast<char>((group >> 8) & 0xFF);
    if (digits > 3) bytes += static_cast<char>(group & 0xFF);
  }
  return bytes;
}

std::optional<std::array<std::uint8_t, kPublicKeyBytes>> ParsePublicKeyHex(std::string_view hex) {
  std::string lower(hex);
  for (char& c : lower) {
    if (c >= 'A' && c <= 'F') c = static_cast<char>(c - 'A' + 'a');
  }
  if (!IsLowerHex(lower, 2 * kPublicKeyBytes)) return std::nullopt;
  std::array<std::uint8_t, kPublicKeyBytes> key{};
  for (std::size_t i = 0; i < key.size(); ++i) {
    const auto nibble = [](char c) { return static_cast<std::uint8_t>(IsDigit(c) ? c - '0' : c - 'a' + 10); };
    key[i] = static_cast<std::uint8_t>(nibble(lower[2 * i]) << 4 | nibble(lower[2 * i + 1]));
  }
  return key;
}

std::string ReleaseText(int release) {
  char text[16];
  std::snprintf(text, sizeof(text), "%.4d", release);
  return text;
}

}  // namespace norv
