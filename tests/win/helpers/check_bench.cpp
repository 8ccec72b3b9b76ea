// Times checks that find nothing new against the platform's floor: the
// program's test build, norv_probed.exe (beside this program), against one
// published site served in one or more ways, every data file already
// complete; beside each check, the floor client makes the same requests in
// the same order.
//
//   check_bench.exe ROUNDS TURNS NAME=ORIGIN=ACCESS_LOG...
//
// The floor: the fewest WinInet calls that make the check's fetches, one
// after another on this thread, each with its own Internet handle and the
// program's options and flags (OpenFetchSession, kFetchOpenUrlFlags), 1 KiB
// reads; no worker thread, no stall watch, no reply handling beyond counting
// the bytes. Its requests are the ones the check just made, read from the
// site's access log (the path after "GET ").
//
// The sites take TURNS turns; in each, a fresh program per site, three
// untimed checks and floor runs, then ROUNDS rounds of one check and one
// floor run, so that the machine's other load, which comes and goes in
// bursts, falls on both alike. Prints per timed run "check_us NAME N" and
// "floor_us NAME N", in the order measured, and once per site "request NAME
// PATH" for each request of a check. Any floor fetch that fails or comes
// short ends the program with 1, so a figure never hides a failed request.

#include <windows.h>
#include <wininet.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "acquisition/fetch_win.h"
#include "acquisition/full_refresh.h"
#include "app/app_messages.h"
#include "app/command_ids.h"
#include "schedule/schedule_mode.h"
#include "base/unicode_win.h"
#include "store/draw_record.h"
#include "../norv_process.h"

namespace {

using Clock = std::chrono::steady_clock;

constexpr int kUntimed = 3;
constexpr char kFloorAgent[] = "check_bench_floor";

struct Site {
  std::string name;
  std::string origin;
  std::string accessLog;  // a Windows path to the site's nginx access log
  std::vector<std::string> paths;
};

long long MicrosecondsSince(Clock::time_point start) {
  return std::chrono::duration_cast<std::chrono::microseconds>(Clock::now() - start).count();
}

// --- the floor ----------------------------------------------------------

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
DWORD FloorFetch(const std::wstring& url) {
  const norv::InternetAccess access;  // as a program whose settings keep the defaults
  const norv::UniqueInternet session = norv::OpenFetchSession(access, kFloorAgent);
  if (!session) return ::GetLastError();
  const norv::UniqueInternet request(
      ::InternetOpenUrlW(session.get(), url.c_str(), nullptr, 0, norv::kFetchOpenUrlFlags, 0));
  if (!request) return ::GetLastError();
  return ReadWhole(request.get()) ? 0 : ERROR_INVALID_DATA;
}

// Microseconds, or -1 after a report of the fetch that failed.
long long TimeFloor(const Site& site) {
  const auto start = Clock::now();
  for (const std::string& path : site.paths) {
    if (const DWORD error = FloorFetch(norv::Widen(site.origin + path))) {
      std::fprintf(stderr, "check_bench: %s%s failed (error %lu)\n", site.origin.c_str(), path.c_str(), error);
      return -1;
    }
  }
  return MicrosecondsSince(start);
}

// --- the check ----------------------------------------------------------

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
    const std::string dataFile(norv::LayoutOf(game).dataFile);
    const std::string key = dataFile.substr(4, 4);
    const std::optional<std::string> file = norv::BuildHistoryFile(game, Fetch(origin + "/svc1/" + key + ".txt"), {});
    if (!file || file->empty()) return false;
    std::ofstream(std::filesystem::path(norv::testing::DataFolderPath() + norv::Widen(dataFile)),
                  std::ios::binary | std::ios::trunc)
        << *file;
  }
  return true;
}

bool Running(HWND window) {
  return (::SendMessageW(window, norv::kMsgRunStateProbe, 0, 0) & norv::kProbeCheckRunning) != 0;
}

std::wstring Caption(HWND window) {
  wchar_t text[256] = {};
  const int length = ::InternalGetWindowText(window, text, 256);
  return std::wstring(text, static_cast<std::size_t>(std::max(length, 0)));
}

