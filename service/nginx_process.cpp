#include "service/nginx_process.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netdb.h>
#include <signal.h>
#include <stdlib.h>
#include <sys/prctl.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <fstream>
#include <sstream>
#include <thread>
#include <vector>

#include "service/serve_support.h"
#include "service/unique_fd.h"

namespace norv::service {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

namespace {

constexpr auto kStartLimit = 10s;
constexpr auto kStopLimit = 5s;

bool Runnable(const fs::path& program) { return ::access(program.c_str(), X_OK) == 0 && !fs::is_directory(program); }

std::string ReadText(const fs::path& path) {
  std::ifstream file(path, std::ios::binary);
  std::ostringstream text;
  text << file.rdbuf();
  return text.str();
}

// Only async-signal-safe calls between fork and exec: the parent has threads.
[[noreturn]] void ExecNginx(const std::vector<char*>& argv, pid_t parent, int quiet, bool keepStderr) {
  ::prctl(PR_SET_PDEATHSIG, SIGTERM);
  if (::getppid() != parent) ::_exit(127);
  ::setpgid(0, 0);  // its workers with it, so that none outlives it
  sigset_t none;
  sigemptyset(&none);
  ::sigprocmask(SIG_SETMASK, &none, nullptr);
  ::signal(SIGPIPE, SIG_DFL);
  ::dup2(quiet, 0);
  ::dup2(quiet, 1);
  if (!keepStderr) ::dup2(quiet, 2);
  ::execv(argv[0], argv.data());
  ::_exit(127);
}

}  // namespace

std::optional<fs::path> FindNginx(const std::string& named) {
  if (!named.empty()) return Runnable(named) ? std::optional<fs::path>(named) : std::nullopt;
  std::string places = ::getenv("PATH") ? ::getenv("PATH") : "";
  places += ":/usr/sbin";
  std::istringstream folders(places);
  for (std::string folder; std::getline(folders, folder, ':');) {
    if (folder.empty()) continue;
    const fs::path program = fs::path(folder) / "nginx";
    if (Runnable(program)) return program;
  }
  return std::nullopt;
}

int FreePort(const std::string& bindAddress) {
  addrinfo hints{};
  hints.ai_flags = AI_NUMERICHOST | AI_PASSIVE;
  hints.ai_socktype = SOCK_STREAM;
  addrinfo* found = nullptr;
  if (::getaddrinfo(bindAddress.c_str(), "0", &hints, &found) != 0) {
    throw std::runtime_error("\"" + bindAddress + "\" is not an IP address");
  }
  const UniqueFd probe(::socket(found->ai_family, SOCK_STREAM | SOCK_CLOEXEC, 0));
  const bool bound = probe.get() >= 0 && ::bind(probe.get(), found->ai_addr, found->ai_addrlen) == 0;
  ::freeaddrinfo(found);
  sockaddr_storage address{};
  socklen_t length = sizeof address;
  if (!bound || ::getsockname(probe.get(), reinterpret_cast<sockaddr*>(&address), &length) != 0) {
    throw std::runtime_error("cannot bind to " + bindAddress);
  }
  return ntohs(address.ss_family == AF_INET6 ? reinterpret_cast<sockaddr_in6*>(&address)->sin6_port
                                             : reinterpret_cast<sockaddr_in*>(&address)->sin_port);
}

NginxProcess::NginxProcess(const fs::path& program, const NginxSite& site) : site_(site) {
  fs::create_directories(site_.state / "tmp");
  const fs::path config = site_.state / "nginx.conf";
  const fs::path pidFile = site_.state / "nginx.pid";
  if (!WriteWhole(config, NginxConfig(site_))) throw NginxError("cannot write " + config.string(), false);
  fs::remove(pidFile);
  fs::remove(site_.state / "error.log");

  std::vector<std::string> args{program.string(), "-e", (site_.state / "error.log").string(), "-p",
                                site_.state.string(), "-c", config.string(), "-g", "daemon off;"};
  std::vector<char*> argv;
  for (std::string& arg : args) argv.push_back(arg.data());
  argv.push_back(nullptr);
  const UniqueFd quiet(::open("/dev/null", O_RDWR | O_CLOEXEC));
  const pid_t parent = ::getpid();
  pid_ = ::fork();
  if (pid_ < 0) throw NginxError("cannot start nginx", false);
  if (pid_ == 0) ExecNginx(argv, parent, quiet.get(), site_.logRequests);
  ::setpgid(pid_, pid_);  // as the child does, whichever comes first
  group_ = pid_;

  // nginx writes its pid file once its sockets listen.
  const auto limit = std::chrono::steady_clock::now() + kStartLimit;
  while (std::chrono::steady_clock::now() < limit) {
    if (Ended()) {
      const std::string reason = ErrorLogReason();
      throw NginxError("nginx did not start: " + (reason.empty() ? EndReason() : reason),
                       reason.find("Address already in use") != std::string::npos);
    }
    if (ReadText(pidFile).starts_with(std::to_string(pid_) + "\n")) return;
    std::this_thread::sleep_for(20ms);
  }
  Stop();
  throw NginxError("nginx did not start within 10 s", false);
}

NginxProcess::~NginxProcess() { Stop(); }

bool NginxProcess::Ended() {
  if (pid_ <= 0) return true;
  if (::waitpid(pid_, &status_, WNOHANG) != pid_) return false;
  Reaped();
  return true;
}

// Workers of a master that was killed would keep the port; they go too.
void NginxProcess::Reaped() {
  pid_ = 0;
  if (group_ > 0) ::kill(-group_, SIGKILL);
  group_ = 0;
}

std::string NginxProcess::EndReason() const {
  if (WIFEXITED(status_)) return "exit status " + std::to_string(WEXITSTATUS(status_));
  if (WIFSIGNALED(status_)) return "signal " + std::to_string(WTERMSIG(status_));
  return "ended";
}

void NginxProcess::Stop() {
  if (Ended()) return;
  ::kill(pid_, SIGTERM);  // a fast stop: the site is static, nothing is lost
  const auto limit = std::chrono::steady_clock::now() + kStopLimit;
  while (!Ended()) {
    if (std::chrono::steady_clock::now() > limit) {
      ::kill(pid_, SIGKILL);
      ::waitpid(pid_, &status_, 0);
      Reaped();
      return;
    }
    std::this_thread::sleep_for(10ms);
  }
}

// The last line nginx logged at its "emerg" level, without its time and process.
std::string NginxProcess::ErrorLogReason() const {
  std::istringstream log(ReadText(site_.state / "error.log"));
  std::string reason;
  for (std::string line; std::getline(log, line);) {
    const std::size_t level = line.find("[emerg] ");
    if (level == std::string::npos) continue;
    const std::size_t text = line.find(": ", level);
    reason = text == std::string::npos ? line.substr(level) : line.substr(text + 2);
  }
  return reason;
}

}  // namespace norv::service
