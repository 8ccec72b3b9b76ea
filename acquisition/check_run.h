#pragma once
// One run of the checker: directory, status file, full refreshes, latest draws,
// table loads, update notice, companion export and version notice, then the
// end-of-check step. Portable; the host supplies the operations below and runs
// the window steps synchronously on the window thread.

#include <array>
#include <exception>
#include <functional>
#include <optional>
#include <stop_token>
#include <string>
#include <string_view>

#include "base/check_state.h"
#include "schedule/schedule_mode.h"
#include "settings/products.h"
#include "settings/settings.h"
#include "store/game.h"

namespace norv {

inline constexpr int kCodeBothNumbersUpdated = 100;
inline constexpr int kCodeNumbers3Updated = 101;
inline constexpr int kCodeNumbers4Updated = 102;
inline constexpr int kCodeMiniLotoUpdated = 103;
inline constexpr int kCodeLoto6Updated = 104;
inline constexpr int kCodeNoService = 106;
inline constexpr int kCodeTableLoadFailed = 113;

struct StartOfCheckView {
  bool updateTray = false;     // resident: trayHint and the checking icon apply
  bool stopAnimation = false;  // a notice is pending; it stays pending
  std::string trayHint;
  std::string caption;
};

struct CheckOutcome {
  std::array<bool, 4> updated{};  // GameUpdated, by game index
  bool startupRun = false;
  bool resident = false;       // mod, as the run saw it
  bool bringUpWindow = false;  // dkg, as the run saw it
};

struct EndOfCheckView {
  std::optional<Game> tab;  // select it, with the window width of that tab
  std::string caption;
  bool updateTray = false;  // only then do the fields below apply
  std::string trayHint;
  bool animateTray = false;  // else the normal tray icon is put back
  bool showWindow = false;   // ShowTrayMenu(false), then show the main window
};

// Window steps; the host runs each synchronously on the window thread.
class CheckWindow {
 public:
  virtual ~CheckWindow() = default;
  virtual void StartOfCheck(const StartOfCheckView& view) = 0;
  // Expected to call FinishCheck there and apply the view it hands over.
  virtual void EndOfCheck(const CheckOutcome& outcome) = 0;
};

// What a check reads and changes: the network, the data files, the tables.
class CheckSources {
 public:
  virtual ~CheckSources() = default;
  virtual Settings SettingsSnapshot() = 0;
  // Fills the address table from one directory endpoint; false on any failure.
  virtual bool FetchUrlDirectory(bool secondaryEndpoint) = 0;
  // The status file from address slot 0, or slot 1 as the fallback. May throw.
  virtual std::string FetchStatusText(bool fallback) = 0;
  virtual int DrawCount(Game game) = 0;
  // False when the data file's size is not a whole number of records (cut
  // short by another program, a restore or a full disk); a missing file is
  // nothing to repair.
  virtual bool DataFileWhole(Game game) = 0;
  virtual void SetDrawCount(Game game, int count) = 0;
  // Records the data file holds after it was replaced; nothing when left alone.
  virtual std::optional<int> RefreshDataFile(Game game, bool fallback, bool forced) = 0;
  // True when the next draw was appended (DrawCount then grew by one).
  virtual bool ReadLatestDraw(Game game) = 0;
  // False when the data file could not be opened or read.
  virtual bool LoadDrawTable(Game game) = 0;
};

// Issued from the checker thread; none of them may wait for the window thread.
class CheckNotices {
 public:
  virtual ~CheckNotices() = default;
  virtual void PlayUpdateSound(const std::string& wavPath) = 0;
  virtual bool BalloonsAvailable() = 0;
  // The current date and time in the system's short date and long time format.
  virtual std::string CurrentDateTimeText() = 0;
  virtual void ShowBalloon(const std::string& text) = 0;
  virtual void ShowProgramMessage(int code, int number) = 0;
  // Where no balloon can be shown: the message utility with the text of the
  // new wins.
  virtual void ShowWinsMessage(const std::string& text) = 0;
};

// Companion export and version notices.
class CheckFollowUps {
 public:
  virtual ~CheckFollowUps() = default;
  virtual void ExportCompanionData(int companionId) = 0;
  virtual bool IsCompanionInstalled(int companionId) = 0;  // without messages
  virtual void ShowVersionNotice(bool installed, int product, int number, bool fallback) = 0;
  // The announced release in the process-wide settings (not the registry).
  virtual void RememberAnnounced(int product, int number) = 0;
  // The announced release written to the registry as four digits.
  virtual void StoreAnnounced(int product, int number) = 0;
  // The user's lines held against the tables once draws were added;
  // `drawsBefore` are the counts the check began with. The text naming the
  // wins in the added draws, empty when there are none.
  virtual std::string MatchMyNumbers(const std::array<int, 4>& drawsBefore) = 0;
};

struct CheckHost {
  CheckWindow& window;
  CheckSources& sources;
  CheckNotices& notices;
  CheckFollowUps& followUps;
};

class CheckRun {
 public:
  CheckRun(CheckState& state, CheckHost host) : state_(state), host_(host) {}

