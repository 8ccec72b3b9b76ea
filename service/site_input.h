#pragma once
// What a publish of the store's histories with the maker's settings holds.

#include <string>

#include "service/site_content.h"
#include "service/site_settings.h"
#include "service/store.h"

namespace norv::service {

SiteInput SiteInputFor(Histories histories, const SiteSettings& settings, std::string base);

}  // namespace norv::service
