#pragma once
// The options `publish` and `serve` share: the config file and the
// release and download settings of the site.

#include <string>

#include "service/commands.h"
#include "service/site_settings.h"

namespace norv::service {

// Takes args[i] (and its value, moving i past it) when it is --config,
// --release or --download. Returns false for any other option. Throws
// SettingsError for a value that is wrong or missing.
bool TakeSiteOption(Arguments args, std::size_t& i, SiteSettings& settings);

// The value after args[i] (moving i past it); throws SettingsError when none.
const std::string& OptionValue(Arguments args, std::size_t& i);

// The four lines a script reads to point Norvale at the site: the two
// directory endpoints and, when the site has download lists, their folders.
std::string EnvironmentLines(const std::string& base, bool downloadLists);

}  // namespace norv::service
