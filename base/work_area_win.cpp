#include "base/work_area_win.h"

#include <algorithm>

namespace norv {

namespace {

MONITORINFO MonitorInfoOf(HMONITOR monitor) {
  MONITORINFO info{};
  info.cbSize = sizeof info;
  if (!monitor || !::GetMonitorInfoW(monitor, &info)) {
    info.rcMonitor = {0, 0, ::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN)};
    info.rcWork = info.rcMonitor;
    ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &info.rcWork, 0);
  }
  return info;
}

int Clamped(int at, int length, int low, int high) {
  // A box larger than the area keeps its top or left edge visible.
  return std::max(low, std::min(at, high - length));
}

}  // namespace

RECT RestoredFrameOf(HWND window) {
  RECT frame{};
  ::GetWindowRect(window, &frame);
  if (!::IsIconic(window)) {
    return frame;
  }
  WINDOWPLACEMENT placement{};
  placement.length = sizeof placement;
  if (!::GetWindowPlacement(window, &placement)) {
    return frame;
  }
  // The placement is in workspace coordinates: offset by the monitor's
  // taskbar when that sits at its left or top edge.
  RECT restored = placement.rcNormalPosition;
  if (!(::GetWindowLongPtrW(window, GWL_EXSTYLE) & WS_EX_TOOLWINDOW)) {
    const MONITORINFO monitor = MonitorInfoOf(::MonitorFromRect(&restored, MONITOR_DEFAULTTONEAREST));
    ::OffsetRect(&restored, monitor.rcWork.left - monitor.rcMonitor.left, monitor.rcWork.top - monitor.rcMonitor.top);
  }
  return restored;
}

RECT WorkAreaOf(const RECT& frame) {
  return MonitorInfoOf(::MonitorFromRect(&frame, MONITOR_DEFAULTTONEAREST)).rcWork;
}

POINT CentredOn(const RECT& area, SIZE size) {
  return {area.left + (area.right - area.left - size.cx) / 2, area.top + (area.bottom - area.top - size.cy) / 2};
}

POINT KeptOnWorkArea(POINT at, SIZE size) {
  const RECT frame{at.x, at.y, at.x + size.cx, at.y + size.cy};
  const RECT work = WorkAreaOf(frame);
  return {Clamped(at.x, size.cx, work.left, work.right), Clamped(at.y, size.cy, work.top, work.bottom)};
}

}  // namespace norv
