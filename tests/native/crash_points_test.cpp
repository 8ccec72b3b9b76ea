// Every write of a file the user relies on, stopped at each of its file steps
// in turn, by a failure and by a killed process: the file is then the old one
// or the new one, whole, and the next check (or export) completes it. Also a
// data file cut at every byte offset, which the next check repairs.

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <iostream>
#include <map>

#include "companions/companion_export.h"
#include "companions/companion_lines.h"
#include "companions/companion_table.h"
#include "disk_check.h"
#include "faulty_file_system.h"
#include "settings/memory_storage.h"
#include "store/csv_export.h"
#include "temp_folder.h"
#include "tests/native/companion_fakes.h"

namespace norv {
namespace {

using testing::DataFileOf;
using testing::DiskCheck;
using testing::FaultyFileSystem;
using testing::PublishedRecord;
using testing::RecordText;
using testing::ScriptedService;
using testing::SimulatedKill;
using testing::StepFault;

constexpr int kHeld = 5;

const char* NameOf(StepFault fault) { return fault == StepFault::Kill ? "kill" : "failure"; }

// Runs `operation` once untouched to count its steps, then once per step
// with the fault there, each time from the state `prepare` makes.
// `afterwards` sees the disk as the fault left it. Returns the step count.
int AtEveryStep(StepFault fault, FaultyFileSystem& faulty, const std::function<void()>& prepare,
                const std::function<void()>& operation, const std::function<void(int step)>& afterwards) {
  prepare();
  faulty.Arm(fault, 0);
  operation();
  const int steps = faulty.Steps();
  for (int step = 1; step <= steps; ++step) {
    prepare();
    faulty.Arm(fault, step);
    try {
      operation();
    } catch (const SimulatedKill&) {
    }
    EXPECT_TRUE(faulty.FaultHit()) << NameOf(fault) << " at step " << step;
    afterwards(step);
  }
  return steps;
}

void Report(const std::string& operation, StepFault fault, int steps) {
  std::cout << "[ points ] " << operation << ", " << NameOf(fault) << ": " << steps << " steps tried\n";
}

class CrashPoints : public ::testing::TestWithParam<StepFault> {
 protected:
  StepFault Fault() const { return GetParam(); }
  std::string Data(Game game) const { return folder.File(LayoutOf(game).dataFile); }
  std::string Twin(Game game) const { return folder.File(LayoutOf(game).tempFile); }
  std::string Read(Game game) const { return folder.Read(LayoutOf(game).dataFile); }

  // Every game holds kHeld draws, as the service does, and the bank shows them.
  void HoldEverywhere(int held = kHeld) {
    for (Game game : kAllGames) {
      folder.Write(LayoutOf(game).dataFile, DataFileOf(game, held));
      service.Publish(game, held, held);
    }
  }

  // What the program does next: restarted after a kill, going on after a failure.
  void NextCheck(DiskCheck& check) {
    if (Fault() == StepFault::Kill) check.Start();
    check.Check();
  }

