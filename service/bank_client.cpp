#include "service/bank_client.h"

#include <curl/curl.h>

#include <cstdlib>
#include <mutex>
#include <optional>
#include <thread>

#include "base/text_basics.h"
#include "service/bank_text.h"

namespace norv::service {

namespace {

struct EasyDeleter {
  void operator()(CURL* handle) const { curl_easy_cleanup(handle); }
};
struct UrlDeleter {
  void operator()(CURLU* url) const { curl_url_cleanup(url); }
};
struct CurlText {
  char* text = nullptr;
  CurlText() = default;
  CurlText(const CurlText&) = delete;
  CurlText& operator=(const CurlText&) = delete;
  ~CurlText() { curl_free(text); }
};

void InitCurlOnce() {
  static std::once_flag once;
  std::call_once(once, [] {
    if (curl_global_init(CURL_GLOBAL_DEFAULT) != CURLE_OK) throw FetchError("libcurl cannot be initialised");
  });
}

std::string Duration(std::chrono::milliseconds time) {
  return time.count() % 1000 == 0 ? std::to_string(time.count() / 1000) + " s" : std::to_string(time.count()) + " ms";
}

struct UrlParts {
  std::string scheme;
  std::string host;
  std::string port;
  std::string path;
};

std::optional<UrlParts> PartsOf(const std::string& url) {
  std::unique_ptr<CURLU, UrlDeleter> handle(curl_url());
  if (!handle || curl_url_set(handle.get(), CURLUPART_URL, url.c_str(), 0) != CURLUE_OK) return std::nullopt;
  UrlParts parts;
  const auto part = [&](CURLUPart which, std::string& into, unsigned flags) {
    CurlText text;
    if (curl_url_get(handle.get(), which, &text.text, flags) == CURLUE_OK && text.text) into = text.text;
  };
  part(CURLUPART_SCHEME, parts.scheme, 0);
  part(CURLUPART_HOST, parts.host, 0);
  part(CURLUPART_PORT, parts.port, CURLU_DEFAULT_PORT);
  part(CURLUPART_PATH, parts.path, 0);
  parts.scheme = UpperAscii(parts.scheme);
  parts.host = UpperAscii(parts.host);
  return parts;
}

// The same host and port, and never from https down to http.
bool SameHost(const UrlParts& from, const UrlParts& to) {
  const bool schemeKept = from.scheme == to.scheme || (from.scheme == "HTTP" && to.scheme == "HTTPS");
  return schemeKept && from.host == to.host && (from.port == to.port || from.scheme != to.scheme);
}

// Loopback is never reached through a proxy; an outside no_proxy list is kept.
std::string NoProxyList() {
  std::string list = "127.0.0.1,localhost,::1";
  for (const char* name : {"no_proxy", "NO_PROXY"}) {
    if (const char* value = std::getenv(name); value && *value) return list + "," + value;
  }
  return list;
}

// Waits so that two requests start at least one interval apart.
class Pacer {
 public:
  explicit Pacer(std::chrono::milliseconds interval) : interval_(interval) {}
  void WaitTurn() {
    if (next_) std::this_thread::sleep_until(*next_);
    next_ = std::chrono::steady_clock::now() + interval_;
  }

 private:
  std::chrono::milliseconds interval_;
  std::optional<std::chrono::steady_clock::time_point> next_;
};

struct Transfer {
  std::string body;
  std::size_t cap = 0;
  bool overCap = false;
};

std::size_t Collect(char* data, std::size_t size, std::size_t count, void* user) {
  auto& transfer = *static_cast<Transfer*>(user);
  const std::size_t bytes = size * count;
  if (transfer.body.size() + bytes > transfer.cap) {
    transfer.overCap = true;
    return 0;  // ends the transfer: a chunked reply carries no length to refuse it by beforehand
  }
  transfer.body.append(data, bytes);
  return bytes;
}

}  // namespace

struct BankClient::Impl {
  std::string base;
  FetchLimits limits;
  std::unique_ptr<CURL, EasyDeleter> easy;
  Pacer pacer{limits.interval};
  std::string noProxy = NoProxyList();
  char errors[CURL_ERROR_SIZE] = {};

