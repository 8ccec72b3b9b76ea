#include "service/release_publish.h"

#include <fstream>
#include <memory>
#include <sstream>

#include "notices/release_manifest.h"
#include "service/release_signing.h"
#include "service/site_layout.h"
#include "service/site_settings.h"

namespace norv::service {

namespace {

constexpr std::string_view kBinary = "application/octet-stream";
constexpr std::string_view kText = "text/plain; charset=UTF-8";

std::string ReadAll(const std::string& path, std::uintmax_t limit) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw SettingsError(path + ": cannot be read");
  std::string text;
  std::vector<char> buffer(1 << 16);
  while (in.read(buffer.data(), static_cast<std::streamsize>(buffer.size())) || in.gcount() > 0) {
    text.append(buffer.data(), static_cast<std::size_t>(in.gcount()));
    if (text.size() > limit) throw SettingsError(path + ": larger than " + std::to_string(limit) + " bytes");
  }
  if (in.bad()) throw SettingsError(path + ": cannot be read");
  return text;
}

// The file name the manifest's address ends in, which the site must serve.
std::string SetupFileName(const std::string& url) {
  const std::string name = url.substr(url.rfind('/') + 1);
  if (name.empty() || name.front() == '.' ||
      name.find_first_not_of("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789._-") !=
          std::string::npos) {
    throw SettingsError("the manifest's address does not end in a plain file name: " + url);
  }
  return name;
}

}  // namespace

PublishedRelease ReleaseFiles(const std::string& manifestPath, const std::string& setupPath) {
  const std::string text = ReadAll(manifestPath, kManifestMaxBytes);
  const auto manifest = ParseManifest(text);
  if (!manifest) throw SettingsError(manifestPath + ": not a release manifest of the fixed form");
  if (manifest->product != kNorvaleProductCode) {
    throw SettingsError(manifestPath + ": the manifest is for product " + manifest->product + ", not Norvale's " +
                        std::string(kNorvaleProductCode));
  }
  // Read once and checked as read, so the bytes published are the bytes compared.
  auto setup = std::make_shared<const std::string>(ReadAll(setupPath, manifest->size));
  const std::string sha256 = Sha256Hex(*setup);
  if (setup->size() != manifest->size || sha256 != manifest->sha256) {
    throw SettingsError(setupPath + " is not the file the manifest describes (size " + std::to_string(setup->size()) +
                        ", sha256 " + sha256 + ")");
  }
  PublishedRelease published;
  published.release = manifest->release;
  published.files.push_back({"releases/" + SetupFileName(manifest->url), kBinary,
                             std::move(setup)});
  const auto shared = std::make_shared<const std::string>(text);
  for (int copy = 0; copy < 2; ++copy) {
    published.files.push_back({SiteLayout::DownloadFolder(copy) + std::string(kNorvaleManifestName), kText, shared});
  }
  return published;
}

}  // namespace norv::service
