#include "about/about_box_win.h"

#include <commctrl.h>
#include <shellapi.h>

#include <algorithm>
#include <memory>
#include <optional>
#include <string>
#include <utility>

#include "acquisition/service_addresses.h"
#include "about/version_label.h"
#include "base/dpi.h"
#include "base/dpi_win.h"
#include "base/handles_win.h"
#include "base/window_base_win.h"
#include "base/work_area_win.h"
#include "base/unicode_win.h"
#include "resources/resource_ids.h"
#include "resources/strings.h"

namespace norv {

namespace {

constexpr wchar_t kClassName[] = L"TAboutBox";
constexpr wchar_t kFontFace[] = L"メイリオ";
constexpr SIZE kClientSize{294, 204};
constexpr RECT kPanel{8, 8, 8 + 279, 8 + 152};
constexpr UINT_PTR kShowTimer = 1;  // Timer1: shows the box once, 1 ms after creation
constexpr UINT_PTR kFadeTimer = 2;  // one tick per fade step, at the same 1 ms
constexpr UINT kMsgCloseNow = WM_APP + 1;  // the close after OK, once OK's handler is done
constexpr int kFadeSteps = 128;
constexpr COLORREF kNavy = RGB(0, 0, 128);
constexpr COLORREF kBlack = RGB(0, 0, 0);
constexpr UINT_PTR kLinkSubclass = 1;
constexpr UINT_PTR kOkSubclass = 2;

constexpr DWORD kStyle = WS_POPUP | WS_CAPTION | WS_CLIPCHILDREN;
constexpr DWORD kExStyle = WS_EX_TOOLWINDOW | WS_EX_LAYERED;
constexpr int kIconSize = 32;

// Every figure of the box is a 96-dpi one, scaled to the box's monitor.
struct AboutFonts {
  explicit AboutFonts(int dpi)
      : form(CreateScaledFont(kFontFace, 12, dpi)),
        name(CreateScaledFont(kFontFace, 16, dpi, true)),
        nameHover(CreateScaledFont(kFontFace, 16, dpi, true, true)),
        number(CreateScaledFont(kFontFace, 15, dpi)),
        commentsHover(CreateScaledFont(kFontFace, 12, dpi, false, true)) {}
  UniqueFont form;
  UniqueFont name;
  UniqueFont nameHover;
  UniqueFont number;
  UniqueFont commentsHover;
};

RECT ScaledRect(const RECT& r, int dpi) {
  return {Scale(r.left, dpi), Scale(r.top, dpi), Scale(r.right, dpi), Scale(r.bottom, dpi)};
}

SIZE TextSize(HFONT font, const std::wstring& text) {
  WindowDc screen(nullptr);
  SelectedObject selected(screen.get(), font);
  SIZE size{0, 0};
  ::GetTextExtentPoint32W(screen.get(), text.c_str(), static_cast<int>(text.size()), &size);
  return size;
}

// The primary monitor's work area: a box centred on the whole virtual
// desktop would straddle two monitors.
RECT DesktopArea() {
  RECT area{0, 0, ::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN)};
  ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &area, 0);
  return area;
}

