#include "schedule/schedule_mode.h"

#include <string_view>

#include "resources/check_strings.h"
#include "resources/strings.h"

namespace norv {

namespace {

bool InsideWindow(const ScheduleConfig& config, int now) {
  // start >= end wraps past midnight; start == end is therefore the whole day.
  if (config.windowStart >= config.windowEnd) return now >= config.windowStart || now <= config.windowEnd;
  return now >= config.windowStart && now <= config.windowEnd;
}

std::string_view PeriodicModeText(int mode) {
  switch (mode) {
    case kModeNormal: return text::kNormalModeText;
    case kModeWindow: return text::kWindowModeText;
    default: return {};
  }
}

std::string_view RunningModeText(int mode) {
  switch (mode) {
    case kModeNormal: return text::kNormalModeText;
    case kModeWindow: return text::kWindowModeText;
    case kModeManual: return text::kManualModeText;
    default: return text::kStartupModeText;
  }
}

}  // namespace

int ModeAt(const ScheduleConfig& config, int nowHhmm) {
  if (config.windowMinutes == 0) return config.normalMinutes != 0 ? kModeNormal : kModeNone;
  return InsideWindow(config, nowHhmm) ? kModeWindow : kModeNormal;
}

std::string WaitingHint(int scheduleMode) {
  std::string hint(text::kProductName);
  hint.append(PeriodicModeText(scheduleMode)).append(text::kWaitingText);
  return hint;
}

std::string CheckingHint(int scheduleMode) {
  std::string hint(text::kProductName);
  hint.append(RunningModeText(scheduleMode)).append(text::kCheckingText);
  return hint;
}

std::string CheckingCaption(bool forcedRefresh) {
  std::string caption(text::kProductName);
  caption.append(text::kBracketOpen)
      .append(forcedRefresh ? text::kForcedCaption : text::kCheckingCaption)
      .append(text::kBracketClose);
  return caption;
}

}  // namespace norv
