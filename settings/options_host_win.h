#pragma once
// What the options dialog needs from the rest of the program. The main window
// implements it; tests use a stand-in.

#include <windows.h>

#include <functional>
#include <string>

namespace norv {

class OptionsHost {
 public:
  virtual ~OptionsHost() = default;

  // Owner of the dialog, which is centred on it; may be null.
  virtual HWND MainWindow() const = 0;
  virtual void ShowMainWindow() = 0;
  virtual void HideMainWindow() = 0;
  // A close request of the main window, decided by its close handler; with
  // RestartRequested set it ends the program and starts it again.
  virtual void CloseMainWindow() = 0;
  virtual void ShowTrayMenu(bool show) = 0;
  virtual void ApplyButtonBar() = 0;
  virtual void OpenHelp() = 0;
  // Opens the about box as opened from the options dialog (AboutFromOptions);
  // `onClosed` runs on the window thread when the box has closed.
  virtual void OpenAboutBox(std::function<void()> onClosed) = 0;
  virtual bool IsCompanionInstalled(int companionId, bool showMessages) = 0;
  virtual int VersionCode() const = 0;
  virtual std::string ProgramFolder() const = 0;  // ends in a backslash
};

}  // namespace norv
