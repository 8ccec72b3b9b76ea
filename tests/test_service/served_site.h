#pragma once
// The site the test service answers from: the store's histories, with the
// test controls' state on top, published into a private folder and held in
// memory, published again whenever the store or the served state changes.

#include <filesystem>
#include <iosfwd>
#include <mutex>
#include <optional>
#include <string>

#include "tests/test_service/site_server.h"
#include "service/site_settings.h"
#include "service/store.h"
#include "tests/test_service/test_controls.h"

namespace norv::service {

class ServedSite {
 public:
  // `test` is the test mode's state, or null outside it.
  ServedSite(std::filesystem::path store, std::filesystem::path folder, std::string base, SiteSettings settings,
             TestControls* test);

  // Publishes, reading the store again first when `readStore` is set (and on
  // the first publish). Throws StoreError or SiteWriteError; the site
  // served stays the last one published.
  void Publish(bool readStore);

  // The same for a publish nobody waits for: a failure is reported on `err`.
  bool TryPublish(bool readStore, std::ostream& err);

  const SiteServer& Site() const { return site_; }
  const std::string& Base() const { return base_; }

 private:
  const std::filesystem::path store_;
  const std::filesystem::path folder_;
  const std::string base_;
  const SiteSettings settings_;
  TestControls* const test_;
  std::mutex publishing_;
  std::optional<Histories> histories_;
  SiteServer site_;
};

}  // namespace norv::service
