// The built-in server over real loopback connections.

#include "tests/test_service/http_server.h"

#include <netinet/in.h>
#include <netinet/tcp.h>

#include <gtest/gtest.h>

#include <chrono>
#include <memory>
#include <thread>
#include <vector>

#include "tests/test_service/memory_file.h"
#include "tests/service/http_client.h"

namespace norv::service::http {
namespace {

using namespace std::chrono_literals;
using testing::Connection;

// Echoes what it was asked, or what the path asks of it.
Reply Echo(const Request& request) {
  if (request.path == "/nodelay") {
    int on = 0;
    socklen_t length = sizeof on;
    ::getsockopt(request.socket, IPPROTO_TCP, TCP_NODELAY, &on, &length);
    return TextReply(200, on ? "nodelay" : "nagle");
  }
  if (request.path == "/held") {
    Reply reply = TextReply(200, "let go");
    reply.hold = 30s;
    return reply;
  }
  if (request.path == "/broken") {
    Reply reply = TextReply(200, std::string(1000, 'b'));
    reply.broken = true;
    return reply;
  }
  if (request.path == "/big") {
    Reply reply;
    reply.fillerBytes = 3 * 1024 * 1024 + 3;
    return reply;
  }
  if (request.path == "/file" || request.path == "/brokenfile") {
    std::string text;
    for (int i = 0; text.size() < 100'000; ++i) text += std::to_string(i) + ",";
    Reply reply = TextReply(200, text);
    reply.bodyFile = MemoryFile::Holding(text);
    reply.broken = request.path == "/brokenfile";
    return reply;
  }
  if (request.path == "/missing") return TextReply(404, "no\n");
  return TextReply(200, request.path + "|" + request.query + "|" + request.userAgent);
}

class ServerTest : public ::testing::Test {
 protected:
  void Start(int threads = 2) {
    ServerOptions options;
    options.threads = threads;
    server_ = std::make_unique<Server>(Echo, options);
    server_->Start();
  }
  void SetUp() override { Start(); }
  int Port() const { return server_->Port(); }

  std::unique_ptr<Server> server_;
};

TEST_F(ServerTest, OneConnectionCarriesRequestAfterRequest) {
  Connection connection(Port());
  ASSERT_TRUE(connection.Connected());
  for (const char* path : {"/svc1/status.txt", "/bank/index.html", "/svc1/status.txt"}) {
    const auto reply = connection.Get(path, "User-Agent: norv\r\n");
    ASSERT_TRUE(reply);
    EXPECT_EQ(reply->status, 200);
    EXPECT_EQ(reply->body, std::string(path) + "||norv");
    EXPECT_EQ(reply->head.find("Connection: close"), std::string::npos);
  }
}

TEST_F(ServerTest, EveryAcceptedSocketSendsWithoutWaitingForAcknowledgements) {
  for (int i = 0; i < 6; ++i) {  // over both loops
    Connection connection(Port());
    const auto reply = connection.Get("/nodelay");
    ASSERT_TRUE(reply);
    EXPECT_EQ(reply->body, "nodelay");
  }
}

TEST_F(ServerTest, PipelinedRequestsAreAnsweredInOrder) {
  Connection connection(Port());
  connection.Send("GET /one HTTP/1.1\r\n\r\nGET /two?x=1 HTTP/1.1\r\n\r\nHEAD /three HTTP/1.1\r\n\r\nGET /four HTTP/1.1\r\n\r\n");
  EXPECT_EQ(connection.Receive()->body, "/one||");
  EXPECT_EQ(connection.Receive()->body, "/two|x=1|");
  const auto head = connection.Receive(true);
  ASSERT_TRUE(head);
  EXPECT_NE(head->head.find("Content-Length: 8\r\n"), std::string::npos) << "the length a GET would have";
  EXPECT_EQ(connection.Receive()->body, "/four||");
}

TEST_F(ServerTest, AClosingRequestOrAnHttp10OneEndsTheConnectionAfterItsReply) {
  {
    Connection connection(Port());
    const auto reply = connection.Get("/a", "Connection: close\r\n");
    ASSERT_TRUE(reply);
    EXPECT_NE(reply->head.find("Connection: close\r\n"), std::string::npos);
    EXPECT_TRUE(connection.ClosedByServer());
  }
  {
    Connection connection(Port());
    connection.Send("GET /a HTTP/1.0\r\n\r\n");
    ASSERT_TRUE(connection.Receive());
    EXPECT_TRUE(connection.ClosedByServer());
  }
  {
    Connection connection(Port());
    connection.Send("GET /a HTTP/1.0\r\nConnection: keep-alive\r\n\r\nGET /b HTTP/1.0\r\n\r\n");
    const auto first = connection.Receive();
    ASSERT_TRUE(first);
    EXPECT_NE(first->head.find("Connection: keep-alive\r\n"), std::string::npos);
    EXPECT_EQ(connection.Receive()->body, "/b||");
  }
}

TEST_F(ServerTest, AProxyFormRequestIsAnsweredForItsPathAndEscapesAreDecoded) {
  Connection connection(Port());
  connection.Send("GET http://127.0.0.1:1/test/lines?a=%2F HTTP/1.1\r\n\r\n");
  EXPECT_EQ(connection.Receive()->body, "/test/lines|a=%2F|");
  EXPECT_EQ(connection.Get("/a%20b")->body, "/a b||");
}

TEST_F(ServerTest, MalformedRequestsAreRefusedAndTheConnectionCloses) {
  for (const std::string request : {"GARBAGE\r\n\r\n", "GET nopath HTTP/1.1\r\n\r\n", "GET /a HTTP/2\r\n\r\n",
                                    "GET /%00 HTTP/1.1\r\n\r\n", "GET /a HTTP/1.1\r\nno colon\r\n\r\n"}) {
    Connection connection(Port());
    connection.Send(request);
    const auto reply = connection.Receive();
    ASSERT_TRUE(reply) << request;
    EXPECT_EQ(reply->status, 400) << request;
    EXPECT_TRUE(connection.ClosedByServer()) << request;
  }
  Connection connection(Port());
  connection.Send("GET /" + std::string(kMaxHeaderBytes + 10, 'x'));
  EXPECT_EQ(connection.Receive()->status, 431);
}

TEST_F(ServerTest, OtherMethodsAreRefusedButTheConnectionGoesOn) {
  Connection connection(Port());
  connection.Send("POST /a HTTP/1.1\r\nContent-Length: 5\r\n\r\nhello");
  const auto refused = connection.Receive();
  ASSERT_TRUE(refused);
  EXPECT_EQ(refused->status, 405);
  EXPECT_NE(refused->head.find("Allow: GET, HEAD\r\n"), std::string::npos);
  EXPECT_EQ(connection.Get("/after")->body, "/after||") << "the request body was skipped";
}

TEST_F(ServerTest, AHeldReplyWaitsForTheReleaseWithoutHoldingUpOthers) {
  Connection held(Port());
  held.Send("GET /held HTTP/1.1\r\n\r\n");
  std::this_thread::sleep_for(100ms);
  for (int i = 0; i < 4; ++i) {
    Connection other(Port());
    EXPECT_EQ(other.Get("/other")->body, "/other||");
  }
  const auto start = std::chrono::steady_clock::now();
  server_->ReleaseHolds();
  const auto reply = held.Receive();
  ASSERT_TRUE(reply);
  EXPECT_EQ(reply->body, "let go");
  EXPECT_LT(std::chrono::steady_clock::now() - start, 2s);
}

TEST_F(ServerTest, ABrokenReplyClosesShortOfTheLengthItAnnounced) {
  Connection connection(Port());
  connection.Send("GET /broken HTTP/1.1\r\n\r\n");
  const auto reply = connection.Receive();
  ASSERT_TRUE(reply);
  EXPECT_NE(reply->head.find("Content-Length: 1000\r\n"), std::string::npos);
  EXPECT_EQ(reply->body.size(), 500u);
}

TEST_F(ServerTest, ALargeBodyArrivesWholeAndTheConnectionStaysUsable) {
  Connection connection(Port());
  const auto big = connection.Get("/big");
  ASSERT_TRUE(big);
  EXPECT_EQ(big->body.size(), 3u * 1024 * 1024 + 3);
  EXPECT_EQ(big->body.find_first_not_of('a'), std::string::npos);
  EXPECT_EQ(connection.Get("/after")->body, "/after||");
}

TEST_F(ServerTest, ABodyInAMemoryFileArrivesAsItsBytes) {
  Connection connection(Port());
  const auto whole = connection.Get("/file");
  ASSERT_TRUE(whole);
  EXPECT_EQ(whole->body, *Echo(Request{.path = "/file"}).body);
  connection.Send("HEAD /file HTTP/1.1\r\n\r\n");
  const auto head = connection.Receive(true);
  ASSERT_TRUE(head);
  EXPECT_NE(head->head.find("Content-Length: " + std::to_string(whole->body.size()) + "\r\n"), std::string::npos);
  EXPECT_EQ(connection.Get("/after")->body, "/after||") << "nothing of the file followed the head";

  Connection broken(Port());
  broken.Send("GET /brokenfile HTTP/1.1\r\n\r\n");
  const auto half = broken.Receive();
  ASSERT_TRUE(half);
  EXPECT_EQ(half->body, whole->body.substr(0, whole->body.size() / 2));
}

TEST_F(ServerTest, HundredsOfKeptAliveConnectionsAreServedTogether) {
  std::vector<std::unique_ptr<Connection>> connections;
  for (int i = 0; i < 300; ++i) connections.push_back(std::make_unique<Connection>(Port()));
  for (int round = 0; round < 2; ++round) {
    for (auto& c : connections) c->Send("GET /r HTTP/1.1\r\n\r\n");
    int answered = 0;
    for (auto& c : connections) answered += c->Receive() ? 1 : 0;
    EXPECT_EQ(answered, 300) << "round " << round;
  }
}

TEST_F(ServerTest, StopEndsPromptlyWithConnectionsOpenAndHeld) {
  Connection idle(Port());
  ASSERT_TRUE(idle.Get("/a"));
  Connection held(Port());
  held.Send("GET /held HTTP/1.1\r\n\r\n");
  std::this_thread::sleep_for(50ms);
  const auto start = std::chrono::steady_clock::now();
  server_->Stop();
  EXPECT_LT(std::chrono::steady_clock::now() - start, 2s);
  EXPECT_TRUE(idle.ClosedByServer());
}

TEST(ServerOptions, ATakenPortOrAnAddressThatIsNoneIsRefused) {
  ServerOptions options;
  Server first(Echo, options);
  options.port = first.Port();
  EXPECT_THROW(Server(Echo, options), ServerError);
  options.port = 0;
  options.bindAddress = "localhost";
  EXPECT_THROW(Server(Echo, options), ServerError);
}

TEST(ParseRequest, ARequestIsCompleteOnlyWithItsHeadersAndAnnouncedBody) {
  EXPECT_EQ(ParseRequest("GET /a HTTP/1.1\r\nHost: x\r\n").status, ParseStatus::Incomplete);
  EXPECT_EQ(ParseRequest("GET /a HTTP/1.1\r\nContent-Length: 4\r\n\r\nab").status, ParseStatus::Incomplete);
  const ParseResult whole = ParseRequest("GET /a HTTP/1.1\r\nContent-Length: 4\r\n\r\nabcdGET /b");
  EXPECT_EQ(whole.status, ParseStatus::Complete);
  EXPECT_EQ(whole.consumed, 42u);
  EXPECT_EQ(ParseRequest("GET /a HTTP/1.1\r\nTransfer-Encoding: chunked\r\n\r\n").errorStatus, 501);
  EXPECT_EQ(ParseRequest("GET /a HTTP/1.1\r\nContent-Length: 99999999\r\n\r\n").errorStatus, 413);
  const ParseResult agent = ParseRequest("\r\nGET /a HTTP/1.1\r\nuser-agent:  norv \r\nCONNECTION: Close\r\n\r\n");
  EXPECT_EQ(agent.request.userAgent, "norv");
  EXPECT_FALSE(agent.request.keepAlive);
}

TEST(ParseRequest, HeadsThatAnotherServerWouldReadOtherwiseAreRefused) {
  for (const char* head : {"GET /a HTTP/1.1\r\nContent-Length: 0\r\nContent-Length: 5\r\n\r\n",
                           "GET /a HTTP/1.1\r\nContent-Length : 0\r\n\r\n",
                           "GET /a HTTP/1.1\r\nX-Note: one\r\n two\r\n\r\n",
                           "GET /a HTTP/1.1\r\nHost: x\nContent-Length: 0\r\n\r\n",
                           "GET /a HTTP/1.1\r\n: empty name\r\n\r\n"}) {
    const ParseResult result = ParseRequest(head);
    EXPECT_EQ(result.status, ParseStatus::Bad) << head;
    EXPECT_EQ(result.errorStatus, 400) << head;
  }
  EXPECT_EQ(ParseRequest("GET /a HTTP/1.1\r\nContent-Length: 2\r\nContent-Length: 2\r\n\r\nab").status,
            ParseStatus::Complete)
      << "the same length twice says one thing";
}

}  // namespace
}  // namespace norv::service::http
