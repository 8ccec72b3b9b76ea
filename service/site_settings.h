#pragma once
// What the maker sets for a published site beyond the draws: the release
// numbers the status file announces and the download pages the download
// lists name. They come from a small config file and from flags:
//
//   # release numbers: four digits, 0051 is 5.1
//   release.norvale = 0051
//   release.damson = 0021
//   # the page a download list names
//   download.damson = https://www.pellmark.example/damson/
//
// Unset releases are this release (0051) for Norvale and 0000 for each
// companion, so that no notice is raised.

#include <map>
#include <stdexcept>
#include <string>
#include <string_view>

#include "service/site_pages.h"

namespace norv::service {

class SettingsError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

struct SiteSettings {
  Releases releases;
  std::map<std::string, std::string> downloadPages;  // download list file name → the page it names
};

// Applies "release.PRODUCT = N" or "download.PRODUCT = URL"; throws
// SettingsError naming what is wrong.
void ApplySetting(SiteSettings& settings, std::string_view name, std::string_view value);

// Every setting of a config file; blank lines and lines starting with # are
// skipped. Errors name the line.
void ApplyConfigText(SiteSettings& settings, std::string_view text);
void ApplyConfigFile(SiteSettings& settings, const std::string& path);

// "--release PRODUCT=N" and "--download PRODUCT=URL" take the same settings.
void ApplyOption(SiteSettings& settings, std::string_view option, std::string_view assignment);

}  // namespace norv::service
