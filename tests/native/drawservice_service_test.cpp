#include "tools/drawservice/service.h"

#include <gtest/gtest.h>

#include "acquisition/text_fields.h"
#include "acquisition/utf8.h"

namespace norv::drawservice {
namespace {

class DrawServiceTest : public ::testing::Test {
 protected:
  DrawServiceTest() : service_(Options()) { service_.SetOrigin("http://127.0.0.1:40123"); }

  static ServiceOptions Options() {
    ServiceOptions options;
    options.published = {30, 20, 40, 50};
    return options;
  }

  Reply Get(const std::string& target, const std::string& agent = "norv") {
    Request request;
    request.target = target;
    request.agent = agent;
    const std::size_t question = target.find('?');
    request.path = target.substr(0, question);
    if (question != std::string::npos) {
      std::string query = target.substr(question + 1);
      while (!query.empty()) {
        const std::size_t amp = query.find('&');
        const std::string pair = query.substr(0, amp);
        const std::size_t eq = pair.find('=');
        request.query[pair.substr(0, eq)] = eq == std::string::npos ? "" : pair.substr(eq + 1);
        query = amp == std::string::npos ? "" : query.substr(amp + 1);
      }
    }
    return service_.Handle(request);
  }

  std::string Status() { return RemoveLineBreaks(Get("/svc1/status.txt").body); }

