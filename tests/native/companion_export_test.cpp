#include "companions/companion_export.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <map>

#include "companions/companion_lines.h"
#include "companions/companion_table.h"
#include "settings/memory_storage.h"
#include "tests/native/companion_fakes.h"

namespace norv {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;
using ::testing::Pair;
using testing::Opened;

constexpr char kMaker[] = "C:\\Users\\u\\AppData\\Roaming\\Pellmark\\";

class CompanionExportTest : public ::testing::Test {
 protected:
  CompanionExportTest() {
    tables[Game::Loto6].rows = {DrawRow(13, 2), DrawRow(13, 1)};
    tables[Game::MiniLoto].rows = {DrawRow(11, 1)};
    tables[Game::Numbers4].rows = {{2, 1, 1, 2, 3, 5, 6, 7, 8}, {1, 0, 1, 2, 3, 1000000, 50000, 1000000, 50000}};
    tables[Game::Numbers3].rows = {{1, 7, 7, 7, 1, 2, 3, 4, 5}};
    storage.Write("DAMSON", "dir", "D:\\Damson");
    storage.Write("CEDAR", "dir", "D:\\Cedar");
    storage.Write("ALDER", "dir", "D:\\Alder");
    storage.Write("BIRCH", "dir", "D:\\Birch");
    storage.Write("ELDER", "dir", "D:\\Elder");
  }

  void Export(int id) { exporter.ExportCompanionData(id, settings); }
  std::string Folder(std::string_view section) { return std::string(kMaker) + std::string(section) + "\\"; }

  std::map<Game, DrawTable> tables;
  MemorySettingsStorage storage;
  testing::FakeFiles files;
  testing::RecordingCompanionHost host;
  testing::RecordingMessages messages;
  Settings settings;
  CompanionLauncher launcher{storage, files, host};
  CompanionExport exporter{launcher, files, messages, kMaker, [this](Game game) -> const DrawTable& {
                             return tables[game];
                           }};
};

TEST_F(CompanionExportTest, DamsonGetsTheWholeLoto6HistoryThroughItsTwin) {
  files.folders.insert(Folder("DAMSON"));
  settings.dm[0] = true;
  Export(kDamsonId);
  EXPECT_THAT(files.twins, ElementsAre(Folder("DAMSON") + "tmp_loto.dml"));
  const std::string& content = files.written[Folder("DAMSON") + "dat_loto.dml"];
  ASSERT_EQ(content.size(), 2u * 60u);
  EXPECT_EQ(content.substr(0, 4), "0001");
  EXPECT_EQ(content.substr(60, 4), "0002");
  EXPECT_THAT(messages.shown, IsEmpty());
  EXPECT_THAT(host.opened, IsEmpty());
}

TEST_F(CompanionExportTest, AlderAndBirchGetTheSameNumbers4File) {
  files.folders.insert(Folder("BIRCH"));
  settings.ad[0] = settings.bc[0] = true;
  Export(kBirchId);
  Export(kAlderId);
  const std::string expected = CompanionFileContent(Game::Numbers4, tables[Game::Numbers4]);
  EXPECT_EQ(files.written[Folder("BIRCH") + "dat_num.bc4"], expected);
  EXPECT_EQ(files.written["D:\\Alder\\dat_num.ad4"], expected);
  EXPECT_THAT(files.twins, ElementsAre(Folder("BIRCH") + "tmp_num.bc4", "D:\\Alder\\tmp_num.ad4"));
}

TEST_F(CompanionExportTest, AMissingDataFolderIsReportedAndTheLaunchStillHappens) {
  settings.cd[0] = settings.cd[1] = true;
  Export(kCedarId);
  EXPECT_THAT(messages.shown, ElementsAre(Pair(6, 0)));
  EXPECT_THAT(files.twins, IsEmpty());
  EXPECT_THAT(host.opened, ElementsAre(Opened{"D:\\Cedar\\cedar.exe", ""}));
}

TEST_F(CompanionExportTest, AlderWithoutAFolderOnRecordWritesNothing) {
  storage.DeleteValue("ALDER", "dir");
  settings.ad[0] = true;
  Export(kAlderId);
  EXPECT_THAT(messages.shown, ElementsAre(Pair(7, 0)));
  EXPECT_THAT(files.twins, IsEmpty());
}

TEST_F(CompanionExportTest, AFailedWriteOrReplaceIsReportedWithTheCompanionsCode) {
  files.folders.insert(Folder("ELDER"));
  settings.el[0] = settings.el[2] = true;
  files.outcome = ReplaceOutcome::TwinFailed;
  Export(kElderId);
  files.outcome = ReplaceOutcome::ReplaceFailed;
  Export(kElderId);
  EXPECT_THAT(messages.shown, ElementsAre(Pair(9, 0), Pair(9, 0)));
  EXPECT_THAT(host.opened, ElementsAre(Opened{"D:\\Elder\\elder.exe", "-c"}, Opened{"D:\\Elder\\elder.exe", "-c"}));
}

TEST_F(CompanionExportTest, BothLaunchOptionsStartTheCompanionTwiceInOrder) {
  files.folders.insert(Folder("DAMSON"));
  settings.dm[1] = settings.dm[2] = true;
  Export(kDamsonId);
  EXPECT_THAT(files.twins, IsEmpty());
  EXPECT_THAT(host.opened, ElementsAre(Opened{"D:\\Damson\\damson.exe", ""}, Opened{"D:\\Damson\\damson.exe", "-c"}));
}

TEST_F(CompanionExportTest, OnlyTheFiveCompanionsExport) {
  settings.dm.fill(true);
  for (const int id : {0, 6, kFennelId, 8}) Export(id);
  EXPECT_THAT(files.twins, IsEmpty());
  EXPECT_THAT(host.opened, IsEmpty());
  EXPECT_THAT(messages.shown, IsEmpty());
}

}  // namespace
}  // namespace norv
