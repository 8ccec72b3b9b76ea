#pragma once
// The dpi a window is shown at, and the system figures for it. The per-monitor
// functions are looked up at run time: older Windows and Wine may lack them.

#include <windows.h>

namespace norv {

// The dpi of the monitor `window` is on (GetDpiForWindow), or the system dpi.
int DpiOfWindow(HWND window);
int SystemDpi();

// GetSystemMetricsForDpi, or the system figure scaled from the system dpi.
int SystemMetricForDpi(int index, int dpi);

// AdjustWindowRectExForDpi, or AdjustWindowRectEx (which answers for the system dpi).
void AdjustWindowRectForDpi(RECT& rect, DWORD style, DWORD exStyle, int dpi);

// A font of the program's face at `pixels` high at 96 dpi, scaled to `dpi`.
HFONT CreateScaledFont(const wchar_t* face, int pixels, int dpi, bool bold = false, bool underline = false);

}  // namespace norv
