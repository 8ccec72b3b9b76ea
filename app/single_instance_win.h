#pragma once
// At most one copy of the program per logon, through the named mutex "norv".

#include "base/handles_win.h"

namespace norv {

// True when an object named "norv" exists, whoever owns it, also one this
// copy is denied access to.
bool AnotherInstanceRuns();

// The second copy's farewell: the message, then the first copy's main window
// restored when minimised and brought to the foreground (a hidden window
// stays hidden).
void RefuseSecondStart();

// Ownership of the instance mutex from creation until Release.
class InstanceMutex {
 public:
  InstanceMutex();
  // Another copy created the mutex between our test and our creation.
  bool LostRace() const { return lostRace_; }
  void Release();

 private:
  UniqueKernelHandle handle_;
  bool lostRace_ = false;
  bool owned_ = false;
};

}  // namespace norv
