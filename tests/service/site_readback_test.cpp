// What `publish` writes, read back by Norvale's own readers: the directory,
// the status file, the full histories and the bank-style pages, for base
// addresses shorter and longer than the reader's 27-character prefix.

#include <gtest/gtest.h>

#include "acquisition/full_refresh.h"
#include "acquisition/latest_draw_reader.h"
#include "acquisition/result_page_parser.h"
#include "acquisition/status_file.h"
#include "acquisition/url_directory.h"
#include "base/utf8.h"
#include "service/site_layout.h"
#include "store/draw_record.h"
#include "tests/service/service_test_support.h"

namespace norv::service {
namespace {

using testing::DataFileOf;
using testing::ReadWhole;
using testing::RunCommand;
using testing::SeedDraws;
using testing::SiteFetcher;
using testing::TempFolder;

// Small enough to publish quickly many times, long enough for three draws a page.
constexpr std::array<int, 4> kCounts{40, 30, 60, 50};

class PublishedSite {
 public:
  explicit PublishedSite(std::string base, std::vector<std::string> options = {})
      : base_(SiteLayout(base).Base()), fetcher_(base_, folder_.File("site")) {
    testing::MakeStore(folder_.File("store"), kCounts);
    std::vector<std::string> args{folder_.File("store"), folder_.File("site"), "--base", base};
    args.insert(args.end(), options.begin(), options.end());
    result_ = RunCommand(RunPublish, args);
  }

  const testing::CommandResult& Result() const { return result_; }
  SiteFetcher& Fetcher() { return fetcher_; }
  std::filesystem::path Site() const { return folder_.File("site"); }
  const std::string& Base() const { return base_; }

  UrlTable Directory() {
    UrlTable table;
    const std::string endpoint = base_ + "dir1/dir.cgi?SFT=0";
    std::stop_source never;
    EXPECT_TRUE(FetchUrlDirectory(fetcher_, endpoint, endpoint, never.get_token(), table)) << base_;
    return table;
  }

  std::string Fetch(const std::string& url, bool fromUtf8 = false) {
    std::stop_source never;
    return fetcher_.FetchUrlText(url, fromUtf8, never.get_token());
  }

