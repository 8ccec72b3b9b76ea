#pragma once
// Helpers for tests that drive the real program from outside, as a user would.

#include <windows.h>

#include <chrono>
#include <functional>
#include <initializer_list>
#include <string>
#include <vector>

#include "base/handles_win.h"

namespace norv::testing {

// Folder of the running test executable, where norv.exe and nnote.exe sit too.
std::wstring BuildFolder();

// %APPDATA%\Pellmark\T-NORV\ of the Wine user, created when missing.
std::wstring DataFolder();
std::wstring MakerFolder();

void WriteFileBytes(const std::wstring& path, const std::string& bytes);
std::string ReadFileBytes(const std::wstring& path);

// The four data files, empty, so the program can start.
void PrepareEmptyDataFiles();
void RemoveDataFiles();

// Removes HKCU\Software\Pellmark and the start-up entry.
void ClearProgramRegistry();

// One value of the program's own settings section, as REG_SZ text; the empty
// text when it is missing.
void SetProgramSetting(const wchar_t* name, const wchar_t* value);
std::wstring ReadProgramSetting(const wchar_t* name);

class ChildProcess {
 public:
  explicit ChildProcess(const std::wstring& exePath, const std::wstring& arguments = L"");
  ChildProcess(const ChildProcess&) = delete;
  ChildProcess& operator=(const ChildProcess&) = delete;
  ~ChildProcess();  // kills a process still running

  bool Started() const { return static_cast<bool>(process_); }
  DWORD Id() const { return id_; }
  // Waits for the exit; returns false on time-out.
  bool WaitForExit(std::chrono::milliseconds timeout);
  DWORD ExitCode() const;
  void Kill();

 private:
  UniqueKernelHandle process_;
  DWORD id_ = 0;
};

// Polls until `found` returns a window or the time-out passes.
HWND WaitForWindow(const std::function<HWND()>& found, std::chrono::milliseconds timeout);

// The top-level window of class `className` that belongs to process `pid`.
HWND FindProcessWindow(DWORD pid, const wchar_t* className, const wchar_t* title = nullptr);
// The same for a window on screen: a hidden one may linger after its use,
// such as a popup menu that Wine destroys a little after hiding it.
HWND FindVisibleProcessWindow(DWORD pid, const wchar_t* className);

// A message box ("#32770" titled `title`) of process `pid`, with the text of its
// message label.
HWND FindMessageBox(DWORD pid, const wchar_t* title);
std::wstring MessageBoxText(HWND box);
void PressButton(HWND dialog, int id);

std::wstring WindowText(HWND window);

// The child (at any depth) with this control id, or null.
HWND FindChildById(HWND parent, int id);

// Sets the display dpi that Wine hands to programs started from now on (the
// LogPixels value under HKCU\Control Panel\Desktop) and puts the old value
// back when it goes. A running process keeps the dpi it started with.
class ScopedLogPixels {
 public:
  explicit ScopedLogPixels(DWORD dpi);
  ScopedLogPixels(const ScopedLogPixels&) = delete;
  ScopedLogPixels& operator=(const ScopedLogPixels&) = delete;
  ~ScopedLogPixels();

 private:
  bool hadValue_ = false;
  DWORD oldValue_ = 0;
};

// A server on 127.0.0.1 that takes connections and never answers, so a check
// pointed at it keeps running until it is stopped.
class SilentServer {
 public:
  SilentServer();
  SilentServer(const SilentServer&) = delete;
  SilentServer& operator=(const SilentServer&) = delete;
  ~SilentServer();
  int Port() const { return port_; }
  std::string Origin() const { return "http://127.0.0.1:" + std::to_string(port_); }
  // The listening socket, for a test that answers a connection itself.
  UINT_PTR Socket() const { return socket_; }

 private:
  UINT_PTR socket_ = ~UINT_PTR{0};
  int port_ = 0;
};

// An environment variable set for the programs a test starts, put back after.
class ScopedEnvironment {
 public:
  ScopedEnvironment(const wchar_t* name, const std::wstring& value);
  ScopedEnvironment(const ScopedEnvironment&) = delete;
  ScopedEnvironment& operator=(const ScopedEnvironment&) = delete;
  ~ScopedEnvironment();

 private:
  std::wstring name_;
  std::wstring old_;
  bool had_ = false;
};

// Presses and releases keys as the keyboard would, in order, for the
// foreground window; modifiers are held while the keys after them go down.
void PressKeys(std::initializer_list<WORD> keys);

// Width and height `text` takes in the control's own font (WM_GETFONT),
// wrapped at `wrapWidth` when that is above 0.
SIZE TextExtentInOwnFont(HWND control, const std::wstring& text, int wrapWidth = 0);

// Children of `window` (at any depth) whose caption does not fit inside them,
// or which stick out of `window`'s client area; one line each. `allowance`
// is room a control needs beside its text (a check box's mark, a button's edges).
std::vector<std::wstring> ClippedChildren(HWND window, const std::function<int(HWND)>& allowance);

// The window as it is on screen, saved as a 24-bit BMP file.
void SaveWindowScreenshot(HWND window, const std::wstring& path);
std::wstring Utf16(const std::string& utf8);

}  // namespace norv::testing
