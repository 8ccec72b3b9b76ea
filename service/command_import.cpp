#include <ostream>

#include "service/commands.h"

namespace norv::service {

int RunImport(Arguments, std::ostream&, std::ostream& err) {
  err << "norv-service import: not built yet\n";
  return kExitFailure;
}

}  // namespace norv::service
