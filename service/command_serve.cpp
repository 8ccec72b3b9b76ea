// norv-service serve STORE: publishes the store into a private folder and
// answers HTTP from memory, publishing again whenever the store changes.

#include <pthread.h>
#include <signal.h>
#include <stdlib.h>

#include <condition_variable>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <memory>
#include <mutex>
#include <optional>
#include <ostream>
#include <thread>

#include "base/text_basics.h"

#include "service/commands.h"
#include "service/http_server.h"
#include "service/served_site.h"
#include "service/site_arguments.h"
#include "service/store_watch.h"
#include "service/bank_client.h"
#include "service/update_once.h"

namespace norv::service {

namespace fs = std::filesystem;

namespace {

constexpr std::string_view kServeUsage =
    "usage: norv-service serve STORE [--port N] [--bind ADDR] [--base URL] [--site DIR]\n"
    "         [--port-file FILE] [--env-file FILE] [--update-every MIN [--bank URL] [--metrics FILE]]\n"
    "         [--threads N]\n"
    "         [--config FILE] [--release PRODUCT=N]... [--download PRODUCT=URL]...\n"
    "         [--test-controls [--seed N]] [--verbose]\n";

struct ServeArguments {
  std::string store;
  http::ServerOptions server;
  std::string base, site, portFile, envFile;
  int updateMinutes = 0;
  std::string bank{kDefaultBank};
  std::string metrics;
  bool testControls = false;
  std::uint64_t seed = kDefaultSampleSeed;
  bool verbose = false;
  SiteSettings settings;
};

int NumberOption(Arguments args, std::size_t& i, int lowest, int highest) {
  const std::string& value = OptionValue(args, i);
  const std::optional<int> number = ParseDigits(value);
  if (!number || *number < lowest || *number > highest) {
    throw SettingsError(args[i - 1] + " takes a number from " + std::to_string(lowest) + " to " +
                        std::to_string(highest));
  }
  return *number;
}

ServeArguments ParseServeArguments(Arguments args) {
  ServeArguments parsed;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (arg == "--port") {
      parsed.server.port = NumberOption(args, i, 0, 65535);
    } else if (arg == "--bind") {
      parsed.server.bindAddress = OptionValue(args, i);
    } else if (arg == "--base") {
      parsed.base = OptionValue(args, i);
    } else if (arg == "--site") {
      parsed.site = OptionValue(args, i);
    } else if (arg == "--port-file") {
      parsed.portFile = OptionValue(args, i);
    } else if (arg == "--env-file") {
      parsed.envFile = OptionValue(args, i);
    } else if (arg == "--update-every") {
      parsed.updateMinutes = NumberOption(args, i, 1, 24 * 60);
    } else if (arg == "--bank") {
      parsed.bank = OptionValue(args, i);
    } else if (arg == "--metrics") {
      parsed.metrics = OptionValue(args, i);
    } else if (arg == "--threads") {
      parsed.server.threads = NumberOption(args, i, 1, 64);
    } else if (arg == "--seed") {
      parsed.seed = static_cast<std::uint64_t>(NumberOption(args, i, 0, 2'000'000'000));
    } else if (arg == "--test-controls") {
      parsed.testControls = true;
    } else if (arg == "--verbose") {
      parsed.verbose = true;
    } else if (!TakeSiteOption(args, i, parsed.settings)) {
      if (arg.starts_with("--") || !parsed.store.empty()) throw SettingsError("unexpected " + arg);
      parsed.store = arg;
    }
  }
  if (parsed.store.empty()) throw SettingsError("STORE is needed");
  if (!parsed.metrics.empty() && parsed.updateMinutes == 0) throw SettingsError("--metrics needs --update-every");
  return parsed;
}

// The address clients reach the service by, unless --base names another.
std::string DefaultBase(const std::string& bindAddress, int port) {
  std::string host = bindAddress;
  if (host == "0.0.0.0") host = "127.0.0.1";
  if (host == "::") host = "::1";
  if (host.find(':') != std::string::npos) host = "[" + host + "]";
  return "http://" + host + ":" + std::to_string(port) + "/";
}

// Written beside and renamed into place, so a script never reads half a file.
bool WriteWhole(const std::string& path, const std::string& text) {
  const std::string partial = path + ".partial";
  {
    std::ofstream file(partial, std::ios::binary | std::ios::trunc);
    if (!(file << text)) return false;
  }
  std::error_code error;
  fs::rename(partial, path, error);
  return !error;
}

// A private folder for the site when --site names none, removed at the end.
class PrivateFolder {
 public:
  explicit PrivateFolder(const std::string& site) {
    if (!site.empty()) {
      site_ = site;
      return;
    }
    const fs::path base = fs::temp_directory_path() / "norv-serve-XXXXXX";
    std::string pattern = base.string();
    if (::mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("cannot make a private folder in /tmp");
    owned_ = pattern;
    site_ = *owned_ / "site";
  }
  ~PrivateFolder() {
    std::error_code ignored;
    if (owned_) fs::remove_all(*owned_, ignored);
  }
  const fs::path& Site() const { return site_; }

 private:
  fs::path site_;
  std::optional<fs::path> owned_;
};

// Runs `update` on the store every so many minutes until stopped.
class UpdateSchedule {
 public:
  UpdateSchedule(fs::path store, std::string bank, fs::path metrics, int minutes, ServedSite& site) {
    if (minutes <= 0) return;
    thread_ = std::thread([this, store = std::move(store), bank = std::move(bank), metrics = std::move(metrics),
                           minutes, &site] {
      std::unique_lock lock(mutex_);
      while (!cv_.wait_for(lock, std::chrono::minutes(minutes), [this] { return stop_; })) {
        lock.unlock();
        const int status = RunUpdateOnce(store, bank, std::cerr, metrics);
        if (status == 0 || status == kExitStale) site.TryPublish(true, std::cerr);
        lock.lock();
      }
    });
  }
  ~UpdateSchedule() {
    {
      std::lock_guard lock(mutex_);
      stop_ = true;
    }
    cv_.notify_all();
    if (thread_.joinable()) thread_.join();
  }

 private:
  std::mutex mutex_;
  std::condition_variable cv_;
  bool stop_ = false;
  std::thread thread_;
};

sigset_t StopSignals() {
  sigset_t signals;
  sigemptyset(&signals);
  sigaddset(&signals, SIGINT);
  sigaddset(&signals, SIGTERM);
  sigaddset(&signals, SIGHUP);
  return signals;
}

http::RequestLogger VerboseLogger() {
  auto mutex = std::make_shared<std::mutex>();
  return [mutex](const http::Request& request, int status) {
    std::lock_guard lock(*mutex);
    std::cerr << status << ' ' << request.target << ' ' << request.userAgent << '\n';
  };
}

int Serve(ServeArguments& parsed, std::ostream& out, std::ostream& err) {
  // Blocked before any thread starts, so that only the wait below takes them.
  const sigset_t signals = StopSignals();
  pthread_sigmask(SIG_BLOCK, &signals, nullptr);
  ::signal(SIGPIPE, SIG_IGN);

  std::optional<TestControls> test;
  if (parsed.testControls) test.emplace(parsed.seed);
  std::unique_ptr<ServedSite> served;
  if (parsed.verbose) parsed.server.logger = VerboseLogger();
  http::Server server(
      [&](const http::Request& request) {
        return test ? test->Handle(request, served->Site()) : served->Site().Handle(request);
      },
      parsed.server);

  const std::string base = parsed.base.empty() ? DefaultBase(parsed.server.bindAddress, server.Port()) : parsed.base;
  if (const auto problem = BaseUrlProblem(base)) {
    err << "norv-service serve: " << *problem << "\n";
    return kExitBadInput;
  }
  PrivateFolder folder(parsed.site);
  served = std::make_unique<ServedSite>(parsed.store, folder.Site(), SiteLayout(base).Base(), parsed.settings,
                                        test ? &*test : nullptr);
  try {
    served->Publish(true);
  } catch (const std::exception& error) {
    err << "norv-service serve: " << error.what() << "\n";
    return kExitFailure;
  }
  if (test) {
    test->SetHooks({[&] { served->TryPublish(false, std::cerr); }, [&] { server.ReleaseHolds(); }});
  }
  server.Start();
  StoreWatch watch(parsed.store, [&] { served->TryPublish(true, std::cerr); });
  UpdateSchedule updates(parsed.store, parsed.bank, parsed.metrics, parsed.updateMinutes, *served);

  const bool downloadLists = test || !parsed.settings.downloadPages.empty();
  const std::string lines = EnvironmentLines(served->Base(), downloadLists);
  if (!parsed.envFile.empty() && !WriteWhole(parsed.envFile, lines)) {
    err << "norv-service serve: cannot write the environment file\n";
    return kExitFailure;
  }
  err << "norv-service serve: " << served->Base() << " from " << parsed.store
      << (test ? " in test mode (made-up draws can be published on top)" : "") << "\n";
  out << lines << std::flush;
  // The port file comes last: scripts wait for it, then read everything above.
  if (!parsed.portFile.empty() && !WriteWhole(parsed.portFile, std::to_string(server.Port()) + "\n")) {
    err << "norv-service serve: cannot write the port file\n";
    return kExitFailure;
  }

  int signal = 0;
  sigwait(&signals, &signal);
  server.Stop();
  return 0;
}

}  // namespace

int RunServe(Arguments args, std::ostream& out, std::ostream& err) {
  ServeArguments parsed;
  try {
    parsed = ParseServeArguments(args);
  } catch (const SettingsError& error) {
    err << "norv-service serve: " << error.what() << "\n" << kServeUsage;
    return kExitBadInput;
  }
  try {
    return Serve(parsed, out, err);
  } catch (const std::exception& error) {
    err << "norv-service serve: " << error.what() << "\n";
    return kExitFailure;
  }
}

}  // namespace norv::service
