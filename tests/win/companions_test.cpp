#include <windows.h>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <map>
#include <utility>

#include "base/unicode_win.h"
#include "companions/companion_export.h"
#include "companions/companion_host_win.h"
#include "companions/companion_launch.h"
#include "companions/companion_table.h"
#include "settings/registry_storage_win.h"
#include "tests/win/companion_test_support.h"
#include "tests/win/win_test_support.h"

namespace norv {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;
using ::testing::Pair;
using ::testing::UnorderedElementsAre;

constexpr wchar_t kUnavailable[] = L"この機能は使用できません";

// The real shell, with a note of each start so the order can be checked: the
// started programs run side by side and log in whatever order they get to.
class NotingHost : public WindowsCompanionHost {
 public:
  void OpenTarget(const std::string& path, const std::string& parameters) override {
    started.emplace_back(path, parameters);
    WindowsCompanionHost::OpenTarget(path, parameters);
  }
  std::vector<std::pair<std::string, std::string>> started;
};

class NotedMessages : public ProgramMessages {
 public:
  void ShowProgramMessage(int code, int number) override { shown.emplace_back(code, number); }
  std::vector<std::pair<int, int>> shown;
};

class CompanionsWin : public ::testing::Test {
 protected:
  void SetUp() override {
    testing::ClearProgramRegistry();
    installs = testing::ScratchFolder(L"companions");
    for (const CompanionInfo& companion : CompanionTable()) testing::RemoveFolder(MakerFolderW(companion.section));
  }
  void TearDown() override {
    testing::ClearProgramRegistry();
    testing::RemoveFolder(installs);
    for (const CompanionInfo& companion : CompanionTable()) testing::RemoveFolder(MakerFolderW(companion.section));
  }

  static std::wstring MakerFolderW(std::string_view section) {
    return testing::MakerFolder() + Widen(section) + L"\\";
  }

  // Registers the companion as its installer does and puts the stand-in in
  // its folder; returns the folder (ending in "\").
  std::wstring Install(int id) {
    const CompanionInfo& companion = *FindCompanion(id);
    const std::wstring folder = installs + Widen(companion.name) + L"\\";
    EXPECT_TRUE(testing::InstallStandin(folder, Widen(companion.executable)));
    storage.Write(companion.section, "dat", "1");
    storage.Write(companion.section, "dir", Narrow(folder.substr(0, folder.size() - 1)));
    return folder;
  }

  std::wstring installs;
  RegistrySettingsStorage storage;
  NotingHost host;
  CompanionLauncher launcher{storage, LocalCompanionFiles(), host};
};

TEST_F(CompanionsWin, TheButtonStartsAnInstalledCompanionWithAnEmptyCommandLine) {
  const std::wstring folder = Install(kCedarId);
  launcher.OnCompanionButton(kCedarId);
  EXPECT_THAT(testing::WaitForLaunches(folder, 1), ElementsAre(""));
}

TEST_F(CompanionsWin, ANotInstalledCompanionIsReportedInABoxAndNotStarted) {
  const auto box = testing::AnswerBoxDuring([&] { launcher.OnCompanionButton(kBirchId); }, kUnavailable, IDOK);
  ASSERT_TRUE(box.found);
  EXPECT_EQ(testing::ToUtf8(box.text), "Birchはインストールされていません");
  EXPECT_THAT(host.started, IsEmpty());
}

TEST_F(CompanionsWin, AnOldVersionIsReportedWithItsVersionText) {
  storage.Write("DAMSON", "dat", "1");
  const auto box = testing::AnswerBoxDuring([&] { launcher.OnCompanionButton(kDamsonId); }, kUnavailable, IDOK);
  ASSERT_TRUE(box.found);
  EXPECT_EQ(testing::ToUtf8(box.text),
            "Damson Ver2.1以前はサポートされていません（もしくはインストールされていません）");
  EXPECT_THAT(host.started, IsEmpty());
}

TEST_F(CompanionsWin, AnUnregisteredCopyStartsFromTheDefaultFolderWithoutAMessage) {
  const std::wstring folder = Widen(FindCompanion(kElderId)->defaultFolder);
  testing::RemoveFolder(folder);
  ASSERT_TRUE(testing::InstallStandin(folder, L"elder.exe"));
  const bool installed = launcher.IsInstalled(kElderId, true);
  const auto launches = testing::WaitForLaunches(folder, 1);
  testing::RemoveFolder(folder);
  EXPECT_FALSE(installed);
  EXPECT_THAT(launches, ElementsAre(""));
}

class CompanionExportWin : public CompanionsWin {
 protected:
  CompanionExportWin() {
    tables[Game::Loto6].rows = {{2, 3, 9, 14, 22, 30, 43, 17, 200000000, 8900000, 680000, 22000, 1000},
                                {1, 1, 2, 3, 4, 5, 6, 7, 0, 15000000, 500000, 9800, 1000}};
    tables[Game::MiniLoto].rows = {{1, 3, 9, 11, 17, 25, 21, 10000000, 900000, 12300, 1000}};
    tables[Game::Numbers4].rows = {{6, 7, 7, 7, 7, 1234567, 0, 0, 0}, {5, 0, 1, 2, 3, 1000000, 50000, 1000000, 50000}};
    tables[Game::Numbers3].rows = {{2, 1, 1, 2, 90000, 15000, 52500, 7500, 9000}};
  }

