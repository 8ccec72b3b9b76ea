#include "service/serve_support.h"

#include <stdlib.h>

#include <fstream>
#include <ostream>
#include <stdexcept>

#include "service/site_arguments.h"

namespace norv::service {

namespace fs = std::filesystem;

namespace {

std::string HostPart(const std::string& host) {
  return host.find(':') != std::string::npos ? "[" + host + "]" : host;
}

}  // namespace

OptionSpec WithServingOptions(OptionSpec spec) {
  spec.values.insert(spec.values.end(), {"--port", "--threads", "--site", "--port-file", "--env-file"});
  spec.flags.push_back("--verbose");
  return spec;
}

ServingOptions ServingOptionsFrom(const ParsedArguments& parsed) {
  ServingOptions options;
  options.port = parsed.Number("--port", 0, 65535).value_or(0);
  options.threads = parsed.Number("--threads", 1, 64).value_or(0);
  options.site = parsed.Value("--site");
  options.portFile = parsed.Value("--port-file");
  options.envFile = parsed.Value("--env-file");
  options.verbose = parsed.Has("--verbose");
  return options;
}

std::string TheStore(const ParsedArguments& parsed) {
  if (parsed.words.empty()) throw UsageError("STORE is needed");
  if (parsed.words.size() > 1) throw UsageError("unexpected " + parsed.words[1]);
  return parsed.words.front();
}

std::string DefaultBase(const std::string& bindAddress, int port) {
  std::string host = bindAddress;
  if (host == "0.0.0.0") host = "127.0.0.1";
  if (host == "::") host = "::1";
  return "http://" + HostPart(host) + ":" + std::to_string(port) + "/";
}

std::string ListenAddress(const std::string& bindAddress, int port) {
  return HostPart(bindAddress) + ":" + std::to_string(port);
}

bool WriteWhole(const fs::path& path, const std::string& text) {
  fs::path partial = path;
  partial += ".partial";
  {
    std::ofstream file(partial, std::ios::binary | std::ios::trunc);
    if (!(file << text)) return false;
  }
  std::error_code error;
  fs::rename(partial, path, error);
  return !error;
}

PrivateFolder::PrivateFolder(const std::string& site) {
  std::string pattern = (fs::temp_directory_path() / "norv-serve-XXXXXX").string();
  if (::mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("cannot make a private folder in /tmp");
  own_ = pattern;
  site_ = site.empty() ? own_ / "site" : fs::path(site);
}

PrivateFolder::~PrivateFolder() {
  std::error_code ignored;
  fs::remove_all(own_, ignored);
}

sigset_t StopSignals() {
  sigset_t signals;
  sigemptyset(&signals);
  sigaddset(&signals, SIGINT);
  sigaddset(&signals, SIGTERM);
  sigaddset(&signals, SIGHUP);
  return signals;
}

bool Announce(const Announcement& what, const std::string& store, std::ostream& out, std::ostream& err) {
  const std::string lines = EnvironmentLines(what.base, what.downloadLists);
  if (!what.envFile.empty() && !WriteWhole(what.envFile, lines)) {
    err << what.program << ": cannot write the environment file\n";
    return false;
  }
  err << what.program << ": " << what.base << " from " << store << what.mode << "\n";
  out << lines << std::flush;
  if (!what.portFile.empty() && !WriteWhole(what.portFile, std::to_string(what.port) + "\n")) {
    err << what.program << ": cannot write the port file\n";
    return false;
  }
  return true;
}

}  // namespace norv::service
