// The test mode: made-up draws after the store's real ones, held-back
// histories, faults and the log, without touching the store.

#include "tests/test_service/test_controls.h"

#include <gtest/gtest.h>

#include <thread>

#include "acquisition/result_page_parser.h"
#include "base/text_fields.h"
#include "base/utf8.h"
#include "service/site_input.h"
#include "tests/service/service_test_support.h"

namespace norv::service {
namespace {

constexpr char kBase[] = "http://127.0.0.1:40123/";
constexpr std::array<int, 4> kStoreCounts{30, 20, 40, 50};

class TestModeTest : public ::testing::Test {
 protected:
  TestModeTest() {
    for (Game game : kAllGames) {
      auto& draws = store_[static_cast<std::size_t>(GameIndex(game))];
      draws = testing::SeedDraws(game);
      draws.resize(static_cast<std::size_t>(kStoreCounts[static_cast<std::size_t>(GameIndex(game))]));
    }
    controls_.SetHooks({[this] { Republish(); }, [this] { ++releases_; }});
    Republish();
  }

  void Republish() {
    SiteInput input = SiteInputFor(store_, settings_, kBase);
    controls_.Apply(input, "http://127.0.0.1:40123");
    ASSERT_EQ(SiteProblem(input), std::nullopt);
    std::vector<SiteFile> files = BuildSite(input);
    controls_.MarkSamples(files, SiteLayout(kBase));
    site_.Publish(files);
  }

  http::Reply Get(const std::string& target, const std::string& agent = "norv") {
    http::Request request;
    request.target = target;
    request.userAgent = agent;
    const std::string origin = target.starts_with("http://") ? target.substr(target.find('/', 7)) : target;
    const std::size_t question = origin.find('?');
    request.path = origin.substr(0, question);
    if (question != std::string::npos) request.query = origin.substr(question + 1);
    return controls_.Handle(request, site_);
  }

  static std::string Body(const http::Reply& reply) { return reply.body ? *reply.body : std::string(); }
  std::string Text(const std::string& target) { return Body(Get(target)); }
  std::string Status() { return RemoveLineBreaks(Text("/svc1/status.txt")); }

