#pragma once
// The site `serve` publishes: the store's histories written into its site
// folder, again whenever the store changes. A publish that fails leaves the
// site before it in place.

#include <filesystem>
#include <iosfwd>
#include <mutex>
#include <string>

#include "service/site_settings.h"

namespace norv::service {

class SitePublisher {
 public:
  SitePublisher(std::filesystem::path store, std::filesystem::path site, std::string base, SiteSettings settings);

  // Reads the store and publishes it. Throws StoreError or SiteWriteError.
  void Publish();

  // The same for a publish nobody waits for: a failure is reported on `err`.
  bool TryPublish(std::ostream& err);

  const std::string& Base() const { return base_; }
  const std::filesystem::path& Site() const { return site_; }

 private:
  const std::filesystem::path store_;
  const std::filesystem::path site_;
  const std::string base_;
  const SiteSettings settings_;
  std::mutex publishing_;  // the store watch and the update schedule may publish at once
};

}  // namespace norv::service
