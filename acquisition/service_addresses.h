#pragma once
// Every address of the maker's service and of the pages the program opens.
// The environment can point the service addresses elsewhere, for tests and
// demonstrations against a local draw service.

#include <array>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace norv {

inline constexpr const char* kDirectory1Variable = "NORVALE_DIRECTORY_1";
inline constexpr const char* kDirectory2Variable = "NORVALE_DIRECTORY_2";
inline constexpr const char* kDownload1Variable = "NORVALE_DOWNLOAD_1";
inline constexpr const char* kDownload2Variable = "NORVALE_DOWNLOAD_2";

struct ServiceAddresses {
  // Primary and secondary directory endpoint, each ending in the query "?SFT=0".
  std::array<std::string, 2> directoryEndpoints;
  // Primary and secondary folder of the download lists, each ending in "/".
  std::array<std::string, 2> downloadFolders;
  std::string supportPage;
  std::string bankPage;
  std::string makerPage;
};

using EnvironmentReader = std::function<std::optional<std::string>(const char* name)>;

ServiceAddresses ResolveServiceAddresses(const EnvironmentReader& environment);

// Resolved once from the process environment.
const ServiceAddresses& AppServiceAddresses();

// The address of a download list ("bc4_dlf.new" and so on) in the primary
// folder, or in the secondary one when `secondary` is set.
std::string DownloadListAddress(const ServiceAddresses& addresses, std::string_view fileName, bool secondary);

// The same, of the addresses this process was pointed at.
const std::string& AppDirectoryEndpoint(bool secondary);
std::string AppDownloadListAddress(std::string_view fileName, bool secondary);

}  // namespace norv
