#include "app/status_texts.h"

#include "resources/strings.h"

namespace norv {

namespace {

std::string Bracketed(std::string_view inner) {
  std::string text(text::kProductName);
  text += text::kBracketOpen;
  text += inner;
  text += text::kBracketClose;
  return text;
}

std::string UpdatedCaption(std::string_view gameName) {
  std::string inner(gameName);
  inner += text::kUpdatedSuffix;
  return Bracketed(inner);
}

bool Updated(const UpdatedGames& updated, Game game) {
  return updated[static_cast<std::size_t>(GameIndex(game))];
}

}  // namespace

CheckResultView EndOfCheckView(const UpdatedGames& updated, bool startupRun) {
  if (Updated(updated, Game::Loto6)) {
    return {Game::Loto6, UpdatedCaption(GameName(Game::Loto6))};
  }
  if (startupRun) {
    return {Game::Loto6, std::string(text::kProductName)};
  }
  if (Updated(updated, Game::MiniLoto)) {
    return {Game::MiniLoto, UpdatedCaption(GameName(Game::MiniLoto))};
  }
  if (Updated(updated, Game::Numbers4)) {
    const bool both = Updated(updated, Game::Numbers3);
    return {Game::Numbers4, UpdatedCaption(both ? text::kBothNumbers : GameName(Game::Numbers4))};
  }
  if (Updated(updated, Game::Numbers3)) {
    return {Game::Numbers3, UpdatedCaption(GameName(Game::Numbers3))};
  }
  return {std::nullopt, std::string(text::kProductName)};
}

std::string_view ModeText(int scheduleMode) {
  switch (scheduleMode) {
    case 1:
      return text::kModeNormal;
    case 2:
      return text::kModeWindow;
    case 3:
      return text::kModeManual;
    default:
      return text::kModeStartup;
  }
}

std::string CheckingTrayHint(int scheduleMode) {
  std::string hint(text::kProductName);
  hint += ModeText(scheduleMode);
  hint += text::kStateChecking;
  return hint;
}

std::string WaitingTrayHint(int scheduleMode) {
  std::string hint(text::kProductName);
  if (scheduleMode == 1 || scheduleMode == 2) {
    hint += ModeText(scheduleMode);
  }
  hint += text::kStateWaiting;
  return hint;
}

std::string InitialTrayHint(int kid, int scheduleMode) {
  if (kid == 0) {
    return WaitingTrayHint(scheduleMode);
  }
  std::string hint(text::kProductName);
  hint += text::kModeStartup;
  hint += text::kStateWaiting;
  return hint;
}

int ScheduleModeAt(int hhmm, const ScheduleWindow& s) {
  if (s.windowMinutes == 0) {
    return s.normalMinutes != 0 ? 1 : 0;
  }
  // Both ends belong to the window; start >= end wraps past midnight.
  const bool inside = s.start >= s.end ? (hhmm >= s.start || hhmm <= s.end) : (hhmm >= s.start && hhmm <= s.end);
  return inside ? 2 : 1;
}

}  // namespace norv