  Histories store_;
  SiteSettings settings_;
  TestControls controls_;
  SiteServer site_;
  int releases_ = 0;
};

TEST_F(TestModeTest, TheStoresDrawsAreServedWithTheHistoryOneBehind) {
  EXPECT_EQ(RemoveLineBreaks(Text("/svc1/lot6.txt")).size(), 29u * 56);
  EXPECT_EQ(FieldAt(Status(), 45, 4), "0029");
  EXPECT_EQ(FieldAt(Status(), 33, 4), "0049");
  const std::string page = Text("/bank/takarakuji/loto/loto6/index.html");
  EXPECT_NE(page.find("第30回"), std::string::npos);
  EXPECT_EQ(page.find("SAMPLE"), std::string::npos);
}

TEST_F(TestModeTest, PublishingAddsMadeUpDrawsAfterTheRealOnesMarkedAsSamples) {
  EXPECT_EQ(Text("/control/publish?game=mini"), "published=21 history=20\n");
  const std::string page = Text("/bank/takarakuji/loto/miniloto/index.html");
  const std::size_t sample = page.find("SAMPLE DATA");
  ASSERT_NE(sample, std::string::npos);
  EXPECT_LT(sample, page.find("第21回")) << "the notice stands before the made-up draw";
  EXPECT_EQ(page.find("SAMPLE DATA", page.find("第21回")), std::string::npos) << "the real draws carry none";
  EXPECT_NE(page.find("SAMPLE DATA", sample + 1), std::string::npos) << "one at the top, one at the draw";
  EXPECT_EQ(ReadResultText(Game::MiniLoto, page, 20).record, RecordText(store_[1].back()))
      << "the notices do not disturb the reader";
  EXPECT_NE(Text("/bank/takarakuji/loto/index2.html").find("SAMPLE DATA"), std::string::npos);
  EXPECT_EQ(Text("/bank/takarakuji/loto/loto6/index.html").find("SAMPLE DATA"), std::string::npos);
  EXPECT_EQ(FieldAt(Status(), 41, 4), "0020");
  // The history now ends with the store's newest real draw.
  const std::string history = RemoveLineBreaks(Text("/svc2/mini.txt"));
  EXPECT_EQ(history.substr(history.size() - 40), RecordText(store_[1].back()));
  Get("/control/publish?game=1&count=3");
  EXPECT_EQ(FieldAt(Status(), 45, 4), "0032");
  EXPECT_EQ(store_[0].size(), 30u) << "the store is never changed";
}

TEST_F(TestModeTest, MadeUpDrawsFollowTheSchedulesOfTheirGames) {
  Get("/control/publish?game=num4&count=3");
  const std::string page = Text("/bank/takarakuji/numbers/numbers4/index.html");
  EXPECT_NE(page.find("第43回"), std::string::npos);
  const std::string last = store_[2].back().date;
  EXPECT_EQ(NextDrawDate(Game::Numbers4, "2026-08-21"), "2026-08-24") << "Friday, then Monday";
  EXPECT_EQ(NextDrawDate(Game::Loto6, "2026-03-16"), "2026-03-19") << "Monday, then Thursday";
  EXPECT_EQ(NextDrawDate(Game::MiniLoto, "2025-09-23"), "2025-09-30");
  EXPECT_FALSE(last.empty());
}

TEST_F(TestModeTest, StatusCanHoldTheHistoryBackAndAnnounceReleases) {
  Get("/control/status?lot6=10&norv=52&fennel=7&mark=X");
  const std::string status = Status();
  EXPECT_EQ(status[0], 'X');
  EXPECT_EQ(FieldAt(status, 45, 4), "0010");
  EXPECT_EQ(FieldAt(status, 17, 4), "0052");
  EXPECT_EQ(FieldAt(status, 97, 4), "0007");
  EXPECT_EQ(RemoveLineBreaks(Text("/svc1/lot6.txt")).size(), 10u * 56);
  Get("/control/status?lot6=auto&norv=51");
  EXPECT_EQ(FieldAt(Status(), 45, 4), "0029");
  EXPECT_EQ(FieldAt(Status(), 17, 4), "0051");
}

TEST_F(TestModeTest, DownloadListsNameAPageOfTheServiceUnlessTheSiteNamesOthers) {
  for (const DownloadProduct& product : kDownloadProducts) {
    for (const char* folder : {"/dlf1/", "/dlf2/"}) {
      const std::string address = RemoveLineBreaks(Text(folder + std::string(product.fileName)));
      EXPECT_EQ(address, "http://127.0.0.1:40123/download/" + std::string(product.name) + ".html");
      EXPECT_EQ(Get(address.substr(22)).status, 200);
    }
  }
}

TEST_F(TestModeTest, ARequestThroughAProxyGetsTheSameAnswer) {
  EXPECT_EQ(Text("http://127.0.0.1:1/test/lines"), "12\r\n34\r\n");
  EXPECT_EQ(Text("/control/log"), "http://127.0.0.1:1/test/lines\tnorv\n");
}

TEST_F(TestModeTest, BankPagesLiveOnlyBelowTheBankRoot) {
  EXPECT_EQ(Get("/bank/takarakuji/numbers/index2.html").status, 200);
  EXPECT_EQ(Get("/takarakuji/numbers/numbers3/index.html").status, 404);
  EXPECT_EQ(Get("/nothing/here").status, 404);
}

TEST_F(TestModeTest, FaultsChangeOnlyTheirPath) {
  Get("/control/fault?path=/svc1/status.txt&kind=404");
  EXPECT_EQ(Get("/svc1/status.txt").status, 404);
  EXPECT_EQ(Get("/svc2/status.txt").status, 200);
  Get("/control/fault?path=/svc1/status.txt&kind=none");
  EXPECT_EQ(Get("/svc1/status.txt").status, 200);
}

TEST_F(TestModeTest, ALetterFaultSpoilsTheMarkOfOneStatusCopy) {
  const std::string whole = Text("/svc1/status.txt");
  Get("/control/fault?path=/svc1/status.txt&kind=letter");
  EXPECT_EQ(Text("/svc1/status.txt"), "C" + whole.substr(1));
  EXPECT_EQ(Text("/svc2/status.txt"), whole);
}

TEST_F(TestModeTest, EachFaultKindShapesTheReply) {
  const std::string lot6 = "/bank/takarakuji/loto/loto6/index.html";
  const std::string whole = Text(lot6);
  Get("/control/fault?path=" + lot6 + "&kind=empty");
  EXPECT_EQ(Text(lot6), "");
  Get("/control/fault?path=" + lot6 + "&kind=truncated");
  EXPECT_EQ(Text(lot6), whole.substr(0, whole.size() / 2));
  Get("/control/fault?path=" + lot6 + "&kind=lowercase");
  const std::string lower = Text(lot6);
  EXPECT_NE(lower.find("\"><strong>("), std::string::npos);
  EXPECT_EQ(UpperAscii(lower), UpperAscii(whole));
  Get("/control/fault?path=" + lot6 + "&kind=broken");
  EXPECT_TRUE(Get(lot6).broken);
  Get("/control/fault?path=" + lot6 + "&kind=hang");
  EXPECT_EQ(Get(lot6).status, 503);
  EXPECT_GE(Get(lot6).hold, std::chrono::seconds(60));
  Get("/control/fault?path=" + lot6 + "&kind=slow&ms=1500");
  EXPECT_EQ(Get(lot6).hold, std::chrono::milliseconds(1500));
  EXPECT_EQ(Text(lot6), whole);
  EXPECT_EQ(releases_, 6) << "every change of the faults lets held replies go";
}

// The bad replies the Windows catalogue sends, as the program's readers see them.
TEST_F(TestModeTest, CatalogueFaultsSpoilExactlyWhatTheyName) {
  const std::string lot6 = "/bank/takarakuji/loto/loto6/index.html";
  const std::string page = Text(lot6);
  ASSERT_FALSE(ReadResultText(Game::Loto6, page, 30).record.empty());
  Get("/control/fault?path=" + lot6 + "&kind=emptycells");
  const std::string emptied = Text(lot6);
  EXPECT_TRUE(ReadResultText(Game::Loto6, emptied, 30).record.empty()) << "the newest draw has no numbers";
  EXPECT_EQ(ReadResultText(Game::Loto6, emptied, 29).record, ReadResultText(Game::Loto6, page, 29).record)
      << "the draws below it keep theirs";
  Get("/control/fault?path=" + lot6 + "&kind=huge");
  EXPECT_EQ(Text(lot6).size(), std::size_t{20} * 1024 * 1024);
  EXPECT_TRUE(Text(lot6).starts_with(page));

  Get("/control/fault?path=/dir1/dir.cgi&kind=oneshort");
  EXPECT_EQ(ExtractBetween(RemoveLineBreaks(Text("/dir1/dir.cgi?SFT=0")), 1, "<BODY>", "</BODY>", false, false).size(),
            1399u);

  const std::string history = Text("/svc1/num3.txt");
  Get("/control/fault?path=/svc1/num3.txt&kind=zerobyte");
  const std::string zeroed = Text("/svc1/num3.txt");
  EXPECT_EQ(zeroed.size(), history.size());
  EXPECT_EQ(zeroed[history.size() / 2], '\0');

  Get("/control/fault?path=/svc1/status.txt&kind=nines");
  for (int position : {33, 37, 41, 45}) EXPECT_EQ(FieldAt(Status(), position, 4), "9999");
  EXPECT_EQ(FieldAt(Status(), 17, 4), FieldAt(RemoveLineBreaks(Text("/svc2/status.txt")), 17, 4))
      << "the releases stay as they were";
}

TEST_F(TestModeTest, WrongSchemeMakesTheDirectoryBodyStartDifferently) {
  Get("/control/fault?path=/dir1/dir.cgi&kind=wrongscheme");
  const std::string body =
      ExtractBetween(RemoveLineBreaks(Text("/dir1/dir.cgi?SFT=0")), 1, "<BODY>", "</BODY>", false, false);
  EXPECT_EQ(body.substr(0, 8), "https://");
}

TEST_F(TestModeTest, UnknownFaultsAndGamesAreRefused) {
  EXPECT_EQ(Get("/control/fault?path=/svc1/status.txt&kind=melt").status, 400);
  EXPECT_EQ(Get("/control/fault?kind=404").status, 400);
  EXPECT_EQ(Get("/control/publish?game=7").status, 400);
  EXPECT_EQ(Get("/control/nothing").status, 404);
}

TEST_F(TestModeTest, ACountBeyondTheLastDrawNumberStopsAtIt) {
  EXPECT_EQ(Text("/control/publish?game=num3&count=2147483647"), "published=9999 history=9998\n");
  EXPECT_EQ(Text("/control/publish?game=num3&count=2147483647"), "published=9999 history=9998\n")
      << "a full history takes no more, and the count does not overflow on top of it";
}

TEST_F(TestModeTest, ResetRestoresTheStoresState) {
  Get("/control/publish?game=1");
  Get("/control/status?norv=60&num3=3");
  Get("/control/fault?path=/svc1/status.txt&kind=empty");
  EXPECT_EQ(Text("/control/reset"), "ok\n");
  EXPECT_EQ(FieldAt(Status(), 45, 4), "0029");
  EXPECT_EQ(FieldAt(Status(), 33, 4), "0049");
  EXPECT_EQ(FieldAt(Status(), 17, 4), "0051");
  EXPECT_EQ(Text("/bank/takarakuji/loto/loto6/index.html").find("第31回"), std::string::npos);
}

TEST_F(TestModeTest, TheStateNamesPublishedAndHistoryCounts) {
  Get("/control/publish?game=num3&count=2");
  const std::string state = Text("/control/state");
  EXPECT_NE(state.find("origin http://127.0.0.1:40123\n"), std::string::npos);
  EXPECT_NE(state.find("LOTO6 published 30 history 29 sample 0\n"), std::string::npos) << state;
  EXPECT_NE(state.find("Numbers3 published 52 history 51 sample 2\n"), std::string::npos) << state;
}

TEST_F(TestModeTest, TheRequestLogNamesEachAgent) {
  Get("/svc1/status.txt", "norv");
  Get("/svc2/lot6.txt", "norv_win_tests");
  EXPECT_EQ(Text("/control/log"), "/svc1/status.txt\tnorv\n/svc2/lot6.txt\tnorv_win_tests\n");
  EXPECT_EQ(Body(Get("/test/agent", "Norv")), "Norv");
  EXPECT_EQ(Text("/control/log?clear=1"), "/svc1/status.txt\tnorv\n/svc2/lot6.txt\tnorv_win_tests\n/test/agent\tNorv\n");
  EXPECT_EQ(Text("/control/log"), "") << "control requests are not logged";
}

TEST_F(TestModeTest, FetchTestEndpointsServeWhatTheFetchTestsNeed) {
  EXPECT_EQ(Get("/test/big?mib=2&bytes=5").fillerBytes, 2u * 1024 * 1024 + 5);
  EXPECT_EQ(Get("/test/hang").status, 503);
  EXPECT_GT(Get("/test/hang").hold.count(), 0);
  const std::string text = SplitUtf8TestText();
  EXPECT_TRUE(IsValidUtf8(text));
  int split = 0;
  for (std::size_t boundary = 1024; boundary < text.size(); boundary += 1024) {
    split += IsValidUtf8(text.substr(0, boundary)) ? 0 : 1;
  }
  EXPECT_FALSE(IsValidUtf8(text.substr(0, 1024)));
  EXPECT_GE(split, 4);
}

}  // namespace
}  // namespace norv::service
