#include "settings/options_dialog_win.h"

#include <windows.h>
#include <commctrl.h>

#include <algorithm>

#include <memory>
#include <string>
#include <vector>

#include "base/folders_win.h"
#include "base/run_state.h"
#include "base/unicode_win.h"
#include "base/work_area_win.h"
#include "resources/options_strings.h"
#include "resources/strings.h"
#include "settings/options_apply.h"
#include "settings/options_controls_win.h"
#include "settings/options_pages_win.h"
#include "settings/registry_storage_win.h"
#include "settings/startup_entry.h"
#include "settings/settings.h"
#include "settings/settings_storage.h"

namespace norv {

using namespace options;

namespace {

constexpr short kMargin = 6;
constexpr short kButtonHeight = 16;
constexpr short kButtonGap = 4;

int Width(const RECT& r) { return r.right - r.left; }
int Height(const RECT& r) { return r.bottom - r.top; }

RECT DialogUnits(HWND dialog, int x, int y, int cx, int cy) {
  RECT r{x, y, x + cx, y + cy};
  ::MapDialogRect(dialog, &r);
  return r;
}

class OptionsDialog : public DialogWindow {
 public:
  OptionsDialog(OptionsHost& host, bool returnToWindow) : host_(host), returnToWindow_(returnToWindow) {}

  HWND Create() { return CreateFromTemplate(Layout(), host_.MainWindow()); }
  void StepTab(int step);

 private:
  struct Tab {
    std::string_view caption;
    OptionsPage* page;
  };

  static DialogTemplate Layout();
  void OnInitDialog() override;
  void OnCommand(int id, int code) override;
  void OnNotify(const NMHDR& header) override;
  void OnDestroyed() override;

  void FormCreate();
  void CreatePages();
  void ArrangeControls();
  RECT SizeTabControl(POINT origin);
  void PlacePages(const RECT& tab);
  RECT PlaceButtons(int left, int right, int top);
  void CentreOnMainWindow();
  void PageControl1Change();
  void Button1Click();  // OK: apply, then close
  void Button2Click();  // キャンセル: close, nothing applied
  void Button3Click();  // 適用: apply, stay open
  void Button4Click();  // ヘルプ: the help file
  void Button6Click();  // バージョン情報: the about box

  // True when the user accepted the restart.
  bool Apply();
  bool AskForRestart();
  // Destroys this object once the click is done; with `restart` the main
  // window is closed after it.
  void Close(bool restart);