  // The whole run. Ends through the end-of-check step exactly once, also when
  // an operation throws; that exception is handed back for the host to
  // report (null when the run ended normally).
  std::exception_ptr Execute(std::stop_token stop);

  // A failure that ends the run: 106 (shown once per program run when
  // resident) and 113 end through the end-of-check step; other codes, such as
  // the readers' 109 to 112, are ignored.
  void NotifyUser(int code, int number);

 private:
  void Run();
  bool ReadDirectory();
  bool TryFetchDirectory(bool secondaryEndpoint);
  std::optional<std::string> ReadStatusText();
  std::optional<std::string> TryFetchStatus(bool fallback);
  bool RefreshBehindGames(const std::array<int, 4>& statusCounts);
  bool ReadLatestDraws();
  bool LoadTables();
  bool TryLoadTable(Game game);
  void AnnounceUpdate(const std::string& winText);
  void ExportCompanions();
  void ShowVersionNotices(std::string_view status);
  bool Stopped() const { return stop_.stop_requested(); }
  bool AnyUpdated() const;
  void EndOfCheck();

  CheckState& state_;
  CheckHost host_;
  std::stop_token stop_;
  Settings settings_;
  CheckOutcome outcome_;
  std::array<int, 4> drawsBefore_{};
  bool forced_ = false;
  bool fallback_ = false;
  bool ended_ = false;
};

StartOfCheckView DecideStartOfCheck(bool resident, int scheduleMode, bool forcedRefresh, bool noticePending);
EndOfCheckView DecideEndOfCheck(const CheckOutcome& outcome, int scheduleMode, bool noticePending, bool windowOpen);

// The window thread's part of the end-of-check step: clears StartupRun,
// recomputes the mode for the tray hint, hands the view to `apply` and then
// clears CheckRunning, so no second check can start before the window is done.
// CheckRunning is cleared also when `apply` throws; the exception goes on.
void FinishCheck(const CheckOutcome& outcome, CheckState& state, const ScheduleConfig& config, int nowHhmm,
                 const std::function<void(const EndOfCheckView&)>& apply);

// Update text and message-utility code for the updated games.
std::string UpdateNoticeText(const std::array<bool, 4>& updated);
int UpdateNoticeCode(const std::array<bool, 4>& updated);

// The status-file numbers. A count that is missing or not four digits reads
// as 9999; a missing release reads as nothing.
std::array<int, 4> StatusDrawCounts(std::string_view status);
std::optional<int> StatusRelease(std::string_view status, int product);

// The in-memory announced release of a product number, and its registry value
// name (empty for a number without one).
int& AnnouncedReleaseOf(Settings& settings, int product);
std::string_view AnnouncedReleaseName(int product);
std::string FourDigitStamp(int number);

}  // namespace norv
