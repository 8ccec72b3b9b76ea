#pragma once
// Control identifiers of the dialog "マイ数字".

#include <windows.h>

namespace norv::mynumbers {

enum MyNumbersControl : int {
  CloseButton = IDCANCEL,
  PageTabs = 1501,
  GameLabel,
  GameCombo,
  LinesListView,
  NumbersLabel,
  NumbersEdit,
  WayLabel,
  WayCombo,
  FirstDrawLabel,
  FirstDrawEdit,
  LastDrawLabel,
  LastDrawEdit,
  MemoLabel,
  MemoEdit,
  EntryHint,
  AddButton,
  ChangeButton,
  DeleteButton,
  MessageText,
  WinsListView,
  TotalText,
  ExportButton,
};

// The pages, in the tabs' order.
enum MyNumbersPage : int { LinesPage = 0, WinsPage = 1 };

}  // namespace norv::mynumbers
