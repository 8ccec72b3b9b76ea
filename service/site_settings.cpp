#include "service/site_settings.h"

#include <algorithm>
#include <array>
#include <fstream>
#include <sstream>
#include <utility>

#include "base/text_basics.h"
#include "service/site_layout.h"

namespace norv::service {

namespace {

constexpr int kHighestRelease = 9999;  // four digits in the status file

int* ReleaseField(Releases& releases, std::string_view product) {
  const std::array<std::pair<std::string_view, int*>, 6> fields{{{"norvale", &releases.norvale},
                                                                 {"birch", &releases.birch},
                                                                 {"cedar", &releases.cedar},
                                                                 {"damson", &releases.damson},
                                                                 {"elder", &releases.elder},
                                                                 {"fennel", &releases.fennel}}};
  for (const auto& [name, field] : fields) {
    if (name == product) return field;
  }
  return nullptr;
}

std::string_view DownloadFileOf(std::string_view product) {
  for (const DownloadProduct& candidate : kDownloadProducts) {
    if (candidate.name == product) return candidate.fileName;
  }
  return {};
}

std::string_view Trimmed(std::string_view text) { return TrimControls(text); }

}  // namespace

void ApplySetting(SiteSettings& settings, std::string_view name, std::string_view value) {
  if (name.starts_with("release.")) {
    int* field = ReleaseField(settings.releases, name.substr(8));
    if (field == nullptr) {
      throw SettingsError("no product \"" + std::string(name.substr(8)) +
                          "\" (norvale, birch, cedar, damson, elder, fennel)");
    }
    const std::optional<int> number = ParseDigits(value);
    if (!number || *number > kHighestRelease) {
      throw SettingsError("release \"" + std::string(value) + "\" of " + std::string(name.substr(8)) +
                          " is not a number from 0 to 9999");
    }
    *field = *number;
    return;
  }
  if (name.starts_with("download.")) {
    const std::string_view file = DownloadFileOf(name.substr(9));
    if (file.empty()) {
      throw SettingsError("no download list for \"" + std::string(name.substr(9)) +
                          "\" (birch, cedar, damson, elder, fennel)");
    }
    if (value.empty() || std::any_of(value.begin(), value.end(), [](char c) { return static_cast<unsigned char>(c) < 32; })) {
      throw SettingsError("the download page of " + std::string(name.substr(9)) + " must be one address on one line");
    }
    settings.downloadPages[std::string(file)] = std::string(value);
    return;
  }
  throw SettingsError("no setting \"" + std::string(name) + "\" (release.PRODUCT, download.PRODUCT)");
}

void ApplyConfigText(SiteSettings& settings, std::string_view text) {
  int lineNumber = 0;
  while (!text.empty()) {
    const std::size_t end = text.find('\n');
    const std::string_view line = Trimmed(text.substr(0, end));
    text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
    ++lineNumber;
    if (line.empty() || line.front() == '#') continue;
    const std::size_t equals = line.find('=');
    try {
      if (equals == std::string_view::npos) throw SettingsError("expected NAME = VALUE");
      ApplySetting(settings, Trimmed(line.substr(0, equals)), Trimmed(line.substr(equals + 1)));
    } catch (const SettingsError& error) {
      throw SettingsError("line " + std::to_string(lineNumber) + ": " + error.what());
    }
  }
}

void ApplyConfigFile(SiteSettings& settings, const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  if (!file) throw SettingsError("cannot read the config file " + path);
  std::ostringstream text;
  text << file.rdbuf();
  try {
    ApplyConfigText(settings, text.str());
  } catch (const SettingsError& error) {
    throw SettingsError(path + ": " + error.what());
  }
}

void ApplyOption(SiteSettings& settings, std::string_view option, std::string_view assignment) {
  const std::size_t equals = assignment.find('=');
  if (equals == std::string_view::npos) throw SettingsError(std::string(option) + " takes PRODUCT=VALUE");
  const std::string prefix = option == "--release" ? "release." : "download.";
  ApplySetting(settings, prefix + std::string(assignment.substr(0, equals)), assignment.substr(equals + 1));
}

}  // namespace norv::service
