#include "service/site_input.h"

namespace norv::service {

SiteInput SiteInputFor(Histories histories, const SiteSettings& settings, std::string base) {
  SiteInput input;
  input.base = std::move(base);
  for (std::size_t i = 0; i < histories.size(); ++i) input.games[i].draws = std::move(histories[i]);
  input.releases = settings.releases;
  for (const auto& [fileName, page] : settings.downloadPages) input.downloadLists.emplace_back(fileName, page);
  return input;
}

}  // namespace norv::service
