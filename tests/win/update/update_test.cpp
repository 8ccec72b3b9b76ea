// The update catalogue: liveup.exe run for real against a loopback site, each
// case in a fresh Wine prefix with Norvale N installed by its setup program.
// A good release is installed over the running copy; every bad one is refused
// with its reason, and the installed Norvale stays as it was and still starts.
//
// The site (tests/win/update/update-site.sh) speaks plain HTTP, so the cases
// run the test build of the tool (liveup_loopback.exe), which alone also
// takes an http:// address on 127.0.0.1; the shipped liveup.exe never does.

#include <windows.h>

#include <gtest/gtest.h>

#include <array>
#include <chrono>
#include <optional>
#include <string>

#include "app/command_ids.h"
#include "base/unicode_win.h"
#include "resources/companion_strings.h"
#include "resources/liveup_strings.h"
#include "tests/win/installer/installed_files.h"
#include "tests/win/norv_process.h"
#include "tests/win/win_test_support.h"

namespace norv {
namespace {

using namespace std::chrono_literals;
using namespace testing;

constexpr std::array<const wchar_t*, 4> kDataFiles{L"dat_lot6.tan", L"dat_mini.tan", L"dat_num4.tan",
                                                   L"dat_num3.tan"};

std::string SiteFileLine(const wchar_t* name) {
  wchar_t state[MAX_PATH] = {};
  ::GetEnvironmentVariableW(L"NORVALE_UPDATE_SITE", state, MAX_PATH);
  std::string line = ReadFileBytes(std::wstring(state) + L"\\" + name);
  while (!line.empty() && (line.back() == '\n' || line.back() == '\r')) line.pop_back();
  return line;
}

std::wstring Folder(const std::string& base, const char* caseName, int copy) {
  return Utf16(base + caseName + "/dlf" + std::to_string(copy) + "/");
}

std::string History(std::size_t game) {
  std::string bytes;
  for (int k = 1; k <= 20; ++k) {
    std::string record = std::to_string(10000 + k).substr(1);
    while (record.size() < 33 + game) record += static_cast<char>('0' + (record.size() + game + k) % 10);
    bytes += record + "\r\n";
  }
  return bytes;
}

std::wstring TempFolder() {
  wchar_t path[MAX_PATH + 1] = {};
  ::GetTempPathW(MAX_PATH + 1, path);
  return path;
}

bool DownloadLeftInTemp() {
  WIN32_FIND_DATAW found{};
  HANDLE search = ::FindFirstFileW((TempFolder() + L"norvale-update-*").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return false;
  ::FindClose(search);
  return true;
}

class Update : public ::testing::Test {
 protected:
  std::wstring folder = DefaultProgramFolder();
  std::string base = SiteFileLine(L"base.txt");

  // Norvale N by its setup program, the test build of the tool in place of the
  // shipped one, a history and a setting of the user's.
  void SetUp() override {
    ASSERT_FALSE(base.empty()) << "no update site (NORVALE_UPDATE_SITE)";
    const Finished setup = RunToTheEnd(L"\"" + SetupProgram() + L"\" /S");
    ASSERT_TRUE(setup.ended);
    ASSERT_EQ(setup.exitCode, 0u);
    ASSERT_TRUE(::CopyFileW((BuildFolder() + L"liveup_loopback.exe").c_str(), (folder + L"liveup.exe").c_str(), FALSE));
    for (std::size_t game = 0; game < kDataFiles.size(); ++game) {
      WriteFileBytes(DataFolder() + kDataFiles[game], History(game));
    }
    SetRegistryText(kSettingsKey, L"win", L"0");
    SetRegistryText(kSettingsKey, L"snd", L"1");
  }

  // The copy liveup.exe started would keep the prefix's Wine running.
  void TearDown() override {
    while (HWND window = ::FindWindowW(L"TForm1", nullptr)) {
      DWORD pid = 0;
      ::GetWindowThreadProcessId(window, &pid);
      HANDLE process = ::OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, pid);
      if (!process) break;
      ::TerminateProcess(process, 1);
      ::WaitForSingleObject(process, 5000);
      ::CloseHandle(process);
    }
  }

  void PointAt(const std::wstring& primary, const std::wstring& secondary) {
    primary_.emplace(L"NORVALE_DOWNLOAD_1", primary);
    secondary_.emplace(L"NORVALE_DOWNLOAD_2", secondary);
  }
  void PointAt(const char* caseName) { PointAt(Folder(base, caseName, 1), Folder(base, caseName, 2)); }

  void ExpectKept() {
    for (std::size_t game = 0; game < kDataFiles.size(); ++game) {
      EXPECT_EQ(ReadFileBytes(DataFolder() + kDataFiles[game]), History(game)) << Narrow(kDataFiles[game]);
    }
    EXPECT_EQ(RegistryText(kSettingsKey, L"snd"), L"1");
    EXPECT_FALSE(DownloadLeftInTemp()) << "a download was left in " << Narrow(TempFolder());
  }

  // The tool ends with one message naming `reason`, Norvale N untouched.
  void ExpectRefused(const char* caseName, std::string_view reason, std::chrono::milliseconds wait = 60s) {
    PointAt(caseName);
    ChildProcess liveup(folder + L"liveup.exe", L"5");
    ASSERT_TRUE(liveup.Started());
    HWND box = WaitForWindow([&] { return FindMessageBox(liveup.Id(), L"Norvale"); }, wait);
    ASSERT_NE(box, nullptr) << "no message";
    EXPECT_EQ(Narrow(MessageBoxText(box)), reason);
    PressButton(box, IDOK);
    ASSERT_TRUE(liveup.WaitForExit(10s));
    EXPECT_NE(liveup.ExitCode(), 0u);
    EXPECT_TRUE(ReadFileBytes(folder + L"norv.exe") == ReadFileBytes(BuildFolder() + L"payload\\norv.exe"));
    EXPECT_EQ(RegistryText(kUninstallKey, L"DisplayVersion"), NORVALE_RELEASE);
    ExpectKept();
    NorvProcess norv(folder + L"norv.exe");
    EXPECT_NE(norv.WaitForMainWindow(), nullptr) << "Norvale N no longer starts";
  }

  // Norvale N running against the good site, with empty histories that its
  // first check fills, so that the status file's release is announced.
  void PointAtTheGoodSite() {
    for (const wchar_t* file : kDataFiles) WriteFileBytes(DataFolder() + file, "");
    PointAt("good");
    directory1_.emplace(L"NORVALE_DIRECTORY_1", Utf16(base + "good/dir1/dir.cgi?SFT=0"));
    directory2_.emplace(L"NORVALE_DIRECTORY_2", Utf16(base + "good/dir2/dir.cgi?SFT=0"));
  }

  // N+1 is installed, the old copy has ended and a new one runs.
  void ExpectUpdatedFromNorvale(NorvProcess& running) {
    EXPECT_TRUE(WaitUntil([] { return RegistryText(kUninstallKey, L"DisplayVersion") == NORVALE_NEXT_RELEASE; },
                          150000))
        << "release " << Narrow(NORVALE_NEXT_RELEASE) << " was not installed";
    EXPECT_TRUE(running.Ended(30000));
    EXPECT_NE(WaitForWindow([] { return ::FindWindowW(L"TForm1", nullptr); }, 30s), nullptr)
        << "the new Norvale did not start";
    EXPECT_FALSE(WaitUntil(DownloadLeftInTemp, 10000) && DownloadLeftInTemp());
  }

  // The tool installs N+1 over the running N and starts it.
  void ExpectUpdated(const std::wstring& primary, const std::wstring& secondary) {
    NorvProcess running(folder + L"norv.exe");
    ASSERT_NE(running.WaitForMainWindow(), nullptr);
    PointAt(primary, secondary);
    ChildProcess liveup(folder + L"liveup.exe", L"5");
    ASSERT_TRUE(liveup.Started());
    if (!liveup.WaitForExit(150s)) {
      HWND box = FindMessageBox(liveup.Id(), L"Norvale");
      FAIL() << "liveup.exe did not end; " << (box ? Narrow(MessageBoxText(box)) : "no message");
    }
    EXPECT_EQ(liveup.ExitCode(), 0u);
    EXPECT_TRUE(running.Ended(0)) << "the old copy still runs";
    EXPECT_EQ(RegistryText(kUninstallKey, L"DisplayVersion"), NORVALE_NEXT_RELEASE);
    ExpectKept();
    EXPECT_NE(WaitForWindow([] { return ::FindWindowW(L"TForm1", nullptr); }, 30s), nullptr)
        << "the new Norvale did not start";
  }

 private:
  std::optional<ScopedEnvironment> primary_, secondary_, directory1_, directory2_;
};

TEST_F(Update, AGoodReleaseIsInstalledOverTheRunningCopyAndStarts) {
  ExpectUpdated(Folder(base, "good", 1), Folder(base, "good", 2));
}

TEST_F(Update, TheSecondaryFolderIsUsedWhenThePrimaryIsDown) {
  ExpectUpdated(Utf16(SiteFileLine(L"dead.txt") + "dlf1/"), Folder(base, "good", 2));
}

TEST_F(Update, YesOnTheUpdateOfferStartsTheToolAndTheUpdateCompletes) {
  PointAtTheGoodSite();
  NorvProcess running(folder + L"norv.exe");
  HWND window = running.WaitForMainWindow();
  ASSERT_NE(window, nullptr);
  // The shipped program answers no probe: the check button is pressed until a
  // check starts, which it cannot while the start-up run still loads.
  const std::wstring caption = Utf16(std::string(text::kNoticeCaption));
  HWND offer = nullptr;
  for (int press = 0; press < 40 && !offer; ++press) {
    if (ReadFileBytes(DataFolder() + kDataFiles[0]).empty()) ::PostMessageW(window, WM_COMMAND, kToolButtonFirst + 1, 0);
    offer = WaitForWindow([&] { return running.FindOwnWindow(L"#32770", caption.c_str()); }, 3s);
  }
  if (!offer) {
    HWND other = running.FindOwnWindow(L"#32770");
    FAIL() << "no update offer; " << (other ? "a message: " + Narrow(WindowText(other)) + ": " + Narrow(MessageBoxText(other)) : "no message")
           << "; LOTO6 history " << ReadFileBytes(DataFolder() + kDataFiles[0]).size() << " bytes";
  }
  EXPECT_TRUE(Narrow(MessageBoxText(offer)).starts_with("Norvale Ver " + Narrow(NORVALE_NEXT_RELEASE)));
  PressButton(offer, IDYES);
  ExpectUpdatedFromNorvale(running);
}

TEST_F(Update, TheTrayItemStartsTheToolAndTheUpdateCompletes) {
  PointAtTheGoodSite();
  NorvProcess running(folder + L"norv.exe");
  HWND window = running.WaitForMainWindow();
  ASSERT_NE(window, nullptr);
  ::PostMessageW(window, WM_COMMAND, kN52, 0);
  ExpectUpdatedFromNorvale(running);
}

TEST_F(Update, ASetupProgramThatStopsIsReportedWithTheDownloadKept) {
  ChildProcess stubborn(BuildFolder() + L"installer_stubborn_form.exe");  // a copy that will not end
  ASSERT_TRUE(stubborn.Started());
  ASSERT_NE(WaitForWindow([&] { return FindProcessWindow(stubborn.Id(), L"TForm1"); }, 10s), nullptr);
  PointAt("good");
  ChildProcess liveup(folder + L"liveup.exe", L"5");
  HWND box = WaitForWindow([&] { return FindMessageBox(liveup.Id(), L"Norvale"); }, 90s);
  ASSERT_NE(box, nullptr) << "no message";
  const std::string message = Narrow(MessageBoxText(box));
  ASSERT_TRUE(message.starts_with(text::kLiveupSetupFailed)) << message;
  const std::wstring kept = Utf16(message.substr(text::kLiveupSetupFailed.size()));
  EXPECT_TRUE(FileExists(kept)) << "the message names " << Narrow(kept);
  PressButton(box, IDOK);
  ASSERT_TRUE(liveup.WaitForExit(10s));
  EXPECT_NE(liveup.ExitCode(), 0u);
  EXPECT_TRUE(ReadFileBytes(folder + L"norv.exe") == ReadFileBytes(BuildFolder() + L"payload\\norv.exe"));
  EXPECT_EQ(RegistryText(kUninstallKey, L"DisplayVersion"), NORVALE_RELEASE);
}

TEST_F(Update, ASecondToolWhileOneRunsIsRefusedAndCancelStopsTheDownload) {
  PointAt("stall");
  ChildProcess first(folder + L"liveup.exe", L"5");
  HWND progress = WaitForWindow([&] { return FindProcessWindow(first.Id(), L"NorvaleUpdateProgress"); }, 30s);
  ASSERT_NE(progress, nullptr) << "no progress window";
  ChildProcess second(folder + L"liveup.exe", L"5");
  HWND box = WaitForWindow([&] { return FindMessageBox(second.Id(), L"Norvale"); }, 30s);
  ASSERT_NE(box, nullptr);
  EXPECT_EQ(Narrow(MessageBoxText(box)), text::kLiveupAlreadyRunning);
  PressButton(box, IDOK);
  ASSERT_TRUE(second.WaitForExit(10s));
  EXPECT_NE(second.ExitCode(), 0u);

  constexpr int kCancelButton = 100;
  PressButton(progress, kCancelButton);
  box = WaitForWindow([&] { return FindMessageBox(first.Id(), L"Norvale"); }, 10s);
  ASSERT_NE(box, nullptr) << "Cancel did not end the download at once";
  EXPECT_EQ(Narrow(MessageBoxText(box)), text::kLiveupDownloadCancelled);
  PressButton(box, IDOK);
  ASSERT_TRUE(first.WaitForExit(10s));
  EXPECT_NE(first.ExitCode(), 0u);
  ExpectKept();
}

TEST_F(Update, ACompanionWithoutADownloadListIsToldSo) {
  PointAt("good");
  ChildProcess liveup(folder + L"liveup.exe", L"14");
  HWND box = WaitForWindow([&] { return FindMessageBox(liveup.Id(), L"Norvale"); }, 30s);
  ASSERT_NE(box, nullptr);
  EXPECT_EQ(Narrow(MessageBoxText(box)), text::kLiveupNoDownloadPage);
  PressButton(box, IDOK);
  ASSERT_TRUE(liveup.WaitForExit(10s));
  EXPECT_NE(liveup.ExitCode(), 0u);
}

TEST_F(Update, AManifestSignedByAnotherKeyIsRefused) {
  ExpectRefused("other-key", text::kLiveupBadSignature);
}

TEST_F(Update, ASignatureOverAnotherManifestIsRefused) { ExpectRefused("forged", text::kLiveupBadSignature); }

TEST_F(Update, AnotherProductsManifestIsRefused) { ExpectRefused("product-12", text::kLiveupOtherProduct); }

TEST_F(Update, TheSameReleaseIsRefused) { ExpectRefused("same", text::kLiveupNotNewer); }

TEST_F(Update, AnOlderReleaseIsRefused) { ExpectRefused("rollback", text::kLiveupNotNewer); }

TEST_F(Update, AnExpiredManifestIsRefused) { ExpectRefused("expired", text::kLiveupExpired); }

TEST_F(Update, ASetupProgramWithOneByteChangedIsRefusedAndDeleted) {
  ExpectRefused("changed", text::kLiveupHashMismatch);
}

TEST_F(Update, ASetupProgramLongerThanStatedIsCutOff) { ExpectRefused("endless", text::kLiveupDownloadTooLong); }

TEST_F(Update, ADownloadThatStallsIsGivenUp) { ExpectRefused("stall", text::kLiveupDownloadStalled, 90s); }

TEST_F(Update, APlainHttpAddressInTheManifestIsRefused) { ExpectRefused("http", text::kLiveupNotHttps); }

}  // namespace
}  // namespace norv
