#pragma once
// Every network read goes through one operation. The portable readers take the
// fetcher as an interface so they can be tested without a network.

#include <stop_token>
#include <string>
#include <string_view>

namespace norv {

class UrlFetcher {
 public:
  virtual ~UrlFetcher() = default;
  // The whole reply as one line (all CR and LF removed), or empty text on any
  // failure. With fromUtf8 the reply is checked as UTF-8, invalid sequences
  // are replaced and zero bytes dropped; without it every other byte stays. A stop request ends the read early with the partial text.
  // May throw (for example std::bad_alloc); callers treat that as a failed fetch.
  virtual std::string FetchUrlText(std::string_view url, bool fromUtf8, const std::stop_token& stop) = 0;
};

}  // namespace norv
