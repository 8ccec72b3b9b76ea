#include "service/site_arguments.h"

#include "service/site_layout.h"

namespace norv::service {

const std::string& OptionValue(Arguments args, std::size_t& i) {
  if (i + 1 >= args.size()) throw SettingsError(args[i] + " needs a value");
  return args[++i];
}

bool TakeSiteOption(Arguments args, std::size_t& i, SiteSettings& settings) {
  const std::string& option = args[i];
  if (option == "--config") {
    ApplyConfigFile(settings, OptionValue(args, i));
  } else if (option == "--release" || option == "--download") {
    ApplyOption(settings, option, OptionValue(args, i));
  } else {
    return false;
  }
  return true;
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
