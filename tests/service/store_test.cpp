#include "service/store.h"

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>

#include <csignal>
#include <map>

#include "service/history_csv.h"
#include "tests/service/support/bank_file_writer.h"
#include "tests/service/support/temp_folder.h"

namespace norv::service {
namespace {

using testing::FileText;
using testing::SampleDraw;
using testing::TempFolder;

std::vector<Draw> SampleHistory(Game game, int count) {
  std::vector<Draw> draws;
  for (int number = 1; number <= count; ++number) draws.push_back(SampleDraw(game, number));
  return draws;
}

Histories SmallHistories() {
  return {SampleHistory(Game::Loto6, 3), SampleHistory(Game::MiniLoto, 2), SampleHistory(Game::Numbers4, 4),
          SampleHistory(Game::Numbers3, 4)};
}

// Every file of the store, by name, to show that nothing changed.
std::map<std::string, std::string> Contents(const std::filesystem::path& folder) {
  std::map<std::string, std::string> contents;
  for (const auto& entry : std::filesystem::directory_iterator(folder)) {
    contents[entry.path().filename().string()] = FileText(entry.path());
  }
  return contents;
}

ino_t InodeOf(const std::filesystem::path& path) {
  struct stat facts {};
  ::stat(path.c_str(), &facts);
  return facts.st_ino;
}

class StoreTest : public ::testing::Test {
 protected:
  TempFolder temp;
  std::filesystem::path folder = temp / "store";
};

TEST_F(StoreTest, ANewStoreHoldsTheHistoriesInTheSnapshotLayoutAndOpensAgain) {
  Store::Create(folder, SmallHistories());
  EXPECT_EQ(FileText(folder / "loto6.csv"), WriteHistoryCsv(Game::Loto6, SampleHistory(Game::Loto6, 3)));
  EXPECT_EQ(FileText(folder / "norv-store"), "norv-service store 1\n");
  const Store store = Store::Open(folder);
  EXPECT_EQ(store.Draws(Game::Numbers3), SampleHistory(Game::Numbers3, 4));
  EXPECT_EQ(store.NewestNumber(Game::MiniLoto), 2);
  // Built beside and renamed into place: no scratch folder stays behind.
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(temp.path()), {}), 1);
}

TEST_F(StoreTest, CreateNeverOverwritesAndTakesOnlyAnEmptyFolder) {
  std::filesystem::create_directory(folder);
  testing::WriteFileText(folder / "loto6.csv", "mine\n");
  EXPECT_THROW(Store::Create(folder, SmallHistories()), StoreError);
  EXPECT_EQ(Contents(folder), (std::map<std::string, std::string>{{"loto6.csv", "mine\n"}}));
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(temp.path()), {}), 1);

  const std::filesystem::path empty = temp / "empty";
  std::filesystem::create_directory(empty);
  EXPECT_EQ(Store::Create(empty, SmallHistories()).NewestNumber(Game::Loto6), 3);
}

TEST_F(StoreTest, CreateRefusesAHistoryWithAGap) {
  Histories histories = SmallHistories();
  histories[0].erase(histories[0].begin() + 1);
  EXPECT_THROW(Store::Create(folder, histories), StoreError);
  EXPECT_FALSE(std::filesystem::exists(folder));
}

TEST_F(StoreTest, OpenRefusesAFolderThatIsNotAStoreOrHasABrokenHistory) {
  std::filesystem::create_directory(folder);
  EXPECT_THROW(Store::Open(folder), StoreError);
  std::filesystem::remove(folder);
  Store::Create(folder, SmallHistories());
  testing::WriteFileText(folder / "miniloto.csv", FileText(folder / "miniloto.csv") + "7,2026-01-01,1,2\n");
  try {
    Store::Open(folder);
    ADD_FAILURE() << "opened";
  } catch (const StoreError& error) {
    EXPECT_NE(std::string(error.what()).find("miniloto.csv: line 4"), std::string::npos) << error.what();
  }
}

TEST_F(StoreTest, TheNextDrawsAreStoredInOrderWhateverOrderTheyComeIn) {
  Store store = Store::Create(folder, SmallHistories());
  const std::vector<Draw> offered{SampleDraw(Game::Loto6, 5), SampleDraw(Game::Numbers4, 5),
                                  SampleDraw(Game::Loto6, 4)};
  const AddResult result = store.Add(offered);
  EXPECT_TRUE(result.refusals.empty());
  EXPECT_EQ(result.added,
            (std::vector<Draw>{SampleDraw(Game::Loto6, 4), SampleDraw(Game::Loto6, 5), SampleDraw(Game::Numbers4, 5)}));
  EXPECT_EQ(Store::Open(folder).Draws(Game::Loto6), SampleHistory(Game::Loto6, 5));
  EXPECT_EQ(store.NewestNumber(Game::Numbers4), 5);
  // No temporary file is left beside the histories.
  EXPECT_EQ(Contents(folder).size(), 6u);  // four histories, marker, lock
}

