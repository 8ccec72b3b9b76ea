#include "acquisition/fetch_win.h"

#include <windows.h>
#include <wininet.h>

#include <array>
#include <mutex>

#include "app/handles_win.h"
#include "app/unicode_win.h"

namespace norv {

namespace {

constexpr DWORD kTimeoutMs = 5000;
constexpr DWORD kConnectRetries = 5;
constexpr DWORD kOpenUrlFlags = INTERNET_FLAG_RELOAD | INTERNET_FLAG_NO_CACHE_WRITE;

UniqueInternet OpenSession(const InternetAccess& access, const std::string& agent) {
  const std::wstring wideAgent = Widen(agent);
  switch (access.mode) {
    case InternetAccess::Mode::Preconfigured:
      return UniqueInternet(::InternetOpenW(wideAgent.c_str(), INTERNET_OPEN_TYPE_PRECONFIG, nullptr, nullptr, 0));
    case InternetAccess::Mode::NamedProxy: {
      const std::wstring proxy = Widen(access.proxy);
      return UniqueInternet(::InternetOpenW(wideAgent.c_str(), INTERNET_OPEN_TYPE_PROXY, proxy.c_str(), nullptr, 0));
    }
    case InternetAccess::Mode::Direct:
      break;
  }
  return UniqueInternet(::InternetOpenW(wideAgent.c_str(), INTERNET_OPEN_TYPE_DIRECT, nullptr, nullptr, 0));
}

void SetTimeouts(HINTERNET session) {
  constexpr std::array<DWORD, 5> timeouts{
      INTERNET_OPTION_CONNECT_TIMEOUT, INTERNET_OPTION_RECEIVE_TIMEOUT, INTERNET_OPTION_SEND_TIMEOUT,
      INTERNET_OPTION_DATA_SEND_TIMEOUT, INTERNET_OPTION_DATA_RECEIVE_TIMEOUT};
  DWORD value = kTimeoutMs;
  for (DWORD option : timeouts) {
    ::InternetSetOptionW(session, option, &value, sizeof(value));
  }
  DWORD retries = kConnectRetries;
  ::InternetSetOptionW(session, INTERNET_OPTION_CONNECT_RETRIES, &retries, sizeof(retries));
}

// Owns the session and request handles of one fetch. A stop request closes
// them from the stopping thread: closing an Internet handle makes a WinInet
// call blocked on it return at once, so a stop never waits for a silent
// server. Whichever side comes first closes a handle; the other leaves it.
class FetchHandles {
 public:
  explicit FetchHandles(UniqueInternet session) : session_(std::move(session)) {}

  // Read before a stop can be requested for these handles.
  HINTERNET Session() const { return session_.get(); }

  // False when a stop came first; the request is then closed already.
  bool AdoptRequest(HINTERNET request) {
    std::lock_guard lock(mutex_);
    request_.reset(request);
    if (aborted_) {
      request_.reset();
      return false;
    }
    return request != nullptr;
  }

  void Abort() {
    std::lock_guard lock(mutex_);
    aborted_ = true;
    request_.reset();
    session_.reset();
  }

 private:
  std::mutex mutex_;
  bool aborted_ = false;
  UniqueInternet session_;
  UniqueInternet request_;
};

// A reply that announced its length and ended short was cut off on the way.
bool ArrivedWhole(HINTERNET request, std::size_t received) {
  DWORD announced = 0;
  DWORD size = sizeof(announced);
  DWORD index = 0;
  if (!::HttpQueryInfoW(request, HTTP_QUERY_CONTENT_LENGTH | HTTP_QUERY_FLAG_NUMBER, &announced, &size, &index)) {
    return true;  // no length announced (chunked or not HTTP): nothing to compare
  }
  return received >= announced;
}

enum class ReadEnd { Complete, Stopped, Failed };

ReadEnd ReadReply(HINTERNET request, ReplyCollector& reply, const std::stop_token& stop) {
  std::array<char, kFetchChunkBytes> buffer{};
  while (!stop.stop_requested()) {
    DWORD read = 0;
    if (!::InternetReadFile(request, buffer.data(), static_cast<DWORD>(buffer.size()), &read)) {
      return stop.stop_requested() ? ReadEnd::Stopped : ReadEnd::Failed;
    }
    if (read == 0) {
      return ArrivedWhole(request, reply.Size()) ? ReadEnd::Complete : ReadEnd::Failed;
    }
    if (!reply.Append(std::string_view(buffer.data(), read))) {
      return ReadEnd::Failed;
    }
  }
  return ReadEnd::Stopped;
}

}  // namespace

WinInetFetcher::WinInetFetcher(InternetAccess access) : WinInetFetcher(std::move(access), ExecutableAgentName()) {}

WinInetFetcher::WinInetFetcher(InternetAccess access, std::string agent)
    : access_(std::move(access)), agent_(std::move(agent)) {}

// A failed open, a read error, a reply cut off in transit or one past the
// size limit all give the empty text; a stop gives what had arrived by then.
std::string WinInetFetcher::FetchUrlText(std::string_view url, bool fromUtf8, const std::stop_token& stop) {
  if (stop.stop_requested()) {
    return {};
  }
  UniqueInternet session = OpenSession(access_, agent_);
  if (!session) {
    return {};
  }
  SetTimeouts(session.get());
  FetchHandles handles(std::move(session));
  const HINTERNET sessionHandle = handles.Session();
  const std::wstring wideUrl = Widen(url);
  ReplyCollector reply;
  ReadEnd end = ReadEnd::Failed;
  {
    std::stop_callback abortOnStop(stop, [&handles] { handles.Abort(); });
    HINTERNET request =
        stop.stop_requested() ? nullptr : ::InternetOpenUrlW(sessionHandle, wideUrl.c_str(), nullptr, 0, kOpenUrlFlags, 0);
    if (handles.AdoptRequest(request)) {
      end = ReadReply(request, reply, stop);
    } else if (stop.stop_requested()) {
      end = ReadEnd::Stopped;
    }
  }
  handles.Abort();
  return end == ReadEnd::Failed ? std::string() : reply.Finish(fromUtf8);
}

std::string ExecutableAgentName() {
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    const DWORD length = ::GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (length == 0) {
      return {};
    }
    if (length < path.size()) {
      path.resize(length);
      break;
    }
    path.resize(path.size() * 2);
  }
  return AgentFromExecutablePath(Narrow(path));
}

}  // namespace norv
