#include "companions/companion_launch.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "companions/companion_table.h"
#include "settings/memory_storage.h"
#include "tests/native/companion_fakes.h"

namespace norv {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;
using ::testing::Pair;
using testing::Opened;

constexpr char kCaption[] = "この機能は使用できません";

class CompanionInstallation : public ::testing::Test {
 protected:
  void Register(std::string_view section, std::string_view dir) {
    storage.Write(section, "dat", "1");
    if (!dir.empty()) storage.Write(section, "dir", dir);
  }
  int WritesSoFar() const { return storage.WriteCount(); }

  MemorySettingsStorage storage;
  testing::FakeFiles files;
  testing::RecordingCompanionHost host;
  CompanionLauncher launcher{storage, files, host};
};

TEST_F(CompanionInstallation, ARegisteredCompanionStartsFromItsFolderWithAnEmptyCommandLine) {
  Register("CEDAR", "D:\\Apps\\Cedar");
  files.files.insert("D:\\Apps\\Cedar\\cedar.exe");
  EXPECT_TRUE(launcher.IsInstalled(kCedarId, true));
  launcher.OnCompanionButton(kCedarId);
  EXPECT_THAT(host.opened, ElementsAre(Opened{"D:\\Apps\\Cedar\\cedar.exe", ""}));
  EXPECT_THAT(host.infos, IsEmpty());
}

TEST_F(CompanionInstallation, AnUnregisteredCopyInTheDefaultFolderIsStartedWhenTheUserAsks) {
  files.files.insert("C:\\Program Files\\Elder for Numbers3\\elder.exe");
  EXPECT_FALSE(launcher.IsInstalled(kElderId, true));
  EXPECT_THAT(host.opened, ElementsAre(Opened{"C:\\Program Files\\Elder for Numbers3\\elder.exe", ""}));
  EXPECT_THAT(host.infos, IsEmpty());

  host.opened.clear();
  EXPECT_FALSE(launcher.IsInstalled(kElderId, false));
  EXPECT_THAT(host.opened, IsEmpty());
}

TEST_F(CompanionInstallation, NothingAnywhereSaysTheCompanionIsNotInstalled) {
  launcher.OnCompanionButton(kDamsonId);
  EXPECT_THAT(host.infos, ElementsAre(Pair(kCaption, "Damsonはインストールされていません")));
  EXPECT_THAT(host.opened, IsEmpty());
}

TEST_F(CompanionInstallation, ARegistrationWithoutFolderNamesTheOldestSupportedVersion) {
  Register("ALDER", "");
  EXPECT_FALSE(launcher.IsInstalled(kAlderId, true));
  EXPECT_THAT(host.infos,
              ElementsAre(Pair(kCaption, "Alder Ver4.0以前はサポートされていません（もしくはインストールされていません）")));
}

TEST_F(CompanionInstallation, ARegisteredFolderWithoutTheProgramIsNotInstalled) {
  Register("BIRCH", "D:\\Birch");
  files.files.insert("C:\\Program Files\\Birch for Numbers4\\birch.exe");
  launcher.OnCompanionButton(kBirchId);
  EXPECT_THAT(host.infos, ElementsAre(Pair(kCaption, "Birchはインストールされていません")));
  EXPECT_THAT(host.opened, IsEmpty());
}

TEST_F(CompanionInstallation, TheTestAtSettingsLoadIsSilent) {
  Register("ALDER", "");
  Register("BIRCH", "D:\\Birch");
  for (const int id : {kAlderId, kBirchId, kCedarId}) EXPECT_FALSE(launcher.IsInstalled(id, false));
  EXPECT_THAT(host.infos, IsEmpty());
  EXPECT_THAT(host.opened, IsEmpty());
}

TEST_F(CompanionInstallation, TheRegistryIsOnlyRead) {
  Register("DAMSON", "D:\\Damson");
  const int before = WritesSoFar();
  launcher.IsInstalled(kDamsonId, true);
  launcher.IsInstalled(kCedarId, true);
  launcher.Launch(kDamsonId, "-c");
  EXPECT_EQ(WritesSoFar(), before);
}

TEST_F(CompanionInstallation, FennelCanBeTestedForTheVersionNotices) {
  Register("FENNEL", "D:\\Fennel");
  files.files.insert("D:\\Fennel\\fennel.exe");
  EXPECT_TRUE(launcher.IsInstalled(kFennelId, false));
}

TEST(CompanionLaunch, EveryLaunchReadsTheFolderAgain) {
  MemorySettingsStorage storage;
  testing::FakeFiles files;
  testing::RecordingCompanionHost host;
  const CompanionLauncher launcher(storage, files, host);
  storage.Write("DAMSON", "dir", "D:\\Old");
  launcher.Launch(kDamsonId, "");
  storage.Write("DAMSON", "dir", "E:\\New");
  launcher.Launch(kDamsonId, "-c");
  EXPECT_THAT(host.opened, ElementsAre(Opened{"D:\\Old\\damson.exe", ""}, Opened{"E:\\New\\damson.exe", "-c"}));
}

// "\damson.exe" would be whatever sits in the root of the current drive.
TEST(CompanionLaunch, NoFolderOnRecordStartsNothing) {
  MemorySettingsStorage storage;
  testing::FakeFiles files;
  testing::RecordingCompanionHost host;
  CompanionLauncher(storage, files, host).Launch(kDamsonId, "");
  EXPECT_THAT(host.opened, IsEmpty());
}

TEST(CompanionTable, ButtonsAndMenuEntriesMapToTheirCompanions) {
  EXPECT_EQ(CompanionOfToolButton(5), kDamsonId);
  EXPECT_EQ(CompanionOfToolButton(7), kAlderId);
  EXPECT_EQ(CompanionOfToolButton(9), kElderId);
  EXPECT_EQ(CompanionOfToolButton(4), std::nullopt);
  EXPECT_EQ(CompanionOfToolButton(10), std::nullopt);
  EXPECT_EQ(CompanionOfMenuItem(42), kCedarId);
  EXPECT_EQ(CompanionOfMenuItem(44), kBirchId);
  EXPECT_EQ(CompanionOfMenuItem(46), std::nullopt);
  EXPECT_EQ(FindCompanion(6), nullptr);
}

}  // namespace
}  // namespace norv
