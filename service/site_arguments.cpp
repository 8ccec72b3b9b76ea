#include "service/site_arguments.h"

#include "service/site_layout.h"

namespace norv::service {

OptionSpec WithSiteOptions(OptionSpec spec) {
  spec.repeated.insert(spec.repeated.end(), {"--config", "--release", "--download"});
  return spec;
}

SiteSettings SiteSettingsFrom(const ParsedArguments& parsed) {
  SiteSettings settings;
  try {
    for (const auto& [option, value] : parsed.options) {
      if (option == "--config") {
        ApplyConfigFile(settings, value);
      } else if (option == "--release" || option == "--download") {
        ApplyOption(settings, option, value);
      }
    }
  } catch (const SettingsError& error) {
    throw UsageError(error.what());
  }
  return settings;
}

std::string EnvironmentLines(const std::string& base, bool downloadLists) {
  const SiteLayout layout(base);
  std::string lines = "NORVALE_DIRECTORY_1=" + layout.DirectoryEndpoint(0) + "\n" +
                      "NORVALE_DIRECTORY_2=" + layout.DirectoryEndpoint(1) + "\n";
  if (downloadLists) {
    lines += "NORVALE_DOWNLOAD_1=" + layout.Address(SiteLayout::DownloadFolder(0)) + "\n" +
             "NORVALE_DOWNLOAD_2=" + layout.Address(SiteLayout::DownloadFolder(1)) + "\n";
  }
  return lines;
}

}  // namespace norv::service