  OptionsHost& host_;
  const bool returnToWindow_;
  std::unique_ptr<GeneralPage> general_;
  std::unique_ptr<CheckMethodPage> checkMethod_;
  std::unique_ptr<NetworkPage> network_;
  std::unique_ptr<DisplayPage> display_;
  std::vector<std::unique_ptr<CompanionPage>> companions_;
  std::vector<Tab> tabs_;
};

std::unique_ptr<OptionsDialog>& OpenDialog() {
  static std::unique_ptr<OptionsDialog> dialog;
  return dialog;
}

// Positions are worked out again once the pages exist (ArrangeControls); the
// template only fixes the controls and their sizes.
DialogTemplate OptionsDialog::Layout() {
  DialogTemplate frame(WS_POPUP | WS_CAPTION | DS_MODALFRAME | WS_CLIPCHILDREN,
                       {0, 0, kPageWidth + 2 * kMargin, kPageHeight + 60}, text::kOptionsCaption,
                       text::kOptionsFont, kOptionsFontPoints);
  frame.AddControl(WC_TABCONTROLW, PageControl1, "", {kMargin, kMargin, kPageWidth, kPageHeight + 20},
                   WS_TABSTOP | WS_CLIPSIBLINGS | TCS_MULTILINE);
  frame.AddButton(Button6, text::kAboutButton, {0, 0, 72, kButtonHeight});
  frame.AddButton(Button1, text::kOkButton, {0, 0, 50, kButtonHeight}, BS_DEFPUSHBUTTON);
  frame.AddButton(Button2, text::kCancelButton, {0, 0, 54, kButtonHeight});
  frame.AddButton(Button3, text::kApplyButton, {0, 0, 50, kButtonHeight});
  frame.AddButton(Button4, text::kHelpButton, {0, 0, 50, kButtonHeight});
  return frame;
}

void OptionsDialog::OnInitDialog() { FormCreate(); }

void OptionsDialog::FormCreate() {
  CreatePages();
  const OptionsForm form = FormFromSettings(AppSettings().Snapshot());
  general_->Fill(form);
  checkMethod_->Fill(form);
  network_->Fill(form);
  display_->Fill(form);
  for (const auto& page : companions_) {
    page->Fill(form);
  }
  ArrangeControls();
  CentreOnMainWindow();
  PageControl1Change();
}

// Alder's tab does not exist where Alder cannot run.
void OptionsDialog::CreatePages() {
  const bool alderAvailable = AlderAvailable(host_.VersionCode());
  general_ = std::make_unique<GeneralPage>();
  checkMethod_ = std::make_unique<CheckMethodPage>();
  network_ = std::make_unique<NetworkPage>();
  display_ = std::make_unique<DisplayPage>(alderAvailable);
  tabs_ = {{text::kTabGeneral, general_.get()},
           {text::kTabCheckMethod, checkMethod_.get()},
           {text::kTabNetwork, network_.get()},
           {text::kTabDataView, display_.get()}};
  for (int tab = 0; tab < static_cast<int>(CompanionTabs().size()); ++tab) {
    const CompanionTab& companion = CompanionTabs()[tab];
    if (companion.product == Product::Alder && !alderAvailable) {
      continue;
    }
    companions_.push_back(std::make_unique<CompanionPage>(tab, host_));
    tabs_.push_back({InfoOf(companion.product).name, companions_.back().get()});
  }

  const HWND tabControl = Item(PageControl1);
  for (std::size_t i = 0; i < tabs_.size(); ++i) {
    std::wstring caption = Widen(tabs_[i].caption);
    TCITEMW item{};
    item.mask = TCIF_TEXT;
    item.pszText = caption.data();
    ::SendMessageW(tabControl, TCM_INSERTITEMW, i, reinterpret_cast<LPARAM>(&item));
    tabs_[i].page->Create(Handle());
  }
}

// The tab control is sized around the pages, however many rows its tabs take
// in the font at hand; the buttons go below it and the frame around both.
void OptionsDialog::ArrangeControls() {
  const RECT margin = DialogUnits(Handle(), 0, 0, kMargin, kMargin);
  const RECT tab = SizeTabControl({Width(margin), Height(margin)});
  PlacePages(tab);
  const RECT buttons = PlaceButtons(tab.left, tab.right, tab.bottom + Height(margin));
  RECT frame{0, 0, tab.right + Width(margin), buttons.bottom + Height(margin)};
  ::AdjustWindowRectEx(&frame, static_cast<DWORD>(::GetWindowLongPtrW(Handle(), GWL_STYLE)), FALSE,
                       static_cast<DWORD>(::GetWindowLongPtrW(Handle(), GWL_EXSTYLE)));
  ::SetWindowPos(Handle(), nullptr, 0, 0, Width(frame), Height(frame), SWP_NOZORDER | SWP_NOMOVE | SWP_NOACTIVATE);
}

// The number of tab rows depends on the width, so the width is settled
// first and the height asked for again.
RECT OptionsDialog::SizeTabControl(POINT origin) {
  const HWND tabControl = Item(PageControl1);
  RECT page{};
  ::GetWindowRect(tabs_.front().page->Handle(), &page);
  RECT outer{};
  for (int pass = 0; pass < 2; ++pass) {
    outer = {0, 0, Width(page), Height(page)};
    ::SendMessageW(tabControl, TCM_ADJUSTRECT, TRUE, reinterpret_cast<LPARAM>(&outer));
    ::SetWindowPos(tabControl, nullptr, origin.x, origin.y, Width(outer), Height(outer), SWP_NOZORDER);
  }
  return {origin.x, origin.y, origin.x + Width(outer), origin.y + Height(outer)};
}

void OptionsDialog::PlacePages(const RECT& tab) {
  RECT display{0, 0, Width(tab), Height(tab)};
  ::SendMessageW(Item(PageControl1), TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&display));
  for (const Tab& entry : tabs_) {
    // Above the tab control, so the page is drawn over its body.
    ::SetWindowPos(entry.page->Handle(), HWND_TOP, tab.left + display.left, tab.top + display.top, Width(display),
                   Height(display), SWP_NOACTIVATE);
  }
}

// "バージョン情報" on the left, the other four flush right; gives the row's extent.
RECT OptionsDialog::PlaceButtons(int left, int right, int top) {
  const RECT gap = DialogUnits(Handle(), 0, 0, kButtonGap, kButtonHeight);
  auto place = [&](int id, int x) {
    RECT r{};
    ::GetWindowRect(Item(id), &r);
    ::SetWindowPos(Item(id), nullptr, x, top, Width(r), Height(r), SWP_NOZORDER);
  };
  place(Button6, left);
  int x = right;
  for (int id : {Button4, Button3, Button2, Button1}) {
    RECT r{};
    ::GetWindowRect(Item(id), &r);
    x -= Width(r);
    place(id, x);
    x -= Width(gap);
  }
  return {left, top, right, top + Height(gap)};
}

// Centred on the main window, hidden or not (its restored frame when it is
// minimised), and kept inside the work area of the monitor it opens on.
void OptionsDialog::CentreOnMainWindow() {
  RECT own{};
  ::GetWindowRect(Handle(), &own);
  const SIZE size{Width(own), Height(own)};
  const HWND main = host_.MainWindow();
  const RECT around = main ? RestoredFrameOf(main) : WorkAreaOf(own);
  const POINT at = KeptOnWorkArea(CentredOn(around, size), size);
  ::SetWindowPos(Handle(), nullptr, at.x, at.y, 0, 0, SWP_NOZORDER | SWP_NOSIZE | SWP_NOACTIVATE);
}

void OptionsDialog::OnCommand(int id, int code) {
  if (code != BN_CLICKED) {
    return;
  }
  switch (id) {
    case Button1:
      Button1Click();
      break;
    case Button2:
      Button2Click();
      break;
    case Button3:
      Button3Click();
      break;
    case Button4:
      Button4Click();
      break;
    case Button6:
      Button6Click();
      break;
    default:
      break;
  }
}

void OptionsDialog::OnNotify(const NMHDR& header) {
  if (header.idFrom == static_cast<UINT_PTR>(PageControl1) && header.code == TCN_SELCHANGE) {
    PageControl1Change();
  }
}

void OptionsDialog::OnDestroyed() { OpenDialog().reset(); }

void OptionsDialog::PageControl1Change() {
  const auto selected = static_cast<std::size_t>(::SendMessageW(Item(PageControl1), TCM_GETCURSEL, 0, 0));
  for (std::size_t i = 0; i < tabs_.size(); ++i) {
    ::ShowWindow(tabs_[i].page->Handle(), i == selected ? SW_SHOW : SW_HIDE);
  }
}

void OptionsDialog::StepTab(int step) {
  const HWND tabControl = Item(PageControl1);
  const int count = static_cast<int>(tabs_.size());
  const int current = static_cast<int>(::SendMessageW(tabControl, TCM_GETCURSEL, 0, 0));
  ::SendMessageW(tabControl, TCM_SETCURSEL, static_cast<WPARAM>((current + step + count) % count), 0);
  PageControl1Change();
}

void OptionsDialog::Button1Click() {
  const bool restart = Apply();
  if (!returnToWindow_) {
    host_.ShowTrayMenu(true);
  } else if (!RestartRequested.load()) {
    host_.ShowMainWindow();
  }
  Close(restart);
}

void OptionsDialog::Button2Click() {
  if (returnToWindow_) {
    host_.ShowMainWindow();
  } else {
    host_.ShowTrayMenu(true);
  }
  Close(false);
}

void OptionsDialog::Button3Click() {
  if (Apply()) {
    Close(true);
  }
}

void OptionsDialog::Button4Click() { host_.OpenHelp(); }

// The about box hands the dialog back when it closes; by then the dialog may
// be gone, so the hand-back goes by window handle, not by object.
void OptionsDialog::Button6Click() {
  const HWND dialog = Handle();
  ::EnableWindow(dialog, FALSE);
  host_.OpenAboutBox([dialog] {
    if (::IsWindow(dialog)) {
      ::EnableWindow(dialog, TRUE);
      ::SetForegroundWindow(dialog);
    }
  });
}

bool OptionsDialog::Apply() {
  OptionsForm form;
  general_->Collect(form);
  checkMethod_->Collect(form);
  network_->Collect(form);
  display_->Collect(form);
  for (const auto& page : companions_) {
    page->Collect(form);
  }

  const std::string programFolder = host_.ProgramFolder();
  ApplyEnvironment environment;
  environment.alderAvailable = AlderAvailable(host_.VersionCode());
  environment.fileExists = FileExists;
  environment.setStartupEntry = [&programFolder](bool startWithWindows) {
    if (startWithWindows) {
      WriteStartupEntry(programFolder);
    } else {
      DeleteStartupEntry();
    }
  };
  environment.startupEntryIsBare = [&programFolder] {
    const std::optional<std::string> entry = ReadStartupEntry();
    return entry && IsBareStartupEntry(*entry, programFolder);
  };
  ApplyOutcome outcome;
  AppSettings().Update(
      [&](Settings& settings) { outcome = ApplyOptions(form, settings, AppStorage(), environment); });

  if (outcome.soundFileRefused) {
    general_->ShowSoundFile(form.wav);
  }
  if (outcome.portRefused) {
    network_->ShowPort(form.lpp);
  }
  host_.ApplyButtonBar();
  if (outcome.restartNeeded && AskForRestart()) {
    RestartRequested.store(true);
    return true;
  }
  return false;
}

bool OptionsDialog::AskForRestart() {
  return ::MessageBoxW(Handle(), Widen(text::kRestartQuestion).c_str(), Widen(text::kProductName).c_str(),
                       MB_YESNO | MB_ICONINFORMATION) == IDYES;
}

// The main window owns this dialog, so it is closed only after the dialog is
// gone: closing it first would destroy the dialog under its own handler.
void OptionsDialog::Close(bool restart) {
  if (!restart) {
    CloseLater();
    return;
  }
  OptionsHost& host = host_;
  CloseLater([&host] { host.CloseMainWindow(); });
}

bool IsCtrlTab(const MSG& message) {
  return message.message == WM_KEYDOWN && message.wParam == VK_TAB && ::GetKeyState(VK_CONTROL) < 0;
}

}  // namespace

