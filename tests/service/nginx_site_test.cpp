// The nginx configuration `serve` writes, on a published site: what Norvale
// and caches rely on (types, validators, 304, ranges) and what a hostile
// client must not get (two requests read from one, a trickled head kept open).

#include <gtest/gtest.h>

#include <chrono>
#include <memory>
#include <thread>
#include <vector>

#include "service/nginx_process.h"
#include "service/site_publisher.h"
#include "tests/service/http_client.h"
#include "tests/service/service_test_support.h"

namespace norv::service {
namespace {

using namespace std::chrono_literals;
using testing::Connection;
using testing::TempFolder;

constexpr int kHeaderSeconds = 1;  // short, so that the slow client's case is quick

class NginxSiteTest : public ::testing::Test {
 protected:
  void SetUp() override {
    const auto program = FindNginx("");
    ASSERT_TRUE(program) << "Debian's nginx is needed (tools/setup.sh installs it)";
    testing::MakeStore(folder_.File("store"), {40, 30, 60, 50});
    for (int attempt = 0; attempt < 5 && !nginx_; ++attempt) {
      port_ = FreePort("127.0.0.1");
      SitePublisher(folder_.File("store"), folder_.File("site"), Base(), {}).Publish();
      NginxSite site;
      site.listen = "127.0.0.1:" + std::to_string(port_);
      site.root = folder_.File("site");
      site.state = folder_.File("nginx");
      site.workers = 1;
      site.headerSeconds = kHeaderSeconds;
      site.asRoot = ::geteuid() == 0;
      try {
        nginx_ = std::make_unique<NginxProcess>(*program, site);
      } catch (const NginxError& error) {
        if (!error.AddressInUse()) FAIL() << error.what();
      }
    }
    ASSERT_TRUE(nginx_);
  }

  std::string Base() const { return "http://127.0.0.1:" + std::to_string(port_) + "/"; }

  // Every reply to `bytes` sent on one connection.
  std::string RepliesTo(const std::string& bytes) {
    Connection connection(port_);
    connection.Send(bytes);
    connection.FinishSending();
    return connection.ReceiveAll();
  }

  static std::string Header(const std::string& head, const std::string& name) {
    const std::size_t at = head.find("\r\n" + name + ": ");
    if (at == std::string::npos) return "";
    const std::size_t from = at + name.size() + 4;
    return head.substr(from, head.find("\r\n", from) - from);
  }

