#include "app/options_link_win.h"

#include "about/about_box_win.h"
#include "app/main_form_win.h"
#include "app/open_target_win.h"
#include "app/process_values.h"
#include "companions/companion_host_win.h"
#include "companions/companion_launch.h"
#include "settings/settings_storage.h"

namespace norv {

namespace {

class MainWindowOptionsHost : public OptionsHost {
 public:
  explicit MainWindowOptionsHost(norv::MainWindow& form) : form_(form) {}

  HWND MainWindow() const override { return form_.Handle(); }
  void ShowMainWindow() override {
    ::ShowWindow(form_.Handle(), SW_SHOWNORMAL);
    ::SetForegroundWindow(form_.Handle());
  }
  void HideMainWindow() override { ::ShowWindow(form_.Handle(), SW_HIDE); }
  // The close handler sees a hidden window and takes the exit path.
  void CloseMainWindow() override { ::SendMessageW(form_.Handle(), WM_CLOSE, 0, 0); }
  void ShowTrayMenu(bool show) override { form_.ShowTrayMenu(show); }
  void ApplyButtonBar() override { form_.ApplyButtonBar(); }
  void OpenHelp() override { OpenTarget(TargetKind::HelpFile, ""); }
  void OpenAboutBox(std::function<void()> onClosed) override {
    AboutBoxRequest request;
    request.mainWindow = form_.Handle();
    request.fromOptions = true;
    request.classicLook = Look.classicLook;
    request.versionCode = Look.versionCode;
    request.onClosed = onClosed;
    if (!norv::OpenAboutBox(request) && onClosed) {
      onClosed();
    }
  }
  bool IsCompanionInstalled(int companionId, bool showMessages) override {
    WindowsCompanionHost host(::GetActiveWindow());
    return CompanionLauncher(AppStorage(), LocalCompanionFiles(), host).IsInstalled(companionId, showMessages);
  }
  int VersionCode() const override { return Look.versionCode; }
  std::string ProgramFolder() const override { return norv::ProgramFolder; }

 private:
  norv::MainWindow& form_;
};

}  // namespace

std::unique_ptr<OptionsHost> MakeOptionsHost(MainWindow& form) { return std::make_unique<MainWindowOptionsHost>(form); }

}  // namespace norv
