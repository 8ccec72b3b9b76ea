#include "acquisition/fetch_win.h"

#include <winsock2.h>

#include <gtest/gtest.h>

#include <chrono>
#include <fstream>
#include <future>
#include <string>
#include <thread>

#include "acquisition/environment.h"
#include "base/worker_threads.h"
#include "tests/win/local_services.h"
#include "tests/win/win_test_support.h"

namespace norv {
namespace {

using namespace std::chrono_literals;

InternetAccess Direct() { return AccessFromSettings(false, false, "", ""); }

// Answers one request with `chunks` chunks of one read's size (WinInet fills
// the caller's buffer before it returns), `gap` apart: a reply that keeps
// arriving, each chunk well inside the stall limit, while the whole reply
// takes longer than that limit.
class TricklingServer {
 public:
  TricklingServer(int chunks, std::chrono::milliseconds gap)
      : thread_([this, chunks, gap] { Serve(chunks, gap); }) {}
  std::string Url() const { return listener_.Origin() + "/trickle"; }
  static std::string Chunk() { return std::string(kFetchChunkBytes, 'x'); }

 private:
  void Serve(int chunks, std::chrono::milliseconds gap) {
    const SOCKET client = ::accept(static_cast<SOCKET>(listener_.Socket()), nullptr, nullptr);
    if (client == INVALID_SOCKET) return;
    std::string request;
    char buffer[512];
    int got = 0;
    while (request.find("\r\n\r\n") == std::string::npos &&
           (got = ::recv(client, buffer, static_cast<int>(sizeof buffer), 0)) > 0) {
      request.append(buffer, static_cast<std::size_t>(got));
    }
    const std::string head = "HTTP/1.1 200 OK\r\nContent-Length: " + std::to_string(chunks * kFetchChunkBytes) +
                             "\r\nConnection: close\r\n\r\n";
    ::send(client, head.data(), static_cast<int>(head.size()), 0);
    const std::string chunk = Chunk();
    for (int i = 0; i < chunks; ++i) {
      std::this_thread::sleep_for(gap);
      ::send(client, chunk.data(), static_cast<int>(chunk.size()), 0);
    }
    ::shutdown(client, SD_SEND);
    ::closesocket(client);
  }

  testing::SilentServer listener_;
  std::jthread thread_;
};

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

// The stall limit counts from the last byte, not from the start of the fetch.
TEST_F(FetchTest, AReplyThatKeepsArrivingOutlastsTheStallLimit) {
  TricklingServer server(5, 400ms);
  WinInetFetcher fetcher(Direct(), "norv", 1s);
  std::stop_source never;
  std::string whole;
  for (int i = 0; i < 5; ++i) whole += TricklingServer::Chunk();
  EXPECT_EQ(fetcher.FetchUrlText(server.Url(), false, never.get_token()), whole);
}

// Fetches one after another reuse the threads that make the WinInet calls:
// starting a thread costs milliseconds under Wine.
TEST_F(FetchTest, FetchesOneAfterAnotherStartNoThreadEach) {
  Fetch("/test/lines");
  const std::size_t before = AppWorkerThreads().Started();
  for (int i = 0; i < 20; ++i) ASSERT_EQ(Fetch("/test/lines"), "1234");
  EXPECT_LE(AppWorkerThreads().Started() - before, 3u);
}

TEST_F(FetchTest, AReplyOverSixteenMebibytesGivesEmptyText) {
  EXPECT_EQ(Fetch("/test/big?mib=16&bytes=1"), "");
}

}  // namespace
}  // namespace norv
