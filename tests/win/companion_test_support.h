#pragma once
// Helpers for the companion and version-notice tests: a stand-in program that
// logs how it was started, scratch folders, and answering message boxes that
// the code under test shows from another thread.

#include <windows.h>

#include <chrono>
#include <functional>
#include <string>
#include <vector>

namespace norv::testing {

// A fresh, empty folder under the Wine user's temporary folder; ends in "\".
std::wstring ScratchFolder(const std::wstring& name);

// Removes the folder and everything in it.
void RemoveFolder(const std::wstring& folder);

// Copies the stand-in program into `folder` under `exeName`.
bool InstallStandin(const std::wstring& folder, const std::wstring& exeName);

// The argument lines the stand-ins in `folder` logged, once `count` have
// arrived (or whatever arrived before the time-out).
std::vector<std::string> WaitForLaunches(const std::wstring& folder, std::size_t count,
                                         std::chrono::milliseconds timeout = std::chrono::seconds(15));

struct AnsweredBox {
  bool found = false;
  std::wstring text;
};

// Runs `action` on its own thread, waits for a message box titled `title` in
// this process, takes its text and presses `button`; returns once `action`
// has returned.
AnsweredBox AnswerBoxDuring(const std::function<void()>& action, const wchar_t* title, int button);

std::string ToUtf8(const std::wstring& text);

}  // namespace norv::testing
