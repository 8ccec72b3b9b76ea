#pragma once
// The service addresses this process was pointed at, for files that also see
// notices/version_notice.h, whose address callable is named like the function
// of acquisition/service_addresses.h.

#include <string>
#include <string_view>

namespace norv {

// The primary (or secondary) directory endpoint.
const std::string& AppDirectoryEndpoint(bool secondary);

std::string AppDownloadListAddress(std::string_view fileName, bool secondary);

}  // namespace norv
