#include "notices/release_download_win.h"

#include <windows.h>
#include <wininet.h>

#include <array>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <optional>
#include <vector>
#include <thread>

#include "acquisition/fetch_win.h"
#include "base/handles_win.h"
#include "base/unicode_win.h"

namespace norv {

namespace {

using Clock = std::chrono::steady_clock;
constexpr DWORD kOpenUrlFlags = INTERNET_FLAG_RELOAD | INTERNET_FLAG_NO_CACHE_WRITE | INTERNET_FLAG_NO_UI;
constexpr std::chrono::milliseconds kPollStep{200};
constexpr std::size_t kPieceBytes = 64 * 1024;

bool IsHttpOk(HINTERNET request) {
  DWORD status = 0;
  DWORD size = sizeof(status);
  return ::HttpQueryInfoW(request, HTTP_QUERY_STATUS_CODE | HTTP_QUERY_FLAG_NUMBER, &status, &size, nullptr) &&
         status == HTTP_STATUS_OK;
}

// One download, shared by the caller and the thread that makes the blocking
// WinInet calls. The caller may abandon it at any moment; the sink is only
// ever called under the lock while the download runs, so after the caller
// returns nothing touches what the sink writes to.
class DownloadJob {
 public:
  DownloadJob(UniqueInternet session, std::wstring url, std::uint64_t maxBytes, DownloadSink sink)
      : url_(std::move(url)), maxBytes_(maxBytes), session_(std::move(session)), sink_(std::move(sink)),
        lastProgress_(Clock::now()) {}

  void Run() noexcept {
    try {
      if (Open()) Read();
    } catch (...) {
      Finish(DownloadEnd::Failed);
    }
  }

  DownloadEnd Wait(const DownloadLimits& limits, const std::atomic<bool>& cancel, std::atomic<std::uint64_t>& received) {
    const Clock::time_point deadline = Clock::now() + limits.total;
    std::unique_lock lock(mutex_);
    while (!end_) {
      changed_.wait_for(lock, kPollStep);
      received = received_;
      if (end_) break;
      const Clock::time_point now = Clock::now();
      if (cancel) {
        Abandon(DownloadEnd::Cancelled);
      } else if (now >= lastProgress_ + limits.stall) {
        Abandon(DownloadEnd::Stalled);
      } else if (now >= deadline) {
        Abandon(DownloadEnd::TimedOut);
      }
    }
    received = received_;
    return *end_;
  }

 private:
  bool Open() {
    HINTERNET session = nullptr;
    {
      std::lock_guard lock(mutex_);
      if (end_) return false;
      session = session_.get();
    }
    HINTERNET request = ::InternetOpenUrlW(session, url_.c_str(), nullptr, 0, kOpenUrlFlags, 0);
    std::lock_guard lock(mutex_);
    if (end_) {
      if (request) ::InternetCloseHandle(request);
      return false;
    }
    request_.reset(request);
    if (!request || !IsHttpOk(request)) {
      FinishLocked(DownloadEnd::Failed);
      return false;
    }
    Progress();
    return true;
  }

  void Read() {
    std::vector<char> buffer(kPieceBytes);
    for (;;) {
      HINTERNET request = nullptr;
      {
        std::lock_guard lock(mutex_);
        if (end_) return;
        request = request_.get();
      }
      DWORD read = 0;
      const BOOL ok = ::InternetReadFile(request, buffer.data(), static_cast<DWORD>(buffer.size()), &read);
      std::lock_guard lock(mutex_);
      if (end_) return;
      if (!ok) {
        FinishLocked(DownloadEnd::Failed);
      } else if (read == 0) {
        FinishLocked(DownloadEnd::Complete);
      } else if (received_ + read > maxBytes_) {
        FinishLocked(DownloadEnd::TooLong);  // not one byte past the stated size is kept
      } else if (!sink_(std::string_view(buffer.data(), read))) {
        FinishLocked(DownloadEnd::Failed);
      } else {
        received_ += read;
        Progress();
      }
    }
  }

  void Progress() {
    lastProgress_ = Clock::now();
    changed_.notify_all();
  }

  void Finish(DownloadEnd end) {
    std::lock_guard lock(mutex_);
    FinishLocked(end);
  }

  void FinishLocked(DownloadEnd end) {
    if (!end_) end_ = end;
    sink_ = nullptr;
    request_.reset();
    session_.reset();
    changed_.notify_all();
  }

  // From the caller's side, with the lock held: closing a handle that a
  // blocked WinInet call uses can block (Wine waits for the call), so the
  // handles are closed on a thread of their own.
  void Abandon(DownloadEnd end) {
    end_ = end;
    sink_ = nullptr;
    std::thread([request = std::move(request_), session = std::move(session_)]() mutable {
      request.reset();
      session.reset();
    }).detach();
  }

  const std::wstring url_;
  const std::uint64_t maxBytes_;
  std::mutex mutex_;
  std::condition_variable changed_;
  UniqueInternet session_;
  UniqueInternet request_;
  DownloadSink sink_;
  std::optional<DownloadEnd> end_;
  std::uint64_t received_ = 0;
  Clock::time_point lastProgress_;
};

void SetTimeouts(HINTERNET session, std::chrono::milliseconds stall) {
  DWORD value = static_cast<DWORD>(stall.count());
  for (DWORD option : {INTERNET_OPTION_CONNECT_TIMEOUT, INTERNET_OPTION_RECEIVE_TIMEOUT, INTERNET_OPTION_SEND_TIMEOUT}) {
    ::InternetSetOptionW(session, option, &value, sizeof(value));
  }
}

}  // namespace

DownloadEnd DownloadUrl(const std::string& url, const DownloadLimits& limits, const DownloadSink& sink,
                        const std::atomic<bool>& cancel, std::atomic<std::uint64_t>& received) {
  const std::wstring agent = Widen(ExecutableAgentName());
  UniqueInternet session(::InternetOpenW(agent.c_str(), INTERNET_OPEN_TYPE_PRECONFIG, nullptr, nullptr, 0));
  if (!session) return DownloadEnd::Failed;
  SetTimeouts(session.get(), limits.stall);
  auto job = std::make_shared<DownloadJob>(std::move(session), Widen(url), limits.maxBytes, sink);
  std::thread([job] { job->Run(); }).detach();
  return job->Wait(limits, cancel, received);
}

SmallText FetchSmallText(const std::string& url, std::uint64_t maxBytes) {
  SmallText result;
  std::string text;
  const std::atomic<bool> cancel{false};
  std::atomic<std::uint64_t> received{0};
  result.end = DownloadUrl(
      url, DownloadLimits{maxBytes, std::chrono::seconds(30), std::chrono::seconds(60)},
      [&text](std::string_view piece) {
        text.append(piece);
        return true;
      },
      cancel, received);
  if (result.end == DownloadEnd::Complete) result.text = std::move(text);
  return result;
}

}  // namespace norv
