#include "acquisition/url_directory.h"

#include <utility>

#include "base/text_fields.h"

namespace norv {

namespace {

constexpr std::size_t kFieldWidth = 100;
constexpr std::size_t kBodyLength = kFieldWidth * UrlTable::kSlots;
// The scheme with its colon and two slashes: a body that does not start like an
// address is an error page or a stranger's reply.
constexpr std::size_t kSchemeLength = 7;

bool StartsLikeAddress(std::string_view body, std::string_view primaryEndpoint) {
  if (body.size() < kSchemeLength || primaryEndpoint.size() < kSchemeLength) {
    return false;
  }
  return body.substr(0, kSchemeLength) == primaryEndpoint.substr(0, kSchemeLength);
}

bool IsSecure(std::string_view address) {
  constexpr std::string_view kSecure = "https://";
  if (address.size() < kSecure.size()) {
    return false;
  }
  for (std::size_t i = 0; i < kSecure.size(); ++i) {
    const char c = address[i];
    if ((c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c) != kSecure[i]) {
      return false;
    }
  }
  return true;
}

// A directory reached over https:// must not send any later read over plain
// http://, where anyone on the path could rewrite the history it names.
bool KeepsTransportSecure(const UrlTable& table, std::string_view primaryEndpoint) {
  if (!IsSecure(primaryEndpoint)) {
    return true;
  }
  for (const std::string& slot : table.slots) {
    if (!slot.empty() && !IsSecure(slot)) {
      return false;
    }
  }
  return true;
}

}  // namespace

bool ParseUrlDirectory(std::string_view reply, std::string_view primaryEndpoint, UrlTable& table) {
  const std::string body = ExtractBetween(reply, 1, "<BODY>", "</BODY>", false, false);
  // A zero byte would cut an address short where the system takes it.
  if (body.size() != kBodyLength || !StartsLikeAddress(body, primaryEndpoint) ||
      body.find('\0') != std::string::npos) {
    return false;
  }
  const std::string_view fields(body);
  UrlTable parsed;
  for (std::size_t i = 0; i < parsed.slots.size(); ++i) {
    parsed.slots[i] = std::string(TrimControls(fields.substr(i * kFieldWidth, kFieldWidth)));
  }
  if (!KeepsTransportSecure(parsed, primaryEndpoint)) {
    return false;
  }
  table = std::move(parsed);
  return true;
}

bool FetchUrlDirectory(UrlFetcher& fetcher, std::string_view endpoint, std::string_view primaryEndpoint,
                       const std::stop_token& stop, UrlTable& table) {
  std::string reply;
  try {
    reply = fetcher.FetchUrlText(endpoint, false, stop);
  } catch (...) {
    return false;  // out of memory or a broken transfer is just a failed fetch
  }
  return ParseUrlDirectory(reply, primaryEndpoint, table);
}

}  // namespace norv
