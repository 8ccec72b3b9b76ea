#include "tests/test_service/served_site.h"

#include <ostream>

#include "service/site_input.h"
#include "service/site_layout.h"
#include "service/site_writer.h"

namespace norv::service {

ServedSite::ServedSite(std::filesystem::path store, std::filesystem::path folder, std::string base,
                       SiteSettings settings, TestControls* test)
    : store_(std::move(store)),
      folder_(std::move(folder)),
      base_(std::move(base)),
      settings_(std::move(settings)),
      test_(test) {}

void ServedSite::Publish(bool readStore) {
  std::lock_guard lock(publishing_);
  if (readStore || !histories_) histories_ = Store::Open(store_).AllDraws();
  SiteInput input = SiteInputFor(*histories_, settings_, base_);
  if (test_ != nullptr) test_->Apply(input, std::string_view(base_).substr(0, base_.size() - 1));
  if (const auto problem = SiteProblem(input)) throw SiteWriteError(*problem);
  std::vector<SiteFile> files = BuildSite(input);
  if (test_ != nullptr) test_->MarkSamples(files, SiteLayout(base_));
  WriteSite(folder_, files);
  site_.Publish(files);
}

bool ServedSite::TryPublish(bool readStore, std::ostream& err) {
  try {
    Publish(readStore);
    return true;
  } catch (const std::exception& error) {
    err << "norv-test-service: " << error.what() << "; still serving the last site published\n";
    return false;
  }
}

}  // namespace norv::service
