#include "app/check_thread_win.h"

#include <mmsystem.h>

#include <atomic>
#include <cstdint>
#include <exception>
#include <memory>

#include "acquisition/full_refresh.h"
#include "acquisition/latest_draw_reader.h"
#include "app/app_messages.h"
#include "base/check_state.h"
#include "base/exception_display_win.h"
#include "acquisition/service_addresses.h"
#include "app/main_form_win.h"
#include "app/process_values.h"
#include "app/program_messages_win.h"
#include "app/tray_icon_win.h"
#include "base/unicode_win.h"
#include "base/worker_threads.h"
#include "companions/companion_export.h"
#include "companions/companion_host_win.h"
#include "companions/companion_launch.h"
#include "notices/notice_host_win.h"
#include "notices/version_notice.h"
#include "settings/setting_access.h"
#include "settings/settings_storage.h"
#include "store/draw_record.h"
#include "store/draw_table.h"
#include "store/file_replace.h"
#include "store/my_wins_refresh.h"

namespace norv {

namespace {

// Milliseconds; set before any check thread starts, read by each.
std::atomic<std::int64_t> checkStallLimitMs{WinInetFetcher::kDefaultStallLimit.count()};

std::chrono::milliseconds CheckStallLimit() { return std::chrono::milliseconds(checkStallLimitMs.load()); }

class WindowProgramMessages : public ProgramMessages {
 public:
  void ShowProgramMessage(int code, int number) override { norv::ShowProgramMessage(code, number); }
};

}  // namespace

void SetCheckStallLimit(std::chrono::milliseconds limit) { checkStallLimitMs.store(limit.count()); }

UrlTable& AppUrlTable() {
  // Never destroyed, like the run state: a checker may outlive the window.
  static UrlTable* const table = new UrlTable;
  return *table;
}

void CloseMainWindow(HWND mainWindow) {
  if (::GetWindowThreadProcessId(mainWindow, nullptr) == ::GetCurrentThreadId()) {
    ::SendMessageW(mainWindow, WM_CLOSE, 0, 0);
    return;
  }
  RunOnWindowThread(mainWindow, [](MainWindow& form) { ::SendMessageW(form.Handle(), WM_CLOSE, 0, 0); });
}

// The thread owns its CheckThread; nothing it uses belongs to the window
// object, which may be gone before the thread ends.
// It runs on one of the process's kept threads: starting a thread per check
// costs milliseconds under Wine.
bool CheckThread::Start(HWND mainWindow, std::stop_token stop) {
  try {
    std::shared_ptr<CheckThread> check(new CheckThread(mainWindow, std::move(stop)));
    AppWorkerThreads().Post([check = std::move(check)] {
      try {
        check->Execute();
      } catch (...) {
        check->ReportFailure(std::current_exception());
      }
    });
    return true;
  } catch (...) {
    return false;
  }
}

void CheckThread::Execute() {
  if (const std::exception_ptr failure = CheckRun(AppCheckState(), {*this, *this, *this, *this}).Execute(stop_)) {
    ReportFailure(failure);
  }
}

// Through the window's one report, on the window thread; the checker waits
// for it, the check being over. When the window is gone nobody is told: the
// program is ending. Nothing leaves the task either way.
void CheckThread::ReportFailure(std::exception_ptr failure) noexcept {
  try {
    RunOnWindowThread(window_, [failure](MainWindow&) {
      try {
        std::rethrow_exception(failure);
      } catch (...) {
        ShowEscapedException();
      }
    });
  } catch (...) {
  }
}

void CheckThread::StartOfCheck(const StartOfCheckView& view) {
  RunOnWindowThread(window_, [&view](MainWindow& form) { form.StartOfCheckStep(view); });
}

// When the window is already gone the step is skipped: the program is ending.
void CheckThread::EndOfCheck(const CheckOutcome& outcome) {
  RunOnWindowThread(window_, [&outcome](MainWindow& form) { form.EndOfCheckStep(outcome); });
}

// Called first in every run: the proxy settings of this snapshot serve the
// whole run.
Settings CheckThread::SettingsSnapshot() {
  settings_ = AppSettings().Snapshot();
  fetcher_.reset();
  return settings_;
}

UrlFetcher& CheckThread::Fetcher() {
  if (!fetcher_) fetcher_.emplace(AccessFromSettings(settings_), ExecutableAgentName(), CheckStallLimit());
  return *fetcher_;
}

bool CheckThread::FetchUrlDirectory(bool secondaryEndpoint) {
  return norv::FetchUrlDirectory(Fetcher(), AppDirectoryEndpoint(secondaryEndpoint), AppDirectoryEndpoint(false),
                                 stop_, AppUrlTable());
}

std::string CheckThread::FetchStatusText(bool fallback) {
  return Fetcher().FetchUrlText(AppUrlTable()[fallback ? 1 : 0], false, stop_);
}

int CheckThread::DrawCount(Game game) { return GameDataOf(game).drawCount.load(); }

void CheckThread::SetDrawCount(Game game, int count) { GameDataOf(game).drawCount.store(count); }

bool CheckThread::DataFileWhole(Game game) {
  const RecordLayout& layout = LayoutOf(game);
  const std::optional<std::uint64_t> size = LocalFileSystem().SizeOf(DataFolder + std::string(layout.dataFile));
  return !size || HoldsWholeRecords(*size, static_cast<std::size_t>(layout.recordBytes));
}

std::optional<int> CheckThread::RefreshDataFile(Game game, bool fallback, bool forced) {
  const AcquisitionContext context{Fetcher(), AppUrlTable(), DataFolder, stop_};
  return norv::RefreshDataFile(game, fallback, forced, DrawCount(game), context,
                               [](int code, int number) { norv::ShowProgramMessage(code, number); });
}

// The readers' event codes (109 to 112) are not shown to anybody.
bool CheckThread::ReadLatestDraw(Game game) {
  const AcquisitionContext context{Fetcher(), AppUrlTable(), DataFolder, stop_};
  return norv::ReadLatestDraw(game, GameDataOf(game), context, [](int, int) {});
}

bool CheckThread::LoadDrawTable(Game game) {
  const HWND window = window_;
  const ReloadHooks hooks{
      [window](Game g) { RunOnWindowThread(window, [g](MainWindow& form) { form.BeginGridReload(g); }); },
      [window](Game g) { RunOnWindowThread(window, [g](MainWindow& form) { form.EndGridReload(g); }); },
  };
  return norv::LoadDrawTable(game, DataFolder, stop_, hooks);
}

void CheckThread::PlayUpdateSound(const std::string& wavPath) {
  ::sndPlaySoundW(Widen(wavPath).c_str(), SND_ASYNC | SND_NODEFAULT);
}

bool CheckThread::BalloonsAvailable() { return Look.balloonsAvailable; }

std::string CheckThread::CurrentDateTimeText() {
  wchar_t date[128] = {};
  wchar_t time[128] = {};
  ::GetDateFormatEx(LOCALE_NAME_USER_DEFAULT, DATE_SHORTDATE, nullptr, nullptr, date, 128, nullptr);
  ::GetTimeFormatEx(LOCALE_NAME_USER_DEFAULT, 0, nullptr, nullptr, time, 128);
  return Narrow(date) + " " + Narrow(time);
}

// Only the window and the icon id are used, so this is safe off the window thread.
void CheckThread::ShowBalloon(const std::string& text) { ShowTrayBalloon(window_, text); }

void CheckThread::ShowProgramMessage(int code, int number) { norv::ShowProgramMessage(code, number); }

void CheckThread::ShowWinsMessage(const std::string& text) { norv::ShowWinsMessage(text); }

void CheckThread::ExportCompanionData(int companionId) {
  WindowsCompanionHost host(window_);
  const CompanionLauncher launcher(AppStorage(), LocalCompanionFiles(), host);
  WindowProgramMessages messages;
  const CompanionExport exporter(launcher, LocalCompanionFiles(), messages, MakerFolder);
  exporter.ExportCompanionData(companionId, settings_);
}

bool CheckThread::IsCompanionInstalled(int companionId) {
  WindowsCompanionHost host(window_);
  return CompanionLauncher(AppStorage(), LocalCompanionFiles(), host).IsInstalled(companionId, false);
}

void CheckThread::ShowVersionNotice(bool installed, int product, int number, bool fallback) {
  const HWND window = window_;
  WindowsNoticeHost host(window, [window] { CloseMainWindow(window); });
  const VersionNotices notices(
      host, AppStorage(), Fetcher(),
      AppDownloadListAddress,
      ProgramFolder);
  notices.ShowVersionNotice(installed, product, number, fallback, stop_);
}

void CheckThread::RememberAnnounced(int product, int number) {
  AppSettings().Update([&](Settings& s) { AnnouncedReleaseOf(s, product) = number; });
}

void CheckThread::StoreAnnounced(int product, int number) {
  WriteSetting(AppStorage(), AnnouncedReleaseName(product), FourDigitStamp(number));
}

// The checker thread is the only writer of the tables, so it reads them here
// without the busy flag. Checks run one at a time, and only they use the
// memory of the last refresh.
std::string CheckThread::MatchMyNumbers(const std::array<int, 4>& drawsBefore) {
  static WinsMemory* const memory = new WinsMemory;
  TablesByGame tables{};
  for (Game game : kAllGames) tables[static_cast<std::size_t>(GameIndex(game))] = &GameDataOf(game).table;
  return WinNoticeText(RefreshMyWins(DataFolder, tables, drawsBefore, *memory));
}

}  // namespace norv
