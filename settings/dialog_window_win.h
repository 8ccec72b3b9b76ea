#pragma once
// A modeless dialog bound to an object: the dialog procedure attaches the
// object on WM_INITDIALOG and hands each message to it.

#include <windows.h>

#include <functional>
#include <span>
#include <string>
#include <string_view>

#include "settings/dialog_template_win.h"

namespace norv {

class DialogWindow {
 public:
  DialogWindow() = default;
  DialogWindow(const DialogWindow&) = delete;
  DialogWindow& operator=(const DialogWindow&) = delete;
  virtual ~DialogWindow() = default;

  HWND Handle() const { return handle_; }

 protected:
  HWND CreateFromTemplate(const DialogTemplate& layout, HWND parent);
  // Destroys the dialog once the current message is done, never under one of
  // its own handlers; `afterClose` runs when the window (and, with
  // OnDestroyed, perhaps the object) is gone.
  void CloseLater(std::function<void()> afterClose = {});

  virtual void OnInitDialog() {}
  virtual void OnCommand(int /*id*/, int /*code*/) {}
  virtual void OnNotify(const NMHDR& /*header*/) {}
  // The window is gone; the object may delete itself here.
  virtual void OnDestroyed() {}

  HWND Item(int id) const { return ::GetDlgItem(handle_, id); }
  bool IsChecked(int id) const;
  void Check(int id, bool checked);
  void EnableItem(int id, bool enabled);
  void ShowItem(int id, bool shown);
  std::string ItemText(int id) const;
  void SetItemText(int id, std::string_view text);
  int Selection(int id) const;
  void Select(int id, int index);
  void AddItems(int id, std::span<const std::string_view> items);

 private:
  static INT_PTR CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  INT_PTR Dispatch(UINT message, WPARAM wParam, LPARAM lParam);
  void CloseNow(HWND window);

  static constexpr UINT kMsgCloseLater = WM_APP + 40;
  HWND handle_ = nullptr;
  std::function<void()> afterClose_;
};

}  // namespace norv