  HttpReply Perform(const std::string& url) {
    Transfer transfer;
    transfer.cap = limits.maxBytes;
    errors[0] = '\0';
    CURL* handle = easy.get();
    curl_easy_setopt(handle, CURLOPT_URL, url.c_str());
    curl_easy_setopt(handle, CURLOPT_WRITEFUNCTION, Collect);
    curl_easy_setopt(handle, CURLOPT_WRITEDATA, &transfer);
    pacer.WaitTurn();
    const CURLcode result = curl_easy_perform(handle);
    if (transfer.overCap || result == CURLE_FILESIZE_EXCEEDED) {
      throw FetchError("the reply from " + url + " is larger than " + std::to_string(limits.maxBytes) + " bytes");
    }
    if (result == CURLE_OPERATION_TIMEDOUT) {
      throw FetchError("no whole reply from " + url + " within " + Duration(limits.timeout));
    }
    if (result != CURLE_OK) {
      throw FetchError("cannot fetch " + url + ": " + (errors[0] ? errors : curl_easy_strerror(result)));
    }
    HttpReply reply;
    curl_easy_getinfo(handle, CURLINFO_RESPONSE_CODE, &reply.status);
    reply.body = std::move(transfer.body);
    reply.url = url;
    return reply;
  }

  std::string RedirectTarget(const HttpReply& reply) {
    char* location = nullptr;
    curl_easy_getinfo(easy.get(), CURLINFO_REDIRECT_URL, &location);
    if (!location) throw FetchError(reply.url + " answers " + std::to_string(reply.status) + " without a Location");
    const std::string target = location;
    const std::optional<UrlParts> from = PartsOf(reply.url);
    const std::optional<UrlParts> to = PartsOf(target);
    if (!from || !to || !SameHost(*from, *to)) {
      throw FetchError(reply.url + " redirects to another host: " + QuotedForMessage(target) + " is not followed");
    }
    return target;
  }
};

BankClient::BankClient(std::string_view base, FetchLimits limits) : impl_(new Impl{std::string(base), limits, {}}) {
  InitCurlOnce();
  while (impl_->base.ends_with('/')) impl_->base.pop_back();
  const std::optional<UrlParts> parts = PartsOf(impl_->base);
  if (!parts || (parts->scheme != "HTTP" && parts->scheme != "HTTPS") || parts->host.empty() ||
      (parts->path != "/" && !parts->path.empty())) {
    throw FetchError("the bank's address " + QuotedForMessage(base) + " is not http:// or https:// and a host");
  }
  impl_->easy.reset(curl_easy_init());
  if (!impl_->easy) throw FetchError("libcurl cannot make a transfer handle");
  CURL* handle = impl_->easy.get();
  curl_easy_setopt(handle, CURLOPT_ERRORBUFFER, impl_->errors);
  curl_easy_setopt(handle, CURLOPT_NOSIGNAL, 1L);
  curl_easy_setopt(handle, CURLOPT_USERAGENT, impl_->limits.userAgent.c_str());
  curl_easy_setopt(handle, CURLOPT_TIMEOUT_MS, static_cast<long>(impl_->limits.timeout.count()));
  curl_easy_setopt(handle, CURLOPT_MAXFILESIZE_LARGE, static_cast<curl_off_t>(impl_->limits.maxBytes));
  curl_easy_setopt(handle, CURLOPT_FOLLOWLOCATION, 0L);
  curl_easy_setopt(handle, CURLOPT_PROTOCOLS_STR, "http,https");
  curl_easy_setopt(handle, CURLOPT_NOPROXY, impl_->noProxy.c_str());
}

BankClient::~BankClient() = default;

std::string BankClient::UrlOf(std::string_view path) const { return impl_->base + std::string(path); }

HttpReply BankClient::Get(std::string_view path) {
  HttpReply reply = impl_->Perform(UrlOf(path));
  for (int redirects = 0; reply.status >= 300 && reply.status < 400 && reply.status != 304; ++redirects) {
    const std::string target = impl_->RedirectTarget(reply);
    if (redirects == impl_->limits.maxRedirects)
      throw FetchError(UrlOf(path) + " redirects more than " + std::to_string(impl_->limits.maxRedirects) + " times");
    reply = impl_->Perform(target);
  }
  return reply;
}

}  // namespace norv::service
