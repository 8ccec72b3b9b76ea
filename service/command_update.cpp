#include <ostream>

#include "service/commands.h"

namespace norv::service {

int RunUpdate(Arguments, std::ostream&, std::ostream& err) {
  err << "norv-service update: not built yet\n";
  return kExitFailure;
}

}  // namespace norv::service
