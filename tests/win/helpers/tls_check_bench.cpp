// Times checks that find nothing new against one published site served in
// several ways (plain HTTP, TLS, TLS without kept-alive connections), and
// beside them a minimal WinInet client that makes the same requests in the
// same order: each with an Internet handle of its own, the program's
// time-outs and open flags, 1024-byte reads.
//   tls_check_bench RUNS ACCESS_LOG NAME=ORIGIN...
// ACCESS_LOG is the first site's nginx access log, from which the requests of
// one check are taken. The sites take turns, a fresh program for each turn,
// so that a change in the machine's load falls on all of them. Prints
// "check_us NAME N" and "client_us NAME N" per timed run, then "request PATH"
// per request of a check.

#include <windows.h>
#include <wininet.h>

#include <array>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <thread>
#include <vector>

#include "acquisition/fetch_win.h"
#include "acquisition/full_refresh.h"
#include "app/app_messages.h"
#include "app/command_ids.h"
#include "base/handles_win.h"
#include "base/unicode_win.h"
#include "store/draw_record.h"
#include "../norv_process.h"

namespace {

using Clock = std::chrono::steady_clock;

long long MicrosecondsSince(Clock::time_point start) {
  return std::chrono::duration_cast<std::chrono::microseconds>(Clock::now() - start).count();
}

std::string Fetch(const std::string& url) {
  norv::WinInetFetcher fetcher(norv::AccessFromSettings(false, false, "", ""));
  return fetcher.FetchUrlText(url, false, {});
}

void SetSetting(const wchar_t* name, const wchar_t* value) {
  ::RegSetKeyValueW(HKEY_CURRENT_USER, L"Software\\Pellmark\\T-NORV", name, REG_SZ, value,
                    static_cast<DWORD>((wcslen(value) + 1) * sizeof(wchar_t)));
}

// Every data file already holds the site's whole history.
bool PrepareCompleteDataFiles(const std::string& origin) {
  std::filesystem::create_directories(norv::testing::DataFolderPath());
  for (norv::Game game : norv::kAllGames) {
    const std::string key = std::string(norv::LayoutOf(game).dataFile).substr(4, 4);
    const std::optional<std::string> file = norv::BuildHistoryFile(game, Fetch(origin + "/svc1/" + key + ".txt"), {});
    if (!file || file->empty()) return false;
    std::ofstream(std::filesystem::path(norv::testing::DataFolderPath() + norv::Widen(std::string(norv::LayoutOf(game).dataFile))),
                  std::ios::binary | std::ios::trunc)
        << *file;
  }
  return true;
}

bool Running(HWND window) {
  return (::SendMessageW(window, norv::kMsgRunStateProbe, 0, 0) & norv::kProbeCheckRunning) != 0;
}

long long TimeOneCheck(HWND window) {
  const auto start = Clock::now();
  ::SendMessageW(window, WM_COMMAND, norv::kToolButtonFirst + 1, 0);
  while (Running(window)) std::this_thread::sleep_for(std::chrono::microseconds(200));
  return MicrosecondsSince(start);
}

std::string FileBytes(const std::string& path) {
  std::ifstream in(std::filesystem::u8path(path), std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// The paths of the requests logged after `from` ("... \"GET PATH HTTP/1.1\" ...").
std::vector<std::string> LoggedPaths(const std::string& log, std::size_t from) {
  std::vector<std::string> paths;
  for (std::size_t at = log.find("\"GET ", from); at != std::string::npos; at = log.find("\"GET ", at + 1)) {
    const std::size_t begin = at + 5;
    paths.push_back(log.substr(begin, log.find(' ', begin) - begin));
  }
  return paths;
}

// The program's checks against one origin; the paths of the last one when the
// access log is given.
std::vector<long long> TimeChecks(const std::string& origin, int runs, const std::string& accessLog,
                                  std::vector<std::string>& paths) {
  ::SetEnvironmentVariableW(L"NORVALE_DIRECTORY_1", norv::Widen(origin + "/dir1/dir.cgi?SFT=0").c_str());
  ::SetEnvironmentVariableW(L"NORVALE_DIRECTORY_2", norv::Widen(origin + "/dir2/dir.cgi?SFT=0").c_str());
  norv::testing::NorvProcess norv;
  HWND window = nullptr;
  norv::testing::WaitUntil([&] {
    window = norv.MainWindow();
    return window && ::SendMessageW(window, norv::kMsgActiveGridTopRow, 0, 0) != 0 && !Running(window);
  });
  std::vector<long long> times;
  if (!window) return times;
  TimeOneCheck(window);  // the first check also reads the directory, once per process
  for (int i = 0; i < runs; ++i) {
    const std::size_t logged = accessLog.empty() ? 0 : FileBytes(accessLog).size();
    times.push_back(TimeOneCheck(window));
    if (i + 1 == runs && !accessLog.empty()) paths = LoggedPaths(FileBytes(accessLog), logged);
  }
  return times;
}

// One request as the program's fetch makes it, without its worker thread.
void MinimalFetch(const std::wstring& url) {
  norv::UniqueInternet session(::InternetOpenW(L"norv", INTERNET_OPEN_TYPE_DIRECT, nullptr, nullptr, 0));
  if (!session) return;
  DWORD timeout = 5000;
  for (DWORD option : {INTERNET_OPTION_CONNECT_TIMEOUT, INTERNET_OPTION_RECEIVE_TIMEOUT, INTERNET_OPTION_SEND_TIMEOUT,
                       INTERNET_OPTION_DATA_SEND_TIMEOUT, INTERNET_OPTION_DATA_RECEIVE_TIMEOUT}) {
    ::InternetSetOptionW(session.get(), option, &timeout, sizeof(timeout));
  }
  DWORD retries = 5;
  ::InternetSetOptionW(session.get(), INTERNET_OPTION_CONNECT_RETRIES, &retries, sizeof(retries));
  norv::UniqueInternet request(::InternetOpenUrlW(session.get(), url.c_str(), nullptr, 0,
                                                  INTERNET_FLAG_RELOAD | INTERNET_FLAG_NO_CACHE_WRITE, 0));
  if (!request) return;
  std::array<char, norv::kFetchChunkBytes> buffer{};
  DWORD read = 0;
  while (::InternetReadFile(request.get(), buffer.data(), static_cast<DWORD>(buffer.size()), &read) && read > 0) {
  }
}

long long TimeClient(const std::string& origin, const std::vector<std::string>& paths) {
  const auto start = Clock::now();
  for (const std::string& path : paths) MinimalFetch(norv::Widen(origin + path));
  return MicrosecondsSince(start);
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc < 4) {
    std::printf("usage: tls_check_bench RUNS ACCESS_LOG NAME=ORIGIN...\n");
    return 2;
  }
  const int runs = _wtoi(argv[1]);
  const std::string accessLog = norv::Narrow(argv[2]);
  std::vector<std::string> names;
  std::vector<std::string> origins;
  for (int i = 3; i < argc; ++i) {
    const std::string site = norv::Narrow(argv[i]);
    names.push_back(site.substr(0, site.find('=')));
    origins.push_back(site.substr(site.find('=') + 1));
  }
  ::RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\Pellmark\\T-NORV");
  for (const wchar_t* name : {L"win", L"mod", L"kid", L"snd", L"msg"}) SetSetting(name, L"0");
  if (!PrepareCompleteDataFiles(origins[0])) {
    std::printf("no histories at %s\n", origins[0].c_str());
    return 1;
  }
  constexpr int kTurns = 5;
  std::vector<std::string> paths;
  for (int turn = 0; turn < kTurns; ++turn) {
    for (std::size_t s = 0; s < origins.size(); ++s) {
      const bool logged = turn + 1 == kTurns && s == 0;
      for (long long us : TimeChecks(origins[s], (runs + kTurns - 1) / kTurns, logged ? accessLog : std::string(), paths)) {
        std::printf("check_us %s %lld\n", names[s].c_str(), us);
      }
    }
  }
  if (paths.empty()) {
    std::printf("no requests logged\n");
    return 1;
  }
  for (const std::string& origin : origins) TimeClient(origin, paths);  // the first TLS fetch sets up the library
  for (int i = 0; i < runs; ++i) {
    for (std::size_t s = 0; s < origins.size(); ++s) {
      std::printf("client_us %s %lld\n", names[s].c_str(), TimeClient(origins[s], paths));
    }
  }
  for (const std::string& path : paths) std::printf("request %s\n", path.c_str());
  return 0;
}
