#pragma once
// The nginx configuration of the published site (nginx-site.conf beside this
// file, carried inside the program), filled in for one server. tools/nginx-site
// fills in the same file.

#include <filesystem>
#include <stdexcept>
#include <string>

namespace norv::service {

struct NginxSite {
  std::string listen;               // "127.0.0.1:8080"
  std::filesystem::path root;       // the site link, absolute
  std::filesystem::path state;      // pid file, logs, temporary folders; absolute
  int workers = 0;                  // 0: one per processor
  bool logRequests = false;         // each request on stderr
  int headerSeconds = 10;           // the time to send a whole request head
  bool asRoot = false;              // the master runs as root
};

class NginxConfigError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Throws NginxConfigError for a folder nginx would read otherwise than meant.
std::string NginxConfig(const NginxSite& site);

}  // namespace norv::service
