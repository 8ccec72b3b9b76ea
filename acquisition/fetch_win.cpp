#include "acquisition/fetch_win.h"

#include <windows.h>
#include <wininet.h>

#include <array>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <thread>

#include "base/folders_win.h"
#include "base/handles_win.h"
#include "base/unicode_win.h"

namespace norv {

namespace {

constexpr DWORD kTimeoutMs = 5000;
constexpr DWORD kConnectRetries = 5;
// Nothing here loosens WinInet's certificate check for https:// addresses: a
// certificate it refuses fails the open, which is a failed fetch like any other.
constexpr DWORD kOpenUrlFlags = INTERNET_FLAG_RELOAD | INTERNET_FLAG_NO_CACHE_WRITE;

using Clock = std::chrono::steady_clock;

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

// A reply that announced its length and ended short was cut off on the way.
bool ArrivedWhole(HINTERNET request, std::size_t received) {
  DWORD announced = 0;
  DWORD size = sizeof(announced);
  DWORD index = 0;
  if (!::HttpQueryInfoW(request, HTTP_QUERY_CONTENT_LENGTH | HTTP_QUERY_FLAG_NUMBER, &announced, &size, &index)) {
    return true;  // no length announced (chunked, or not HTTP): nothing to compare
  }
  return received >= announced;
}

enum class FetchEnd { Running, Complete, Stopped, Failed };

// One fetch, shared by the caller and a worker thread that makes the blocking
// WinInet calls. A stop closes the handles, which makes a blocked WinInet call
// return at once on Windows; the caller returns at once in any case (some
// WinInet versions, Wine's among them, keep waiting on a closed handle), and
// the worker then ends on its own and never touches the handles again.
class FetchJob {
 public:
  FetchJob(UniqueInternet session, std::wstring url)
      : url_(std::move(url)), session_(std::move(session)), lastProgress_(Clock::now()) {}

  void Run() noexcept {
    try {
      Open();
      Read();
    } catch (...) {
      Finish(FetchEnd::Failed);
    }
  }

  void Abort() {
    std::lock_guard lock(mutex_);
    if (end_ == FetchEnd::Running) {
      end_ = FetchEnd::Stopped;
    }
    CloseHandlesAside();
  }

  // Waits for the end of the fetch; a worker that shows no progress within
  // `stallLimit` is abandoned and the fetch counts as failed.
  FetchEnd Wait(std::chrono::milliseconds stallLimit) {
    std::unique_lock lock(mutex_);
    while (end_ == FetchEnd::Running) {
      if (changed_.wait_until(lock, lastProgress_ + stallLimit) == std::cv_status::timeout &&
          Clock::now() >= lastProgress_ + stallLimit && end_ == FetchEnd::Running) {
        end_ = FetchEnd::Failed;
        CloseHandlesAside();
      }
    }
    return end_;
  }

  std::string Text(bool fromUtf8) const {
    std::lock_guard lock(mutex_);
    return reply_.Finish(fromUtf8);
  }

 private:
  void Open() {
    HINTERNET session = nullptr;
    {
      std::lock_guard lock(mutex_);
      if (end_ != FetchEnd::Running) {
        return;
      }
      session = session_.get();
    }
    HINTERNET request = ::InternetOpenUrlW(session, url_.c_str(), nullptr, 0, kOpenUrlFlags, 0);
    std::lock_guard lock(mutex_);
    if (end_ != FetchEnd::Running) {
      if (request != nullptr) {
        ::InternetCloseHandle(request);
      }
      return;
    }
    request_.reset(request);
    if (request == nullptr) {
      FinishLocked(FetchEnd::Failed);
    }
    Progress();
  }

  void Read() {
    std::array<char, kFetchChunkBytes> buffer{};
    for (;;) {
      HINTERNET request = nullptr;
      {
        std::lock_guard lock(mutex_);
        if (end_ != FetchEnd::Running) {
          return;
        }
        request = request_.get();
      }
      DWORD read = 0;
      const BOOL ok = ::InternetReadFile(request, buffer.data(), static_cast<DWORD>(buffer.size()), &read);
      std::lock_guard lock(mutex_);
      if (end_ != FetchEnd::Running) {
        return;
      }
      if (!ok) {
        FinishLocked(FetchEnd::Failed);
      } else if (read == 0) {
        FinishLocked(ArrivedWhole(request, reply_.Size()) ? FetchEnd::Complete : FetchEnd::Failed);
      } else if (!reply_.Append(std::string_view(buffer.data(), read))) {
        FinishLocked(FetchEnd::Failed);
      } else {
        Progress();
      }
    }
  }

  void Progress() {
    lastProgress_ = Clock::now();
    changed_.notify_all();
  }

  void Finish(FetchEnd end) {
    std::lock_guard lock(mutex_);
    FinishLocked(end);
  }

  void FinishLocked(FetchEnd end) {
    if (end_ == FetchEnd::Running) {
      end_ = end;
    }
    CloseHandles();
  }

  void CloseHandles() {
    request_.reset();
    session_.reset();
    changed_.notify_all();
  }

  // For the caller's side: closing a handle that a blocked WinInet call is
  // using can itself block (Wine waits for the call), so the handles are
  // closed on a thread of their own and the caller never waits for the network.
  void CloseHandlesAside() {
    std::thread([request = std::move(request_), session = std::move(session_)]() mutable {
      request.reset();
      session.reset();
    }).detach();
    changed_.notify_all();
  }

  const std::wstring url_;
  mutable std::mutex mutex_;
  std::condition_variable changed_;
  UniqueInternet session_;
  UniqueInternet request_;
  FetchEnd end_ = FetchEnd::Running;
  ReplyCollector reply_;
  Clock::time_point lastProgress_;
};

}  // namespace

WinInetFetcher::WinInetFetcher(InternetAccess access) : WinInetFetcher(std::move(access), ExecutableAgentName()) {}

WinInetFetcher::WinInetFetcher(InternetAccess access, std::string agent, std::chrono::milliseconds stallLimit)
    : access_(std::move(access)), agent_(std::move(agent)), stallLimit_(stallLimit) {}

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
  auto job = std::make_shared<FetchJob>(std::move(session), Widen(url));
  std::thread([job] { job->Run(); }).detach();
  std::stop_callback abortOnStop(stop, [&job] { job->Abort(); });
  const FetchEnd end = job->Wait(stallLimit_);
  return end == FetchEnd::Failed ? std::string() : job->Text(fromUtf8);
}

std::string ExecutableAgentName() { return AgentFromExecutablePath(Narrow(OwnExecutablePath())); }

}  // namespace norv
