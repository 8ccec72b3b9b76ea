#include <ostream>

#include "service/commands.h"

namespace norv::service {

int RunServe(Arguments, std::ostream&, std::ostream& err) {
  err << "norv-service serve: not built yet\n";
  return kExitFailure;
}

}  // namespace norv::service
