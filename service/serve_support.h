#pragma once
// What `serve` and the test service share: the options of the server, the
// address a site is reached by, a private folder for the site and its
// server, the signals that end them, and the lines and files a script waits
// for once the site answers.

#include <signal.h>

#include <filesystem>
#include <iosfwd>
#include <optional>
#include <string>

#include "service/arguments.h"

namespace norv::service {

struct ServingOptions {
  int port = 0;     // 0 picks a free port
  int threads = 0;  // 0: the server's own choice
  std::string site, portFile, envFile;  // empty: not asked for
  bool verbose = false;                 // logs every request
};

// `spec` with --port, --threads, --site, --port-file, --env-file and --verbose added.
OptionSpec WithServingOptions(OptionSpec spec);

// Throws UsageError for a number out of its range.
ServingOptions ServingOptionsFrom(const ParsedArguments& parsed);

// The one STORE word; throws UsageError when there is none or more than one.
std::string TheStore(const ParsedArguments& parsed);

// "http://HOST:PORT/" for clients of a server bound to `bindAddress`: a
// wildcard address gives its loopback, an IPv6 address is bracketed.
std::string DefaultBase(const std::string& bindAddress, int port);

// "HOST:PORT" as a server's listen directive takes it.
std::string ListenAddress(const std::string& bindAddress, int port);

// Written beside and renamed into place, so a script never reads half a file.
bool WriteWhole(const std::filesystem::path& path, const std::string& text);

// A folder of the process's own in the temporary folder, removed at the end,
// with the site in it unless `site` names another place.
class PrivateFolder {
 public:
  explicit PrivateFolder(const std::string& site);
  ~PrivateFolder();
  PrivateFolder(const PrivateFolder&) = delete;
  PrivateFolder& operator=(const PrivateFolder&) = delete;

  const std::filesystem::path& Site() const { return site_; }
  const std::filesystem::path& Own() const { return own_; }

 private:
  std::filesystem::path own_;
  std::filesystem::path site_;
};

// SIGINT, SIGTERM and SIGHUP.
sigset_t StopSignals();

struct Announcement {
  std::string base;
  bool downloadLists = false;
  int port = 0;
  std::string envFile, portFile;  // empty: not asked for
  std::string program = "norv-service serve";  // names the lines on stderr
  std::string mode;                            // said after the base on stderr, may be empty
};

// Once the site answers: the environment lines to the env file, a line for a
// person on `err`, the same lines as `publish` on `out`, and last the port
// file, so that a script waiting for it finds the rest. False, with the
// reason on `err`, when a file cannot be written.
bool Announce(const Announcement& what, const std::string& store, std::ostream& out, std::ostream& err);

}  // namespace norv::service
