// `norv-service serve` (the site under nginx) and the test service as a
// script starts them: a separate process on a free loopback port, found
// through its port file.

#include <signal.h>
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>

#include <gtest/gtest.h>

#include <chrono>
#include <fstream>
#include <vector>
#include <thread>

#include "acquisition/status_file.h"
#include "base/utf8.h"
#include "tests/service/http_client.h"
#include "tests/service/service_test_support.h"

extern char** environ;

namespace norv::service {
namespace {

using namespace std::chrono_literals;
using testing::TempFolder;

class ServeProcess {
 public:
  ServeProcess(const TempFolder& folder, std::vector<std::string> extra, bool testService = false)
      : folder_(folder) {
    std::vector<std::string> args{NORVALE_SERVICE_BINARY, "serve"};
    if (testService) args = {NORVALE_TEST_SERVICE_BINARY};
    for (std::string arg : {folder.File("store"), std::string("--port"), std::string("0"), std::string("--port-file"),
                            folder.File("port"), std::string("--env-file"), folder.File("env")}) {
      args.push_back(arg);
    }
    args.insert(args.end(), extra.begin(), extra.end());
    std::vector<char*> argv;
    for (std::string& arg : args) argv.push_back(arg.data());
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, folder.File("stdout").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    posix_spawn_file_actions_addopen(&actions, 2, folder.File("stderr").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    posix_spawn(&pid_, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
  }
  ~ServeProcess() { Stop(); }

  // The port once the service answers, or 0 when it ended first.
  int WaitForPort() {
    for (int i = 0; i < 200; ++i) {
      if (folder_.Exists("port")) return std::stoi(folder_.Read("port"));
      if (Ended()) return 0;
      std::this_thread::sleep_for(25ms);
    }
    return 0;
  }

  bool Ended() {
    if (pid_ <= 0) return true;
    int status = 0;
    if (::waitpid(pid_, &status, WNOHANG) != pid_) return false;
    exitStatus_ = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    pid_ = 0;
    return true;
  }

  // The processes it started (nginx's master).
  std::vector<pid_t> Children() const {
    std::ifstream list("/proc/" + std::to_string(pid_) + "/task/" + std::to_string(pid_) + "/children");
    std::vector<pid_t> children;
    for (pid_t child; list >> child;) children.push_back(child);
    return children;
  }

  int Stop() {
    if (pid_ > 0) {
      ::kill(pid_, SIGTERM);
      int status = 0;
      ::waitpid(pid_, &status, 0);
      exitStatus_ = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
      pid_ = 0;
    }
    return exitStatus_;
  }

 private:
  const TempFolder& folder_;
  pid_t pid_ = 0;
  int exitStatus_ = -1;
};

std::string Get(int port, const std::string& path, int* status = nullptr) {
  testing::Connection connection(port);
  const auto reply = connection.Get(path);
  if (status) *status = reply ? reply->status : 0;
  return reply ? reply->body : std::string();
}

int StatusOf(int port, const std::string& path) {
  int status = 0;
  Get(port, path, &status);
  return status;
}

int Loto6Count(int port) { return ReadStatusFile(RemoveLineBreaks(Get(port, "/svc1/status.txt"))).loto6Count; }

TEST(ServeCommand, ServesThePublishedSiteThroughNginxWithoutTestControls) {
  TempFolder folder;
  testing::MakeStore(folder.File("store"), {40, 30, 60, 50});
  ServeProcess serve(folder, {"--site", folder.File("site")});
  const int port = serve.WaitForPort();
  ASSERT_NE(port, 0) << folder.Read("stderr");
  const std::string lines = "NORVALE_DIRECTORY_1=http://127.0.0.1:" + std::to_string(port) + "/dir1/dir.cgi?SFT=0\n" +
                            "NORVALE_DIRECTORY_2=http://127.0.0.1:" + std::to_string(port) + "/dir2/dir.cgi?SFT=0\n";
  EXPECT_EQ(folder.Read("env"), lines);
  EXPECT_EQ(folder.Read("stdout"), lines);

  EXPECT_EQ(Loto6Count(port), 39);
  EXPECT_EQ(Get(port, "/svc2/num4.txt"), testing::ReadWhole(folder.File("site") + "/svc2/num4.txt"))
      << "what is served is what the private folder holds";
  for (const char* path : {"/control/state", "/control/reset", "/control/publish?game=1", "/test/lines", "/test/hang"}) {
    EXPECT_EQ(StatusOf(port, path), 404) << path << " exists only in the test service";
  }
  EXPECT_EQ(serve.Stop(), 0);
  EXPECT_FALSE(testing::Connection(port).Connected()) << "nginx ends with serve";
}

TEST(ServeCommand, AnNginxKilledIsStartedAgainOnTheSamePort) {
  TempFolder folder;
  testing::MakeStore(folder.File("store"), {40, 30, 60, 50});
  ServeProcess serve(folder, {});
  const int port = serve.WaitForPort();
  ASSERT_NE(port, 0) << folder.Read("stderr");
  const std::vector<pid_t> nginx = serve.Children();
  ASSERT_EQ(nginx.size(), 1u);
  ::kill(nginx[0], SIGKILL);  // its workers would keep the port if they were left
  int status = 0;
  for (int i = 0; i < 100 && (serve.Children() == nginx || status != 200); ++i) {
    std::this_thread::sleep_for(50ms);
    status = StatusOf(port, "/svc1/status.txt");
  }
  EXPECT_EQ(status, 200);
  EXPECT_NE(serve.Children(), nginx);
  EXPECT_NE(folder.Read("stderr").find("nginx ended (signal 9); starting it again"), std::string::npos)
      << folder.Read("stderr");
  EXPECT_EQ(serve.Stop(), 0);
}

TEST(ServeCommand, WithoutNginxItEndsSayingWhyInOneLine) {
  TempFolder folder;
  testing::MakeStore(folder.File("store"), {40, 30, 60, 50});
  ServeProcess serve(folder, {"--nginx", folder.File("no-nginx")});
  EXPECT_EQ(serve.WaitForPort(), 0);
  EXPECT_EQ(serve.Stop(), 1);
  const std::string said = folder.Read("stderr");
  EXPECT_TRUE(said.starts_with("norv-service serve: nginx is not installed")) << said;
  EXPECT_EQ(said.find('\n'), said.size() - 1) << said;
}

TEST(ServeCommand, TheTestControlsAreNoLongerPartOfIt) {
  TempFolder folder;
  testing::MakeStore(folder.File("store"), {40, 30, 60, 50});
  ServeProcess serve(folder, {"--test-controls"});
  EXPECT_EQ(serve.WaitForPort(), 0);
  EXPECT_EQ(serve.Stop(), 2);
}

TEST(TestService, ServesTheStoreWithTheTestControlsOnTheLoopbackOnly) {
  TempFolder folder;
  testing::MakeStore(folder.File("store"), {40, 30, 60, 50});
  ServeProcess serve(folder, {}, true);
  const int port = serve.WaitForPort();
  ASSERT_NE(port, 0) << folder.Read("stderr");
  EXPECT_EQ(Get(port, "/test/lines"), "12\r\n34\r\n");
  EXPECT_EQ(Get(port, "/control/publish?game=lot6&count=2"), "published=42 history=41\n");
  EXPECT_EQ(Loto6Count(port), 41);
  EXPECT_EQ(testing::ReadWhole(folder.File("store") + "/loto6.csv"),
            WriteHistoryCsv(Game::Loto6, [] {
              auto draws = testing::SeedDraws(Game::Loto6);
              draws.resize(40);
              return draws;
            }()))
      << "made-up draws never reach the store";
  EXPECT_NE(folder.Read("env").find("NORVALE_DOWNLOAD_2="), std::string::npos);
  EXPECT_EQ(serve.Stop(), 0);

  TempFolder other;
  testing::MakeStore(other.File("store"), {40, 30, 60, 50});
  ServeProcess elsewhere(other, {"--bind", "0.0.0.0"}, true);
  EXPECT_EQ(elsewhere.WaitForPort(), 0);
  EXPECT_EQ(elsewhere.Stop(), 2) << "it takes no other address than the loopback";
}

TEST(ServeCommand, AStoreWrittenAnewIsPublishedAgain) {
  TempFolder folder;
  testing::MakeStore(folder.File("store"), {40, 30, 60, 50});
  ServeProcess serve(folder, {});
  const int port = serve.WaitForPort();
  ASSERT_NE(port, 0) << folder.Read("stderr");
  ASSERT_EQ(Loto6Count(port), 39);

  // As an update does it: the new file beside the old one, renamed over it.
  std::vector<Draw> draws = testing::SeedDraws(Game::Loto6);
  draws.resize(45);
  testing::WriteWhole(folder.File("store") + "/loto6.csv.new", WriteHistoryCsv(Game::Loto6, draws));
  std::filesystem::rename(folder.File("store") + "/loto6.csv.new", folder.File("store") + "/loto6.csv");
  for (int i = 0; i < 100 && Loto6Count(port) != 44; ++i) std::this_thread::sleep_for(50ms);
  // One worker's answer is not all of them: each may keep the old file open
  // for open_file_cache_valid (1 s) after the site was swapped.
  std::this_thread::sleep_for(1100ms);
  EXPECT_EQ(Loto6Count(port), 44);
  EXPECT_NE(Get(port, "/bank/takarakuji/loto/loto6/index.html").find("第45回"), std::string::npos);

  // A store that cannot be read leaves the last good site in place.
  testing::WriteWhole(folder.File("store") + "/loto6.csv", "not a history\n");
  const auto reported = [&] {
    return folder.Read("stderr").find("still serving the last site published") != std::string::npos;
  };
  for (int i = 0; i < 100 && !reported(); ++i) std::this_thread::sleep_for(50ms);
  EXPECT_TRUE(reported()) << folder.Read("stderr");
  EXPECT_EQ(Loto6Count(port), 44);
}

TEST(ServeCommand, AStoreThatCannotBeReadEndsItAtOnceSayingWhy) {
  TempFolder folder;
  ServeProcess serve(folder, {});
  EXPECT_EQ(serve.WaitForPort(), 0);
  EXPECT_EQ(serve.Stop(), 2) << "bad input, as service/README.md says";
  EXPECT_NE(folder.Read("stderr").find("is not a store"), std::string::npos) << folder.Read("stderr");
}

}  // namespace
}  // namespace norv::service
