#pragma once
// Keeping a box on screen next to a window that may be minimised.

#include <windows.h>

namespace norv {

// The window's frame in screen coordinates; for a minimised window the frame
// it had before (GetWindowRect reports a parking place far off screen then).
RECT RestoredFrameOf(HWND window);

// The work area of the monitor that `frame` lies mostly on (the nearest one).
RECT WorkAreaOf(const RECT& frame);

// Top-left corner for a box of `size` centred on `area`.
POINT CentredOn(const RECT& area, SIZE size);

// The top-left corner that keeps a box of `size` at `at` inside the work area
// of the monitor it opens on, moved as little as possible.
POINT KeptOnWorkArea(POINT at, SIZE size);

}  // namespace norv
