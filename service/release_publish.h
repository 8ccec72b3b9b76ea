#pragma once
// A signed release put on the site: the setup program in releases/ and its
// manifest in both download folders. Publishing needs no key; it only makes
// sure that the manifest describes the very file being published.

#include <string>
#include <vector>

#include "service/site_content.h"

namespace norv::service {

struct PublishedRelease {
  int release = 0;  // Norvale's release number the status file then announces
  std::vector<SiteFile> files;
};

// Throws SettingsError naming what does not match or cannot be read.
PublishedRelease ReleaseFiles(const std::string& manifestPath, const std::string& setupPath);

}  // namespace norv::service