  TempFolder folder_;
  int port_ = 0;
  std::unique_ptr<NginxProcess> nginx_;
};

std::size_t Count(const std::string& text, const std::string& part) {
  std::size_t count = 0;
  for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++count;
  return count;
}

TEST_F(NginxSiteTest, TheSiteGoesOutWithItsTypesValidatorsConditionalAnswersAndRanges) {
  Connection connection(port_);
  const auto status = connection.Get("/svc1/status.txt");
  ASSERT_TRUE(status);
  EXPECT_EQ(status->status, 200);
  EXPECT_EQ(status->body, testing::ReadWhole(folder_.File("site") + "/svc1/status.txt"));
  EXPECT_EQ(Header(status->head, "Content-Type"), "text/plain; charset=utf-8");
  const std::string etag = Header(status->head, "ETag");
  const std::string modified = Header(status->head, "Last-Modified");
  EXPECT_FALSE(etag.empty());
  EXPECT_FALSE(modified.empty());

  const auto directory = connection.Get("/dir1/dir.cgi?SFT=0");
  ASSERT_TRUE(directory);
  EXPECT_EQ(Header(directory->head, "Content-Type"), "text/html; charset=utf-8");
  EXPECT_NE(directory->body.find("<BODY>" + Base()), std::string::npos) << "the query is ignored, as it should be";

  EXPECT_EQ(connection.Get("/svc1/status.txt", "If-None-Match: " + etag + "\r\n")->status, 304);
  EXPECT_EQ(connection.Get("/svc1/status.txt", "If-Modified-Since: " + modified + "\r\n")->status, 304);
  const auto part = connection.Get("/svc1/status.txt", "Range: bytes=1-4\r\n");
  ASSERT_TRUE(part);
  EXPECT_EQ(part->status, 206);
  EXPECT_EQ(part->body, status->body.substr(1, 4));
  EXPECT_EQ(connection.Get("/svc1/nothing.txt")->status, 404);
}

TEST_F(NginxSiteTest, AmbiguousRequestsAreRefused) {
  const std::string start = "GET /svc1/status.txt HTTP/1.1\r\nHost: x\r\n";
  const std::pair<const char*, std::string> cases[] = {
      {"two differing lengths", start + "Content-Length: 0\r\nContent-Length: 5\r\n\r\nhello"},
      {"a space before the colon", start + "Content-Length : 5\r\n\r\nhello"},
      {"a folded line", start + "X-Note: one\r\n two\r\n\r\n"},
  };
  for (const auto& [name, request] : cases) {
    const std::string replies = RepliesTo(request);
    EXPECT_TRUE(replies.starts_with("HTTP/1.1 400 ")) << name << ": " << replies.substr(0, 40);
    EXPECT_EQ(Count(replies, "HTTP/1.1 "), 1u) << name;
  }
}

TEST_F(NginxSiteTest, ABareLineFeedInTheHeadMakesOneRequestNotTwo) {
  const std::string hidden = "GET /svc2/lot6.txt HTTP/1.1\r\nHost: x\r\n\r\n";
  const std::string replies = RepliesTo("GET /svc1/status.txt HTTP/1.1\r\nHost: x\nContent-Length: " +
                                        std::to_string(hidden.size()) + "\r\n\r\n" + hidden);
  EXPECT_EQ(Count(replies, "HTTP/1.1 "), 1u) << replies.substr(0, 200);
  EXPECT_EQ(replies.find(testing::ReadWhole(folder_.File("site") + "/svc2/lot6.txt")), std::string::npos)
      << "the request hidden in the body was not answered";
}

TEST_F(NginxSiteTest, ATrickledHeadIsCutOffAndRealRequestsAreStillServed) {
  constexpr int kSlowClients = 50;
  std::vector<std::unique_ptr<Connection>> slow;
  for (int i = 0; i < kSlowClients; ++i) {
    slow.push_back(std::make_unique<Connection>(port_));
    slow.back()->Send("GET /svc1/status.txt HTTP/1.1\r\nHost: x\r\nX-Slow: ");
  }
  const auto start = std::chrono::steady_clock::now();
  int open = kSlowClients;
  int served = 0;
  // One byte a tenth of a second on each, as long as any is open; a real
  // request in between each round.
  while (open > 0 && std::chrono::steady_clock::now() - start < std::chrono::seconds(kHeaderSeconds + 4)) {
    open = 0;
    for (auto& connection : slow) {
      if (!connection || connection->ClosedNow()) {
        connection.reset();
        continue;
      }
      connection->Send("a");
      ++open;
    }
    const auto status = Connection(port_).Get("/svc1/status.txt");
    if (status && status->status == 200) ++served;
    std::this_thread::sleep_for(100ms);
  }
  const auto took = std::chrono::steady_clock::now() - start;
  EXPECT_EQ(open, 0) << "trickling clients still open after " << kHeaderSeconds + 4 << " s";
  EXPECT_GE(took, std::chrono::seconds(kHeaderSeconds)) << "they were open until the time ran out";
  EXPECT_LT(took, std::chrono::seconds(kHeaderSeconds + 2));
  EXPECT_GT(served, 0);
  const auto after = Connection(port_).Get("/svc1/status.txt");
  ASSERT_TRUE(after);
  EXPECT_EQ(after->status, 200);
}

}  // namespace
}  // namespace norv::service
