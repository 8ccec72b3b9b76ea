// The platform's floor for a check: the fewest WinInet calls that make the
// same fetches as the program, one after another on one thread, each with its
// own Internet handle and the program's options and flags. No worker thread,
// no stall watch, no reply handling beyond counting the bytes.
//
//   wininet_floor.exe [--runs N] [--warmup N] [--direct] URL...
//
// Untimed runs first (3 unless told: the first fetch of a process sets
// WinInet up, over TLS it is far slower than the rest, and the next runs of a
// new process under Wine are still slower than later ones), then one line per
// timed run: "floor_us N". Any fetch that fails or comes short ends the program with 1,
// so a figure never hides a failed request.

#include <windows.h>
#include <wininet.h>

#include <array>
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "acquisition/fetch_win.h"
#include "base/unicode_win.h"

namespace {

struct Options {
  int runs = 10;
  int warmup = 3;
  norv::InternetAccess access;  // as a program whose settings keep the defaults
  std::vector<std::wstring> urls;
};

bool ReadWhole(HINTERNET request) {
  std::array<char, norv::kFetchChunkBytes> buffer{};
  std::size_t received = 0;
  DWORD read = 0;
  do {
    if (!::InternetReadFile(request, buffer.data(), static_cast<DWORD>(buffer.size()), &read)) return false;
    received += read;
  } while (read != 0);
  DWORD announced = 0;
  DWORD size = sizeof(announced);
  DWORD index = 0;
  return !::HttpQueryInfoW(request, HTTP_QUERY_CONTENT_LENGTH | HTTP_QUERY_FLAG_NUMBER, &announced, &size, &index) ||
         received >= announced;
}

// 0, or the error of a fetch that failed (ERROR_INVALID_DATA for a short reply).
DWORD Fetch(const Options& options, const std::wstring& url) {
  const norv::UniqueInternet session = norv::OpenFetchSession(options.access, "wininet_floor");
  if (!session) return ::GetLastError();
  const norv::UniqueInternet request(
      ::InternetOpenUrlW(session.get(), url.c_str(), nullptr, 0, norv::kFetchOpenUrlFlags, 0));
  if (!request) return ::GetLastError();
  return ReadWhole(request.get()) ? 0 : ERROR_INVALID_DATA;
}

bool RunOnce(const Options& options) {
  for (const std::wstring& url : options.urls) {
    if (const DWORD error = Fetch(options, url)) {
      std::fprintf(stderr, "wininet_floor: %s failed (error %lu)\n", norv::Narrow(url).c_str(), error);
      return false;
    }
  }
  return true;
}

bool ParseOptions(int argc, wchar_t** argv, Options& options) {
  for (int i = 1; i < argc; ++i) {
    const std::wstring arg = argv[i];
    if (arg == L"--runs" && i + 1 < argc) {
      options.runs = _wtoi(argv[++i]);
    } else if (arg == L"--warmup" && i + 1 < argc) {
      options.warmup = _wtoi(argv[++i]);
    } else if (arg == L"--direct") {
      options.access.mode = norv::InternetAccess::Mode::Direct;
    } else {
      options.urls.push_back(arg);
    }
  }
  return options.runs > 0 && options.warmup >= 0 && !options.urls.empty();
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  Options options;
  if (!ParseOptions(argc, argv, options)) {
    std::fprintf(stderr, "usage: wininet_floor.exe [--runs N] [--warmup N] [--direct] URL...\n");
    return 2;
  }
  for (int run = 0; run < options.warmup + options.runs; ++run) {
    const auto start = std::chrono::steady_clock::now();
    if (!RunOnce(options)) return 1;
    const auto us =
        std::chrono::duration_cast<std::chrono::microseconds>(std::chrono::steady_clock::now() - start).count();
    if (run >= options.warmup) std::printf("floor_us %lld\n", static_cast<long long>(us));
  }
  return 0;
}
