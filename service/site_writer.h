#pragma once
// Puts a new version of the site in place in one step. SITE is a symbolic
// link to a version folder beside it, in SITE.versions/; a new version is
// written whole into a fresh folder, every file and folder flushed to the
// disk, and then a new link is renamed over SITE. A client therefore finds
// either the old site or the new one, never a mix. The previous version stays
// for readers still inside it; older ones are removed after the swap.

#include <filesystem>
#include <stdexcept>
#include <vector>

#include "service/site_content.h"

namespace norv::service {

class SiteWriteError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// The folder that holds the versions of the site at `site`.
std::filesystem::path VersionsFolder(const std::filesystem::path& site);

// Writes `files` as the new version of `site` and swaps it in; returns the
// new version's folder. Throws SiteWriteError with the reason. A `site` that
// is a folder of its own (not a link made here) is refused unless empty.
// Publishers of the same site take turns through a lock in the versions folder.
std::filesystem::path WriteSite(const std::filesystem::path& site, const std::vector<SiteFile>& files);

}  // namespace norv::service
