#include "service/update_once.h"

#include <ostream>

#include "service/commands.h"

namespace norv::service {

// Stands in until the store's update code is joined to the service.
int RunUpdateOnce(const std::filesystem::path& store, std::ostream& err) {
  err << "norv-service: update of " << store.string() << " is not built into this service yet\n";
  return kExitFailure;
}

}  // namespace norv::service
