#pragma once
// The pages of the options dialog, each a child dialog (DS_CONTROL | WS_CHILD)
// of its own shown over the tab control's display area.

#include <windows.h>

#include "settings/dialog_template_win.h"
#include "settings/dialog_window_win.h"
#include "settings/options_form.h"
#include "settings/options_host_win.h"

namespace norv {

// Font of the dialog and its pages: 9 points is 12 pixels at 96 dpi.
inline constexpr WORD kOptionsFontPoints = 9;
// Size every page is laid out for, in dialog units.
inline constexpr short kPageWidth = 336;
inline constexpr short kPageHeight = 124;

class OptionsPage : public DialogWindow {
 public:
  HWND Create(HWND frame);
  // Sets the controls and runs the page's enabling rules on the result.
  virtual void Fill(const OptionsForm& form) = 0;
  // Copies the controls of this page into `form`, leaving the rest alone.
  virtual void Collect(OptionsForm& form) const = 0;

 protected:
  static DialogTemplate EmptyPage();
  virtual DialogTemplate Layout() const = 0;
};

// "全般": start with Windows, update notices, the update sound.
class GeneralPage : public OptionsPage {
 public:
  void Fill(const OptionsForm& form) override;
  void Collect(OptionsForm& form) const override;
  void ShowSoundFile(std::string_view path);

 private:
  DialogTemplate Layout() const override;
  void OnCommand(int id, int code) override;
  void CheckBox4Click();
  void Button5Click();
};

// "ﾁｪｯｸ方法": residency and the check schedule.
class CheckMethodPage : public OptionsPage {
 public:
  void Fill(const OptionsForm& form) override;
  void Collect(OptionsForm& form) const override;

 private:
  DialogTemplate Layout() const override;
  void OnInitDialog() override;
  void OnCommand(int id, int code) override;
  void ApplyEnabling();
  int SelectionOr(int id, int filled) const;

  OptionsForm filled_;
};

// "通信": connection and proxy.
class NetworkPage : public OptionsPage {
 public:
  void Fill(const OptionsForm& form) override;
  void Collect(OptionsForm& form) const override;
  void ShowPort(std::string_view port);

 private:
  DialogTemplate Layout() const override;
  void OnCommand(int id, int code) override;
  void CheckBox6Click();
  void ApplyEnabling();
};

// "DATA画面": which buttons the button bar shows.
class DisplayPage : public OptionsPage {
 public:
  explicit DisplayPage(bool alderAvailable) : alderAvailable_(alderAvailable) {}
  void Fill(const OptionsForm& form) override;
  void Collect(OptionsForm& form) const override;

 private:
  DialogTemplate Layout() const override;
  void OnInitDialog() override;

  bool alderAvailable_;
};

// One companion's four options; `tab` indexes CompanionTabs().
class CompanionPage : public OptionsPage {
 public:
  CompanionPage(int tab, OptionsHost& host) : tab_(tab), host_(host) {}
  void Fill(const OptionsForm& form) override;
  void Collect(OptionsForm& form) const override;

 private:
  DialogTemplate Layout() const override;
  void OnCommand(int id, int code) override;
  void BoxTicked(int id);

  int tab_;
  OptionsHost& host_;
};

}  // namespace norv
