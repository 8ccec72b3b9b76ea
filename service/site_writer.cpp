#include "service/site_writer.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <optional>
#include <set>
#include <string>
#include <system_error>

#include "service/durable_file.h"

namespace norv::service {

namespace fs = std::filesystem;

namespace {

constexpr int kVersionDigits = 8;

[[noreturn]] void Fail(const std::string& what, int error = errno) {
  throw SiteWriteError(what + ": " + std::strerror(error));
}

void MakeFolder(const fs::path& folder) {
  if (::mkdir(folder.c_str(), 0755) != 0 && errno != EEXIST) Fail("cannot create the folder " + folder.string());
}

std::optional<long> VersionNumber(const fs::path& entry) {
  const std::string name = entry.filename().string();
  if (name.size() != kVersionDigits || !std::all_of(name.begin(), name.end(), [](char c) { return c >= '0' && c <= '9'; })) {
    return std::nullopt;
  }
  return std::stol(name);
}

std::string VersionName(long number) {
  std::string name = std::to_string(number);
  return std::string(static_cast<std::size_t>(kVersionDigits) - std::min<std::size_t>(name.size(), kVersionDigits), '0') + name;
}

fs::path NextVersionFolder(const fs::path& versions) {
  long highest = 0;
  for (const fs::directory_entry& entry : fs::directory_iterator(versions)) {
    if (const auto number = VersionNumber(entry.path())) highest = std::max(highest, *number);
  }
  return versions / VersionName(highest + 1);
}

// The version folder the site links to now, if it is one of ours.
std::optional<fs::path> CurrentVersion(const fs::path& site) {
  std::error_code error;
  const fs::file_status status = fs::symlink_status(site, error);
  if (error || status.type() == fs::file_type::not_found) return std::nullopt;
  if (status.type() == fs::file_type::directory) {
    if (!fs::is_empty(site, error) || error) {
      throw SiteWriteError(site.string() + " is a folder, not a link to a published version; move it away first");
    }
    if (::rmdir(site.c_str()) != 0) Fail("cannot remove the empty folder " + site.string());
    return std::nullopt;
  }
  if (status.type() != fs::file_type::symlink) {
    throw SiteWriteError(site.string() + " exists and is not a link to a published version");
  }
  return site.parent_path() / fs::read_symlink(site);
}

void WriteVersion(const fs::path& folder, const std::vector<SiteFile>& files) {
  MakeFolder(folder);
  std::set<fs::path> folders{folder};
  for (const SiteFile& file : files) {
    const fs::path path = folder / file.path;
    for (fs::path parent = path.parent_path(); folders.insert(parent).second; parent = parent.parent_path()) {
      fs::create_directories(parent);
      fs::permissions(parent, fs::perms(0755));
    }
    WriteNewFileDurably(path, *file.body);
  }
  // Deepest first, so each folder is flushed after the entries inside it.
  for (auto it = folders.rbegin(); it != folders.rend(); ++it) SyncFolder(*it);
}

// A new link beside the site, renamed over it: rename replaces in one step.
void SwapLink(const fs::path& site, const fs::path& version) {
  const fs::path link = site.parent_path() / ("." + site.filename().string() + ".swap");
  ::unlink(link.c_str());
  // Relative, so that the site and its versions can move together.
  const fs::path target = VersionsFolder(site).filename() / version.filename();
  if (::symlink(target.c_str(), link.c_str()) != 0) Fail("cannot create the link " + link.string());
  if (::rename(link.c_str(), site.c_str()) != 0) {
    const int error = errno;
    ::unlink(link.c_str());
    Fail("cannot put the new version in place at " + site.string(), error);
  }
  SyncFolder(site.parent_path());
}

void RemoveOldVersions(const fs::path& versions, const fs::path& current, const std::optional<fs::path>& previous) {
  for (const fs::directory_entry& entry : fs::directory_iterator(versions)) {
    if (!VersionNumber(entry.path())) continue;
    if (fs::equivalent(entry.path(), current) || (previous && fs::exists(*previous) && fs::equivalent(entry.path(), *previous))) {
      continue;
    }
    std::error_code ignored;  // a version left behind is removed by the next publish
    fs::remove_all(entry.path(), ignored);
  }
}

}  // namespace

fs::path VersionsFolder(const fs::path& site) {
  return site.parent_path() / (site.filename().string() + ".versions");
}

fs::path WriteSite(const fs::path& sitePath, const std::vector<SiteFile>& files) {
  const fs::path site = fs::absolute(sitePath).lexically_normal();
  if (site.filename().empty()) throw SiteWriteError("the site path " + sitePath.string() + " names no folder");
  try {
    fs::create_directories(site.parent_path());
    const fs::path versions = VersionsFolder(site);
    MakeFolder(versions);
    const FileLock lock(versions / ".lock");

    const std::optional<fs::path> previous = CurrentVersion(site);
    const fs::path version = NextVersionFolder(versions);
    WriteVersion(version, files);
    SyncFolder(versions);
    SwapLink(site, version);
    RemoveOldVersions(versions, version, previous);
    return version;
  } catch (const fs::filesystem_error& error) {
    throw SiteWriteError(error.what());
  } catch (const std::system_error& error) {
    throw SiteWriteError(error.what());
  }
}

}  // namespace norv::service