// From the click to the end of the check's last step on the window thread,
// which sets the caption. The caption is read without a message to the
// program (a probe message a millisecond wakes its window thread and slows
// the check under Wine by a third); the run-state probe confirms the end.
long long TimeOneCheck(HWND window) {
  const wchar_t* const marker = L"check_bench";
  const std::wstring checking = norv::Widen(norv::CheckingCaption(false));
  ::SendMessageW(window, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(marker));
  const auto start = Clock::now();
  ::SendMessageW(window, WM_COMMAND, norv::kToolButtonFirst + 1, 0);
  for (int polls = 1;; ++polls) {
    const std::wstring caption = Caption(window);
    if (caption != marker && caption != checking) break;
    if (polls % 100 == 0 && !Running(window)) break;
    ::Sleep(1);
  }
  const long long us = MicrosecondsSince(start);
  while (Running(window)) ::Sleep(1);
  return us;
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

// One turn at one site; false when nothing could be measured.
bool RunTurn(Site& site, int rounds) {
  ::SetEnvironmentVariableW(L"NORVALE_DIRECTORY_1", norv::Widen(site.origin + "/dir1/dir.cgi?SFT=0").c_str());
  ::SetEnvironmentVariableW(L"NORVALE_DIRECTORY_2", norv::Widen(site.origin + "/dir2/dir.cgi?SFT=0").c_str());
  norv::testing::NorvProcess norv;
  HWND window = nullptr;
  norv::testing::WaitUntil([&] {
    window = norv.MainWindow();
    return window && ::SendMessageW(window, norv::kMsgActiveGridTopRow, 0, 0) != 0 && !Running(window);
  });
  if (!window) {
    std::fprintf(stderr, "check_bench: no window for %s\n", site.name.c_str());
    return false;
  }
  // Untimed: the first check also reads the directory, once per process, and
  // the next ones of a new process under Wine are still slower than later
  // ones; the floor warms up as long. The last of them gives the requests.
  for (int i = 0; i < kUntimed; ++i) {
    const std::size_t logged = FileBytes(site.accessLog).size();
    TimeOneCheck(window);
    if (i + 1 == kUntimed && site.paths.empty()) site.paths = LoggedPaths(FileBytes(site.accessLog), logged);
  }
  if (site.paths.empty()) {
    std::fprintf(stderr, "check_bench: no requests logged for %s\n", site.name.c_str());
    return false;
  }
  for (int i = 0; i < kUntimed; ++i) {
    if (TimeFloor(site) < 0) return false;
  }
  for (int round = 0; round < rounds; ++round) {
    std::printf("check_us %s %lld\n", site.name.c_str(), TimeOneCheck(window));
    const long long floor = TimeFloor(site);
    if (floor < 0) return false;
    std::printf("floor_us %s %lld\n", site.name.c_str(), floor);
  }
  std::fflush(stdout);
  return true;
}

bool ParseSites(int argc, wchar_t** argv, std::vector<Site>& sites) {
  for (int i = 3; i < argc; ++i) {
    const std::string arg = norv::Narrow(argv[i]);
    const std::size_t first = arg.find('=');
    const std::size_t second = first == std::string::npos ? first : arg.find('=', first + 1);
    if (second == std::string::npos) return false;
    sites.push_back({arg.substr(0, first), arg.substr(first + 1, second - first - 1), arg.substr(second + 1), {}});
  }
  return !sites.empty();
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  std::vector<Site> sites;
  const int rounds = argc > 2 ? _wtoi(argv[1]) : 0;
  const int turns = argc > 2 ? _wtoi(argv[2]) : 0;
  if (rounds <= 0 || turns <= 0 || !ParseSites(argc, argv, sites)) {
    std::fprintf(stderr, "usage: check_bench.exe ROUNDS TURNS NAME=ORIGIN=ACCESS_LOG...\n");
    return 2;
  }
  ::RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\Pellmark\\T-NORV");
  for (const wchar_t* name : {L"win", L"mod", L"kid", L"snd", L"msg"}) SetSetting(name, L"0");
  if (!PrepareCompleteDataFiles(sites.front().origin)) {
    std::fprintf(stderr, "check_bench: no histories at %s\n", sites.front().origin.c_str());
    return 1;
  }
  for (int turn = 0; turn < turns; ++turn) {
    for (Site& site : sites) {
      if (!RunTurn(site, rounds)) return 1;
    }
  }
  for (const Site& site : sites) {
    for (const std::string& path : site.paths) std::printf("request %s %s\n", site.name.c_str(), path.c_str());
  }
  return 0;
}