void OpenPage(HWND owner, std::string_view address) {
  ::ShellExecuteW(owner, nullptr, Widen(address).c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

class AboutBox final : public WindowBase {
 public:
  explicit AboutBox(AboutBoxRequest request) : request_(std::move(request)) {}

  bool Create(HINSTANCE instance);

 private:
  // A fade in progress: one step per millisecond, so a coarse system timer
  // skips steps instead of drawing the fade out.
  struct Fade {
    bool in = true;
    ULONGLONG startMs = 0;
  };

  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
  void OnNcDestroy() override;

  void FormCreate(HINSTANCE instance);
  HWND AddLabel(int id, const std::wstring& text, DWORD style);
  SIZE FrameSize() const;
  void LayOut();
  void Place(HWND control, int left, int top, SIZE size, HFONT font);
  void MoveOnScreen(POINT at);
  void OnDpiChanged(int dpi, const RECT& suggested);
  void Timer1Timer();
  void StartFade(bool in);
  void FadeTimer();
  void Shown();
  void OKButtonClick();
  void CloseNow();
  void SetLinkHover(HWND label, bool hover);
  void SetLayered(bool on);
  void SetAlpha(BYTE alpha);
  void FormPaint();
  LRESULT CtlColorStatic(HDC dc, HWND label);

  static LRESULT CALLBACK LinkProc(HWND, UINT, WPARAM, LPARAM, UINT_PTR, DWORD_PTR);
  static LRESULT CALLBACK OkProc(HWND, UINT, WPARAM, LPARAM, UINT_PTR, DWORD_PTR);

  AboutBoxRequest request_;
  HINSTANCE instance_ = nullptr;
  int dpi_ = kBaseDpi;
  std::unique_ptr<AboutFonts> fonts_ = std::make_unique<AboutFonts>(kBaseDpi);
  HWND picture_ = nullptr;
  HWND productName_ = nullptr;     // ProductName: the support page link
  HWND version_ = nullptr;
  HWND label1_ = nullptr;          // Label1: the version number
  HWND copyright_ = nullptr;
  HWND comments_ = nullptr;        // Comments: the maker's page link
  HWND okButton_ = nullptr;
  UniqueIcon icon_;
  bool nameHover_ = false;
  bool commentsHover_ = false;
  std::optional<Fade> fade_;
  bool closing_ = false;
};

// The one open box. Its window's end frees it.
std::unique_ptr<AboutBox>& OpenBox() {
  static std::unique_ptr<AboutBox> box;
  return box;
}

SIZE AboutBox::FrameSize() const {
  RECT frame{0, 0, Scale(kClientSize.cx, dpi_), Scale(kClientSize.cy, dpi_)};
  AdjustWindowRectForDpi(frame, kStyle, kExStyle, dpi_);
  return {frame.right - frame.left, frame.bottom - frame.top};
}

// Centred on the main window (its restored frame when it is minimised) and
// kept inside the work area of the monitor it opens on.
bool AboutBox::Create(HINSTANCE instance) {
  instance_ = instance;
  RECT owner = DesktopArea();
  if (request_.mainWindow && ::IsWindow(request_.mainWindow)) {
    owner = RestoredFrameOf(request_.mainWindow);
  }
  dpi_ = request_.mainWindow ? DpiOfWindow(request_.mainWindow) : SystemDpi();
  const SIZE size = FrameSize();
  const POINT at = KeptOnWorkArea(CentredOn(owner, size), size);
  const std::wstring caption = Widen(text::kAboutCaption);
  if (!CreateFor(kExStyle, kClassName, caption.c_str(), kStyle, at, size, request_.mainWindow, instance)) {
    return false;
  }
  // Fully transparent until the timer shows it.
  ::SetLayeredWindowAttributes(window_, 0, 0, LWA_ALPHA);
  FormCreate(instance);
  // The monitor it landed on decides, which may not be the main window's.
  dpi_ = DpiOfWindow(window_);
  fonts_ = std::make_unique<AboutFonts>(dpi_);
  LayOut();
  ::SetTimer(window_, kShowTimer, 1, nullptr);
  return true;
}

void AboutBox::FormCreate(HINSTANCE instance) {
  picture_ = ::CreateWindowExW(0, L"STATIC", nullptr, WS_CHILD | WS_VISIBLE | SS_ICON | SS_REALSIZECONTROL, 0, 0, 0,
                               0, window_, reinterpret_cast<HMENU>(static_cast<INT_PTR>(kAboutProgramIcon)), instance,
                               nullptr);
  productName_ = AddLabel(kAboutProductName, Widen(text::kProductName), SS_NOTIFY);
  version_ = AddLabel(kAboutVersion, Widen(text::kAboutVersionWord), 0);
  label1_ = AddLabel(kAboutLabel1, Widen(VersionLabel(text::kVersionStamp)), 0);
  copyright_ = AddLabel(kAboutCopyright, Widen(text::kCopyrightNotice), SS_CENTER);
  comments_ = AddLabel(kAboutComments, Widen(AppServiceAddresses().makerPage), SS_CENTER | SS_NOTIFY);
  ::SetWindowSubclass(productName_, LinkProc, kLinkSubclass, reinterpret_cast<DWORD_PTR>(this));
  ::SetWindowSubclass(comments_, LinkProc, kLinkSubclass, reinterpret_cast<DWORD_PTR>(this));

  okButton_ = ::CreateWindowExW(0, L"BUTTON", L"OK", WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_DEFPUSHBUTTON, 0, 0, 0,
                                0, window_, reinterpret_cast<HMENU>(static_cast<INT_PTR>(kAboutOkButton)), instance,
                                nullptr);
  ::SetWindowSubclass(okButton_, OkProc, kOkSubclass, reinterpret_cast<DWORD_PTR>(this));
}

HWND AboutBox::AddLabel(int id, const std::wstring& text, DWORD style) {
  return ::CreateWindowExW(0, L"STATIC", text.c_str(), WS_CHILD | WS_VISIBLE | SS_NOPREFIX | style, 0, 0, 0, 0,
                           window_, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance_, nullptr);
}

void AboutBox::Place(HWND control, int left, int top, SIZE size, HFONT font) {
  ::SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
  ::SetWindowPos(control, nullptr, Scale(left, dpi_), Scale(top, dpi_), size.cx, size.cy,
                 SWP_NOZORDER | SWP_NOACTIVATE);
}

// Every control at its 96-dpi place scaled to dpi_; labels sized to their
// text in the fonts of that dpi.
void AboutBox::LayOut() {
  const int dx = kPanel.left;
  const int dy = kPanel.top;
  const int icon = Scale(kIconSize, dpi_);
  icon_.reset(static_cast<HICON>(::LoadImageW(instance_, MAKEINTRESOURCEW(IDI_APP), IMAGE_ICON, icon, icon, 0)));
  ::SendMessageW(picture_, STM_SETICON, reinterpret_cast<WPARAM>(icon_.get()), 0);
  ::SetWindowPos(picture_, nullptr, Scale(dx + 54, dpi_), Scale(dy + 22, dpi_), icon, icon,
                 SWP_NOZORDER | SWP_NOACTIVATE);

  HFONT form = fonts_->form.get();
  HFONT name = nameHover_ ? fonts_->nameHover.get() : fonts_->name.get();
  Place(productName_, dx + 96, dy + 24, TextSize(name, Widen(text::kProductName)), name);
  Place(version_, dx + 105, dy + 46, TextSize(form, Widen(text::kAboutVersionWord)), form);
  Place(label1_, dx + 151, dy + 43, TextSize(fonts_->number.get(), Widen(VersionLabel(text::kVersionStamp))),
        fonts_->number.get());
  const int line = TextSize(form, Widen(text::kCopyrightNotice)).cy;
  const int wide = Scale(275, dpi_);
  Place(copyright_, dx + 2, dy + 79, {wide, line}, form);
  Place(comments_, dx + 2, dy + 108, {wide, 2 * line},
        commentsHover_ ? fonts_->commentsHover.get() : form);
  Place(okButton_, 110, 167, {Scale(75, dpi_), Scale(25, dpi_)}, form);

  const SIZE size = FrameSize();
  ::SetWindowPos(window_, nullptr, 0, 0, size.cx, size.cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  ::InvalidateRect(window_, nullptr, TRUE);
}

void AboutBox::MoveOnScreen(POINT at) {
  RECT frame{};
  ::GetWindowRect(window_, &frame);
  const SIZE size{frame.right - frame.left, frame.bottom - frame.top};
  const POINT kept = KeptOnWorkArea(at, size);
  ::SetWindowPos(window_, nullptr, kept.x, kept.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void AboutBox::OnDpiChanged(int dpi, const RECT& suggested) {
  dpi_ = dpi;
  fonts_ = std::make_unique<AboutFonts>(dpi_);
  LayOut();
  MoveOnScreen({suggested.left, suggested.top});
}

// Shows the box once, about 1 ms after creation, with the fade the look asks for.
void AboutBox::Timer1Timer() {
  ::KillTimer(window_, kShowTimer);
  if (!request_.fromOptions) {
    RECT frame{};
    ::GetWindowRect(window_, &frame);
    MoveOnScreen(CentredOn(DesktopArea(), {frame.right - frame.left, frame.bottom - frame.top}));
  }
  if (request_.classicLook && request_.versionCode < 4) {
    ::ShowWindow(window_, SW_SHOW);
    SetAlpha(0);
    StartFade(true);
  } else {
    SetLayered(false);
    ::ShowWindow(window_, SW_SHOW);
    Shown();
  }
}

// The window stays responsive between steps: each is a timer tick of its own.
void AboutBox::StartFade(bool in) {
  fade_ = Fade{in, ::GetTickCount64()};
  ::SetTimer(window_, kFadeTimer, 1, nullptr);
}

// In: 1, 3, ... 255. Out: 254, 252, ... 0, then the box closes.
void AboutBox::FadeTimer() {
  if (!fade_) {
    return;
  }
  const ULONGLONG elapsed = ::GetTickCount64() - fade_->startMs;
  const int step = static_cast<int>(std::min<ULONGLONG>(elapsed, kFadeSteps - 1));
  SetAlpha(static_cast<BYTE>(fade_->in ? 2 * step + 1 : 2 * (kFadeSteps - 1 - step)));
  if (step < kFadeSteps - 1) {
    return;
  }
  ::KillTimer(window_, kFadeTimer);
  const bool in = fade_->in;
  fade_.reset();
  if (in) {
    Shown();
  } else {
    CloseNow();
  }
}

void AboutBox::Shown() { ::SetFocus(okButton_); }

void AboutBox::OKButtonClick() {
  if (fade_ || closing_) {
    return;  // a fade runs: one close at a time, and only once shown
  }
  closing_ = true;
  ::EnableWindow(okButton_, FALSE);
  if (request_.classicLook) {
    if (request_.versionCode >= 4) {
      SetLayered(true);
    }
    SetAlpha(255);
    StartFade(false);
  } else {
    ::PostMessageW(window_, kMsgCloseNow, 0, 0);
  }
}

// Hands control back to the opener, then ends the window, which frees this
// object. Nothing of it is touched after the hand-back either, in case that
// took the box along (with its owner).
void AboutBox::CloseNow() {
  const HWND window = window_;
  const std::function<void()> onClosed = std::move(request_.onClosed);
  if (onClosed) {
    onClosed();
  }
  if (::IsWindow(window)) {
    ::DestroyWindow(window);
  }
}

void AboutBox::SetLayered(bool on) {
  const LONG_PTR exStyle = ::GetWindowLongPtrW(window_, GWL_EXSTYLE);
  ::SetWindowLongPtrW(window_, GWL_EXSTYLE, on ? exStyle | WS_EX_LAYERED : exStyle & ~WS_EX_LAYERED);
  if (on) {
    SetAlpha(255);
  }
}

void AboutBox::SetAlpha(BYTE alpha) { ::SetLayeredWindowAttributes(window_, 0, alpha, LWA_ALPHA); }

void AboutBox::SetLinkHover(HWND label, bool hover) {
  bool& state = label == productName_ ? nameHover_ : commentsHover_;
  if (state == hover) {
    return;
  }
  state = hover;
  HFONT font = label == productName_ ? (hover ? fonts_->nameHover.get() : fonts_->name.get())
                                     : (hover ? fonts_->commentsHover.get() : fonts_->form.get());
  ::SendMessageW(label, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
  ::InvalidateRect(label, nullptr, TRUE);
}

void AboutBox::FormPaint() {
  const PaintScope scope(window_);
  RECT panel = ScaledRect(kPanel, dpi_);
  // Raised inner and lowered outer bevel.
  ::DrawEdge(scope.dc(), &panel, EDGE_ETCHED, BF_RECT);
}

LRESULT AboutBox::CtlColorStatic(HDC dc, HWND label) {
  COLORREF colour = ::GetSysColor(COLOR_WINDOWTEXT);
  if (label == productName_) {
    colour = nameHover_ ? kNavy : kBlack;
  } else if (label == comments_) {
    colour = commentsHover_ ? kNavy : kBlack;
  }
  ::SetTextColor(dc, colour);
  ::SetBkColor(dc, ::GetSysColor(COLOR_BTNFACE));
  return reinterpret_cast<LRESULT>(::GetSysColorBrush(COLOR_BTNFACE));
}

LRESULT AboutBox::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_TIMER:
      if (wParam == kShowTimer) {
        Timer1Timer();
      } else if (wParam == kFadeTimer) {
        FadeTimer();
      }
      return 0;
    case kMsgCloseNow:
      CloseNow();
      return 0;
    case WM_PAINT:
      FormPaint();
      return 0;
    case WM_CTLCOLORSTATIC:
      return CtlColorStatic(reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam));
    case WM_SETCURSOR: {
      const HWND over = reinterpret_cast<HWND>(wParam);
      if (over == productName_ || over == comments_) {
        ::SetCursor(::LoadCursorW(nullptr, IDC_HAND));
        return TRUE;
      }
      break;
    }
    case WM_COMMAND: {
      const HWND from = reinterpret_cast<HWND>(lParam);
      if (LOWORD(wParam) == kAboutOkButton && HIWORD(wParam) == BN_CLICKED) {
        OKButtonClick();
      } else if (from == productName_ && HIWORD(wParam) == STN_CLICKED) {
        OpenPage(window_, AppServiceAddresses().supportPage);
      } else if (from == comments_ && HIWORD(wParam) == STN_CLICKED) {
        OpenPage(window_, AppServiceAddresses().makerPage);
      }
      return 0;
    }
    case WM_KEYDOWN:
      if (wParam == VK_RETURN || wParam == VK_ESCAPE) {
        OKButtonClick();
        return 0;
      }
      break;
    case WM_DPICHANGED:
      OnDpiChanged(LOWORD(wParam), *reinterpret_cast<const RECT*>(lParam));
      return 0;
    case WM_CLOSE:
      // Alt+F4 closes the way OK does, so the opener always gets control back.
      OKButtonClick();
      return 0;
    default:
      break;
  }
  return ::DefWindowProcW(window_, message, wParam, lParam);
}

void AboutBox::OnNcDestroy() {
  if (OpenBox().get() == this) {
    OpenBox().reset();
  }
}

// ProductName and Comments: hover look and the hand cursor.
LRESULT CALLBACK AboutBox::LinkProc(HWND label, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR data) {
  return GuardCallback<LRESULT>(0, [&] {
    auto* box = reinterpret_cast<AboutBox*>(data);
    if (message == WM_MOUSEMOVE) {
      TRACKMOUSEEVENT track{sizeof track, TME_LEAVE, label, 0};
      ::TrackMouseEvent(&track);
      box->SetLinkHover(label, true);
    } else if (message == WM_MOUSELEAVE) {
      box->SetLinkHover(label, false);
    } else if (message == WM_NCDESTROY) {
      ::RemoveWindowSubclass(label, LinkProc, kLinkSubclass);
    }
    return ::DefSubclassProc(label, message, wParam, lParam);
  });
}

// OK is the default button: Enter on it closes the box even without a
// dialog manager in the main message loop, and Esc closes it the same way.
LRESULT CALLBACK AboutBox::OkProc(HWND button, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR data) {
  return GuardCallback<LRESULT>(0, [&]() -> LRESULT {
    if (message == WM_KEYDOWN && (wParam == VK_RETURN || wParam == VK_ESCAPE)) {
      const HWND box = reinterpret_cast<AboutBox*>(data)->Handle();
      ::SendMessageW(box, WM_COMMAND, MAKEWPARAM(kAboutOkButton, BN_CLICKED), reinterpret_cast<LPARAM>(button));
      return 0;
    }
    if (message == WM_NCDESTROY) {
      ::RemoveWindowSubclass(button, OkProc, kOkSubclass);
    }
    return ::DefSubclassProc(button, message, wParam, lParam);
  });
}

bool RegisterAboutBoxClass(HINSTANCE instance) {
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = WindowBase::Procedure;
  wc.hInstance = instance;
  wc.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  wc.lpszClassName = kClassName;
  return ::RegisterClassExW(&wc) != 0 || ::GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

}  // namespace

bool OpenAboutBox(const AboutBoxRequest& request) {
  if (const auto& open = OpenBox()) {
    ::SetForegroundWindow(open->Handle());
    return false;
  }
  HINSTANCE instance = ::GetModuleHandleW(nullptr);
  if (!RegisterAboutBoxClass(instance)) {
    return false;
  }
  // Held here until its window stands: a creation that fails ends the window
  // before the box is the open one.
  auto box = std::make_unique<AboutBox>(request);
  if (!box->Create(instance)) {
    return false;
  }
  OpenBox() = std::move(box);
  return true;
}

HWND AboutBoxWindow() { return OpenBox() ? OpenBox()->Handle() : nullptr; }

}  // namespace norv
