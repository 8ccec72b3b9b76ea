#pragma once
// Debian's nginx run on one site as a child process: started with a
// configuration written into the site's state folder, watched, and stopped.
// It dies with its parent, so a killed `serve` leaves no server behind, and
// its workers end with it.

#include <sys/types.h>

#include <filesystem>
#include <optional>
#include <stdexcept>
#include <string>

#include "service/nginx_config.h"

namespace norv::service {

class NginxError : public std::runtime_error {
 public:
  NginxError(const std::string& reason, bool addressInUse)
      : std::runtime_error(reason), addressInUse_(addressInUse) {}
  // The port was taken by another program.
  bool AddressInUse() const { return addressInUse_; }

 private:
  bool addressInUse_;
};

// The nginx program: `named` when given (and nothing when it cannot be run),
// else the first on PATH, else Debian's /usr/sbin/nginx.
std::optional<std::filesystem::path> FindNginx(const std::string& named);

// A port nothing listens on at `bindAddress` right now; throws
// std::runtime_error when the address cannot be bound.
int FreePort(const std::string& bindAddress);

class NginxProcess {
 public:
  // Writes the configuration and starts nginx; returns once it listens.
  // Throws NginxError with nginx's own reason when it does not.
  NginxProcess(const std::filesystem::path& program, const NginxSite& site);
  ~NginxProcess();
  NginxProcess(const NginxProcess&) = delete;
  NginxProcess& operator=(const NginxProcess&) = delete;

  // Whether nginx has ended (it is reaped then); how, in EndReason().
  bool Ended();
  std::string EndReason() const;

 private:
  void Stop();
  void Reaped();
  std::string ErrorLogReason() const;

  const NginxSite site_;
  pid_t pid_ = -1;
  pid_t group_ = 0;  // nginx's process group: the master and its workers
  int status_ = 0;
};

}  // namespace norv::service
