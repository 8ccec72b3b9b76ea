#include "acquisition/check_run.h"

#include <cstdio>
#include <limits>
#include <stdexcept>

#include "acquisition/status_file.h"
#include "resources/check_strings.h"
#include "resources/strings.h"

namespace norv {

namespace {

struct VersionItem {
  Product product;
  int cntAbove;  // the start counter must exceed this
};

// Looked at in this order; the first newer release is the run's only notice.
constexpr std::array<VersionItem, 6> kVersionItems{{
    {Product::Norvale, std::numeric_limits<int>::min()},
    {Product::Fennel, 10},
    {Product::Damson, 20},
    {Product::Cedar, 30},
    {Product::Birch, 40},
    {Product::Elder, 50},
}};

// After an update, each updated game's companions in this order.
constexpr std::array<Product, 5> kExportOrder{Product::Damson, Product::Cedar, Product::Birch, Product::Alder,
                                              Product::Elder};

int InstalledVersion(const Settings& settings, Product product) {
  const ProductInfo& info = InfoOf(product);
  return info.installedVersion ? settings.*info.installedVersion : 0;
}

const ProductInfo& AnnouncingProduct(int product) {
  const ProductInfo* info = FindProduct(product);
  if (!info || !info->announced) throw std::invalid_argument("no announced release for this product");
  return *info;
}

bool Updated(const std::array<bool, 4>& updated, Game game) {
  return updated[static_cast<std::size_t>(GameIndex(game))];
}

std::string UpdatedCaption(std::string_view name) {
  std::string caption(text::kProductName);
  caption.append(text::kBracketOpen).append(name).append(text::kUpdatedSuffix).append(text::kBracketClose);
  return caption;
}

}  // namespace

std::exception_ptr CheckRun::Execute(std::stop_token stop) {
  stop_ = std::move(stop);
  std::exception_ptr failure;
  try {
    Run();
  } catch (...) {
    // An operation that throws ends the run like any other early exit; the
    // end-of-check step below still clears CheckRunning.
    failure = std::current_exception();
  }
  try {
    EndOfCheck();
  } catch (...) {
    if (!failure) failure = std::current_exception();
  }
  return failure;
}

void CheckRun::NotifyUser(int code, int number) {
  if (code == kCodeNoService) {
    if (!state_.failureShown.load()) {
      host_.notices.ShowProgramMessage(code, number);
      if (settings_.mod) state_.failureShown.store(true);
    }
    EndOfCheck();
  } else if (code == kCodeTableLoadFailed) {
    host_.notices.ShowProgramMessage(code, number);
    EndOfCheck();
  }
}

void CheckRun::Run() {
  outcome_ = {};
  settings_ = host_.sources.SettingsSnapshot();
  outcome_.startupRun = state_.startupRun.load();
  outcome_.resident = settings_.mod;
  outcome_.bringUpWindow = settings_.dkg;
  if (outcome_.startupRun) {
    LoadTables();
    return;
  }

  // Read once, so the caption and the refreshes agree for the whole run.
  forced_ = state_.forcedRefresh.load();
  host_.window.StartOfCheck(DecideStartOfCheck(settings_.mod, state_.scheduleMode.load(), forced_,
                                               state_.noticePending.load()));
  for (Game game : kAllGames) drawsBefore_[static_cast<std::size_t>(GameIndex(game))] = host_.sources.DrawCount(game);
  if (Stopped() || !ReadDirectory()) return;
  const std::optional<std::string> status = ReadStatusText();
  if (!status) {
    // A stop cuts the fetch short: the program is closing, nothing failed.
    if (!Stopped()) NotifyUser(kCodeNoService, 0);
    return;
  }
  if (Stopped()) return;
  if (!RefreshBehindGames(StatusDrawCounts(*status)) || !ReadLatestDraws() || !LoadTables()) return;
  // A load cut short by a stop request leaves a partial table: nothing may be
  // announced or exported from it.
  if (Stopped()) return;
  if (AnyUpdated()) {
    AnnounceUpdate(host_.followUps.MatchMyNumbers(drawsBefore_));
    ExportCompanions();
  }
  ShowVersionNotices(*status);
  state_.forcedRefresh.store(false);
}

// False when the run is over (both endpoints failed, or a stop request).
bool CheckRun::ReadDirectory() {
  if (state_.urlTableFilled.load()) return true;
  state_.urlTableFilled.store(true);
  if (!TryFetchDirectory(false) && (Stopped() || !TryFetchDirectory(true))) {
    state_.urlTableFilled.store(false);  // the next check tries again
    if (!Stopped()) NotifyUser(kCodeNoService, 0);
    return false;
  }
  return !Stopped();
}

bool CheckRun::TryFetchDirectory(bool secondaryEndpoint) {
  try {
    return host_.sources.FetchUrlDirectory(secondaryEndpoint);
  } catch (...) {
    return false;
  }
}

// The primary address first; a failed fetch or a text that does not begin
// with a digit moves to the fallback address once.
std::optional<std::string> CheckRun::ReadStatusText() {
  fallback_ = false;
  std::optional<std::string> text = TryFetchStatus(false);
  if (text && IsValidStatusText(*text)) return text;
  if (Stopped()) return std::nullopt;
  fallback_ = true;
  text = TryFetchStatus(true);
  if (text && IsValidStatusText(*text)) return text;
  return std::nullopt;
}

std::optional<std::string> CheckRun::TryFetchStatus(bool fallback) {
  try {
    return host_.sources.FetchStatusText(fallback);
  } catch (...) {
    return std::nullopt;
  }
}

bool CheckRun::RefreshBehindGames(const std::array<int, 4>& statusCounts) {
  for (Game game : kAllGames) {
    const int statusCount = statusCounts[static_cast<std::size_t>(GameIndex(game))];
    // A file cut inside a record is never appended to; it is rewritten whole,
    // as a forced check would, and the reader then appends to a sound file.
    const bool forced = forced_ || !host_.sources.DataFileWhole(game);
    if (forced || statusCount > host_.sources.DrawCount(game)) {
      // The count the file now holds, not the status count: a history that is
      // ahead of the status file would otherwise make the reader append a
      // draw the file already has.
      if (const std::optional<int> held = host_.sources.RefreshDataFile(game, fallback_, forced)) {
        host_.sources.SetDrawCount(game, *held);
        outcome_.updated[static_cast<std::size_t>(GameIndex(game))] = true;
      }
    }
    if (Stopped()) return false;
  }
  return true;
}

bool CheckRun::ReadLatestDraws() {
  for (Game game : kAllGames) {
    if (host_.sources.ReadLatestDraw(game)) outcome_.updated[static_cast<std::size_t>(GameIndex(game))] = true;
    if (Stopped()) return false;
  }
  return true;
}

bool CheckRun::LoadTables() {
  for (Game game : kAllGames) {
    if (!Updated(outcome_.updated, game) && !outcome_.startupRun) continue;
    if (!TryLoadTable(game)) {
      // A load gives up at once on a stop request; that is no failure.
      if (!Stopped()) NotifyUser(kCodeTableLoadFailed, 0);
      return false;
    }
  }
  return true;
}

bool CheckRun::TryLoadTable(Game game) {
  try {
    return host_.sources.LoadDrawTable(game);
  } catch (...) {
    return false;
  }
}

bool CheckRun::AnyUpdated() const {
  for (bool updated : outcome_.updated) {
    if (updated) return true;
  }
  return false;
}

void CheckRun::AnnounceUpdate(const std::string& winText) {
  if (settings_.snd) host_.notices.PlayUpdateSound(settings_.wav);
  if (!settings_.mod) return;
  state_.noticePending.store(true);
  if (!settings_.msg) return;
  if (host_.notices.BalloonsAvailable()) {
    std::string balloon = UpdateNoticeText(outcome_.updated);
    balloon.append(" [").append(host_.notices.CurrentDateTimeText()).append("]");
    if (!winText.empty()) balloon.append("\n").append(winText);
    host_.notices.ShowBalloon(balloon);
  } else {
    host_.notices.ShowProgramMessage(UpdateNoticeCode(outcome_.updated), 0);
    if (!winText.empty()) host_.notices.ShowWinsMessage(winText);
  }
}

void CheckRun::ExportCompanions() {
  for (const Product companion : kExportOrder) {
    if (Updated(outcome_.updated, *InfoOf(companion).game)) host_.followUps.ExportCompanionData(ProductId(companion));
  }
}

void CheckRun::ShowVersionNotices(std::string_view status) {
  auto& followUps = host_.followUps;
  for (const VersionItem& item : kVersionItems) {
    if (settings_.cnt <= item.cntAbove) continue;
    const int product = ProductId(item.product);
    // A release field the status file does not carry announces nothing;
    // reading it as 9999 would offer a release that does not exist.
    const std::optional<int> release = StatusRelease(status, product);
    if (!release || *release <= AnnouncedReleaseOf(settings_, product)) continue;

    const int number = *release;
    if (item.product == Product::Norvale) {
      followUps.ShowVersionNotice(true, product, number, fallback_);
    } else if (!followUps.IsCompanionInstalled(product)) {
      followUps.ShowVersionNotice(false, product, number, fallback_);
    } else if (InstalledVersion(settings_, item.product) < number) {
      followUps.ShowVersionNotice(item.product != Product::Fennel, product, number, fallback_);
    } else {
      followUps.StoreAnnounced(product, number);
    }
    AnnouncedReleaseOf(settings_, product) = number;
    followUps.RememberAnnounced(product, number);
    return;  // at most one item per run
  }
}

void CheckRun::EndOfCheck() {
  if (ended_) return;
  ended_ = true;
  host_.window.EndOfCheck(outcome_);
}

StartOfCheckView DecideStartOfCheck(bool resident, int scheduleMode, bool forcedRefresh, bool noticePending) {
  StartOfCheckView view;
  view.updateTray = resident;
  if (resident) {
    view.stopAnimation = noticePending;
    view.trayHint = CheckingHint(scheduleMode);
  }
  view.caption = CheckingCaption(forcedRefresh);
  return view;
}

EndOfCheckView DecideEndOfCheck(const CheckOutcome& outcome, int scheduleMode, bool noticePending, bool windowOpen) {
  EndOfCheckView view;
  const auto& updated = outcome.updated;
  if (Updated(updated, Game::Loto6) || outcome.startupRun) {
    view.tab = Game::Loto6;
    view.caption = Updated(updated, Game::Loto6) ? UpdatedCaption(GameName(Game::Loto6))
                                                 : std::string(text::kProductName);
  } else if (Updated(updated, Game::MiniLoto)) {
    view.tab = Game::MiniLoto;
    view.caption = UpdatedCaption(GameName(Game::MiniLoto));
  } else if (Updated(updated, Game::Numbers4)) {
    view.tab = Game::Numbers4;
    view.caption = UpdatedCaption(Updated(updated, Game::Numbers3) ? text::kNumbersFamilyName
                                                                   : GameName(Game::Numbers4));
  } else if (Updated(updated, Game::Numbers3)) {
    view.tab = Game::Numbers3;
    view.caption = UpdatedCaption(GameName(Game::Numbers3));
  } else {
    view.caption = std::string(text::kProductName);
  }

  if (outcome.startupRun || !outcome.resident) return view;
  view.updateTray = true;
  view.trayHint = WaitingHint(scheduleMode);
  view.animateTray = noticePending;
  view.showWindow = noticePending && outcome.bringUpWindow && !windowOpen;
  return view;
}

void FinishCheck(const CheckOutcome& outcome, CheckState& state, const ScheduleConfig& config, int nowHhmm,
                 const std::function<void(const EndOfCheckView&)>& apply) {
  // Given back on every way out: a step that fails here must not keep every
  // later check from starting.
  const struct CheckRunningRelease {
    CheckState& state;
    ~CheckRunningRelease() { state.checkRunning.store(false); }
  } release{state};
  if (outcome.startupRun) {
    state.startupRun.store(false);
  } else if (outcome.resident) {
    state.scheduleMode.store(ModeAt(config, nowHhmm));
  }
  apply(DecideEndOfCheck(outcome, state.scheduleMode.load(), state.noticePending.load(), state.windowOpen.load()));
}

std::string UpdateNoticeText(const std::array<bool, 4>& updated) {
  std::string notice;
  for (Game game : kAllGames) {
    if (Updated(updated, game)) notice.append(GameName(game)).append(text::kUpdatedSuffix).append("\n");
  }
  return notice;
}

int UpdateNoticeCode(const std::array<bool, 4>& updated) {
  if (Updated(updated, Game::Numbers4) && Updated(updated, Game::Numbers3)) return kCodeBothNumbersUpdated;
  if (Updated(updated, Game::Numbers3)) return kCodeNumbers3Updated;
  if (Updated(updated, Game::Numbers4)) return kCodeNumbers4Updated;
  if (Updated(updated, Game::MiniLoto)) return kCodeMiniLotoUpdated;
  return kCodeLoto6Updated;
}

std::array<int, 4> StatusDrawCounts(std::string_view status) {
  const StatusFile file = ReadStatusFile(status);
  std::array<int, 4> counts{};
  for (Game game : kAllGames) {
    counts[static_cast<std::size_t>(GameIndex(game))] = file.DrawCountOf(game);
  }
  return counts;
}

std::optional<int> StatusRelease(std::string_view status, int product) {
  const ProductInfo* info = FindProduct(product);
  if (!info || info->statusPosition == 0) throw std::invalid_argument("no release position for this product");
  return StatusFieldAt(status, info->statusPosition);
}

int& AnnouncedReleaseOf(Settings& settings, int product) { return settings.*AnnouncingProduct(product).announced; }

std::string_view AnnouncedReleaseName(int product) {
  const ProductInfo* info = FindProduct(product);
  return info ? info->announcedName : std::string_view();
}

std::string FourDigitStamp(int number) {
  char stamp[16];
  std::snprintf(stamp, sizeof stamp, "%.4d", number);
  return stamp;
}

}  // namespace norv
