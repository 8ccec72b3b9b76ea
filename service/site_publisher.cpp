#include "service/site_publisher.h"

#include <ostream>

#include "service/site_input.h"
#include "service/site_writer.h"
#include "service/store.h"

namespace norv::service {

SitePublisher::SitePublisher(std::filesystem::path store, std::filesystem::path site, std::string base,
                             SiteSettings settings)
    : store_(std::move(store)), site_(std::move(site)), base_(std::move(base)), settings_(std::move(settings)) {}

void SitePublisher::Publish() {
  std::lock_guard lock(publishing_);
  const SiteInput input = SiteInputFor(Store::Open(store_).AllDraws(), settings_, base_);
  if (const auto problem = SiteProblem(input)) throw SiteWriteError(*problem);
  WriteSite(site_, BuildSite(input));
}

bool SitePublisher::TryPublish(std::ostream& err) {
  try {
    Publish();
    return true;
  } catch (const std::exception& error) {
    err << "norv-service serve: " << error.what() << "; still serving the last site published\n";
    return false;
  }
}

}  // namespace norv::service
