#pragma once
// The portable check over a real data folder, as the program runs it: the
// maker's service and the bank stand in as a scripted fetcher, and the data
// files are read and written through a file layer of the test's choice.

#include <array>
#include <map>
#include <memory>
#include <optional>
#include <stop_token>
#include <string>
#include <utility>
#include <vector>

#include "acquisition/check_run.h"
#include "acquisition/full_refresh.h"
#include "acquisition/latest_draw_reader.h"
#include "bank_pages.h"
#include "scripted_fetcher.h"
#include "store/draw_record.h"
#include "store/draw_table.h"
#include "store/file_replace.h"

namespace norv::testing {

// Record text k of a game (draw number k, then digits that differ per draw).
inline std::string RecordText(Game game, int k) {
  const std::size_t textBytes = static_cast<std::size_t>(LayoutOf(game).textBytes);
  std::string text = std::to_string(10000 + k).substr(1);
  for (std::size_t i = text.size(); i < textBytes; ++i) text.push_back(static_cast<char>('0' + (k * 7 + i) % 10));
  return text;
}

// Draws 1 … count as the service's full history (no line breaks) and as the
// data file the program makes of it.
inline std::string HistoryText(Game game, int count) {
  std::string text;
  for (int k = 1; k <= count; ++k) text += RecordText(game, k);
  return text;
}
inline std::string DataFileOf(Game game, int count) {
  std::string file;
  for (int k = 1; k <= count; ++k) file += RecordText(game, k) + "\r\n";
  return file;
}

// The record the bank's page of SampleDraw(game, draw) gives, with its CR LF.
inline std::string PublishedRecord(Game game, int draw) {
  return std::to_string(10000 + draw).substr(1) + SampleRecordTail(game) + "\r\n";
}

// The maker's status file and histories, and the bank's index and result pages.
class ScriptedService {
 public:
  ScriptedService() {
    for (int slot = 0; slot < UrlTable::kSlots; ++slot) {
      urls.slots[static_cast<std::size_t>(slot)] = "http://svc.pellmark.test/slot" + std::to_string(slot);
    }
    urls.slots[10] = kLotoIndex;
    urls.slots[12] = kNumbersIndex;
    counts.fill(0);
    Serve();
  }

  // The service holds draws 1 … count; the bank's page shows draw `onPage`.
  void Publish(Game game, int count, int onPage) {
    counts[static_cast<std::size_t>(GameIndex(game))] = count;
    fetcher.Serve(urls[HistorySlot(game, false)], HistoryText(game, count));
    fetcher.Serve(kBankHost + ButtonLinkOf(game), ResultPageHtml(SampleDraw(game, onPage)));
    Serve();
  }

  ScriptedFetcher fetcher;
  UrlTable urls;

 private:
  void Serve() {
    std::string status(100, '0');
    const auto put = [&](int position, int value) {
      status.replace(static_cast<std::size_t>(position - 1), 4, std::to_string(10000 + value).substr(1));
    };
    put(33, counts[3]);
    put(37, counts[2]);
    put(41, counts[1]);
    put(45, counts[0]);
    fetcher.Serve(urls[0], status);
    fetcher.Serve(kLotoIndex, IndexPageHtml({{ButtonLinkOf(Game::Loto6), ButtonImageOf(Game::Loto6)},
                                             {ButtonLinkOf(Game::MiniLoto), ButtonImageOf(Game::MiniLoto)}}));
    fetcher.Serve(kNumbersIndex, IndexPageHtml({{ButtonLinkOf(Game::Numbers4), ButtonImageOf(Game::Numbers4)},
                                                {ButtonLinkOf(Game::Numbers3), ButtonImageOf(Game::Numbers3)}}));
  }

  std::array<int, 4> counts{};
};

// CheckRun with the operations the program gives it, over `folder`.
class DiskCheck final : public CheckWindow, public CheckSources, public CheckNotices, public CheckFollowUps {
 public:
  DiskCheck(ScriptedService& service, std::string folder, FileSystem& files = LocalFileSystem())
      : service_(service), folder_(std::move(folder)), files_(files) {}

  // A program started afresh: the start-up run loads the four tables.
  void Start() {
    state_ = std::make_unique<CheckState>();
    state_->startupRun = true;
    Run();
  }
  void Check() { Run(); }

  void StartOfCheck(const StartOfCheckView&) override {}
  void EndOfCheck(const CheckOutcome& outcome) override {
    FinishCheck(outcome, *state_, ScheduleConfig{}, 1200, [](const EndOfCheckView&) {});
  }

  Settings SettingsSnapshot() override { return {}; }
  bool FetchUrlDirectory(bool) override { return true; }
  std::string FetchStatusText(bool fallback) override {
    return service_.fetcher.FetchUrlText(service_.urls[fallback ? 1 : 0], false, {});
  }
  int DrawCount(Game game) override { return GameDataOf(game).drawCount.load(); }
  void SetDrawCount(Game game, int count) override { GameDataOf(game).drawCount.store(count); }
  bool DataFileWhole(Game game) override {
    const RecordLayout& layout = LayoutOf(game);
    const auto size = files_.SizeOf(folder_ + std::string(layout.dataFile));
    return !size || HoldsWholeRecords(*size, static_cast<std::size_t>(layout.recordBytes));
  }
  std::optional<int> RefreshDataFile(Game game, bool fallback, bool forced) override {
    return norv::RefreshDataFile(game, fallback, forced, DrawCount(game), Context(), Recorder());
  }
  bool ReadLatestDraw(Game game) override {
    return norv::ReadLatestDraw(game, GameDataOf(game), Context(), Recorder());
  }
  bool LoadDrawTable(Game game) override { return norv::LoadDrawTable(game, folder_, {}, {}); }

  void PlayUpdateSound(const std::string&) override {}
  bool BalloonsAvailable() override { return true; }
  std::string CurrentDateTimeText() override { return {}; }
  void ShowBalloon(const std::string&) override {}
  void ShowProgramMessage(int code, int number) override { messages.emplace_back(code, number); }
  void ShowWinsMessage(const std::string&) override {}

  void ExportCompanionData(int) override {}
  bool IsCompanionInstalled(int) override { return false; }
  void ShowVersionNotice(bool, int, int, bool) override {}
  void RememberAnnounced(int, int) override {}
  void StoreAnnounced(int, int) override {}
  std::string MatchMyNumbers(const std::array<int, 4>&) override { return {}; }

  std::vector<std::pair<int, int>> messages;  // program messages and reader reports

 private:
  void Run() {
    state_->checkRunning = true;
    CheckRun(*state_, {*this, *this, *this, *this}).Execute({});
  }
  AcquisitionContext Context() { return {service_.fetcher, service_.urls, folder_, {}, files_}; }
  FailureSink Recorder() {
    return [this](int code, int number) { messages.emplace_back(code, number); };
  }

  ScriptedService& service_;
  std::unique_ptr<CheckState> state_ = std::make_unique<CheckState>();
  std::string folder_;
  FileSystem& files_;
};

}  // namespace norv::testing
