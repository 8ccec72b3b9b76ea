// Times checks that find nothing new: the program's test build,
// norv_probed.exe (beside this program), against the maker's service in test
// mode, every data file already complete. Prints one line per timed check
// ("check_ms N"), then the addresses one check asked for ("request PATH"),
// so a plain HTTP client can be timed on the same sequence.

#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include "acquisition/environment.h"
#include "acquisition/fetch_win.h"
#include "acquisition/full_refresh.h"
#include "app/app_messages.h"
#include "app/command_ids.h"
#include "schedule/schedule_mode.h"
#include "base/unicode_win.h"
#include "../norv_process.h"
#include "tests/win/local_services.h"

namespace {

std::string origin;

std::string Service(const std::string& path) {
  norv::WinInetFetcher fetcher(norv::AccessFromSettings(false, false, "", ""));
  std::stop_source never;
  return fetcher.FetchUrlText(origin + path, false, never.get_token());
}

// The request log arrives as one line ("target TAB agent" per request, the
// line breaks removed), so a target is what follows an agent up to the tab;
// every target begins with "/" and no agent name holds one.
std::vector<std::string> LoggedTargets() {
  const std::string log = Service("/control/log");
  std::vector<std::string> targets;
  std::size_t at = 0;
  for (;;) {
    const std::size_t slash = log.find('/', at);
    if (slash == std::string::npos) break;
    const std::size_t tab = log.find('\t', slash);
    targets.push_back(log.substr(slash, tab == std::string::npos ? std::string::npos : tab - slash));
    if (tab == std::string::npos) break;
    at = tab + 1;
  }
  return targets;
}

void SetSetting(const wchar_t* name, const wchar_t* value) {
  ::RegSetKeyValueW(HKEY_CURRENT_USER, L"Software\\Pellmark\\T-NORV", name, REG_SZ, value,
                    static_cast<DWORD>((wcslen(value) + 1) * sizeof(wchar_t)));
}

void PrepareCompleteDataFiles() {
  const std::string state = Service("/control/state");
  const char* keys[4] = {"lot6", "mini", "num4", "num3"};
  const char* names[4] = {"LOTO6", "MiniLOTO", "Numbers4", "Numbers3"};
  const wchar_t* files[4] = {L"dat_lot6.tan", L"dat_mini.tan", L"dat_num4.tan", L"dat_num3.tan"};
  std::string query = "/control/status?";
  for (int g = 0; g < 4; ++g) {
    const std::string label = std::string(names[g]) + " published ";
    const std::size_t from = state.find(label) + label.size();
    query += std::string(g ? "&" : "") + keys[g] + "=" + state.substr(from, state.find(' ', from) - from);
  }
  Service(query);
  std::filesystem::create_directories(norv::testing::DataFolderPath());
  for (int g = 0; g < 4; ++g) {
    const auto game = norv::kAllGames[static_cast<std::size_t>(g)];
    const std::string history = Service(std::string("/svc1/") + keys[g] + ".txt");
    std::ofstream(std::filesystem::path(norv::testing::DataFolderPath() + files[g]), std::ios::binary)
        << norv::BuildHistoryFile(game, history, {}).value_or("");
  }
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
  const auto start = std::chrono::steady_clock::now();
  ::SendMessageW(window, WM_COMMAND, norv::kToolButtonFirst + 1, 0);
  for (int polls = 1;; ++polls) {
    const std::wstring caption = Caption(window);
    if (caption != marker && caption != checking) break;
    if (polls % 100 == 0 && !Running(window)) break;
    ::Sleep(1);
  }
  const auto end = std::chrono::steady_clock::now();
  while (Running(window)) ::Sleep(1);
  return std::chrono::duration_cast<std::chrono::microseconds>(end - start).count();
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  const int runs = argc > 1 ? _wtoi(argv[1]) : 10;
  const int port = norv::testing::LocalServicePort("service.port");
  if (port == 0) {
    std::printf("no test service\n");
    return 1;
  }
  origin = "http://127.0.0.1:" + std::to_string(port);
  ::SetEnvironmentVariableW(L"NORVALE_DIRECTORY_1", norv::Widen(origin + "/dir1/dir.cgi?SFT=0").c_str());
  ::SetEnvironmentVariableW(L"NORVALE_DIRECTORY_2", norv::Widen(origin + "/dir2/dir.cgi?SFT=0").c_str());
  Service("/control/reset");
  ::RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\Pellmark\\T-NORV");
  for (const wchar_t* name : {L"win", L"mod", L"kid", L"snd", L"msg"}) SetSetting(name, L"0");
  PrepareCompleteDataFiles();

  norv::testing::NorvProcess norv;
  HWND window = nullptr;
  norv::testing::WaitUntil([&] {
    window = norv.MainWindow();
    return window && ::SendMessageW(window, norv::kMsgActiveGridTopRow, 0, 0) != 0 && !Running(window);
  });
  if (!window) {
    std::printf("no window\n");
    return 1;
  }
  // Untimed: the first check also reads the directory, once per process, and
  // the next ones of a new process under Wine are still slower than later
  // ones (the floor client warms up as long).
  for (int i = 0; i < 3; ++i) TimeOneCheck(window);
  for (int i = 0; i < runs; ++i) {
    if (i + 1 == runs) Service("/control/log?clear=1");
    std::printf("check_us %lld\n", TimeOneCheck(window));
  }
  for (const std::string& target : LoggedTargets()) std::printf("request %s\n", target.c_str());
  return 0;
}
