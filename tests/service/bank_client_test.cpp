#include "service/bank_client.h"

#include <gtest/gtest.h>

#include "tests/service/support/local_bank.h"

namespace norv::service {
namespace {

using testing::BankReply;
using testing::LocalBank;
using namespace std::chrono_literals;

FetchLimits QuickLimits() {
  FetchLimits limits;
  limits.interval = 0ms;
  limits.timeout = 2000ms;
  limits.maxBytes = 64 * 1024;
  return limits;
}

BankReply Whole(int status, std::string body, std::string location = "") {
  BankReply reply;
  reply.status = status;
  reply.body = std::move(body);
  reply.location = std::move(location);
  return reply;
}

std::string FailureOf(BankClient& client, std::string_view path) {
  try {
    client.Get(path);
  } catch (const FetchError& error) {
    return error.what();
  }
  return "(no failure)";
}

TEST(BankClient, AReplyComesBackWithItsStatusAndThePlainUserAgentWasSent) {
  LocalBank bank;
  bank.Set("/a", Whole(200, "body"));
  BankClient client(bank.base(), QuickLimits());
  const HttpReply reply = client.Get("/a");
  EXPECT_EQ(reply.status, 200);
  EXPECT_EQ(reply.body, "body");
  EXPECT_EQ(reply.url, bank.base() + "/a");
  EXPECT_EQ(client.Get("/missing").status, 404);
  EXPECT_EQ(bank.Requests().at(0).userAgent, "norv-service/5.1");
}

TEST(BankClient, RequestsStartNoCloserThanTheInterval) {
  LocalBank bank;
  FetchLimits limits = QuickLimits();
  limits.interval = 150ms;
  BankClient client(bank.base(), limits);
  const auto start = std::chrono::steady_clock::now();
  for (int i = 0; i < 3; ++i) client.Get("/x");
  // The third request starts two intervals after the first at the earliest.
  EXPECT_GE(std::chrono::steady_clock::now() - start, 300ms);
  EXPECT_EQ(bank.Requests().size(), 3u);
}

TEST(BankClient, AReplyOverTheCapIsRefusedWithOrWithoutALength) {
  LocalBank bank;
  bank.Set("/exact", Whole(200, std::string(64 * 1024, 'a')));
  bank.Set("/long", Whole(200, std::string(64 * 1024 + 1, 'a')));
  BankReply chunked;
  chunked.kind = BankReply::Kind::Chunked;
  chunked.chunkedBytes = 10 * 1024 * 1024;
  bank.Set("/chunked", chunked);
  BankClient client(bank.base(), QuickLimits());
  EXPECT_EQ(client.Get("/exact").body.size(), 64u * 1024);
  EXPECT_NE(FailureOf(client, "/long").find("larger than 65536 bytes"), std::string::npos);
  EXPECT_NE(FailureOf(client, "/chunked").find("larger than 65536 bytes"), std::string::npos);
}

TEST(BankClient, AServerThatNeverAnswersIsGivenUpAfterTheTimeOut) {
  LocalBank bank;
  BankReply hang;
  hang.kind = BankReply::Kind::Hang;
  bank.Set("/hang", hang);
  FetchLimits limits = QuickLimits();
  limits.timeout = 300ms;
  BankClient client(bank.base(), limits);
  const auto start = std::chrono::steady_clock::now();
  EXPECT_NE(FailureOf(client, "/hang").find("no whole reply from " + bank.base() + "/hang within 300 ms"),
            std::string::npos);
  EXPECT_LT(std::chrono::steady_clock::now() - start, 5s);
}

TEST(BankClient, ARedirectIsFollowedOnlyOnTheSameHost) {
  LocalBank bank;
  LocalBank elsewhere;
  bank.Set("/moved", Whole(301, "", "/here"));
  bank.Set("/here", Whole(200, "arrived"));
  bank.Set("/away", Whole(302, "", "http://bank.example/file"));
  bank.Set("/port", Whole(302, "", elsewhere.base() + "/file"));
  bank.Set("/loop", Whole(302, "", "/loop"));
  BankClient client(bank.base(), QuickLimits());
  EXPECT_EQ(client.Get("/moved").body, "arrived");
  EXPECT_NE(FailureOf(client, "/away").find("redirects to another host: \"http://bank.example/file\""),
            std::string::npos);
  EXPECT_NE(FailureOf(client, "/port").find("another host"), std::string::npos);
  EXPECT_NE(FailureOf(client, "/loop").find("redirects more than 3 times"), std::string::npos);
  EXPECT_TRUE(elsewhere.Requests().empty());
}

TEST(BankClient, ANetworkThatIsDownGivesAOneLineReason) {
  std::string base;
  {
    LocalBank closed;
    base = closed.base();
  }
  BankClient client(base, QuickLimits());
  const std::string reason = FailureOf(client, "/a");
  EXPECT_NE(reason.find("cannot fetch " + base + "/a"), std::string::npos) << reason;
  EXPECT_EQ(reason.find('\n'), std::string::npos);
}

TEST(BankClient, TheBanksAddressMustBeHttpAndAHost) {
  EXPECT_NO_THROW(BankClient("https://www.mizuhobank.co.jp/"));
  for (std::string_view bad : {"ftp://bank.example", "bank.example", "http://bank.example/retail", "http://"}) {
    EXPECT_THROW(BankClient client(bad), FetchError) << bad;
  }
}

}  // namespace
}  // namespace norv::service
