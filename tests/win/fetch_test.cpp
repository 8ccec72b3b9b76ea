#include "acquisition/fetch_win.h"

#include <gtest/gtest.h>

#include <chrono>
#include <fstream>
#include <future>
#include <thread>

#include "acquisition/environment.h"
#include "tests/win/local_services.h"

namespace norv {
namespace {

using namespace std::chrono_literals;

InternetAccess Direct() { return AccessFromSettings(false, false, "", ""); }

class FetchTest : public ::testing::Test {
 protected:
  void SetUp() override {
    port_ = testing::LocalServicePort("service.port");
    ASSERT_NE(port_, 0) << "the test service is not running (see tools/service-ctl)";
    ASSERT_EQ(Fetch("/control/reset"), "ok");
  }

  std::string Url(std::string_view path) const { return "http://127.0.0.1:" + std::to_string(port_) + std::string(path); }

  std::string Fetch(std::string_view path, bool fromUtf8 = false, InternetAccess access = Direct()) {
    WinInetFetcher fetcher(std::move(access));
    std::stop_source never;
    return fetcher.FetchUrlText(Url(path), fromUtf8, never.get_token());
  }

  void Fault(std::string_view path, std::string_view kind) {
    ASSERT_EQ(Fetch("/control/fault?path=" + std::string(path) + "&kind=" + std::string(kind)), "ok");
  }

  int port_ = 0;
};

TEST_F(FetchTest, TwoLinesEndingInCrLfArriveAsOneLine) {
  EXPECT_EQ(Fetch("/test/lines"), "1234");
}

TEST_F(FetchTest, AUtf8PageSplitAcrossReadsArrivesIntact) {
  std::string expected(1023, 'x');
  for (int i = 0; i < 300; ++i) {
    expected += "第2160回本数字";
  }
  EXPECT_EQ(Fetch("/test/utf8", true), expected);
}

TEST_F(FetchTest, AnErrorPageGivesTheServersText) {
  Fault("/test/lines", "404");
  EXPECT_EQ(Fetch("/test/lines"), "<html><body><h1>404 Not Found</h1></body></html>");
}

TEST_F(FetchTest, AnEmptyReplyGivesEmptyText) {
  Fault("/test/lines", "empty");
  EXPECT_EQ(Fetch("/test/lines"), "");
}

TEST_F(FetchTest, AReplyCutOffInTransitGivesEmptyText) {
  Fault("/bank/takarakuji/loto/loto6/index.html", "broken");
  EXPECT_EQ(Fetch("/bank/takarakuji/loto/loto6/index.html", true), "");
}

TEST_F(FetchTest, ASlowReplyStillArrivesWhole) {
  ASSERT_EQ(Fetch("/control/fault?path=/test/lines&kind=slow&ms=1000"), "ok");
  EXPECT_EQ(Fetch("/test/lines"), "1234");
}

TEST_F(FetchTest, TheAgentIsTheExecutablesName) {
  EXPECT_EQ(ExecutableAgentName(), "norv_win_tests");
  EXPECT_EQ(Fetch("/test/agent"), "norv_win_tests");
  Fetch("/svc1/status.txt");
  EXPECT_NE(Fetch("/control/log").find("/svc1/status.txt\tnorv_win_tests"), std::string::npos);
}

TEST_F(FetchTest, AGivenAgentIsSentAsItIs) {
  WinInetFetcher fetcher(Direct(), "norv");
  std::stop_source never;
  EXPECT_EQ(fetcher.FetchUrlText(Url("/test/agent"), false, never.get_token()), "norv");
}

TEST_F(FetchTest, APreconfiguredConnectionReachesTheService) {
  EXPECT_EQ(Fetch("/test/lines", false, AccessFromSettings(true, false, "", "")), "1234");
}

TEST_F(FetchTest, ANamedProxyIsUsedInsteadOfTheDirectRoute) {
  // Nothing listens on port 1: only through the proxy (the service itself)
  // can this address be answered.
  const std::string proxied = "http://127.0.0.1:1/test/lines";
  WinInetFetcher viaProxy(AccessFromSettings(false, true, "127.0.0.1", std::to_string(port_)));
  std::stop_source never;
  EXPECT_EQ(viaProxy.FetchUrlText(proxied, false, never.get_token()), "1234");
  EXPECT_NE(Fetch("/control/log").find(proxied), std::string::npos);
  WinInetFetcher direct(Direct());
  EXPECT_EQ(direct.FetchUrlText(proxied, false, never.get_token()), "");
}

TEST_F(FetchTest, AnUnreachableServerGivesEmptyText) {
  WinInetFetcher fetcher(Direct());
  std::stop_source never;
  EXPECT_EQ(fetcher.FetchUrlText("http://127.0.0.1:1/status.txt", false, never.get_token()), "");
}

TEST_F(FetchTest, AStopEndsAFetchFromASilentServerPromptly) {
  WinInetFetcher fetcher(Direct());
  std::stop_source stop;
  const auto start = std::chrono::steady_clock::now();
  auto fetch = std::async(std::launch::async, [&] { return fetcher.FetchUrlText(Url("/test/hang"), false, stop.get_token()); });
  std::this_thread::sleep_for(300ms);
  stop.request_stop();
  ASSERT_EQ(fetch.wait_for(3s), std::future_status::ready) << "the fetch waited for the network";
  EXPECT_EQ(fetch.get(), "");
  EXPECT_LT(std::chrono::steady_clock::now() - start, 2s);
}

TEST_F(FetchTest, AStopRequestedBeforehandFetchesNothing) {
  WinInetFetcher fetcher(Direct());
  std::stop_source stop;
  stop.request_stop();
  EXPECT_EQ(fetcher.FetchUrlText(Url("/test/lines"), false, stop.get_token()), "");
  EXPECT_EQ(Fetch("/control/log").find("/test/lines"), std::string::npos);
}

TEST_F(FetchTest, AServerThatStallsIsGivenUpAfterTheStallLimit) {
  WinInetFetcher fetcher(Direct(), "norv", 1s);
  std::stop_source never;
  const auto start = std::chrono::steady_clock::now();
  EXPECT_EQ(fetcher.FetchUrlText(Url("/test/hang"), false, never.get_token()), "");
  EXPECT_LT(std::chrono::steady_clock::now() - start, 4s);
}

TEST_F(FetchTest, AReplyOverSixteenMebibytesGivesEmptyText) {
  EXPECT_EQ(Fetch("/test/big?mib=16&bytes=1"), "");
}

}  // namespace
}  // namespace norv
