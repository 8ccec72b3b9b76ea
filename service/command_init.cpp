#include <ostream>

#include "service/commands.h"

namespace norv::service {

int RunInit(Arguments, std::ostream&, std::ostream& err) {
  err << "norv-service init: not built yet\n";
  return kExitFailure;
}

}  // namespace norv::service
