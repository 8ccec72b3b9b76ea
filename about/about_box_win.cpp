#include "about/about_box_win.h"

#include <commctrl.h>
#include <shellapi.h>

#include <string>
#include <utility>

#include "acquisition/service_addresses.h"
#include "about/version_label.h"
#include "base/handles_win.h"
#include "base/message_pump_win.h"
#include "base/window_instance_win.h"
#include "base/unicode_win.h"
#include "resources/resource_ids.h"
#include "resources/strings.h"

namespace norv {

namespace {

constexpr wchar_t kClassName[] = L"TAboutBox";
constexpr wchar_t kFontFace[] = L"メイリオ";
constexpr SIZE kClientSize{294, 204};
constexpr RECT kPanel{8, 8, 8 + 279, 8 + 152};
constexpr UINT_PTR kShowTimer = 1;
constexpr COLORREF kNavy = RGB(0, 0, 128);
constexpr COLORREF kBlack = RGB(0, 0, 0);
constexpr UINT_PTR kLinkSubclass = 1;
constexpr UINT_PTR kOkSubclass = 2;

UniqueFont MakeFont(int height, bool bold, bool underline) {
  return UniqueFont(::CreateFontW(-height, 0, 0, 0, bold ? FW_BOLD : FW_NORMAL, FALSE, underline, FALSE,
                                  SHIFTJIS_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                                  DEFAULT_PITCH | FF_DONTCARE, kFontFace));
}

SIZE TextSize(HFONT font, const std::wstring& text) {
  WindowDc screen(nullptr);
  SelectedObject selected(screen.get(), font);
  SIZE size{0, 0};
  ::GetTextExtentPoint32W(screen.get(), text.c_str(), static_cast<int>(text.size()), &size);
  return size;
}

POINT CentredOn(const RECT& area, SIZE window) {
  return {area.left + (area.right - area.left - window.cx) / 2, area.top + (area.bottom - area.top - window.cy) / 2};
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

class AboutBox;
AboutBox* gOpenBox = nullptr;

class AboutBox {
 public:
  explicit AboutBox(AboutBoxRequest request) : request_(std::move(request)) {}
  AboutBox(const AboutBox&) = delete;
  AboutBox& operator=(const AboutBox&) = delete;

  bool Create(HINSTANCE instance);
  HWND Handle() const { return window_; }

  static LRESULT CALLBACK Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

 private:
  // The object outlives its window while a fade still runs on its stack.
  struct BusyScope {
    explicit BusyScope(AboutBox& b) : box(b) { ++box.busy_; }
    BusyScope(const BusyScope&) = delete;
    BusyScope& operator=(const BusyScope&) = delete;
    ~BusyScope() { --box.busy_; }
    AboutBox& box;
  };

  void FormCreate(HINSTANCE instance);
  HWND AddLabel(int id, const std::wstring& text, int left, int top, SIZE size, HFONT font, DWORD style);
  void Timer1Timer();
  void OKButtonClick();
  void SetLinkHover(HWND label, bool hover);
  bool SetAlphaAndPump(BYTE alpha);
  void SetLayered(bool on);
  void FormPaint();
  LRESULT CtlColorStatic(HDC dc, HWND label);
  void FinishIfDestroyed();
  LRESULT Dispatch(UINT message, WPARAM wParam, LPARAM lParam);

  static LRESULT CALLBACK LinkProc(HWND, UINT, WPARAM, LPARAM, UINT_PTR, DWORD_PTR);
  static LRESULT CALLBACK OkProc(HWND, UINT, WPARAM, LPARAM, UINT_PTR, DWORD_PTR);

  AboutBoxRequest request_;
  HWND window_ = nullptr;
  HWND productName_ = nullptr;
  HWND comments_ = nullptr;
  HWND okButton_ = nullptr;
  UniqueFont formFont_ = MakeFont(12, false, false);
  UniqueFont nameFont_ = MakeFont(16, true, false);
  UniqueFont nameHoverFont_ = MakeFont(16, true, true);
  UniqueFont numberFont_ = MakeFont(15, false, false);
  UniqueFont commentsHoverFont_ = MakeFont(12, false, true);
  UniqueIcon icon_;
  bool nameHover_ = false;
  bool commentsHover_ = false;
  bool showing_ = false;
  bool closing_ = false;
  int busy_ = 0;
  bool destroyed_ = false;
};

bool AboutBox::Create(HINSTANCE instance) {
  BusyScope busy(*this);  // a creation that fails halfway leaves the deleting to the caller
  constexpr DWORD style = WS_POPUP | WS_CAPTION | WS_CLIPCHILDREN;
  constexpr DWORD exStyle = WS_EX_TOOLWINDOW | WS_EX_LAYERED;
  RECT frame{0, 0, kClientSize.cx, kClientSize.cy};
  ::AdjustWindowRectEx(&frame, style, FALSE, exStyle);
  const SIZE size{frame.right - frame.left, frame.bottom - frame.top};
  RECT owner{};
  if (!request_.mainWindow || !::GetWindowRect(request_.mainWindow, &owner)) {
    owner = DesktopArea();
  }
  const POINT at = CentredOn(owner, size);
  const std::wstring caption = Widen(text::kAboutCaption);
  ::CreateWindowExW(exStyle, kClassName, caption.c_str(), style, at.x, at.y, size.cx, size.cy, request_.mainWindow,
                    nullptr, instance, this);
  if (!window_ || destroyed_) {
    return false;
  }
  // Fully transparent until the timer shows it.
  ::SetLayeredWindowAttributes(window_, 0, 0, LWA_ALPHA);
  FormCreate(instance);
  ::SetTimer(window_, kShowTimer, 1, nullptr);
  return true;
}

void AboutBox::FormCreate(HINSTANCE instance) {
  const int dx = kPanel.left;
  const int dy = kPanel.top;
  icon_.reset(static_cast<HICON>(::LoadImageW(instance, MAKEINTRESOURCEW(IDI_APP), IMAGE_ICON, 32, 32, 0)));
  HWND picture = ::CreateWindowExW(0, L"STATIC", nullptr, WS_CHILD | WS_VISIBLE | SS_ICON | SS_REALSIZECONTROL,
                                   dx + 54, dy + 22, 32, 32, window_,
                                   reinterpret_cast<HMENU>(static_cast<INT_PTR>(kAboutProgramIcon)), instance, nullptr);
  ::SendMessageW(picture, STM_SETICON, reinterpret_cast<WPARAM>(icon_.get()), 0);

  const std::wstring name = Widen(text::kProductName);
  productName_ = AddLabel(kAboutProductName, name, dx + 96, dy + 24, TextSize(nameFont_.get(), name), nameFont_.get(),
                          SS_NOTIFY);
  const std::wstring versionWord = Widen(text::kAboutVersionWord);
  AddLabel(kAboutVersion, versionWord, dx + 105, dy + 46, TextSize(formFont_.get(), versionWord), formFont_.get(), 0);
  const std::wstring number = Widen(VersionLabel(text::kVersionStamp));
  AddLabel(kAboutLabel1, number, dx + 151, dy + 43, TextSize(numberFont_.get(), number), numberFont_.get(), 0);
  const std::wstring notice = Widen(text::kCopyrightNotice);
  const int line = TextSize(formFont_.get(), notice).cy;
  AddLabel(kAboutCopyright, notice, dx + 2, dy + 79, {275, line}, formFont_.get(), SS_CENTER);
  comments_ = AddLabel(kAboutComments, Widen(AppServiceAddresses().makerPage), dx + 2, dy + 108, {275, 2 * line},
                       formFont_.get(), SS_CENTER | SS_NOTIFY);
  ::SetWindowSubclass(productName_, LinkProc, kLinkSubclass, reinterpret_cast<DWORD_PTR>(this));
  ::SetWindowSubclass(comments_, LinkProc, kLinkSubclass, reinterpret_cast<DWORD_PTR>(this));

  okButton_ = ::CreateWindowExW(0, L"BUTTON", L"OK", WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_DEFPUSHBUTTON, 110, 167,
                                75, 25, window_, reinterpret_cast<HMENU>(static_cast<INT_PTR>(kAboutOkButton)),
                                instance, nullptr);
  ::SendMessageW(okButton_, WM_SETFONT, reinterpret_cast<WPARAM>(formFont_.get()), FALSE);
  ::SetWindowSubclass(okButton_, OkProc, kOkSubclass, reinterpret_cast<DWORD_PTR>(this));
}

HWND AboutBox::AddLabel(int id, const std::wstring& text, int left, int top, SIZE size, HFONT font, DWORD style) {
  HWND label = ::CreateWindowExW(0, L"STATIC", text.c_str(), WS_CHILD | WS_VISIBLE | SS_NOPREFIX | style, left, top,
                                 size.cx, size.cy, window_, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                                 reinterpret_cast<HINSTANCE>(::GetWindowLongPtrW(window_, GWLP_HINSTANCE)), nullptr);
  ::SendMessageW(label, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
  return label;
}

// Shows the box once, about 1 ms after creation, with the fade the look asks for.
void AboutBox::Timer1Timer() {
  ::KillTimer(window_, kShowTimer);
  if (!request_.fromOptions) {
    RECT frame{};
    ::GetWindowRect(window_, &frame);
    const POINT at = CentredOn(DesktopArea(), {frame.right - frame.left, frame.bottom - frame.top});
    ::SetWindowPos(window_, nullptr, at.x, at.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
  BusyScope busy(*this);
  showing_ = true;
  if (request_.classicLook && request_.versionCode < 4) {
    ::ShowWindow(window_, SW_SHOW);
    bool alive = SetAlphaAndPump(0);
    for (int i = 0; i <= 127 && alive; ++i) {
      alive = SetAlphaAndPump(static_cast<BYTE>(2 * i + 1));
    }
  } else {
    SetLayered(false);
    ::ShowWindow(window_, SW_SHOW);
  }
  showing_ = false;
  if (!destroyed_) {
    ::SetFocus(okButton_);
  }
}

void AboutBox::OKButtonClick() {
  if (showing_ || closing_) {
    return;  // a fade runs: one close at a time, and only once shown
  }
  closing_ = true;
  BusyScope busy(*this);
  ::EnableWindow(okButton_, FALSE);
  if (request_.classicLook) {
    if (request_.versionCode >= 4) {
      SetLayered(true);
    }
    bool alive = SetAlphaAndPump(255);
    for (int n = 127; n >= 0 && alive; --n) {
      alive = SetAlphaAndPump(static_cast<BYTE>(2 * n));
    }
  }
  if (destroyed_) {
    return;
  }
  if (request_.onClosed) {
    request_.onClosed();
  }
  if (!destroyed_) {
    ::DestroyWindow(window_);
  }
}

void AboutBox::SetLayered(bool on) {
  const LONG_PTR exStyle = ::GetWindowLongPtrW(window_, GWL_EXSTYLE);
  ::SetWindowLongPtrW(window_, GWL_EXSTYLE, on ? exStyle | WS_EX_LAYERED : exStyle & ~WS_EX_LAYERED);
  if (on) {
    ::SetLayeredWindowAttributes(window_, 0, 255, LWA_ALPHA);
  }
}

// One fade step; false when the fade must stop (the box went, or the
// application is quitting: the quit message is put back for the main loop).
bool AboutBox::SetAlphaAndPump(BYTE alpha) {
  if (destroyed_) {
    return false;
  }
  ::SetLayeredWindowAttributes(window_, 0, alpha, LWA_ALPHA);
  return PumpPendingMessages() && !destroyed_;
}

void AboutBox::SetLinkHover(HWND label, bool hover) {
  bool& state = label == productName_ ? nameHover_ : commentsHover_;
  if (state == hover) {
    return;
  }
  state = hover;
  HFONT font = label == productName_ ? (hover ? nameHoverFont_.get() : nameFont_.get())
                                     : (hover ? commentsHoverFont_.get() : formFont_.get());
  ::SendMessageW(label, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
  ::InvalidateRect(label, nullptr, TRUE);
}

void AboutBox::FormPaint() {
  PAINTSTRUCT paint;
  HDC dc = ::BeginPaint(window_, &paint);
  RECT panel = kPanel;
  // Raised inner and lowered outer bevel.
  ::DrawEdge(dc, &panel, EDGE_ETCHED, BF_RECT);
  ::EndPaint(window_, &paint);
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

LRESULT AboutBox::Dispatch(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_TIMER:
      if (wParam == kShowTimer) {
        Timer1Timer();
      }
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
      if (wParam == VK_RETURN) {
        OKButtonClick();
        return 0;
      }
      break;
    case WM_CLOSE:
      // Alt+F4 closes the way OK does, so the opener always gets control back.
      OKButtonClick();
      return 0;
    default:
      break;
  }
  return ::DefWindowProcW(window_, message, wParam, lParam);
}

void AboutBox::FinishIfDestroyed() {
  if (destroyed_ && busy_ == 0) {
    delete this;
  }
}

LRESULT CALLBACK AboutBox::Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  try {
    auto* box = WindowInstance(window, message, lParam, &AboutBox::window_);
    if (!box) {
      return ::DefWindowProcW(window, message, wParam, lParam);
    }
    if (message == WM_NCDESTROY) {
      ::SetWindowLongPtrW(window, GWLP_USERDATA, 0);
      box->destroyed_ = true;
      if (gOpenBox == box) {
        gOpenBox = nullptr;
      }
      const LRESULT result = ::DefWindowProcW(window, message, wParam, lParam);
      box->FinishIfDestroyed();
      return result;
    }
    const LRESULT result = box->Dispatch(message, wParam, lParam);
    box->FinishIfDestroyed();
    return result;
  } catch (...) {
    // No exception crosses a window procedure.
  }
  return 0;
}

// ProductName and Comments: hover look and the hand cursor.
LRESULT CALLBACK AboutBox::LinkProc(HWND label, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR data) {
  try {
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
  } catch (...) {
    // No exception crosses a window procedure.
  }
  return ::DefSubclassProc(label, message, wParam, lParam);
}

// OK is the default button: Enter on it closes the box even without a
// dialog manager in the main message loop.
LRESULT CALLBACK AboutBox::OkProc(HWND button, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR data) {
  try {
    if (message == WM_KEYDOWN && wParam == VK_RETURN) {
      // Through the box's own procedure, which may free the box (and this button).
      const HWND box = reinterpret_cast<AboutBox*>(data)->Handle();
      ::SendMessageW(box, WM_COMMAND, MAKEWPARAM(kAboutOkButton, BN_CLICKED), reinterpret_cast<LPARAM>(button));
      return 0;
    }
    if (message == WM_NCDESTROY) {
      ::RemoveWindowSubclass(button, OkProc, kOkSubclass);
    }
  } catch (...) {
    // No exception crosses a window procedure.
  }
  return ::DefSubclassProc(button, message, wParam, lParam);
}

bool RegisterAboutBoxClass(HINSTANCE instance) {
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = AboutBox::Proc;
  wc.hInstance = instance;
  wc.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  wc.lpszClassName = kClassName;
  return ::RegisterClassExW(&wc) != 0 || ::GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

}  // namespace

bool OpenAboutBox(const AboutBoxRequest& request) {
  if (gOpenBox) {
    ::SetForegroundWindow(gOpenBox->Handle());
    return false;
  }
  HINSTANCE instance = ::GetModuleHandleW(nullptr);
  if (!RegisterAboutBoxClass(instance)) {
    return false;
  }
  auto* box = new AboutBox(request);
  if (!box->Create(instance)) {
    delete box;
    return false;
  }
  gOpenBox = box;
  return true;
}

HWND AboutBoxWindow() { return gOpenBox ? gOpenBox->Handle() : nullptr; }

}  // namespace norv
