#pragma once
// The options `publish`, `serve` and the test service share: the config file
// and the release and download settings of the site.

#include <string>

#include "service/arguments.h"
#include "service/site_settings.h"

namespace norv::service {

// `spec` with --config, --release and --download added; each may be given
// more than once.
OptionSpec WithSiteOptions(OptionSpec spec);

// Applies --config, --release and --download in the order given; throws
// UsageError naming a value that is wrong or a config file that is.
SiteSettings SiteSettingsFrom(const ParsedArguments& parsed);

// The four lines a script reads to point Norvale at the site: the two
// directory endpoints and, when the site has download lists, their folders.
std::string EnvironmentLines(const std::string& base, bool downloadLists);

}  // namespace norv::service