  DrawService service_;
};

TEST_F(DrawServiceTest, HistoriesStayOneDrawBehindTheResultPages) {
  EXPECT_EQ(RemoveLineBreaks(Get("/svc1/lot6.txt").body).size(), 29u * 56);
  EXPECT_EQ(RemoveLineBreaks(Get("/svc2/num3.txt").body).size(), 49u * 35);
  EXPECT_EQ(FieldAt(Status(), 45, 4), "0029");
  EXPECT_EQ(FieldAt(Status(), 33, 4), "0049");
  const std::string page = Get("/bank/takarakuji/loto/loto6/index.html").body;
  EXPECT_NE(page.find("第30回"), std::string::npos);
  EXPECT_EQ(page.find("第31回"), std::string::npos);
}

TEST_F(DrawServiceTest, PublishingMovesPagesHistoryAndStatusOn) {
  EXPECT_EQ(Get("/control/publish?game=mini").status, 200);
  EXPECT_NE(Get("/bank/takarakuji/loto/miniloto/index.html").body.find("第21回"), std::string::npos);
  EXPECT_EQ(FieldAt(Status(), 41, 4), "0020");
  EXPECT_EQ(RemoveLineBreaks(Get("/svc1/mini.txt").body).size(), 20u * 40);
  Get("/control/publish?game=1&count=3");
  EXPECT_EQ(FieldAt(Status(), 45, 4), "0032");
}

TEST_F(DrawServiceTest, StatusCanHoldTheHistoryBackAndAnnounceReleases) {
  Get("/control/status?lot6=10&norv=52&fennel=7&mark=X");
  const std::string status = Status();
  EXPECT_EQ(status[0], 'X');
  EXPECT_EQ(FieldAt(status, 45, 4), "0010");
  EXPECT_EQ(FieldAt(status, 17, 4), "0052");
  EXPECT_EQ(FieldAt(status, 97, 4), "0007");
  EXPECT_EQ(RemoveLineBreaks(Get("/svc1/lot6.txt").body).size(), 10u * 56);
  Get("/control/status?lot6=auto");
  EXPECT_EQ(FieldAt(Status(), 45, 4), "0029");
}

TEST_F(DrawServiceTest, DefaultReleasesRaiseNoNotice) {
  const std::string status = Status();
  EXPECT_EQ(status[0], '1');
  EXPECT_EQ(FieldAt(status, 17, 4), "0051");
  for (int position : {5, 9, 13, 25, 97}) {
    EXPECT_EQ(FieldAt(status, position, 4), "0000") << position;
  }
}

TEST_F(DrawServiceTest, DirectoryAnswersOnlyItsQuery) {
  const Reply reply = Get("/dir2/dir.cgi?SFT=0");
  EXPECT_EQ(reply.status, 200);
  EXPECT_EQ(ExtractBetween(RemoveLineBreaks(reply.body), 1, "<BODY>", "</BODY>", false, false).size(), 1400u);
  EXPECT_EQ(Get("/dir1/dir.cgi").status, 400);
}

TEST_F(DrawServiceTest, DownloadListsNameAPageOfTheService) {
  for (std::string_view name : ServicePaths::kDownloadLists) {
    for (std::string_view folder : ServicePaths::kDownloadFolder) {
      const Reply reply = Get(std::string(folder) + "/" + std::string(name));
      ASSERT_EQ(reply.status, 200) << name;
      const std::string address = RemoveLineBreaks(reply.body);
      EXPECT_TRUE(address.starts_with("http://127.0.0.1:40123/download/")) << address;
      EXPECT_EQ(Get(address.substr(22)).status, 200);
    }
  }
}

TEST_F(DrawServiceTest, ARequestThroughAProxyGetsTheSameAnswer) {
  EXPECT_EQ(Get("http://127.0.0.1:1/test/lines").body, "12\r\n34\r\n");
  EXPECT_EQ(Get("/control/log").body, "http://127.0.0.1:1/test/lines\tnorv\n");
}

TEST_F(DrawServiceTest, BankPagesLiveOnlyBelowTheBankRoot) {
  EXPECT_EQ(Get("/bank/takarakuji/numbers/index2.html").status, 200);
  EXPECT_EQ(Get("/takarakuji/numbers/numbers3/index.html").status, 404);
  EXPECT_EQ(Get("/nothing/here").status, 404);
}

TEST_F(DrawServiceTest, FaultsChangeOnlyTheirPath) {
  Get("/control/fault?path=/svc1/status.txt&kind=404");
  EXPECT_EQ(Get("/svc1/status.txt").status, 404);
  EXPECT_EQ(Get("/svc2/status.txt").status, 200);
  Get("/control/fault?path=/svc1/status.txt&kind=none");
  EXPECT_EQ(Get("/svc1/status.txt").status, 200);
}

TEST_F(DrawServiceTest, EachFaultKindShapesTheReply) {
  const std::string lot6 = "/bank/takarakuji/loto/loto6/index.html";
  const std::string whole = Get(lot6).body;
  Get("/control/fault?path=" + lot6 + "&kind=empty");
  EXPECT_EQ(Get(lot6).body, "");
  Get("/control/fault?path=" + lot6 + "&kind=truncated");
  EXPECT_EQ(Get(lot6).body, whole.substr(0, whole.size() / 2));
  Get("/control/fault?path=" + lot6 + "&kind=lowercase");
  const std::string lower = Get(lot6).body;
  EXPECT_NE(lower.find("\"><strong>(") , std::string::npos);
  EXPECT_EQ(lower.find("SAMPLE"), std::string::npos);
  EXPECT_EQ(UpperAscii(lower), UpperAscii(whole));
  Get("/control/fault?path=" + lot6 + "&kind=broken");
  EXPECT_EQ(Get(lot6).delivery, Reply::Delivery::Broken);
  Get("/control/fault?path=" + lot6 + "&kind=hang");
  EXPECT_EQ(Get(lot6).delivery, Reply::Delivery::Hang);
  Get("/control/fault?path=" + lot6 + "&kind=slow&ms=1500");
  EXPECT_EQ(Get(lot6).delay, std::chrono::milliseconds(1500));
  EXPECT_EQ(Get(lot6).body, whole);
}

TEST_F(DrawServiceTest, WrongSchemeMakesTheDirectoryBodyStartDifferently) {
  Get("/control/fault?path=/dir1/dir.cgi&kind=wrongscheme");
  const std::string body = ExtractBetween(RemoveLineBreaks(Get("/dir1/dir.cgi?SFT=0").body), 1, "<BODY>", "</BODY>",
                                          false, false);
  EXPECT_NE(body.substr(0, 7), "http://");
  EXPECT_EQ(body.substr(0, 8), "https://");
}

TEST_F(DrawServiceTest, UnknownFaultsAndGamesAreRefused) {
  EXPECT_EQ(Get("/control/fault?path=/svc1/status.txt&kind=melt").status, 400);
  EXPECT_EQ(Get("/control/fault?kind=404").status, 400);
  EXPECT_EQ(Get("/control/publish?game=7").status, 400);
}

TEST_F(DrawServiceTest, ResetRestoresTheStartingState) {
  Get("/control/publish?game=1");
  Get("/control/status?norv=60");
  Get("/control/fault?path=/svc1/status.txt&kind=empty");
  Get("/control/reset");
  EXPECT_EQ(FieldAt(Status(), 45, 4), "0029");
  EXPECT_EQ(FieldAt(Status(), 17, 4), "0051");
}

TEST_F(DrawServiceTest, TheRequestLogNamesEachAgent) {
  Get("/svc1/status.txt", "norv");
  Get("/svc2/lot6.txt", "norv_win_tests");
  EXPECT_EQ(Get("/control/log").body, "/svc1/status.txt\tnorv\n/svc2/lot6.txt\tnorv_win_tests\n");
  EXPECT_EQ(Get("/test/agent", "Norv").body, "Norv");
}

TEST_F(DrawServiceTest, HoldEndsEarlyWhenTheFaultsChange) {
  std::thread release([this] {
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    Get("/control/fault?path=/x&kind=none");
  });
  const auto start = std::chrono::steady_clock::now();
  service_.Hold(std::chrono::seconds(20));
  release.join();
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(10));
}

TEST(SplitUtf8TestText, StraddlesTheReadBoundaries) {
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
}  // namespace norv::drawservice
