#pragma once
// Command identifiers of the button bar and the tray menu (WM_COMMAND).

#include "resources/resource_ids.h"

namespace norv {

// The keys of the accelerator table IDA_MAIN.
enum KeyCommand : int {
  kKeyCheck = IDM_CHECK,
  kKeyForcedCheck = IDM_FORCED_CHECK,
  kKeyNextTab = IDM_NEXT_TAB,
  kKeyPreviousTab = IDM_PREVIOUS_TAB,
  kKeyMyNumbers = IDM_MY_NUMBERS,
};

// ToolButton1..14 are kToolButtonFirst + 0..13.
inline constexpr int kToolButtonFirst = 1001;

enum TrayCommand : int {
  kN1 = 2001,
  kN2,
  kN3,
  kN41,
  kN42,
  kN43,
  kN44,
  kN45,
  kN46,
  kN51,
  kN52,
  kN61,
  kN62,
  kN63,
  kN7,
  kN8,
  kN9,  // マイ数字
};

}  // namespace norv
