#pragma once
// CheckThread: one check on a detached worker thread. It supplies CheckRun with
// the window steps (run on the window thread through RunOnWindowThread), the
// network and the data files, the update notices and the follow-ups.

#include <windows.h>

#include <array>
#include <chrono>
#include <exception>
#include <optional>
#include <stop_token>
#include <string>

#include "acquisition/check_run.h"
#include "acquisition/fetch_win.h"
#include "acquisition/url_directory.h"

namespace norv {

class CheckThread final : public CheckWindow, public CheckSources, public CheckNotices, public CheckFollowUps {
 public:
  // Starts one check and returns at once. False when no thread could be
  // started; the caller then gives CheckRunning back.
  static bool Start(HWND mainWindow, std::stop_token stop);

  CheckThread(const CheckThread&) = delete;
  CheckThread& operator=(const CheckThread&) = delete;

  void StartOfCheck(const StartOfCheckView& view) override;
  void EndOfCheck(const CheckOutcome& outcome) override;

  Settings SettingsSnapshot() override;
  bool FetchUrlDirectory(bool secondaryEndpoint) override;
  std::string FetchStatusText(bool fallback) override;
  int DrawCount(Game game) override;
  bool DataFileWhole(Game game) override;
  void SetDrawCount(Game game, int count) override;
  std::optional<int> RefreshDataFile(Game game, bool fallback, bool forced) override;
  bool ReadLatestDraw(Game game) override;
  bool LoadDrawTable(Game game) override;

  void PlayUpdateSound(const std::string& wavPath) override;
  bool BalloonsAvailable() override;
  std::string CurrentDateTimeText() override;
  void ShowBalloon(const std::string& text) override;
  void ShowProgramMessage(int code, int number) override;
  void ShowWinsMessage(const std::string& text) override;

  void ExportCompanionData(int companionId) override;
  bool IsCompanionInstalled(int companionId) override;
  void ShowVersionNotice(bool installed, int product, int number, bool fallback) override;
  void RememberAnnounced(int product, int number) override;
  void StoreAnnounced(int product, int number) override;
  std::string MatchMyNumbers(const std::array<int, 4>& drawsBefore) override;

 private:
  CheckThread(HWND mainWindow, std::stop_token stop) : window_(mainWindow), stop_(std::move(stop)) {}
  void Execute();
  void ReportFailure(std::exception_ptr failure) noexcept;
  UrlFetcher& Fetcher();

  HWND window_;
  std::stop_token stop_;
  Settings settings_;
  std::optional<WinInetFetcher> fetcher_;
};

// The address table every check reads, filled from the directory once per process.
UrlTable& AppUrlTable();

// The longest wait for progress on one fetch of a check: the fetcher's own
// default unless set. The test build sets a shorter one before the window
// exists, so that its checks against a hanging address end sooner.
void SetCheckStallLimit(std::chrono::milliseconds limit);

// Closes the main window as its close button does, on the window thread; from
// another thread a synchronous call there.
void CloseMainWindow(HWND mainWindow);

}  // namespace norv
