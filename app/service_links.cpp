#include "app/service_links.h"

#include "acquisition/service_addresses.h"

namespace norv {

const std::string& AppDirectoryEndpoint(bool secondary) {
  return AppServiceAddresses().directoryEndpoints[secondary ? 1 : 0];
}

std::string AppDownloadListAddress(std::string_view fileName, bool secondary) {
  return DownloadListAddress(AppServiceAddresses(), fileName, secondary);
}

}  // namespace norv
