#pragma once
// Dispatching what is queued while the program waits outside its main loop.

namespace norv {

// Dispatches every queued message. A quit is put back for the main loop and
// ends the pump: the result is false then, so the waiting caller stops too.
bool PumpPendingMessages();

}  // namespace norv
