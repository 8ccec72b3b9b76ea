// norv-service serve STORE: publishes the store into its site folder and runs
// nginx on it, publishing again whenever the store changes. The service itself
// never reads a request from the network.

#include <pthread.h>
#include <signal.h>
#include <unistd.h>

#include <condition_variable>
#include <filesystem>
#include <iostream>
#include <memory>
#include <mutex>
#include <optional>
#include <ostream>
#include <thread>

#include "service/bank_client.h"
#include "service/commands.h"
#include "service/nginx_process.h"
#include "service/serve_support.h"
#include "service/arguments.h"
#include "service/site_arguments.h"
#include "service/site_layout.h"
#include "service/site_publisher.h"
#include "service/store.h"
#include "service/store_watch.h"
#include "service/thread_guard.h"
#include "service/update_once.h"

namespace norv::service {

namespace fs = std::filesystem;

namespace {

constexpr std::string_view kServeUsage =
    "usage: norv-service serve STORE [--port N] [--bind ADDR] [--base URL] [--site DIR]\n"
    "         [--port-file FILE] [--env-file FILE] [--update-every MIN [--bank URL] [--metrics FILE]]\n"
    "         [--threads N]\n"
    "         [--config FILE] [--release PRODUCT=N]... [--download PRODUCT=URL]...\n"
    "         [--nginx PROGRAM] [--verbose]\n";

// A port picked free can be taken before nginx binds it: pick again.
constexpr int kPortAttempts = 5;

struct ServeArguments {
  std::string store;
  std::string bindAddress = "127.0.0.1";
  ServingOptions server;  // threads: nginx workers, 0 for one per processor
  std::string base, nginx;
  int updateMinutes = 0;
  std::string bank{kDefaultBank};
  std::string metrics;
  SiteSettings settings;
};

// Throws UsageError for anything it cannot take.
ServeArguments ParseServeArguments(Arguments args) {
  const ParsedArguments given = ParseArguments(
      args, WithSiteOptions(WithServingOptions({.values = {"--bind", "--base", "--update-every", "--bank", "--metrics",
                                                           "--nginx"}})));
  ServeArguments parsed;
  parsed.store = TheStore(given);
  parsed.server = ServingOptionsFrom(given);
  parsed.bindAddress = given.Value("--bind", parsed.bindAddress);
  parsed.base = given.Value("--base");
  parsed.updateMinutes = given.Number("--update-every", 1, 24 * 60).value_or(0);
  parsed.bank = given.Value("--bank", parsed.bank);
  parsed.metrics = given.Value("--metrics");
  parsed.nginx = given.Value("--nginx");
  parsed.settings = SiteSettingsFrom(given);
  if (!parsed.metrics.empty() && parsed.updateMinutes == 0) throw UsageError("--metrics needs --update-every");
  return parsed;
}

// Runs `update` on the store every so many minutes until stopped.
class UpdateSchedule {
 public:
  UpdateSchedule(fs::path store, std::string bank, fs::path metrics, int minutes, SitePublisher& site) {
    if (minutes <= 0) return;
    thread_ = std::thread([this, store = std::move(store), bank = std::move(bank), metrics = std::move(metrics),
                           minutes, &site] {
      std::unique_lock lock(mutex_);
      while (!cv_.wait_for(lock, std::chrono::minutes(minutes), [this] { return stop_; })) {
        lock.unlock();
        RunGuarded("scheduled update", [&] {
          const int status = RunUpdateOnce(store, bank, std::cerr, metrics);
          if (status == 0 || status == kExitStale) site.TryPublish(std::cerr);
        }, std::cerr);
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

// Failures that end `serve` with a one-line reason and an exit status.
struct ServeFailure {
  int status;
  std::string reason;
};

// The site published and nginx serving it on a port of its own: a port
// picked free is picked again when another program takes it first.
class ServedByNginx {
 public:
  ServedByNginx(const ServeArguments& parsed, const fs::path& program, const PrivateFolder& folder)
      : parsed_(parsed), program_(program), folder_(folder) {
    for (int attempt = 1;; ++attempt) {
      const int port = parsed.server.port != 0 ? parsed.server.port : FreePort(parsed.bindAddress);
      PublishFor(port);
      try {
        Start(port);
        return;
      } catch (const NginxError& error) {
        if (!error.AddressInUse() || parsed.server.port != 0 || attempt == kPortAttempts) {
          throw ServeFailure{kExitFailure, error.what()};
        }
      }
    }
  }

  SitePublisher& Publisher() { return *publisher_; }
  int Port() const { return port_; }

  // When nginx has ended unasked, starts it again on the same port.
  void Supervise(std::ostream& err) {
    if (!nginx_->Ended()) return;
    err << "norv-service serve: nginx ended (" << nginx_->EndReason() << "); starting it again\n";
    std::this_thread::sleep_for(std::chrono::seconds(1));  // no busy loop if it keeps failing
    try {
      Start(port_);
    } catch (const NginxError& error) {
      throw ServeFailure{kExitFailure, error.what()};
    }
  }

 private:
  void PublishFor(int port) {
    const std::string base = parsed_.base.empty() ? DefaultBase(parsed_.bindAddress, port) : parsed_.base;
    if (const auto problem = BaseUrlProblem(base)) throw ServeFailure{kExitBadInput, *problem};
    publisher_ = std::make_unique<SitePublisher>(parsed_.store, folder_.Site(), SiteLayout(base).Base(),
                                                 parsed_.settings);
    try {
      publisher_->Publish();
    } catch (const StoreError& error) {
      throw ServeFailure{kExitBadInput, error.what()};  // not a store, or a history that is not whole
    } catch (const std::exception& error) {
      throw ServeFailure{kExitFailure, error.what()};
    }
  }

  void Start(int port) {
    NginxSite site;
    site.listen = ListenAddress(parsed_.bindAddress, port);
    site.root = folder_.Site();
    site.state = folder_.Own() / "nginx";
    site.workers = parsed_.server.threads;
    site.logRequests = parsed_.server.verbose;
    site.asRoot = ::geteuid() == 0;
    nginx_.reset();
    nginx_ = std::make_unique<NginxProcess>(program_, site);
    port_ = port;
  }

  const ServeArguments& parsed_;
  const fs::path program_;
  const PrivateFolder& folder_;
  std::unique_ptr<SitePublisher> publisher_;
  std::unique_ptr<NginxProcess> nginx_;
  int port_ = 0;
};

// SIGCHLD is only waited for; the handler keeps it from being discarded.
void OnChild(int) {}

int Serve(const ServeArguments& parsed, std::ostream& out, std::ostream& err) {
  const std::optional<fs::path> program = FindNginx(parsed.nginx);
  if (!program) {
    const std::string where = parsed.nginx.empty() ? "none on PATH or in /usr/sbin" : parsed.nginx + " cannot be run";
    err << "norv-service serve: nginx is not installed (" << where << "; Debian's package is nginx)\n";
    return kExitFailure;
  }
  // Blocked before any thread starts, so that only the wait below takes them;
  // SIGCHLD too, which says that nginx ended. A handler, not SIG_IGN, which
  // would reap nginx before it could be seen to end.
  sigset_t signals = StopSignals();
  sigaddset(&signals, SIGCHLD);
  pthread_sigmask(SIG_BLOCK, &signals, nullptr);
  ::signal(SIGCHLD, OnChild);
  ::signal(SIGPIPE, SIG_IGN);

  PrivateFolder folder(parsed.server.site.empty() ? parsed.server.site : fs::absolute(parsed.server.site).string());
  ServedByNginx served(parsed, *program, folder);
  StoreWatch watch(parsed.store, [&] {
    RunGuarded("publishing after a store change", [&] { served.Publisher().TryPublish(std::cerr); }, std::cerr);
  });
  UpdateSchedule updates(parsed.store, parsed.bank, parsed.metrics, parsed.updateMinutes, served.Publisher());

  Announcement announcement;
  announcement.base = served.Publisher().Base();
  announcement.downloadLists = !parsed.settings.downloadPages.empty();
  announcement.port = served.Port();
  announcement.envFile = parsed.server.envFile;
  announcement.portFile = parsed.server.portFile;
  if (!Announce(announcement, parsed.store, out, err)) return kExitFailure;

  for (;;) {
    int signal = 0;
    sigwait(&signals, &signal);
    if (signal != SIGCHLD) return 0;
    served.Supervise(err);
  }
}

}  // namespace

int RunServe(Arguments args, std::ostream& out, std::ostream& err) {
  ServeArguments parsed;
  try {
    parsed = ParseServeArguments(args);
  } catch (const UsageError& error) {
    return BadUsage("norv-service serve", error, kServeUsage, err);
  }
  try {
    return Serve(parsed, out, err);
  } catch (const ServeFailure& failure) {
    err << "norv-service serve: " << failure.reason << "\n";
    return failure.status;
  } catch (const std::exception& error) {
    err << "norv-service serve: " << error.what() << "\n";
    return kExitFailure;
  }
}

}  // namespace norv::service
