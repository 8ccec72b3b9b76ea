#pragma once
// The maker's service runs beside the Windows tests: in test mode
// (tools/service-ctl) and as the real published site (tools/site-ctl). Both
// keep their state, port files included, in the folder that
// NORVALE_LOCAL_SERVICES names.

#include <fstream>
#include <optional>
#include <string>
#include <string_view>

#include "acquisition/environment.h"

namespace norv::testing {

// A file of that folder, or nothing when the tests run without the services.
inline std::optional<std::string> LocalServicesFile(std::string_view name) {
  const std::optional<std::string> folder = ReadEnvironment("NORVALE_LOCAL_SERVICES");
  if (!folder) return std::nullopt;
  return *folder + "/" + std::string(name);
}

// The port in one of its port files ("service.port" for the test service,
// "nginx.port" and "serve.port" for the published site), or 0.
inline int LocalServicePort(std::string_view portFile) {
  int port = 0;
  if (const std::optional<std::string> file = LocalServicesFile(portFile)) std::ifstream(*file) >> port;
  return port;
}

}  // namespace norv::testing
