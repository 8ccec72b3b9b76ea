#pragma once
// One running copy of the program under the soak: started, its checks
// pressed and followed through the run-state probe, its boxes answered, and
// killed or closed. A program that ends by itself or stops answering is
// what the soak reports.

#include <windows.h>

#include <chrono>
#include <optional>
#include <string>
#include <thread>

#include "app/app_messages.h"
#include "app/command_ids.h"
#include "base/handles_win.h"
#include "tests/win/helpers/soak/soak_message_boxes.h"
#include "tests/win/helpers/process_windows.h"

namespace norv::soak {

enum class CheckEnd { Ended, Hung, Died };

class SoakProgram {
 public:
  using Clock = std::chrono::steady_clock;

  SoakProgram(std::wstring exe, MessageBoxAnswerer& boxes) : exe_(std::move(exe)), boxes_(boxes) {}
  SoakProgram(const SoakProgram&) = delete;
  SoakProgram& operator=(const SoakProgram&) = delete;
  ~SoakProgram() { Kill(); }

  // Started and through its start-up run: the window shown, no check running.
  bool Start(std::chrono::milliseconds limit) {
    Kill();
    std::wstring commandLine = L"\"" + exe_ + L"\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    if (!::CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                          &info)) {
      return false;
    }
    const UniqueKernelHandle thread(info.hThread);
    process_.reset(info.hProcess);
    pid_ = info.dwProcessId;
    return PollUntil(limit, [this] { return Ready(); });
  }

  bool Alive() const { return process_ && ::WaitForSingleObject(process_.get(), 0) == WAIT_TIMEOUT; }

  DWORD ExitCode() const {
    DWORD code = 0;
    if (process_) ::GetExitCodeProcess(process_.get(), &code);
    return code;
  }

  // The check button, or Shift+F5 for a forced check; false when no check
  // started. The click sets CheckRunning before the window thread answers.
  bool PressCheck(bool forced) {
    const WPARAM command = forced ? kKeyForcedCheck : kToolButtonFirst + 1;
    DWORD_PTR ignored = 0;
    if (!::SendMessageTimeoutW(window_, WM_COMMAND, command, 0, SMTO_NORMAL, 10000, &ignored)) return false;
    const std::optional<LRESULT> state = RunState();
    return state && (*state & kProbeCheckRunning) != 0;
  }

  CheckEnd WaitForCheckEnd(std::chrono::milliseconds limit) {
    const bool ended = PollUntil(limit, [this] {
      const std::optional<LRESULT> state = RunState();
      return state && (*state & kProbeCheckRunning) == 0;
    });
    if (ended) return CheckEnd::Ended;
    return Alive() ? CheckEnd::Hung : CheckEnd::Died;
  }

  // Lets the time pass with its boxes answered; false when it ended by itself.
  bool Idle(std::chrono::milliseconds span) {
    PollUntil(span, [] { return false; });
    return Alive();
  }

  void Kill() {
    if (!process_) return;
    ::TerminateProcess(process_.get(), 1);
    ::WaitForSingleObject(process_.get(), 10000);
    process_.reset();
    window_ = nullptr;
  }

  // As the window's close does; false when it had to be killed after all.
  bool Close(std::chrono::milliseconds limit) {
    ::PostMessageW(window_, WM_CLOSE, 0, 0);
    const bool closed = PollUntil(limit, [this] { return !Alive(); });
    Kill();
    return closed;
  }

 private:
  // Polls `done` with the boxes answered in between, until it holds (true),
  // the program ends (false) or the time runs out (false).
  template <typename Done>
  bool PollUntil(std::chrono::milliseconds limit, Done done) {
    const auto end = Clock::now() + limit;
    for (;;) {
      boxes_.AnswerAll(pid_);
      if (done()) return true;
      if (!Alive() || Clock::now() >= end) return false;
      std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
  }

  bool Ready() {
    if (!window_) window_ = MainWindowOf(pid_);
    if (!window_ || !::IsWindowVisible(window_)) return false;
    const std::optional<LRESULT> state = RunState();
    return state && (*state & kProbeCheckRunning) == 0;
  }

  // Nothing when the window did not answer in time.
  std::optional<LRESULT> RunState() const {
    DWORD_PTR state = 0;
    if (!::SendMessageTimeoutW(window_, kMsgRunStateProbe, 0, 0, SMTO_NORMAL, 5000, &state)) return std::nullopt;
    return static_cast<LRESULT>(state);
  }

  static HWND MainWindowOf(DWORD pid) { return testing::WindowOfProcess(pid, L"TForm1"); }

  std::wstring exe_;
  MessageBoxAnswerer& boxes_;
  UniqueKernelHandle process_;
  DWORD pid_ = 0;
  HWND window_ = nullptr;
};

}  // namespace norv::soak
