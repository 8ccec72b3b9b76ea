#include <windows.h>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <vector>

#include "base/unicode_win.h"
#include "notices/notice_host_win.h"
#include "notices/version_notice.h"
#include "settings/registry_storage_win.h"
#include "tests/win/companion_test_support.h"
#include "tests/win/win_test_support.h"

namespace norv {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

constexpr wchar_t kNoticeCaption[] = L"New バージョンのお知らせ";
constexpr char kDownloadPage[] = "http://127.0.0.1:9/damson/download.html";

// Programs are started for real; addresses are only noted, so no browser is
// started and nothing leaves the machine.
class NotingNoticeHost : public WindowsNoticeHost {
 public:
  NotingNoticeHost() : WindowsNoticeHost(nullptr, [this] { ++closes; }) {}
  void OpenTarget(const std::string& target, const std::string& parameters) override {
    if (target.rfind("http", 0) == 0) {
      addresses.push_back(target);
    } else {
      WindowsNoticeHost::OpenTarget(target, parameters);
    }
  }
  std::vector<std::string> addresses;
  std::atomic<int> closes{0};
};

class ScriptedFetcher : public UrlFetcher {
 public:
  std::string FetchUrlText(std::string_view url, bool, const std::stop_token&) override {
    urls.emplace_back(url);
    return reply;
  }
  std::string reply;
  std::vector<std::string> urls;
};

class VersionNoticeWin : public ::testing::Test {
 protected:
  void SetUp() override {
    testing::ClearProgramRegistry();
    ASSERT_TRUE(testing::InstallStandin(programFolder, L"liveup.exe"));
  }
  void TearDown() override {
    testing::ClearProgramRegistry();
    testing::RemoveFolder(programFolder);
  }

  testing::AnsweredBox Answer(int button, bool installed, int product, int number) {
    return testing::AnswerBoxDuring([&] { notices.ShowVersionNotice(installed, product, number, false); },
                                    kNoticeCaption, button);
  }
  std::optional<std::string> Stored(std::string_view name) const { return storage.Read("T-NORV", name); }

  static std::string ListAddress(std::string_view file, bool secondary) {
    return std::string(secondary ? "http://127.0.0.1:9/two/" : "http://127.0.0.1:9/one/") + std::string(file);
  }

  std::wstring programFolder = testing::ScratchFolder(L"notices");
  NotingNoticeHost host;
  RegistrySettingsStorage storage;
  ScriptedFetcher fetcher;
  VersionNotices notices{host, storage, fetcher, ListAddress, Narrow(programFolder)};
};

TEST_F(VersionNoticeWin, CancelStoresTheReleaseOfThisProgram) {
  const auto box = Answer(IDCANCEL, true, 6, 52);
  ASSERT_TRUE(box.found);
  EXPECT_EQ(testing::ToUtf8(box.text),
            "Norvale Ver 5.2 がリリースされました\n今すぐアップデートしますか？\n"
            "このメッセージを以後、表示しない場合はキャンセルを押して下さい");
  EXPECT_EQ(Stored("new"), "0052");
  EXPECT_EQ(host.closes.load(), 0);
}

TEST_F(VersionNoticeWin, NoStoresNothing) {
  ASSERT_TRUE(Answer(IDNO, true, 6, 52).found);
  EXPECT_EQ(Stored("new"), std::nullopt);
  EXPECT_EQ(host.closes.load(), 0);
}

TEST_F(VersionNoticeWin, YesStartsTheUpdateToolWithFiveAndClosesTheWindow) {
  ASSERT_TRUE(Answer(IDYES, true, 6, 52).found);
  EXPECT_THAT(testing::WaitForLaunches(programFolder, 1), ElementsAre("5"));
  EXPECT_EQ(host.closes.load(), 1);
  EXPECT_EQ(Stored("new"), std::nullopt);
}

TEST_F(VersionNoticeWin, YesToACompanionUpdateStoresItsRelease) {
  ASSERT_TRUE(Answer(IDYES, true, 3, 22).found);
  EXPECT_THAT(testing::WaitForLaunches(programFolder, 1), ElementsAre("13"));
  EXPECT_EQ(Stored("new3"), "0022");
}

TEST_F(VersionNoticeWin, YesToADownloadOpensTheListedAddressAndStores) {
  fetcher.reply = kDownloadPage;
  const auto box = Answer(IDYES, false, 4, 21);
  ASSERT_TRUE(box.found);
  EXPECT_EQ(testing::ToUtf8(box.text).rfind("Damson Ver 2.1 がリリースされました\n今すぐダウンロードしますか？", 0), 0u);
  EXPECT_THAT(fetcher.urls, ElementsAre("http://127.0.0.1:9/one/dml_dlf.new"));
  EXPECT_THAT(host.addresses, ElementsAre(kDownloadPage));
  EXPECT_EQ(Stored("new4"), "0021");
}

TEST_F(VersionNoticeWin, AListThatIsEmptyOrNotAnAddressShowsNoBox) {
  for (const char* reply : {"", "liveup.exe 5"}) {
    fetcher.reply = reply;
    notices.ShowVersionNotice(false, 5, 21, true);
  }
  EXPECT_THAT(fetcher.urls, ElementsAre("http://127.0.0.1:9/two/el3_dlf.new", "http://127.0.0.1:9/two/el3_dlf.new"));
  EXPECT_EQ(testing::FindMessageBox(::GetCurrentProcessId(), kNoticeCaption), nullptr);
  EXPECT_THAT(host.addresses, IsEmpty());
  EXPECT_EQ(Stored("new5"), std::nullopt);
  EXPECT_THAT(testing::WaitForLaunches(programFolder, 1, std::chrono::milliseconds(300)), IsEmpty());
}

TEST_F(VersionNoticeWin, TheLiveUpdateItemStartsTheUpdateToolEvenWithoutANewRelease) {
  notices.N52Click();
  EXPECT_THAT(testing::WaitForLaunches(programFolder, 1), ElementsAre("5"));
  EXPECT_EQ(host.closes.load(), 1);
}

}  // namespace
}  // namespace norv
