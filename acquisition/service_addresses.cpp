#include "acquisition/service_addresses.h"

#include "acquisition/environment.h"

namespace norv {

namespace {

// The build names the maker's service (the CMake cache variables of the same
// names). Left alone, it lives under the reserved .example domain so that a
// build never polls a host this project does not control; a test names the
// local service through the environment.
#ifndef NORVALE_DIRECTORY_1_DEFAULT
#define NORVALE_DIRECTORY_1_DEFAULT "https://directory1.norvale.example/dir.cgi?SFT=0"
#endif
#ifndef NORVALE_DIRECTORY_2_DEFAULT
#define NORVALE_DIRECTORY_2_DEFAULT "https://directory2.norvale.example/dir.cgi?SFT=0"
#endif
#ifndef NORVALE_DOWNLOAD_1_DEFAULT
#define NORVALE_DOWNLOAD_1_DEFAULT "https://download1.norvale.example/dlf/"
#endif
#ifndef NORVALE_DOWNLOAD_2_DEFAULT
#define NORVALE_DOWNLOAD_2_DEFAULT "https://download2.norvale.example/dlf/"
#endif
constexpr std::string_view kDirectory1 = NORVALE_DIRECTORY_1_DEFAULT;
constexpr std::string_view kDirectory2 = NORVALE_DIRECTORY_2_DEFAULT;
constexpr std::string_view kDownload1 = NORVALE_DOWNLOAD_1_DEFAULT;
constexpr std::string_view kDownload2 = NORVALE_DOWNLOAD_2_DEFAULT;
constexpr std::string_view kSupportPage = "http://support.norvale.example/norv/";
constexpr std::string_view kMakerPage = "http://www.pellmark.example/";
constexpr std::string_view kBankPage = "https://www.mizuhobank.co.jp/takarakuji/index.html";

constexpr std::string_view kDirectoryQuery = "?SFT=0";

// An unset or empty variable keeps the compiled-in address.
std::string Override(const EnvironmentReader& environment, const char* name, std::string_view fallback) {
  std::optional<std::string> value = environment ? environment(name) : std::nullopt;
  if (!value || value->empty()) {
    return std::string(fallback);
  }
  return std::move(*value);
}

// An endpoint given without any query gets the directory query, so that
// "http://host/dir.cgi" and "http://host/dir.cgi?SFT=0" ask the same thing.
std::string AsDirectoryEndpoint(std::string address) {
  if (address.find('?') == std::string::npos) {
    address.append(kDirectoryQuery);
  }
  return address;
}

std::string AsFolder(std::string address) {
  if (address.back() != '/') {
    address.push_back('/');
  }
  return address;
}

}  // namespace

ServiceAddresses ResolveServiceAddresses(const EnvironmentReader& environment) {
  ServiceAddresses addresses;
  addresses.directoryEndpoints = {
      AsDirectoryEndpoint(Override(environment, kDirectory1Variable, kDirectory1)),
      AsDirectoryEndpoint(Override(environment, kDirectory2Variable, kDirectory2)),
  };
  addresses.downloadFolders = {
      AsFolder(Override(environment, kDownload1Variable, kDownload1)),
      AsFolder(Override(environment, kDownload2Variable, kDownload2)),
  };
  addresses.supportPage = kSupportPage;
  addresses.bankPage = kBankPage;
  addresses.makerPage = kMakerPage;
  return addresses;
}

const ServiceAddresses& AppServiceAddresses() {
  static const ServiceAddresses addresses = ResolveServiceAddresses(&ReadEnvironment);
  return addresses;
}

std::string DownloadListAddress(const ServiceAddresses& addresses, std::string_view fileName, bool secondary) {
  return addresses.downloadFolders[secondary ? 1 : 0] + std::string(fileName);
}

const std::string& AppDirectoryEndpoint(bool secondary) {
  return AppServiceAddresses().directoryEndpoints[secondary ? 1 : 0];
}

std::string AppDownloadListAddress(std::string_view fileName, bool secondary) {
  return DownloadListAddress(AppServiceAddresses(), fileName, secondary);
}

}  // namespace norv