 private:
  TempFolder folder_;
  std::string base_;
  SiteFetcher fetcher_;
  testing::CommandResult result_;
};

std::vector<Draw> StoreDraws(Game game) {
  std::vector<Draw> draws = SeedDraws(game);
  draws.resize(static_cast<std::size_t>(kCounts[static_cast<std::size_t>(GameIndex(game))]));
  return draws;
}

// Bases around the prefix: far shorter, one short, exactly long enough with
// "bank", longer, and long enough that the prefix ends inside the base.
const std::vector<std::string> kBases{
    "http://a/",
    "http://127.0.0.1:8/",
    "http://127.0.0.1:8080",
    "http://127.0.0.1:40123/",
    "https://www.pellmark.example/",
    "https://content.network.example/norvale/site/v1/",
};

TEST(PublishedSite, PrintsTheTwoDirectoryEndpointsUnderTheBase) {
  PublishedSite site("http://127.0.0.1:8080");
  ASSERT_EQ(site.Result().status, 0) << site.Result().err;
  EXPECT_EQ(site.Result().out,
            "NORVALE_DIRECTORY_1=http://127.0.0.1:8080/dir1/dir.cgi?SFT=0\n"
            "NORVALE_DIRECTORY_2=http://127.0.0.1:8080/dir2/dir.cgi?SFT=0\n");
}

TEST(PublishedSite, BothDirectoryEndpointsFillTheUrlTableWithAddressesUnderTheBase) {
  for (const std::string& base : kBases) {
    PublishedSite site(base);
    ASSERT_EQ(site.Result().status, 0) << site.Result().err;
    const UrlTable table = site.Directory();
    UrlTable second;
    std::stop_source never;
    ASSERT_TRUE(FetchUrlDirectory(site.Fetcher(), site.Base() + "dir2/dir.cgi?SFT=0", site.Base() + "dir1/dir.cgi?SFT=0",
                                  never.get_token(), second));
    EXPECT_EQ(second.slots, table.slots);
    for (int slot = 0; slot < UrlTable::kSlots; ++slot) {
      EXPECT_TRUE(table[slot].starts_with(site.Base())) << base << " slot " << slot << ": " << table[slot];
      EXPECT_FALSE(site.Fetch(table[slot]).empty()) << base << " slot " << slot << " leads nowhere";
    }
    EXPECT_EQ(table[0], site.Base() + "svc1/status.txt");
    EXPECT_EQ(table[9], site.Base() + "svc2/num3.txt");
  }
}

TEST(PublishedSite, TheStatusFileCountsEveryDrawButTheNewestAndAnnouncesThisRelease) {
  PublishedSite site("http://127.0.0.1:8080/");
  const UrlTable table = site.Directory();
  for (int slot : {0, 1}) {
    const std::string text = site.Fetch(table[slot]);
    ASSERT_TRUE(IsValidStatusText(text));
    const StatusFile status = ReadStatusFile(text);
    for (Game game : kAllGames) {
      EXPECT_EQ(status.DrawCountOf(game), kCounts[static_cast<std::size_t>(GameIndex(game))] - 1) << GameName(game);
    }
    EXPECT_EQ(status.programRelease, 51);
    EXPECT_EQ(status.birchRelease + status.cedarRelease + status.damsonRelease + status.elderRelease +
                  status.fennelRelease,
              0);
  }
}

TEST(PublishedSite, ReleasesAndDownloadPagesComeFromTheConfigAndTheFlags) {
  TempFolder config;
  config.Write("site.conf",
               "# releases\nrelease.norvale = 0052\nrelease.damson=21\n\n"
               "download.damson = https://www.pellmark.example/damson/\n");
  PublishedSite site("http://127.0.0.1:8080/",
                     {"--config", config.File("site.conf"), "--release", "fennel=7", "--download",
                      "elder=https://www.pellmark.example/elder/"});
  ASSERT_EQ(site.Result().status, 0) << site.Result().err;
  const StatusFile status = ReadStatusFile(site.Fetch(site.Directory()[1]));
  EXPECT_EQ(status.programRelease, 52);
  EXPECT_EQ(status.damsonRelease, 21);
  EXPECT_EQ(status.fennelRelease, 7);
  EXPECT_EQ(status.cedarRelease, 0);
  for (const char* folder : {"dlf1/", "dlf2/"}) {
    EXPECT_EQ(site.Fetch(site.Base() + folder + "dml_dlf.new"), "https://www.pellmark.example/damson/");
    EXPECT_EQ(site.Fetch(site.Base() + folder + "el3_dlf.new"), "https://www.pellmark.example/elder/");
    EXPECT_EQ(site.Fetch(site.Base() + folder + "bc4_dlf.new"), "") << "no page configured, no list";
  }
  EXPECT_NE(site.Result().out.find("NORVALE_DOWNLOAD_1=http://127.0.0.1:8080/dlf1/\n"), std::string::npos);
}

TEST(PublishedSite, EachFullHistoryCutsIntoTheStoresRecordsLessTheNewest) {
  PublishedSite site("http://127.0.0.1:8080/");
  const UrlTable table = site.Directory();
  for (Game game : kAllGames) {
    const std::vector<Draw> draws = StoreDraws(game);
    for (bool fallback : {false, true}) {
      const std::string history = site.Fetch(table[HistorySlot(game, fallback)]);
      EXPECT_EQ(BuildHistoryFile(game, history, {}), DataFileOf(draws, draws.size() - 1)) << GameName(game);
    }
    // Served with CR LF after each record, as Norvale writes its data file.
    EXPECT_EQ(ReadWhole(site.Site() / SiteLayout::HistoryPath(game, 0)), DataFileOf(draws, draws.size() - 1));
  }
}

TEST(PublishedSite, EveryDrawOnAResultPageParsesToExactlyItsRecord) {
  PublishedSite site("http://127.0.0.1:8080/");
  const SiteLayout layout(site.Base());
  for (Game game : kAllGames) {
    const std::vector<Draw> draws = StoreDraws(game);
    const std::string page = site.Fetch(layout.Address(layout.ResultPagePath(game)), true);
    for (std::size_t shown = draws.size() - 3; shown < draws.size(); ++shown) {
      const PageReading reading = ReadResultText(game, page, draws[shown].number);
      EXPECT_EQ(reading.failureOffset, 0) << GameName(game);
      EXPECT_EQ(reading.record, RecordText(draws[shown])) << GameName(game) << " draw " << draws[shown].number;
    }
    EXPECT_EQ(ReadResultText(game, page, static_cast<int>(draws.size()) + 1).record, "") << "not drawn yet";
    EXPECT_EQ(page.find("SAMPLE"), std::string::npos) << "real draws carry no sample notice";
  }
}

// The reader's whole way: index page, button image, the link after the
// 27-character prefix, the result page, the append to the data file.
TEST(PublishedSite, AClientOneDrawBehindGetsTheNewestDrawFromTheIndexPagesForEveryBase) {
  for (const std::string& base : kBases) {
    PublishedSite site(base);
    ASSERT_EQ(site.Result().status, 0) << site.Result().err;
    const UrlTable table = site.Directory();
    TempFolder data;
    for (Game game : kAllGames) {
      const std::vector<Draw> draws = StoreDraws(game);
      data.Write(LayoutOf(game).dataFile, DataFileOf(draws, draws.size() - 1));
      GameData held;
      held.drawCount = static_cast<int>(draws.size()) - 1;
      std::vector<std::pair<int, int>> reports;
      const AcquisitionContext context{site.Fetcher(), table, data.Folder(), {}};
      site.Fetcher().urls.clear();
      EXPECT_TRUE(ReadLatestDraw(game, held, context, [&](int code, int n) { reports.emplace_back(code, n); }))
          << base << " " << GameName(game) << ", asked " << ::testing::PrintToString(site.Fetcher().urls);
      EXPECT_EQ(reports.size(), 0u) << base << " " << GameName(game);
      EXPECT_EQ(data.Read(LayoutOf(game).dataFile), DataFileOf(draws, draws.size())) << base << " " << GameName(game);
      ASSERT_EQ(site.Fetcher().urls.size(), 2u);
      EXPECT_EQ(site.Fetcher().urls[1], SiteLayout(site.Base()).Address(SiteLayout(site.Base()).ResultPagePath(game)));
    }
  }
}

TEST(PublishedSite, AClientWithAnEmptyFileTakesTheHistoryThenThePage) {
  PublishedSite site("http://127.0.0.1:8080/");
  const UrlTable table = site.Directory();
  TempFolder data;
  for (Game game : kAllGames) {
    const std::vector<Draw> draws = StoreDraws(game);
    data.Write(LayoutOf(game).dataFile, "");
    const AcquisitionContext context{site.Fetcher(), table, data.Folder(), {}};
    const auto ignore = [](int, int) {};
    const std::optional<int> refreshed = RefreshDataFile(game, false, false, 0, context, ignore);
    ASSERT_EQ(refreshed, static_cast<int>(draws.size()) - 1);
    GameData held;
    held.drawCount = *refreshed;
    ASSERT_TRUE(ReadLatestDraw(game, held, context, ignore));
    EXPECT_EQ(data.Read(LayoutOf(game).dataFile), DataFileOf(draws, draws.size())) << GameName(game);
  }
}

TEST(PublishedSite, TheDirectoryBodyTakesTheSchemeOfTheBase) {
  PublishedSite site("https://www.pellmark.example/norvale/");
  const std::string reply = site.Fetch(site.Base() + "dir1/dir.cgi?SFT=0");
  UrlTable table;
  EXPECT_TRUE(ParseUrlDirectory(reply, "https://www.pellmark.example/norvale/dir1/dir.cgi?SFT=0", table));
  EXPECT_FALSE(ParseUrlDirectory(reply, "http://www.pellmark.example/norvale/dir1/dir.cgi?SFT=0", table));
}

TEST(PublishedSite, ABaseThatCannotBeServedIsRefusedBeforeAnythingIsWritten) {
  const std::vector<std::pair<std::string, std::string>> bad{
      {"ftp://host/", "http:// or https://"},
      {"http:///path/", "no host"},
      {"http://host/a\"b/", "cannot stand in a link"},
      {"http://host/?x=1", "query"},
      {"http://host/" + std::string(70, 'p') + "/", "directory slot holds 100"},
  };
  for (const auto& [base, why] : bad) {
    PublishedSite site(base);
    EXPECT_EQ(site.Result().status, kExitBadInput) << base;
    EXPECT_NE(site.Result().err.find(why), std::string::npos) << site.Result().err;
    EXPECT_FALSE(std::filesystem::exists(std::filesystem::symlink_status(site.Site()))) << base;
  }
}

TEST(PublishedSite, AStoreThatCannotBeReadPublishesNothingAndSaysWhere) {
  TempFolder folder;
  testing::MakeStore(folder.File("store"), kCounts);
  testing::WriteWhole(folder.File("store") + "/miniloto.csv", "draw,date,n1,n2,n3,n4,n5,bonus,prize1,prize2,prize3,prize4\n2,x\n");
  const auto result = RunCommand(RunPublish, {folder.File("store"), folder.File("site"), "--base", "http://h/"});
  EXPECT_EQ(result.status, kExitBadInput);
  EXPECT_NE(result.err.find("miniloto.csv: line 2"), std::string::npos) << result.err;
  EXPECT_FALSE(folder.Exists("site"));
}

}  // namespace
}  // namespace norv::service
