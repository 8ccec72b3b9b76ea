#include "app/single_instance_win.h"

#include "base/unicode_win.h"
#include "resources/strings.h"

namespace norv {

namespace {
constexpr wchar_t kMutexName[] = L"norv";
constexpr wchar_t kMainWindowClass[] = L"TForm1";
}  // namespace

// A copy running elevated, or at any other integrity level, owns a mutex this
// one may not open: the refusal says an instance runs all the same.
bool AnotherInstanceRuns() {
  UniqueKernelHandle existing(::OpenMutexW(MUTEX_ALL_ACCESS, FALSE, kMutexName));
  return existing || ::GetLastError() == ERROR_ACCESS_DENIED;
}

void RefuseSecondStart() {
  const std::wstring text = Widen(text::AlreadyRunningMessage());
  ::MessageBoxW(nullptr, text.c_str(), Widen(text::kProductName).c_str(), MB_OK | MB_ICONINFORMATION);
  if (HWND first = ::FindWindowW(kMainWindowClass, nullptr)) {
    // A minimised window would only flash its taskbar button; a hidden
    // (resident) one is left hidden.
    if (::IsWindowVisible(first) && ::IsIconic(first)) {
      ::ShowWindowAsync(first, SW_RESTORE);
    }
    ::SetForegroundWindow(first);
  }
}

InstanceMutex::InstanceMutex() : handle_(::CreateMutexW(nullptr, TRUE, kMutexName)) {
  // A failed creation is tolerated: the program then runs without the mutex,
  // unless it failed because another copy's mutex may not be opened.
  const DWORD error = ::GetLastError();
  lostRace_ = handle_ ? error == ERROR_ALREADY_EXISTS : error == ERROR_ACCESS_DENIED;
  owned_ = handle_ && !lostRace_;
}

void InstanceMutex::Release() {
  if (owned_) {
    ::ReleaseMutex(handle_.get());
    owned_ = false;
  }
  // The handle itself stays open until the process ends.
}

}  // namespace norv