TEST_F(StoreTest, ADrawHeldWithTheSameContentChangesNothing) {
  Store store = Store::Create(folder, SmallHistories());
  const ino_t before = InodeOf(folder / "loto6.csv");
  const std::vector<Draw> offered{SampleDraw(Game::Loto6, 2), SampleDraw(Game::Loto6, 3)};
  const AddResult result = store.Add(offered);
  EXPECT_TRUE(result.added.empty());
  EXPECT_TRUE(result.refusals.empty());
  EXPECT_EQ(InodeOf(folder / "loto6.csv"), before);  // not even rewritten
}

TEST_F(StoreTest, AGapOrADifferingDrawIsRefusedNamingBothVersionsAndNothingIsStored) {
  Store store = Store::Create(folder, SmallHistories());
  const auto before = Contents(folder);
  Draw changed = SampleDraw(Game::MiniLoto, 2);
  changed.prizes[0] += 1;
  const std::vector<Draw> offered{SampleDraw(Game::Loto6, 4), SampleDraw(Game::Numbers3, 6), changed};
  const AddResult result = store.Add(offered);
  ASSERT_EQ(result.refusals.size(), 2u);
  EXPECT_TRUE(result.added.empty());
  const std::string& conflict = result.refusals[0];
  EXPECT_NE(conflict.find("miniloto draw 2 differs"), std::string::npos) << conflict;
  EXPECT_NE(conflict.find("held:    " + Describe(SampleDraw(Game::MiniLoto, 2))), std::string::npos) << conflict;
  EXPECT_NE(conflict.find("offered: " + Describe(changed)), std::string::npos) << conflict;
  const std::string& gap = result.refusals[1];
  EXPECT_NE(gap.find("numbers3 draw 6 would leave a gap after draw 4"), std::string::npos) << gap;
  EXPECT_NE(gap.find("held:    " + Describe(SampleDraw(Game::Numbers3, 4))), std::string::npos) << gap;
  EXPECT_NE(gap.find("offered: " + Describe(SampleDraw(Game::Numbers3, 6))), std::string::npos) << gap;
  // The good LOTO6 draw of the same batch is not stored either.
  auto after = Contents(folder);
  after.erase("norv-store.lock");
  EXPECT_EQ(after, before);
  EXPECT_EQ(store.NewestNumber(Game::Loto6), 3);
}

TEST_F(StoreTest, TheSameNumberOfferedTwiceWithDifferentContentIsRefused) {
  Store store = Store::Create(folder, SmallHistories());
  Draw other = SampleDraw(Game::Loto6, 4);
  other.bonus = 40;
  const std::vector<Draw> offered{SampleDraw(Game::Loto6, 4), other};
  EXPECT_EQ(store.Add(offered).refusals.size(), 1u);
  EXPECT_EQ(Store::Open(folder).NewestNumber(Game::Loto6), 3);
}

TEST_F(StoreTest, AWriterSeesWhatAnotherWriterAddedSinceItOpenedTheStore) {
  Store first = Store::Create(folder, SmallHistories());
  Store second = Store::Open(folder);
  const std::vector<Draw> fourth{SampleDraw(Game::Loto6, 4)};
  const std::vector<Draw> fifth{SampleDraw(Game::Loto6, 5)};
  ASSERT_EQ(second.Add(fourth).added.size(), 1u);
  const AddResult result = first.Add(fifth);
  EXPECT_TRUE(result.refusals.empty());
  EXPECT_EQ(Store::Open(folder).Draws(Game::Loto6), SampleHistory(Game::Loto6, 5));
}

TEST_F(StoreTest, AWriteThatFailsPartWayKeepsTheGamesWrittenBeforeItAndEveryFileWhole) {
  Histories histories = SmallHistories();
  histories[2] = SampleHistory(Game::Numbers4, 3000);  // a file far larger than the others
  Store store = Store::Create(folder, histories);
  const std::string numbers4Before = FileText(folder / "numbers4.csv");
  const std::vector<Draw> offered{SampleDraw(Game::Loto6, 4), SampleDraw(Game::Numbers4, 3001)};

  // A file size limit lets the small LOTO6 file be written and stops the large one.
  std::signal(SIGXFSZ, SIG_IGN);
  rlimit saved{};
  ::getrlimit(RLIMIT_FSIZE, &saved);
  rlimit small = saved;
  small.rlim_cur = 20000;
  ::setrlimit(RLIMIT_FSIZE, &small);
  std::vector<Draw> added;
  try {
    store.Add(offered);
    ADD_FAILURE() << "the write did not fail";
  } catch (const StoreWriteError& error) {
    added = error.added();
  }
  ::setrlimit(RLIMIT_FSIZE, &saved);

  EXPECT_EQ(added, std::vector<Draw>{SampleDraw(Game::Loto6, 4)});
  const Store reopened = Store::Open(folder);
  EXPECT_EQ(reopened.NewestNumber(Game::Loto6), 4);
  EXPECT_EQ(FileText(folder / "numbers4.csv"), numbers4Before);
  EXPECT_EQ(Contents(folder).size(), 6u);  // the cut temporary file was removed
}

}  // namespace
}  // namespace norv::service
