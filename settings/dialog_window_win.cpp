#include "settings/dialog_window_win.h"

#include <utility>

#include "base/unicode_win.h"
#include "base/window_base_win.h"

namespace norv {

HWND DialogWindow::CreateFromTemplate(const DialogTemplate& layout, HWND parent) {
  return ::CreateDialogIndirectParamW(::GetModuleHandleW(nullptr), layout.Get(), parent, Procedure,
                                      reinterpret_cast<LPARAM>(this));
}

// The dialog manager's skeleton: the object from WM_INITDIALOG on, under the
// program's one exception policy (a failed message counts as unhandled).
INT_PTR CALLBACK DialogWindow::Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_INITDIALOG) {
    auto* self = reinterpret_cast<DialogWindow*>(lParam);
    ::SetWindowLongPtrW(window, DWLP_USER, lParam);
    self->handle_ = window;
  }
  auto* self = reinterpret_cast<DialogWindow*>(::GetWindowLongPtrW(window, DWLP_USER));
  if (!self) {
    return FALSE;
  }
  if (message == WM_NCDESTROY) {
    ::SetWindowLongPtrW(window, DWLP_USER, 0);
    self->handle_ = nullptr;
    return GuardCallback<INT_PTR>(FALSE, [self] {
      self->OnDestroyed();
      return FALSE;
    });
  }
  if (message == kMsgCloseLater) {
    return GuardCallback<INT_PTR>(TRUE, [self, window] {
      self->CloseNow(window);
      return TRUE;
    });
  }
  return GuardCallback<INT_PTR>(FALSE, [&] { return self->Dispatch(message, wParam, lParam); });
}

void DialogWindow::CloseLater(std::function<void()> afterClose) {
  afterClose_ = std::move(afterClose);
  ::PostMessageW(handle_, kMsgCloseLater, 0, 0);
}

// Runs from the top of the dialog's own procedure, so no handler of the
// object is on the stack when destroying the window frees it.
void DialogWindow::CloseNow(HWND window) {
  const std::function<void()> afterClose = std::move(afterClose_);
  ::DestroyWindow(window);
  if (afterClose) {
    afterClose();
  }
}

INT_PTR DialogWindow::Dispatch(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG:
      OnInitDialog();
      return TRUE;
    case WM_COMMAND:
      OnCommand(LOWORD(wParam), HIWORD(wParam));
      return TRUE;
    case WM_NOTIFY:
      OnNotify(*reinterpret_cast<const NMHDR*>(lParam));
      return TRUE;
    default:
      return FALSE;
  }
}

bool DialogWindow::IsChecked(int id) const { return ::IsDlgButtonChecked(handle_, id) == BST_CHECKED; }

void DialogWindow::Check(int id, bool checked) { ::CheckDlgButton(handle_, id, checked ? BST_CHECKED : BST_UNCHECKED); }

void DialogWindow::EnableItem(int id, bool enabled) { ::EnableWindow(Item(id), enabled ? TRUE : FALSE); }

void DialogWindow::ShowItem(int id, bool shown) { ::ShowWindow(Item(id), shown ? SW_SHOW : SW_HIDE); }

std::string DialogWindow::ItemText(int id) const {
  const HWND item = Item(id);
  std::wstring text(static_cast<std::size_t>(::GetWindowTextLengthW(item)) + 1, L'\0');
  text.resize(static_cast<std::size_t>(::GetWindowTextW(item, text.data(), static_cast<int>(text.size()))));
  return Narrow(text);
}

void DialogWindow::SetItemText(int id, std::string_view text) { ::SetDlgItemTextW(handle_, id, Widen(text).c_str()); }

int DialogWindow::Selection(int id) const {
  return static_cast<int>(::SendDlgItemMessageW(handle_, id, CB_GETCURSEL, 0, 0));
}

void DialogWindow::Select(int id, int index) {
  ::SendDlgItemMessageW(handle_, id, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
}

void DialogWindow::AddItems(int id, std::span<const std::string_view> items) {
  for (std::string_view item : items) {
    const std::wstring wide = Widen(item);
    ::SendDlgItemMessageW(handle_, id, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(wide.c_str()));
  }
}

}  // namespace norv