HWND OpenOptionsDialog(OptionsHost& host, bool mainWindowVisible) {
  auto& dialog = OpenDialog();
  if (dialog) {
    ::SetForegroundWindow(dialog->Handle());
    return dialog->Handle();
  }
  INITCOMMONCONTROLSEX controls{sizeof controls, ICC_TAB_CLASSES};
  ::InitCommonControlsEx(&controls);

  dialog = std::make_unique<OptionsDialog>(host, mainWindowVisible);
  const HWND window = dialog->Create();
  if (!window) {
    dialog.reset();
    return nullptr;
  }
  if (mainWindowVisible) {
    host.HideMainWindow();
  } else {
    host.ShowTrayMenu(false);
  }
  ::ShowWindow(window, SW_SHOW);
  ::SetForegroundWindow(window);
  return window;
}

bool RouteDialogMessage(MSG& message) {
  const auto& dialog = OpenDialog();
  if (!dialog || !dialog->Handle()) {
    return false;
  }
  const HWND frame = dialog->Handle();
  if (message.hwnd != frame && !::IsChild(frame, message.hwnd)) {
    return false;
  }
  if (IsCtrlTab(message)) {
    dialog->StepTab(::GetKeyState(VK_SHIFT) < 0 ? -1 : 1);
    return true;
  }
  return ::IsDialogMessageW(frame, &message) != FALSE;
}

}  // namespace norv
