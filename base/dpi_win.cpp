#include "base/dpi_win.h"

#include "base/dpi.h"
#include "base/handles_win.h"

namespace norv {

namespace {

using GetDpiForWindowFn = UINT(WINAPI*)(HWND);
using GetSystemMetricsForDpiFn = int(WINAPI*)(int, UINT);
using AdjustWindowRectExForDpiFn = BOOL(WINAPI*)(LPRECT, DWORD, BOOL, DWORD, UINT);

template <typename Fn>
Fn User32Function(const char* name) {
  HMODULE user32 = ::GetModuleHandleW(L"user32.dll");
  return user32 ? reinterpret_cast<Fn>(reinterpret_cast<void*>(::GetProcAddress(user32, name))) : nullptr;
}

struct PerMonitorFunctions {
  GetDpiForWindowFn dpiForWindow = User32Function<GetDpiForWindowFn>("GetDpiForWindow");
  GetSystemMetricsForDpiFn metricsForDpi = User32Function<GetSystemMetricsForDpiFn>("GetSystemMetricsForDpi");
  AdjustWindowRectExForDpiFn adjustForDpi = User32Function<AdjustWindowRectExForDpiFn>("AdjustWindowRectExForDpi");
};

const PerMonitorFunctions& Functions() {
  static const PerMonitorFunctions functions;
  return functions;
}

}  // namespace

int SystemDpi() {
  WindowDc screen(nullptr);
  const int dpi = screen.get() ? ::GetDeviceCaps(screen.get(), LOGPIXELSY) : 0;
  return dpi > 0 ? dpi : kBaseDpi;
}

int DpiOfWindow(HWND window) {
  if (window && Functions().dpiForWindow) {
    const UINT dpi = Functions().dpiForWindow(window);
    if (dpi > 0) {
      return static_cast<int>(dpi);
    }
  }
  return SystemDpi();
}

int SystemMetricForDpi(int index, int dpi) {
  if (Functions().metricsForDpi) {
    return Functions().metricsForDpi(index, static_cast<UINT>(dpi));
  }
  return ::MulDiv(::GetSystemMetrics(index), dpi, SystemDpi());
}

void AdjustWindowRectForDpi(RECT& rect, DWORD style, DWORD exStyle, int dpi) {
  if (Functions().adjustForDpi) {
    Functions().adjustForDpi(&rect, style, FALSE, exStyle, static_cast<UINT>(dpi));
  } else {
    ::AdjustWindowRectEx(&rect, style, FALSE, exStyle);
  }
}

HFONT CreateScaledFont(const wchar_t* face, int pixels, int dpi, bool bold, bool underline) {
  return ::CreateFontW(-Scale(pixels, dpi), 0, 0, 0, bold ? FW_BOLD : FW_NORMAL, FALSE, underline, FALSE,
                       SHIFTJIS_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                       DEFAULT_PITCH | FF_DONTCARE, face);
}

}  // namespace norv
