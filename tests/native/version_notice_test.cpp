#include "notices/version_notice.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <deque>
#include <stdexcept>
#include <vector>

#include "settings/memory_storage.h"

namespace norv {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;
using ::testing::StartsWith;

constexpr char kProgramFolder[] = "C:\\Norvale\\";
constexpr char kUpdateTool[] = "C:\\Norvale\\liveup.exe";
constexpr char kPage[] = "https://example.invalid/damson/download.html";

struct Opened {
  std::string target;
  std::string parameters;
  bool operator==(const Opened&) const = default;
};

class FakeNoticeHost : public NoticeHost {
 public:
  NoticeAnswer AskYesNoCancel(std::string_view caption, std::string_view text) override {
    questions.emplace_back(std::string(caption), std::string(text));
    return answer;
  }
  void OpenTarget(const std::string& target, const std::string& parameters) override {
    opened.push_back({target, parameters});
  }
  void CloseMainWindow() override { ++closes; }

  NoticeAnswer answer = NoticeAnswer::No;
  std::vector<std::pair<std::string, std::string>> questions;
  std::vector<Opened> opened;
  int closes = 0;
};

class FakeFetcher : public UrlFetcher {
 public:
  std::string FetchUrlText(std::string_view url, bool fromUtf8, const std::stop_token&) override {
    urls.emplace_back(url);
    utf8.push_back(fromUtf8);
    if (fails) throw std::runtime_error("connection reset");
    return reply;
  }
  std::string reply;
  bool fails = false;
  std::vector<std::string> urls;
  std::vector<bool> utf8;
};

class VersionNoticeTest : public ::testing::Test {
 protected:
  static std::string ListAddress(std::string_view file, bool secondary) {
    return std::string(secondary ? "http://second.invalid/dl/" : "http://first.invalid/dl/") + std::string(file);
  }
  std::optional<std::string> Stored(std::string_view name) const { return storage.Read("T-NORV", name); }

  FakeNoticeHost host;
  MemorySettingsStorage storage;
  FakeFetcher fetcher;
  VersionNotices notices{host, storage, fetcher, ListAddress, kProgramFolder};
};

TEST_F(VersionNoticeTest, CancelSilencesThisProgramsReleaseForGood) {
  host.answer = NoticeAnswer::Cancel;
  notices.ShowVersionNotice(true, 6, 52, false);
  ASSERT_EQ(host.questions.size(), 1u);
  EXPECT_EQ(host.questions[0].first, "New バージョンのお知らせ");
  EXPECT_EQ(host.questions[0].second,
            "Norvale Ver 5.2 がリリースされました\n今すぐアップデートしますか？\n"
            "このメッセージを以後、表示しない場合はキャンセルを押して下さい");
  EXPECT_EQ(Stored("new"), "0052");
  EXPECT_THAT(host.opened, IsEmpty());
}

TEST_F(VersionNoticeTest, NoLeavesTheReleaseForTheNextStart) {
  host.answer = NoticeAnswer::No;
  notices.ShowVersionNotice(true, 6, 52, false);
  EXPECT_EQ(storage.WriteCount(), 0);
  EXPECT_THAT(host.opened, IsEmpty());
  EXPECT_EQ(host.closes, 0);
}

TEST_F(VersionNoticeTest, YesForThisProgramStartsTheUpdateToolAndClosesWithoutStoring) {
  host.answer = NoticeAnswer::Yes;
  notices.ShowVersionNotice(true, 6, 52, false);
  EXPECT_THAT(host.opened, ElementsAre(Opened{kUpdateTool, "5"}));
  EXPECT_EQ(host.closes, 1);
  EXPECT_EQ(storage.WriteCount(), 0);
}

TEST_F(VersionNoticeTest, YesForAnInstalledCompanionUpdatesItAndStoresTheRelease) {
  host.answer = NoticeAnswer::Yes;
  notices.ShowVersionNotice(true, 5, 120, false);
  EXPECT_THAT(host.questions[0].second, StartsWith("Elder Ver 12.0 がリリースされました\n今すぐアップデート"));
  EXPECT_THAT(host.opened, ElementsAre(Opened{kUpdateTool, "17"}));
  EXPECT_EQ(host.closes, 0);
  EXPECT_EQ(Stored("new5"), "0120");
}

TEST_F(VersionNoticeTest, YesToADownloadOpensTheListedAddress) {
  fetcher.reply = kPage;
  host.answer = NoticeAnswer::Yes;
  notices.ShowVersionNotice(false, 4, 21, false);
  EXPECT_THAT(fetcher.urls, ElementsAre("http://first.invalid/dl/dml_dlf.new"));
  EXPECT_THAT(fetcher.utf8, ElementsAre(false));
  ASSERT_EQ(host.questions.size(), 1u);
  EXPECT_EQ(host.questions[0].second,
            "Damson Ver 2.1 がリリースされました\n今すぐダウンロードしますか？\n"
            "このメッセージを以後、表示しない場合はキャンセルを押して下さい");
  EXPECT_THAT(host.opened, ElementsAre(Opened{kPage, ""}));
  EXPECT_EQ(Stored("new4"), "0021");
}

TEST_F(VersionNoticeTest, TheFallbackStatusTakesTheSecondaryListAndCancelStores) {
  fetcher.reply = kPage;
  host.answer = NoticeAnswer::Cancel;
  notices.ShowVersionNotice(false, 7, 11, true);
  EXPECT_THAT(fetcher.urls, ElementsAre("http://second.invalid/dl/fnl_dlf.new"));
  EXPECT_THAT(host.opened, IsEmpty());
  EXPECT_EQ(Stored("new6"), "0011");
}

TEST_F(VersionNoticeTest, AListThatCannotBeUsedShowsNothingAndStoresNothing) {
  host.answer = NoticeAnswer::Yes;
  fetcher.fails = true;
  notices.ShowVersionNotice(false, 2, 31, false);
  fetcher.fails = false;
  for (const char* reply : {"", "C:\\Windows\\system32\\calc.exe", "calc.exe", "http://x.invalid/a b.html",
                            "file:///C:/x.exe", "http://"}) {
    fetcher.reply = reply;
    notices.ShowVersionNotice(false, 3, 22, false);
  }
  EXPECT_THAT(host.questions, IsEmpty());
  EXPECT_THAT(host.opened, IsEmpty());
  EXPECT_EQ(storage.WriteCount(), 0);
}

TEST_F(VersionNoticeTest, TheLiveUpdateItemStartsTheUpdateToolThenCloses) {
  notices.N52Click();
  EXPECT_THAT(host.opened, ElementsAre(Opened{kUpdateTool, "5"}));
  EXPECT_EQ(host.closes, 1);
}

TEST(DownloadPageAddressTest, OnlyAPlainWebAddressIsTaken) {
  EXPECT_EQ(DownloadPageAddress("http://a.invalid/x"), "http://a.invalid/x");
  EXPECT_EQ(DownloadPageAddress("HTTPS://a.invalid/x?y=1"), "HTTPS://a.invalid/x?y=1");
  EXPECT_EQ(DownloadPageAddress("  https://a.invalid/\t"), "https://a.invalid/");
  EXPECT_EQ(DownloadPageAddress("https://a.invalid/\x01x"), std::nullopt);
  EXPECT_EQ(DownloadPageAddress("https://a.invalid/\x7f"), std::nullopt);
  EXPECT_EQ(DownloadPageAddress("mailto:a@b.invalid"), std::nullopt);
  EXPECT_EQ(DownloadPageAddress("\\\\server\\share\\setup.exe"), std::nullopt);
}

}  // namespace
}  // namespace norv
