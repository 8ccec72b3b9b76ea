// Linked only into norv_probed.exe, the test build of the program: the answers
// to the probe messages of app/app_messages.h, through the main window's
// message hook. norv.exe itself never answers them. Its checks also give up
// on a silent address sooner than norv.exe's.

#include <stdexcept>

#include "app/app_messages.h"
#include "app/check_thread_win.h"
#include "app/main_form_win.h"
#include "base/check_state.h"
#include "store/draw_table.h"
#include "tests/win/probes/test_stall_limit.h"

namespace norv {
namespace {

LRESULT RunStateBits(const MainWindow& form) {
  const CheckState& state = AppCheckState();
  LRESULT bits = 0;
  if (state.noticePending) bits |= kProbeNoticePending;
  if (form.TrayAnimating()) bits |= kProbeTrayAnimating;
  if (state.checkRunning) bits |= kProbeCheckRunning;
  if (state.forcedRefresh) bits |= kProbeForcedRefresh;
  return bits;
}

LRESULT HoldTableBusy(WPARAM game, LPARAM take) {
  if (game > 3) {
    return 0;
  }
  GameData& data = GameDataOf(kAllGames[game]);
  if (take) {
    return data.TryTakeBusy() ? 1 : 0;
  }
  data.ReleaseBusy();
  return 1;
}

bool AnswerProbe(MainWindow& form, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& answer) {
  switch (message) {
    case kMsgActiveGridTopRow:
      answer = form.ActiveGridTopRow();
      return true;
    case kMsgRunStateProbe:
      answer = RunStateBits(form);
      return true;
    case kMsgHoldTableBusy:
      answer = HoldTableBusy(wParam, lParam);
      return true;
    case kMsgThrowProbe:
      throw std::runtime_error("probe failure");
    default:
      return false;
  }
}

// Before wWinMain: the hook is in place before the main window exists.
[[maybe_unused]] const bool installed = (SetWindowMessageHook(AnswerProbe), true);
[[maybe_unused]] const bool stallLimitSet = (SetCheckStallLimit(testing::kTestBuildStallLimit), true);

}  // namespace
}  // namespace norv
