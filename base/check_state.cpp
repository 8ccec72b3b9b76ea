#include "base/check_state.h"

namespace norv {

// Never destroyed: a checker thread that outlives the window at exit may still
// read it while the process winds down.
CheckState& AppCheckState() {
  static CheckState* const state = new CheckState;
  return *state;
}

}  // namespace norv
