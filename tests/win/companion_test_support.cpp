#include "tests/win/companion_test_support.h"

#include <filesystem>
#include <sstream>
#include <thread>

#include "base/unicode_win.h"
#include "tests/win/win_test_support.h"

namespace norv::testing {

std::wstring ScratchFolder(const std::wstring& name) {
  wchar_t temp[MAX_PATH] = {};
  ::GetTempPathW(MAX_PATH, temp);
  std::wstring folder = std::wstring(temp) + L"norv_" + name + L"\\";
  RemoveFolder(folder);
  std::filesystem::create_directories(folder);
  return folder;
}

void RemoveFolder(const std::wstring& folder) {
  std::error_code ignored;
  std::filesystem::remove_all(folder, ignored);
}

bool InstallStandin(const std::wstring& folder, const std::wstring& exeName) {
  std::error_code error;
  std::filesystem::create_directories(folder, error);
  return ::CopyFileW((BuildFolder() + L"companion_standin.exe").c_str(), (folder + exeName).c_str(), FALSE) != 0;
}

std::vector<std::string> WaitForLaunches(const std::wstring& folder, std::size_t count,
                                         std::chrono::milliseconds timeout) {
  const auto deadline = std::chrono::steady_clock::now() + timeout;
  std::vector<std::string> lines;
  for (;;) {
    lines.clear();
    std::istringstream log(ReadFileBytes(folder + L"launch.log"));
    for (std::string line; std::getline(log, line);) {
      if (!line.empty() && line.back() == '\r') line.pop_back();
      lines.push_back(line);
    }
    if (lines.size() >= count || std::chrono::steady_clock::now() > deadline) return lines;
    std::this_thread::sleep_for(std::chrono::milliseconds(25));
  }
}

AnsweredBox AnswerBoxDuring(const std::function<void()>& action, const wchar_t* title, int button) {
  std::thread worker([&action] {
    try {
      action();
    } catch (...) {
    }
  });
  AnsweredBox answered;
  const DWORD self = ::GetCurrentProcessId();
  if (HWND box = WaitForWindow([&] { return FindMessageBox(self, title); }, std::chrono::seconds(10))) {
    answered.found = true;
    answered.text = MessageBoxText(box);
    PressButton(box, button);
  }
  worker.join();
  return answered;
}

std::string ToUtf8(const std::wstring& text) { return Narrow(text); }

}  // namespace norv::testing
