// norv-drawservice: the maker's directory, status file, histories and
// download lists, and the bank's result pages, served on 127.0.0.1 from
// synthetic sample data, with a control interface for tests and demos.

#include <pthread.h>
#include <signal.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <string>
#include <thread>
#include <vector>

#include "tools/drawservice/http_server.h"
#include "tools/drawservice/service.h"

namespace fs = std::filesystem;
using namespace norv;
using namespace norv::drawservice;

namespace {

constexpr std::string_view kUsage = R"(usage: norv-drawservice [options]
  --port N              listen on 127.0.0.1:N (0, the default, picks a free port)
  --port-file PATH      write the port there once listening
  --env-file PATH       write NORVALE_DIRECTORY_1.. lines for this service there
  --data-dir DIR        write empty data files into DIR, then serve
  --prepare-data DIR    write empty data files into DIR and exit
  --seed N              seed of the sample data
  --published GAME=N    draws published at start (GAME: lot6 mini num4 num3)
  --release PRODUCT=N   release number in the status file
                        (PRODUCT: norv birch cedar damson elder fennel)
  --result-draws N      draws shown on each result page (default 3)
  --verbose             log every request to stderr
Serves SAMPLE DATA only, never real results.
)";

struct CommandLine {
  int port = 0;
  std::string portFile, envFile, dataDir;
  bool prepareOnly = false;
  bool verbose = false;
  ServiceOptions service;
};

bool SetByName(CommandLine& options, const std::string& option, const std::string& value) {
  const auto eq = value.find('=');
  if (eq == std::string::npos) {
    return false;
  }
  const std::string name = value.substr(0, eq);
  const int number = std::stoi(value.substr(eq + 1));
  if (option == "--published") {
    const std::vector<std::string> games{"lot6", "mini", "num4", "num3"};
    for (std::size_t i = 0; i < games.size(); ++i) {
      if (name == games[i]) {
        options.service.published[i] = std::clamp(number, 0, kMaxDrawNumber);
        return true;
      }
    }
    return false;
  }
  StatusFields& r = options.service.releases;
  const std::vector<std::pair<std::string, int*>> products{{"norv", &r.norvale}, {"birch", &r.birch},
                                                           {"cedar", &r.cedar},  {"damson", &r.damson},
                                                           {"elder", &r.elder},  {"fennel", &r.fennel}};
  for (const auto& [product, field] : products) {
    if (name == product) {
      *field = number;
      return true;
    }
  }
  return false;
}

bool ParseCommandLine(int argc, char** argv, CommandLine& options) {
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg == "--verbose") {
      options.verbose = true;
      continue;
    }
    if (i + 1 >= argc) {
      return false;
    }
    const std::string value = argv[++i];
    try {
      if (arg == "--port") {
        options.port = std::stoi(value);
      } else if (arg == "--port-file") {
        options.portFile = value;
      } else if (arg == "--env-file") {
        options.envFile = value;
      } else if (arg == "--data-dir" || arg == "--prepare-data") {
        options.dataDir = value;
        options.prepareOnly = arg == "--prepare-data";
      } else if (arg == "--seed") {
        options.service.seed = std::stoull(value);
      } else if (arg == "--result-draws") {
        options.service.resultDraws = std::max(1, std::stoi(value));
      } else if (arg == "--published" || arg == "--release") {
        if (!SetByName(options, arg, value)) {
          return false;
        }
      } else {
        return false;
      }
    } catch (const std::exception&) {
      return false;
    }
  }
  return true;
}

// Empty data files make the program's first check fetch every full history.
bool PrepareDataFiles(const fs::path& dir) {
  std::error_code error;
  fs::create_directories(dir, error);
  for (const char* name : {"dat_lot6.tan", "dat_mini.tan", "dat_num4.tan", "dat_num3.tan"}) {
    std::ofstream file(dir / name, std::ios::binary | std::ios::trunc);
    if (!file) {
      std::cerr << "norv-drawservice: cannot write " << (dir / name) << '\n';
      return false;
    }
  }
  return true;
}

// Written beside and renamed into place, so a reader never sees half a file.
bool WriteWhole(const std::string& path, const std::string& text) {
  const std::string partial = path + ".partial";
  {
    std::ofstream file(partial, std::ios::binary | std::ios::trunc);
    if (!(file << text)) {
      return false;
    }
  }
  std::error_code error;
  fs::rename(partial, path, error);
  return !error;
}

std::string EnvironmentLines(const std::string& origin) {
  return "NORVALE_DIRECTORY_1=" + origin + std::string(ServicePaths::kDirectory[0]) + "?SFT=0\n" +
         "NORVALE_DIRECTORY_2=" + origin + std::string(ServicePaths::kDirectory[1]) + "?SFT=0\n" +
         "NORVALE_DOWNLOAD_1=" + origin + std::string(ServicePaths::kDownloadFolder[0]) + "/\n" +
         "NORVALE_DOWNLOAD_2=" + origin + std::string(ServicePaths::kDownloadFolder[1]) + "/\n";
}

sigset_t StopSignals() {
  sigset_t signals;
  sigemptyset(&signals);
  sigaddset(&signals, SIGINT);
  sigaddset(&signals, SIGTERM);
  sigaddset(&signals, SIGHUP);
  return signals;
}

}  // namespace

int main(int argc, char** argv) {
  CommandLine options;
  if (!ParseCommandLine(argc, argv, options)) {
    std::cerr << kUsage;
    return 2;
  }
  if (!options.dataDir.empty() && !PrepareDataFiles(options.dataDir)) {
    return 1;
  }
  if (options.prepareOnly) {
    return 0;
  }

  // Blocked before any thread starts, so only the waiting thread takes them.
  const sigset_t signals = StopSignals();
  pthread_sigmask(SIG_BLOCK, &signals, nullptr);

  DrawService service(options.service);
  HttpFrontEnd frontEnd(service, options.verbose);
  const int port = frontEnd.Bind(options.port);
  if (port <= 0) {
    std::cerr << "norv-drawservice: cannot listen on 127.0.0.1:" << options.port << '\n';
    return 1;
  }
  const std::string origin = "http://127.0.0.1:" + std::to_string(port);
  service.SetOrigin(origin);

  std::thread stopper([&] {
    int signal = 0;
    sigwait(&signals, &signal);
    service.Shutdown();  // first, so that held replies free their workers
    frontEnd.Stop();
  });
  stopper.detach();

  if ((!options.portFile.empty() && !WriteWhole(options.portFile, std::to_string(port) + "\n")) ||
      (!options.envFile.empty() && !WriteWhole(options.envFile, EnvironmentLines(origin)))) {
    std::cerr << "norv-drawservice: cannot write the port or environment file\n";
    return 1;
  }
  std::cout << "norv-drawservice (sample data, not real results) on " << origin << '\n'
            << EnvironmentLines(origin) << std::flush;
  return frontEnd.Serve() ? 0 : 1;
}
