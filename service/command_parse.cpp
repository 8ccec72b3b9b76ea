#include <ostream>

#include "service/commands.h"

namespace norv::service {

int RunParse(Arguments, std::ostream&, std::ostream& err) {
  err << "norv-service parse: not built yet\n";
  return kExitFailure;
}

}  // namespace norv::service