  testing::TempFolder folder;
  ScriptedService service;
  FaultyFileSystem faulty;
};

TEST_P(CrashPoints, AnAppendLeavesTheOldFileOrTheNewOneAndTheNextCheckCompletesIt) {
  for (Game game : kAllGames) {
    const std::string before = DataFileOf(game, kHeld);
    const std::string after = before + PublishedRecord(game, kHeld + 1);
    const auto prepare = [&] {
      HoldEverywhere();
      service.Publish(game, kHeld, kHeld + 1);
      DiskCheck(service, folder.Folder()).Start();
    };
    const auto append = [&] {
      const AcquisitionContext context{service.fetcher, service.urls, folder.Folder(), {}, faulty};
      ReadLatestDraw(game, GameDataOf(game), context, [](int, int) {});
    };
    const int steps = AtEveryStep(Fault(), faulty, prepare, append, [&](int step) {
      const std::string now = Read(game);
      EXPECT_TRUE(now == before || now == after) << GameName(game) << " step " << step;
      DiskCheck check(service, folder.Folder());
      NextCheck(check);
      EXPECT_EQ(Read(game), after) << GameName(game) << " step " << step;
      EXPECT_EQ(GameDataOf(game).drawCount.load(), kHeld + 1);
      EXPECT_FALSE(folder.Exists(LayoutOf(game).tempFile));
    });
    Report(std::string("append ") + std::string(GameName(game)), Fault(), steps);
  }
}

TEST_P(CrashPoints, AFullRefreshLeavesTheOldFileOrTheNewOneAndTheNextCheckCompletesIt) {
  constexpr int kPublished = 9;
  for (Game game : {Game::Loto6, Game::Numbers3}) {
    const std::string before = DataFileOf(game, 3);
    const std::string after = DataFileOf(game, kPublished);
    std::vector<std::pair<int, int>> messages;
    const auto prepare = [&] {
      HoldEverywhere();
      folder.Write(LayoutOf(game).dataFile, before);
      service.Publish(game, kPublished, kPublished);
      DiskCheck(service, folder.Folder()).Start();
      messages.clear();
    };
    const auto refresh = [&] {
      const AcquisitionContext context{service.fetcher, service.urls, folder.Folder(), {}, faulty};
      RefreshDataFile(game, false, false, 3, context, [&](int code, int number) { messages.emplace_back(code, number); });
    };
    const int steps = AtEveryStep(Fault(), faulty, prepare, refresh, [&](int step) {
      const std::string now = Read(game);
      EXPECT_TRUE(now == before || now == after) << GameName(game) << " step " << step;
      if (Fault() == StepFault::Fail && now == before) {
        EXPECT_EQ(messages, (std::vector<std::pair<int, int>>{{108, 0}})) << GameName(game) << " step " << step;
      }
      DiskCheck check(service, folder.Folder());
      NextCheck(check);
      EXPECT_EQ(Read(game), after) << GameName(game) << " step " << step;
    });
    Report(std::string("full refresh ") + std::string(GameName(game)), Fault(), steps);
  }
}

TEST_P(CrashPoints, ACompanionExportLeavesTheOldFileOrTheNewOne) {
  std::map<Game, DrawTable> tables;
  for (int k = 5; k >= 1; --k) tables[Game::Loto6].rows.push_back(ParseRecordText(Game::Loto6, RecordText(Game::Loto6, k)));
  DrawTable older;
  older.rows.assign(tables[Game::Loto6].rows.begin() + 2, tables[Game::Loto6].rows.end());
  const std::string before = CompanionFileContent(Game::Loto6, older);
  const std::string after = CompanionFileContent(Game::Loto6, tables[Game::Loto6]);

  // The companion's folder, as the program names it: maker folder + "DAMSON\".
  std::filesystem::create_directories(folder.File("DAMSON\\"));
  const std::string target = folder.Folder() + "DAMSON\\dat_loto.dml";
  MemorySettingsStorage storage;
  testing::RecordingCompanionHost host;
  testing::RecordingMessages messages;
  DiskCompanionFiles files(faulty);
  const CompanionLauncher launcher(storage, files, host);
  const CompanionExport exporter(launcher, files, messages, folder.Folder(),
                                 [&](Game game) -> const DrawTable& { return tables[game]; });
  DiskCompanionFiles realFiles;
  const CompanionExport retry(launcher, realFiles, messages, folder.Folder(),
                              [&](Game game) -> const DrawTable& { return tables[game]; });

  const auto prepare = [&] {
    WriteTwinAndReplace(target + ".old", target, before);
    messages.shown.clear();
  };
  const int steps = AtEveryStep(Fault(), faulty, prepare, [&] { exporter.WriteDataFile(kDamsonId); }, [&](int step) {
    const std::string now = folder.Read("DAMSON\\dat_loto.dml");
    EXPECT_TRUE(now == before || now == after) << "step " << step;
    if (Fault() == StepFault::Fail && now == before) {
      EXPECT_EQ(messages.shown, (std::vector<std::pair<int, int>>{{5, 0}})) << "step " << step;
    }
    EXPECT_TRUE(retry.WriteDataFile(kDamsonId));
    EXPECT_EQ(folder.Read("DAMSON\\dat_loto.dml"), after) << "step " << step;
  });
  Report("companion export Damson", Fault(), steps);
}

TEST_P(CrashPoints, ACsvExportLeavesAnEarlierFileOrTheNewOne) {
  DrawTable table;
  for (int k = 5; k >= 1; --k) table.rows.push_back(ParseRecordText(Game::Numbers3, RecordText(Game::Numbers3, k)));
  const std::string path = folder.File("Numbers3.csv");
  const std::string before = "an earlier export\r\n";
  const std::string after = *CsvFileBytes(Game::Numbers3, table);

  const int steps = AtEveryStep(
      Fault(), faulty, [&] { folder.Write("Numbers3.csv", before); },
      [&] { WriteCsvFile(Game::Numbers3, table, path, faulty); },
      [&](int step) {
        const std::string now = folder.Read("Numbers3.csv");
        EXPECT_TRUE(now == before || now == after) << "step " << step;
        EXPECT_TRUE(WriteCsvFile(Game::Numbers3, table, path));
        EXPECT_EQ(folder.Read("Numbers3.csv"), after) << "step " << step;
        EXPECT_FALSE(folder.Exists("tmp_Numbers3.csv"));
      });
  Report("CSV export Numbers3", Fault(), steps);
}

INSTANTIATE_TEST_SUITE_P(Faults, CrashPoints, ::testing::Values(StepFault::Fail, StepFault::Kill),
                         [](const auto& info) { return std::string(NameOf(info.param)); });

class CutDataFile : public ::testing::TestWithParam<Game> {
 protected:
  testing::TempFolder folder;
  ScriptedService service;
};

// The service's status count and full history, as it serves them; the bank
// shows no later draw, so the check must give back exactly the history.
TEST_P(CutDataFile, AtEveryByteTheLoadShowsTheWholeRecordsAndTheNextCheckRestoresTheFile) {
  constexpr int kPublished = 12;
  const Game game = GetParam();
  const RecordLayout& layout = LayoutOf(game);
  for (Game other : kAllGames) {
    folder.Write(LayoutOf(other).dataFile, DataFileOf(other, kPublished));
    service.Publish(other, kPublished, kPublished);
  }
  const std::string published = DataFileOf(game, kPublished);
  const std::size_t recordBytes = static_cast<std::size_t>(layout.recordBytes);
  for (std::size_t cut = 0; cut < published.size(); ++cut) {
    folder.Write(layout.dataFile, published.substr(0, cut));
    DiskCheck check(service, folder.Folder());
    check.Start();
    const int whole = static_cast<int>(cut / recordBytes);
    const GameData& data = GameDataOf(game);
    ASSERT_EQ(data.drawCount.load(), whole) << "cut at " << cut;
    ASSERT_EQ(data.table.rows.size(), static_cast<std::size_t>(whole)) << "cut at " << cut;
    for (int k = 1; k <= whole; ++k) {
      ASSERT_EQ(data.table.rows[static_cast<std::size_t>(whole - k)], ParseRecordText(game, RecordText(game, k)))
          << "cut at " << cut << ", draw " << k;
    }
    check.Check();
    ASSERT_EQ(folder.Read(layout.dataFile), published) << "cut at " << cut;
    ASSERT_EQ(GameDataOf(game).drawCount.load(), kPublished) << "cut at " << cut;
  }
}

INSTANTIATE_TEST_SUITE_P(Games, CutDataFile, ::testing::Values(Game::Loto6, Game::Numbers3),
                         [](const auto& info) { return std::string(GameName(info.param)); });

// Cut inside a record after its table was loaded: the counts still agree
// with the status file, yet the reader must not append to the torn file.
TEST(TornDataFile, IsRewrittenInFullAndOnlyThenGetsTheNewDraw) {
  testing::TempFolder folder;
  ScriptedService service;
  for (Game game : kAllGames) {
    folder.Write(LayoutOf(game).dataFile, DataFileOf(game, kHeld));
    service.Publish(game, kHeld, kHeld);
  }
  DiskCheck check(service, folder.Folder());
  check.Start();
  const std::string whole = DataFileOf(Game::MiniLoto, kHeld);
  folder.Write("dat_mini.tan", whole.substr(0, whole.size() - 17));
  service.Publish(Game::MiniLoto, kHeld, kHeld + 1);
  check.Check();
  EXPECT_EQ(folder.Read("dat_mini.tan"), whole + PublishedRecord(Game::MiniLoto, kHeld + 1));
  EXPECT_EQ(GameDataOf(Game::MiniLoto).drawCount.load(), kHeld + 1);
  EXPECT_EQ(GameDataOf(Game::MiniLoto).table.rows.size(), static_cast<std::size_t>(kHeld + 1));
}

}  // namespace
}  // namespace norv
