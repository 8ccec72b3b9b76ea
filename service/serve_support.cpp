#include "service/serve_support.h"

#include <stdlib.h>

#include <fstream>
#include <ostream>
#include <stdexcept>

#include "base/text_basics.h"
#include "service/site_arguments.h"
#include "service/site_settings.h"

namespace norv::service {

namespace fs = std::filesystem;

namespace {

std::string HostPart(const std::string& host) {
  return host.find(':') != std::string::npos ? "[" + host + "]" : host;
}

}  // namespace

int NumberOption(Arguments args, std::size_t& i, int lowest, int highest) {
  const std::string& value = OptionValue(args, i);
  const std::optional<int> number = ParseDigits(value);
  if (!number || *number < lowest || *number > highest) {
    throw SettingsError(args[i - 1] + " takes a number from " + std::to_string(lowest) + " to " +
                        std::to_string(highest));
  }
  return *number;
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
