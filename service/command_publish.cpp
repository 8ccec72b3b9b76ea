#include <ostream>

#include "service/commands.h"

namespace norv::service {

int RunPublish(Arguments, std::ostream&, std::ostream& err) {
  err << "norv-service publish: not built yet\n";
  return kExitFailure;
}

}  // namespace norv::service
