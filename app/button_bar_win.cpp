#include "app/button_bar_win.h"

#include <windowsx.h>

#include "app/command_ids.h"
#include "base/dpi.h"
#include "base/unicode_win.h"
#include "base/window_base_win.h"
#include "app/window_layout.h"
#include "resources/resource_ids.h"
#include "resources/strings.h"

namespace norv {

namespace {

constexpr int kCheckButton = 1;  // ToolButton2, by index
constexpr int kCheckImage = 1;
constexpr int kBusyImage = 14;

int StripResource(int percent) {
  switch (percent) {
    case 150:
      return IDB_TOOLBAR_150;
    case 200:
      return IDB_TOOLBAR_200;
    default:
      return IDB_TOOLBAR;
  }
}

HIMAGELIST LoadButtonImages(HINSTANCE instance, int percent) {
  // Without the artwork the bar keeps its buttons, just without pictures.
  return ::ImageList_LoadImageW(instance, MAKEINTRESOURCEW(StripResource(percent)),
                                ArtworkSize(kToolImageSize, percent), 0, CLR_NONE, IMAGE_BITMAP,
                                LR_CREATEDIBSECTION);
}

constexpr UINT_PTR kSubclassId = 1;

}  // namespace

LRESULT CALLBACK ButtonBarProc(HWND bar, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR data) {
  return GuardCallback<LRESULT>(0, [&]() -> LRESULT {
    switch (message) {
      case WM_LBUTTONDOWN:
      case WM_RBUTTONDOWN:
      case WM_MBUTTONDOWN:
      case WM_LBUTTONDBLCLK:
        reinterpret_cast<const ButtonBar*>(data)->MouseDown(wParam, lParam);
        break;
      case WM_KEYDOWN:
        if (reinterpret_cast<ButtonBar*>(data)->KeyDown(wParam)) {
          return 0;
        }
        break;
      case WM_KILLFOCUS:
        ::SendMessageW(bar, TB_SETHOTITEM, static_cast<WPARAM>(-1), 0);
        break;
      case WM_NCDESTROY:
        ::RemoveWindowSubclass(bar, ButtonBarProc, kSubclassId);
        break;
      default:
        break;
    }
    return ::DefSubclassProc(bar, message, wParam, lParam);
  });
}

ButtonBar::~ButtonBar() {
  if (bar_) {
    ::RemoveWindowSubclass(bar_, ButtonBarProc, kSubclassId);
  }
  if (images_) {
    ::ImageList_Destroy(images_);
  }
}

void ButtonBar::Create(HWND parent, HINSTANCE instance, HFONT font, int dpi) {
  instance_ = instance;
  bar_ = ::CreateWindowExW(0, TOOLBARCLASSNAMEW, nullptr,
                           WS_CHILD | WS_VISIBLE | TBSTYLE_TOOLTIPS | CCS_NORESIZE | CCS_NOPARENTALIGN |
                               CCS_NODIVIDER,
                           0, 0, 0, Scale(kToolBarHeight, dpi), parent, nullptr, instance, nullptr);
  ::SendMessageW(bar_, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
  TBBUTTON buttons[kToolButtonCount]{};
  for (int i = 0; i < kToolButtonCount; ++i) {
    hints_[static_cast<std::size_t>(i)] = Widen(text::kButtonHints[i]);
    buttons[i].iBitmap = i;
    buttons[i].idCommand = kToolButtonFirst + i;
    buttons[i].fsState = TBSTATE_ENABLED;
    buttons[i].fsStyle = BTNS_BUTTON;
  }
  ::SendMessageW(bar_, TB_ADDBUTTONSW, kToolButtonCount, reinterpret_cast<LPARAM>(buttons));
  ::SetWindowSubclass(bar_, ButtonBarProc, kSubclassId, reinterpret_cast<DWORD_PTR>(this));
  SetDpi(dpi, font);
}

void ButtonBar::SetDpi(int dpi, HFONT font) {
  dpi_ = dpi;
  const int percent = ArtworkPercent(dpi);
  imageSize_ = ArtworkSize(kToolImageSize, percent);
  ::SendMessageW(bar_, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
  HIMAGELIST previous = images_;
  images_ = LoadButtonImages(instance_, percent);
  ::SendMessageW(bar_, TB_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(images_));
  if (previous) {
    ::ImageList_Destroy(previous);
  }
  ::SendMessageW(bar_, TB_SETBITMAPSIZE, 0, MAKELPARAM(imageSize_, imageSize_));
  ::SendMessageW(bar_, TB_SETBUTTONSIZE, 0, MAKELPARAM(Scale(kToolButtonWidth, dpi), Scale(kToolButtonHeight, dpi)));
  ::SendMessageW(bar_, TB_AUTOSIZE, 0, 0);
  ::SetWindowPos(bar_, nullptr, 0, 0, ButtonWidth() * shown_ + Scale(8, dpi), Height(),
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  ::InvalidateRect(bar_, nullptr, TRUE);
}

int ButtonBar::Height() const { return Scale(kToolBarHeight, dpi_); }

int ButtonBar::ButtonWidth() const {
  RECT r{};
  if (!::SendMessageW(bar_, TB_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&r))) {
    return Scale(kToolButtonWidth, dpi_);
  }
  return r.right - r.left;
}

void ButtonBar::Apply(const Settings& settings) {
  const auto visible = ToolButtonVisibility(settings);
  shown_ = 0;
  for (int i = 0; i < kToolButtonCount; ++i) {
    const bool shown = visible[static_cast<std::size_t>(i)];
    shown_ += shown ? 1 : 0;
    ::SendMessageW(bar_, TB_HIDEBUTTON, static_cast<WPARAM>(kToolButtonFirst + i), MAKELPARAM(!shown, 0));
  }
  ::SendMessageW(bar_, TB_AUTOSIZE, 0, 0);
  ::SetWindowPos(bar_, nullptr, 0, 0, ToolBarWidth(ButtonWidth(), settings, dpi_), Height(),
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void ButtonBar::EnterKeyboardMode() {
  ::SetFocus(bar_);
  const auto count = static_cast<int>(::SendMessageW(bar_, TB_BUTTONCOUNT, 0, 0));
  for (int i = 0; i < count; ++i) {
    TBBUTTON button{};
    ::SendMessageW(bar_, TB_GETBUTTON, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&button));
    if (!(button.fsState & TBSTATE_HIDDEN)) {
      ::SendMessageW(bar_, TB_SETHOTITEM, static_cast<WPARAM>(i), 0);
      return;
    }
  }
}

void ButtonBar::LeaveKeyboardMode() {
  ::SendMessageW(bar_, TB_SETHOTITEM, static_cast<WPARAM>(-1), 0);
  ::SetFocus(::GetParent(bar_));
}

// The bar itself moves the hot button with the arrows and presses it with
// Enter; here a keyboard press of the check button reads Shift as a mouse
// press does, and Esc (or Alt again) leaves the bar.
bool ButtonBar::KeyDown(WPARAM key) {
  switch (key) {
    case VK_ESCAPE:
      LeaveKeyboardMode();
      return true;
    case VK_RETURN:
    case VK_SPACE:
      if (::SendMessageW(bar_, TB_GETHOTITEM, 0, 0) == kCheckButton && checkMouseDown_) {
        checkMouseDown_(::GetKeyState(VK_SHIFT) < 0);
      }
      return false;
    default:
      return false;
  }
}

void ButtonBar::SetThemedStyle(bool themed) {
  themed_ = themed;
  auto style = static_cast<LONG_PTR>(::SendMessageW(bar_, TB_GETSTYLE, 0, 0));
  style = themed ? (style | TBSTYLE_FLAT) : (style & ~static_cast<LONG_PTR>(TBSTYLE_FLAT));
  ::SendMessageW(bar_, TB_SETSTYLE, 0, style);
  ::InvalidateRect(bar_, nullptr, TRUE);
}

void ButtonBar::SetCheckBusy(bool busy) {
  TBBUTTONINFOW info{};
  info.cbSize = sizeof info;
  info.dwMask = TBIF_IMAGE;
  info.iImage = busy ? kBusyImage : kCheckImage;
  ::SendMessageW(bar_, TB_SETBUTTONINFOW, static_cast<WPARAM>(kToolButtonFirst + kCheckButton),
                 reinterpret_cast<LPARAM>(&info));
}

void ButtonBar::OnCheckButtonMouseDown(std::function<void(bool shiftHeld)> handler) {
  checkMouseDown_ = std::move(handler);
}

// The Shift state comes with the press itself, not from the keyboard now.
void ButtonBar::MouseDown(WPARAM keys, LPARAM at) const {
  POINT point{GET_X_LPARAM(at), GET_Y_LPARAM(at)};
  const auto index = ::SendMessageW(bar_, TB_HITTEST, 0, reinterpret_cast<LPARAM>(&point));
  if (index == kCheckButton && checkMouseDown_) {
    checkMouseDown_((keys & MK_SHIFT) != 0);
  }
}

bool ButtonBar::HandleNotify(NMHDR* header, LRESULT& result) {
  if (header->code == TTN_GETDISPINFOW) {
    auto* info = reinterpret_cast<NMTTDISPINFOW*>(header);
    const auto index = static_cast<int>(header->idFrom) - kToolButtonFirst;
    if (index >= 0 && index < kToolButtonCount) {
      info->lpszText = hints_[static_cast<std::size_t>(index)].data();
      result = 0;
      return true;
    }
    return false;
  }
  if (header->hwndFrom == bar_ && header->code == NM_CUSTOMDRAW) {
    result = CustomDraw(reinterpret_cast<NMTBCUSTOMDRAW*>(header));
    return true;
  }
  return false;
}

LRESULT ButtonBar::CustomDraw(NMTBCUSTOMDRAW* draw) const {
  if (!themed_ || draw->nmcd.dwDrawStage != CDDS_PREPAINT) {
    return CDRF_DODEFAULT;
  }
  RECT r{};
  ::GetClientRect(bar_, &r);
  const COLORREF top = ::GetSysColor(COLOR_BTNHIGHLIGHT);
  const COLORREF bottom = ::GetSysColor(COLOR_BTNFACE);
  TRIVERTEX vertices[2] = {
      {r.left, r.top, static_cast<COLOR16>(GetRValue(top) << 8), static_cast<COLOR16>(GetGValue(top) << 8),
       static_cast<COLOR16>(GetBValue(top) << 8), 0},
      {r.right, r.bottom, static_cast<COLOR16>(GetRValue(bottom) << 8),
       static_cast<COLOR16>(GetGValue(bottom) << 8), static_cast<COLOR16>(GetBValue(bottom) << 8), 0},
  };
  GRADIENT_RECT gradient{0, 1};
  ::GradientFill(draw->nmcd.hdc, vertices, 2, &gradient, 1, GRADIENT_FILL_RECT_V);
  ::DrawEdge(draw->nmcd.hdc, &r, EDGE_ETCHED, BF_RECT);
  return CDRF_DODEFAULT;
}

}  // namespace norv
