#pragma once
// The checker's start-up run: the four tables loaded from the data files,
// without the network, on a worker thread of its own.

#include <windows.h>

#include <stop_token>
#include <string>

namespace norv {

// Starts the run and returns at once; the thread is detached and reaches the
// window only through RunOnWindowThread.
void LaunchStartupRun(HWND window, std::stop_token stop, std::string dataFolder);

}  // namespace norv
