#pragma once
// The service's HTTP client for the bank, careful in the manner of curl's own
// options: requests paced at most one per interval, a time-out for the whole
// reply, a size cap that holds for chunked replies too, redirects followed
// only on the same host, and a one-line reason for every failure. The status
// is returned beside the body, for the caller to check before believing it.

#include <chrono>
#include <cstddef>
#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>

namespace norv::service {

inline constexpr std::string_view kDefaultBank = "https://www.mizuhobank.co.jp";
inline constexpr std::string_view kUserAgent = "norv-service/5.1";

struct FetchLimits {
  std::chrono::milliseconds interval{1000};  // from the start of one request to the next
  std::chrono::milliseconds timeout{30000};  // for each whole reply
  std::size_t maxBytes = 1024 * 1024;        // of a body
  int maxRedirects = 3;                      // on the same host
  std::string userAgent{kUserAgent};
};

struct HttpReply {
  long status = 0;
  std::string body;
  std::string url;  // the address that gave the reply, after same-host redirects
};

// No whole reply: the network, a time-out, the cap, a redirect elsewhere.
class FetchError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

class BankClient {
 public:
  // `base` is "http://" or "https://" and a host, with an optional port and
  // no path; throws FetchError for anything else.
  explicit BankClient(std::string_view base, FetchLimits limits = {});
  ~BankClient();
  BankClient(const BankClient&) = delete;
  BankClient& operator=(const BankClient&) = delete;

  // GET of `path` (starting with '/') below the base. Any status comes back;
  // throws FetchError when no whole reply arrives.
  HttpReply Get(std::string_view path);

  std::string UrlOf(std::string_view path) const;

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

}  // namespace norv::service
