// norv-test-service STORE: the real store's site with the test controls on
// top (fault controls, made-up draws, the fetch-test endpoints), answered by
// the test-only event-loop server on 127.0.0.1 for the Windows tests, the
// catalogue and the soak. Never installed, and never on another address.

#include <pthread.h>
#include <signal.h>

#include <iostream>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "service/arguments.h"
#include "service/commands.h"
#include "service/serve_support.h"
#include "service/site_arguments.h"
#include "service/site_layout.h"
#include "service/site_settings.h"
#include "service/store_watch.h"
#include "tests/test_service/http_server.h"
#include "tests/test_service/served_site.h"
#include "tests/test_service/test_controls.h"

namespace norv::service {
namespace {

constexpr std::string_view kUsage =
    "usage: norv-test-service STORE [--port N] [--site DIR] [--port-file FILE] [--env-file FILE]\n"
    "         [--threads N] [--seed N] [--config FILE] [--release PRODUCT=N]...\n"
    "         [--download PRODUCT=URL]... [--verbose]\n";

struct TestServiceArguments {
  std::string store;
  ServingOptions serving;      // as `serve` takes them
  http::ServerOptions server;  // on the loopback: there is no option for another address
  std::uint64_t seed = kDefaultSampleSeed;
  SiteSettings settings;
};

// Throws UsageError for anything it cannot take.
TestServiceArguments ParseTestServiceArguments(Arguments args) {
  const ParsedArguments given = ParseArguments(args, WithSiteOptions(WithServingOptions({.values = {"--seed"}})));
  TestServiceArguments parsed;
  parsed.store = TheStore(given);
  parsed.serving = ServingOptionsFrom(given);
  parsed.server.port = parsed.serving.port;
  parsed.server.threads = parsed.serving.threads;
  if (const auto seed = given.Number("--seed", 0, 2'000'000'000)) parsed.seed = static_cast<std::uint64_t>(*seed);
  parsed.settings = SiteSettingsFrom(given);
  return parsed;
}

http::RequestLogger VerboseLogger() {
  auto mutex = std::make_shared<std::mutex>();
  return [mutex](const http::Request& request, int status) {
    std::lock_guard lock(*mutex);
    std::cerr << status << ' ' << request.target << ' ' << request.userAgent << '\n';
  };
}

int Run(TestServiceArguments& parsed) {
  // Blocked before any thread starts, so that only the wait below takes them.
  const sigset_t signals = StopSignals();
  pthread_sigmask(SIG_BLOCK, &signals, nullptr);
  ::signal(SIGPIPE, SIG_IGN);

  TestControls test(parsed.seed);
  std::unique_ptr<ServedSite> served;
  if (parsed.serving.verbose) parsed.server.logger = VerboseLogger();
  parsed.server.bindAddress = "127.0.0.1";
  http::Server server([&](const http::Request& request) { return test.Handle(request, served->Site()); },
                      parsed.server);

  PrivateFolder folder(parsed.serving.site);
  const std::string base = SiteLayout(DefaultBase(parsed.server.bindAddress, server.Port())).Base();
  served = std::make_unique<ServedSite>(parsed.store, folder.Site(), base, parsed.settings, &test);
  try {
    served->Publish(true);
  } catch (const std::exception& error) {
    std::cerr << "norv-test-service: " << error.what() << "\n";
    return kExitFailure;
  }
  test.SetHooks({[&] { served->TryPublish(false, std::cerr); }, [&] { server.ReleaseHolds(); }});
  server.Start();
  StoreWatch watch(parsed.store, [&] { served->TryPublish(true, std::cerr); });

  Announcement announcement;
  announcement.base = served->Base();
  announcement.downloadLists = true;  // the test controls offer sample lists
  announcement.port = server.Port();
  announcement.envFile = parsed.serving.envFile;
  announcement.portFile = parsed.serving.portFile;
  announcement.program = "norv-test-service";
  announcement.mode = " in test mode (made-up draws can be published on top)";
  if (!Announce(announcement, parsed.store, std::cout, std::cerr)) return kExitFailure;

  int signal = 0;
  sigwait(&signals, &signal);
  server.Stop();
  return 0;
}

}  // namespace
}  // namespace norv::service

int main(int argc, char** argv) {
  using namespace norv::service;
  std::ios::sync_with_stdio(false);
  const std::vector<std::string> args(argv + 1, argv + argc);
  TestServiceArguments parsed;
  try {
    parsed = ParseTestServiceArguments(args);
  } catch (const UsageError& error) {
    return BadUsage("norv-test-service", error, kUsage, std::cerr);
  }
  try {
    return Run(parsed);
  } catch (const std::exception& error) {
    std::cerr << "norv-test-service: " << error.what() << "\n";
    return kExitFailure;
  }
}
