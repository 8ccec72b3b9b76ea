// The setup program and its uninstaller, run for real as a user (or an
// administrator's script) runs them. Each case runs alone in a fresh Wine
// prefix (tests/win/installer/fresh-prefix.sh), so every case starts from a
// machine that has never seen Norvale.

#include <windows.h>

#include <gtest/gtest.h>

#include <array>
#include <chrono>
#include <string>

#include "app/app_messages.h"
#include "base/unicode_win.h"
#include "tests/win/installer/installed_files.h"
#include "tests/win/norv_process.h"
#include "tests/win/win_test_support.h"

namespace norv {
namespace {

using namespace std::chrono_literals;
using namespace testing;

constexpr std::array<const wchar_t*, 4> kDataFiles{L"dat_lot6.tan", L"dat_mini.tan", L"dat_num4.tan",
                                                   L"dat_num3.tan"};
constexpr std::array<const wchar_t*, 6> kProgramFiles{L"norv.exe", L"nnote.exe", L"liveup.exe", L"norv.wav",
                                                      L"norv.chm", L"uninstall.exe"};
constexpr wchar_t kChosenFolder[] = L"C:\\Apps\\Norvale\\";

std::wstring WithoutSlash(const std::wstring& folder) { return folder.substr(0, folder.size() - 1); }

Finished RunSetup(const std::wstring& options = L"/S") {
  return RunToTheEnd(L"\"" + SetupProgram() + L"\" " + options);
}

Finished RunUninstaller(const std::wstring& programFolder, const std::wstring& options = L"/S") {
  return RunToTheEnd(L"\"" + programFolder + L"uninstall.exe\" " + options);
}

// A history of `draws` records of game 0..3 in the data file's own layout.
std::string History(std::size_t game, int draws) {
  const std::size_t lengths[4] = {56, 40, 35, 33};
  std::string bytes;
  for (int k = 1; k <= draws; ++k) {
    std::string record = std::to_string(10000 + k).substr(1);
    while (record.size() < lengths[game]) {
      record += static_cast<char>('0' + (record.size() * 7 + static_cast<std::size_t>(k)) % 10);
    }
    bytes += record + "\r\n";
  }
  return bytes;
}

void WriteHistories() {
  for (std::size_t game = 0; game < kDataFiles.size(); ++game) {
    WriteFileBytes(DataFolder() + kDataFiles[game], History(game, 20 + static_cast<int>(game)));
  }
}

void ExpectHistoriesKept() {
  for (std::size_t game = 0; game < kDataFiles.size(); ++game) {
    EXPECT_EQ(ReadFileBytes(DataFolder() + kDataFiles[game]), History(game, 20 + static_cast<int>(game)))
        << kDataFiles[game];
  }
}

// Program files are megabytes: a mismatch is told by its sizes, not its bytes.
::testing::AssertionResult SameContent(const std::wstring& installed, const std::wstring& original) {
  const std::string a = ReadFileBytes(installed);
  const std::string b = ReadFileBytes(original);
  if (a == b) {
    return ::testing::AssertionSuccess();
  }
  return ::testing::AssertionFailure() << Narrow(installed) << " (" << a.size() << " bytes) differs from "
                                       << Narrow(original) << " (" << b.size() << " bytes)";
}

LRESULT AskToEnd(HWND window) {
  DWORD_PTR answer = 0;
  const UINT message = ::RegisterWindowMessageW(kEndForUpgradeMessage);
  return ::SendMessageTimeoutW(window, message, 0, 0, SMTO_ABORTIFHUNG, 5000, &answer) ? static_cast<LRESULT>(answer)
                                                                                        : -1;
}

// The program started to its main window, with no message box on the way.
::testing::AssertionResult StartsToItsWindow(const NorvProcess& norv) {
  HWND window = norv.WaitForMainWindow();
  if (!window) {
    HWND box = norv.MessageBoxWindow();
    return ::testing::AssertionFailure() << "no main window; "
                                         << (box ? "a message instead: " + Narrow(MessageBoxText(box)) : "no message");
  }
  if (!WaitUntil([&] { return ::IsWindowVisible(window) != FALSE; })) {
    return ::testing::AssertionFailure() << "the main window stays hidden";
  }
  ::Sleep(500);  // a message box after the window would come within this
  if (HWND box = norv.MessageBoxWindow()) {
    return ::testing::AssertionFailure() << "a message: " << Narrow(MessageBoxText(box));
  }
  return ::testing::AssertionSuccess();
}

TEST(Installer, SilentInstallPutsEverythingInPlaceAndTheProgramStarts) {
  const Finished setup = RunSetup();
  ASSERT_TRUE(setup.ended);
  ASSERT_EQ(setup.exitCode, 0u);

  const std::wstring folder = DefaultProgramFolder();
  for (const wchar_t* file : kProgramFiles) {
    EXPECT_TRUE(FileExists(folder + file)) << Narrow(folder + file);
  }
  EXPECT_TRUE(SameContent(folder + L"norv.exe", BuildFolder() + L"payload\\norv.exe"))
      << "the stripped build is the one shipped";
  EXPECT_TRUE(SameContent(folder + L"nnote.exe", BuildFolder() + L"payload\\nnote.exe"));
  EXPECT_TRUE(SameContent(folder + L"liveup.exe", BuildFolder() + L"payload\\liveup.exe"));
  EXPECT_TRUE(SameContent(folder + L"norv.chm", BuildFolder() + L"norv.chm"));
  EXPECT_TRUE(SameContent(folder + L"norv.wav", BuildFolder() + L"norv.wav"));
  for (const wchar_t* file : kDataFiles) {
    EXPECT_TRUE(FileExists(DataFolder() + file)) << Narrow(file);
    EXPECT_EQ(ReadFileBytes(DataFolder() + file), "") << Narrow(file);
  }

  EXPECT_EQ(RegistryText(kUninstallKey, L"DisplayName"), L"Norvale");
  EXPECT_EQ(RegistryText(kUninstallKey, L"DisplayVersion"), NORVALE_RELEASE);
  EXPECT_EQ(RegistryText(kUninstallKey, L"Publisher"), L"Pellmark");
  EXPECT_EQ(RegistryText(kUninstallKey, L"UninstallString"), L"\"" + folder + L"uninstall.exe\"");
  EXPECT_EQ(RegistryText(kUninstallKey, L"DisplayIcon"), folder + L"norv.exe,0");
  EXPECT_EQ(RegistryText(kUninstallKey, L"InstallLocation"), WithoutSlash(folder));
  const DWORD payloadKb = static_cast<DWORD>((ReadFileBytes(folder + L"norv.exe").size() +
                                              ReadFileBytes(folder + L"norv.chm").size()) / 1024);
  EXPECT_GE(RegistryNumber(kUninstallKey, L"EstimatedSize").value_or(0), payloadKb);
  EXPECT_EQ(ShortcutTarget(StartMenuPrograms() + L"Norvale.lnk"), folder + L"norv.exe");
  EXPECT_FALSE(RegistryText(kRunKey, L"T-NORV")) << "starting with Windows is the user's choice";

  NorvProcess norv(folder + L"norv.exe");
  ASSERT_TRUE(StartsToItsWindow(norv));
  EXPECT_EQ(AskToEnd(norv.MainWindow()), kEndForUpgradeAnswer);
  EXPECT_TRUE(norv.Ended());
}

TEST(Installer, InstallIntoAChosenFolderKeepsExistingDataFilesByteForByte) {
  WriteFileBytes(DataFolder() + kDataFiles[0], History(0, 30));
  WriteFileBytes(DataFolder() + kDataFiles[1], History(1, 7));
  WriteFileBytes(DataFolder() + kDataFiles[2], "not a record, but the user's");
  WriteFileBytes(DataFolder() + L"tmp_num4.tan", "left by a check that was cut short");
  SetRegistryText(kSettingsKey, L"snd", L"1");

  const Finished setup = RunSetup(L"/S /D=" + WithoutSlash(kChosenFolder));
  ASSERT_TRUE(setup.ended);
  ASSERT_EQ(setup.exitCode, 0u);

  EXPECT_TRUE(FileExists(std::wstring(kChosenFolder) + L"norv.exe"));
  EXPECT_FALSE(FolderExists(DefaultProgramFolder()));
  EXPECT_EQ(RegistryText(kUninstallKey, L"InstallLocation"), WithoutSlash(kChosenFolder));
  EXPECT_EQ(ReadFileBytes(DataFolder() + kDataFiles[0]), History(0, 30));
  EXPECT_EQ(ReadFileBytes(DataFolder() + kDataFiles[1]), History(1, 7));
  EXPECT_EQ(ReadFileBytes(DataFolder() + kDataFiles[2]), "not a record, but the user's");
  EXPECT_EQ(ReadFileBytes(DataFolder() + L"tmp_num4.tan"), "left by a check that was cut short");
  EXPECT_TRUE(FileExists(DataFolder() + kDataFiles[3]));
  EXPECT_EQ(ReadFileBytes(DataFolder() + kDataFiles[3]), "") << "only the missing file is made, empty";
  EXPECT_EQ(RegistryText(kSettingsKey, L"snd"), L"1");
}

TEST(Installer, UpgradeEndsTheRunningCopyReplacesItsFilesAndKeepsTheData) {
  ASSERT_EQ(RunSetup().exitCode, 0u);
  const std::wstring folder = DefaultProgramFolder();
  // An older release: the unstripped build is a working, different norv.exe.
  ASSERT_TRUE(::CopyFileW((BuildFolder() + L"norv.exe").c_str(), (folder + L"norv.exe").c_str(), FALSE));
  WriteFileBytes(folder + L"norv.chm", "the old help");
  WriteHistories();
  SetRegistryText(kSettingsKey, L"win", L"0");
  SetRegistryText(kSettingsKey, L"mod", L"1");  // resident: closing would only hide it
  SetRegistryText(kSettingsKey, L"snd", L"1");
  SetRegistryText(kRunKey, L"T-NORV", folder + L"norv.exe");

  NorvProcess running(folder + L"norv.exe");
  ASSERT_NE(running.WaitForMainWindow(), nullptr);

  const Finished upgrade = RunSetup();
  ASSERT_TRUE(upgrade.ended);
  EXPECT_EQ(upgrade.exitCode, 0u);
  EXPECT_TRUE(running.Ended(0)) << "the setup program ended the running copy";
  EXPECT_TRUE(SameContent(folder + L"norv.exe", BuildFolder() + L"payload\\norv.exe"));
  EXPECT_TRUE(SameContent(folder + L"norv.chm", BuildFolder() + L"norv.chm"));
  ExpectHistoriesKept();
  EXPECT_EQ(RegistryText(kSettingsKey, L"snd"), L"1");
  EXPECT_EQ(RegistryText(kSettingsKey, L"mod"), L"1");
  EXPECT_EQ(RegistryText(kRunKey, L"T-NORV"), folder + L"norv.exe");

  NorvProcess upgraded(folder + L"norv.exe");
  EXPECT_NE(upgraded.WaitForMainWindow(), nullptr);
}

TEST(Installer, UpgradeStopsWithNothingReplacedWhenACopyWillNotEnd) {
  ASSERT_EQ(RunSetup().exitCode, 0u);
  const std::wstring folder = DefaultProgramFolder();
  WriteFileBytes(folder + L"norv.chm", "the old help");
  ::DeleteFileW((DataFolder() + kDataFiles[3]).c_str());

  ChildProcess stubborn(BuildFolder() + L"installer_stubborn_form.exe");
  ASSERT_TRUE(stubborn.Started());
  ASSERT_NE(WaitForWindow([&] { return FindProcessWindow(stubborn.Id(), L"TForm1"); }, 10s), nullptr);

  const Finished upgrade = RunSetup();
  ASSERT_TRUE(upgrade.ended);
  EXPECT_EQ(upgrade.exitCode, 2u);
  EXPECT_GE(upgrade.took, 9500ms) << "it waits for the copy to end";
  EXPECT_FALSE(stubborn.WaitForExit(0ms));
  EXPECT_TRUE(ReadFileBytes(folder + L"norv.chm") == "the old help") << "norv.chm was replaced";
  EXPECT_FALSE(FileExists(DataFolder() + kDataFiles[3])) << "a stopped setup program touches nothing";
}

TEST(Installer, SilentUninstallRemovesTheProgramAndKeepsTheHistoryAndSettings) {
  ASSERT_EQ(RunSetup().exitCode, 0u);
  const std::wstring folder = DefaultProgramFolder();
  WriteHistories();
  NorvProcess running(folder + L"norv.exe");  // its first start writes the settings
  ASSERT_NE(running.WaitForMainWindow(), nullptr);
  ASSERT_TRUE(WaitUntil([] { return RegistryText(kSettingsKey, L"now").has_value(); }));
  SetRegistryText(kRunKey, L"T-NORV", folder + L"norv.exe");

  const Finished uninstall = RunUninstaller(folder);
  ASSERT_TRUE(uninstall.ended);
  EXPECT_EQ(uninstall.exitCode, 0u);
  EXPECT_TRUE(running.Ended(0)) << "the uninstaller ended the running copy";
  EXPECT_FALSE(FolderExists(folder));
  EXPECT_FALSE(FileExists(StartMenuPrograms() + L"Norvale.lnk"));
  EXPECT_FALSE(RegistryKeyExists(kUninstallKey));
  EXPECT_FALSE(RegistryText(kRunKey, L"T-NORV"));
  ExpectHistoriesKept();
  EXPECT_EQ(RegistryText(kSettingsKey, L"now"), L"0051");
}

TEST(Installer, UninstallWithRemoveDataAlsoRemovesTheHistoryAndSettingsButNotTheCompanions) {
  ASSERT_EQ(RunSetup(L"/S /D=" + WithoutSlash(kChosenFolder)).exitCode, 0u);
  WriteHistories();
  SetRegistryText(kSettingsKey, L"snd", L"1");
  const std::wstring damson = MakerFolder() + L"DAMSON\\";
  ::CreateDirectoryW(damson.c_str(), nullptr);
  WriteFileBytes(damson + L"dat_loto.dml", "Damson's own history");
  SetRegistryText(L"Software\\Pellmark\\DAMSON", L"dat", L"1");

  const Finished uninstall = RunUninstaller(kChosenFolder, L"/S /REMOVEDATA /D=" + WithoutSlash(kChosenFolder));
  ASSERT_TRUE(uninstall.ended);
  EXPECT_EQ(uninstall.exitCode, 0u);
  EXPECT_FALSE(FolderExists(kChosenFolder));
  EXPECT_FALSE(RegistryKeyExists(kUninstallKey));
  EXPECT_FALSE(FolderExists(MakerFolder() + L"T-NORV"));
  EXPECT_FALSE(RegistryKeyExists(kSettingsKey));
  EXPECT_EQ(ReadFileBytes(damson + L"dat_loto.dml"), "Damson's own history");
  EXPECT_EQ(RegistryText(L"Software\\Pellmark\\DAMSON", L"dat"), L"1");
}

}  // namespace
}  // namespace norv