  std::string DataFile(std::string_view section, const wchar_t* name) {
    return testing::ReadFileBytes(MakerFolderW(section) + name);
  }

  std::map<Game, DrawTable> tables;
  NotedMessages messages;
  Settings settings;
  CompanionExport exporter{launcher, LocalCompanionFiles(), messages, Narrow(testing::MakerFolder()),
                           [this](Game game) -> const DrawTable& { return tables[game]; }};
};

TEST_F(CompanionExportWin, EveryCompanionFileHoldsItsLinesByteForByte) {
  for (const std::string_view section : {"DAMSON", "CEDAR", "BIRCH", "ELDER"}) {
    ::CreateDirectoryW(MakerFolderW(section).c_str(), nullptr);
  }
  const std::wstring alder = Install(kAlderId);
  settings.dm[0] = settings.cd[0] = settings.bc[0] = settings.ad[0] = settings.el[0] = true;
  for (const int id : {kDamsonId, kCedarId, kBirchId, kAlderId, kElderId}) exporter.ExportCompanionData(id, settings);

  EXPECT_THAT(messages.shown, IsEmpty());
  EXPECT_EQ(DataFile("DAMSON", L"dat_loto.dml"),
            "0001" "01" "02" "03" "04" "05" "06" "07" "0000000000" "015000000" "00500000" "009800" "01000" "  \r\n"
            "0002" "03" "09" "14" "22" "30" "43" "17" "0200000000" "008900000" "00680000" "022000" "01000" "  \r\n");
  EXPECT_EQ(DataFile("CEDAR", L"dat_loto.cdm"),
            "0001" "03" "09" "11" "17" "25" "21" "10000000" "0900000" "12300" "1000" "        \r\n");
  const std::string numbers4 =
      "0005" " " "0123" "1000000" "050000" "1000000" "050000" "  \r\n"
      "0006" "$" "7777" "1234567" "000000" "0000000" "000000" "  \r\n";
  EXPECT_EQ(DataFile("BIRCH", L"dat_num.bc4"), numbers4);
  EXPECT_EQ(testing::ReadFileBytes(alder + L"dat_num.ad4"), numbers4);
  EXPECT_EQ(DataFile("ELDER", L"dat_num.el3"), "0002" "*" "112" "090000" "015000" "052500" "07500" "09000" "\r\n");
  EXPECT_EQ(::GetFileAttributesW((MakerFolderW("DAMSON") + L"tmp_loto.dml").c_str()), INVALID_FILE_ATTRIBUTES);
}

TEST_F(CompanionExportWin, BothLaunchOptionsStartTheCompanionPlainlyThenInCheckMode) {
  const std::wstring folder = Install(kBirchId);
  settings.bc[1] = settings.bc[2] = true;
  exporter.ExportCompanionData(kBirchId, settings);
  const std::string exe = Narrow(folder) + "birch.exe";
  EXPECT_THAT(host.started, ElementsAre(Pair(exe, ""), Pair(exe, "-c")));
  EXPECT_THAT(testing::WaitForLaunches(folder, 2), UnorderedElementsAre("", "-c"));
  EXPECT_EQ(::GetFileAttributesW((folder + L"dat_num.bc4").c_str()), INVALID_FILE_ATTRIBUTES);
}

TEST_F(CompanionExportWin, AMissingCedarFolderIsReportedAndCedarStillStarts) {
  const std::wstring folder = Install(kCedarId);
  settings.cd[0] = settings.cd[1] = true;
  exporter.ExportCompanionData(kCedarId, settings);
  EXPECT_THAT(messages.shown, ElementsAre(Pair(6, 0)));
  EXPECT_EQ(::GetFileAttributesW(MakerFolderW("CEDAR").c_str()), INVALID_FILE_ATTRIBUTES);
  EXPECT_THAT(testing::WaitForLaunches(folder, 1), ElementsAre(""));
}

}  // namespace
}  // namespace norv
