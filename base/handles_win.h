#pragma once
// Move-only owners for Windows handles: each closes exactly once.

#include <windows.h>
#include <wininet.h>

#include <utility>

namespace norv {

template <typename T, auto Close>
class UniqueHandle {
 public:
  UniqueHandle() = default;
  explicit UniqueHandle(T value) : value_(value) {}
  UniqueHandle(const UniqueHandle&) = delete;
  UniqueHandle& operator=(const UniqueHandle&) = delete;
  UniqueHandle(UniqueHandle&& other) noexcept : value_(std::exchange(other.value_, T{})) {}
  UniqueHandle& operator=(UniqueHandle&& other) noexcept {
    if (this != &other) {
      reset(std::exchange(other.value_, T{}));
    }
    return *this;
  }
  ~UniqueHandle() { reset(); }

  T get() const { return value_; }
  explicit operator bool() const { return value_ != T{}; }
  T release() { return std::exchange(value_, T{}); }
  void reset(T value = T{}) {
    if (value_ != T{}) {
      Close(value_);
    }
    value_ = value;
  }

 private:
  T value_ = T{};
};

namespace detail {
inline void CloseKernelHandle(HANDLE h) { ::CloseHandle(h); }
inline void CloseRegKey(HKEY k) { ::RegCloseKey(k); }
inline void CloseInternet(HINTERNET h) { ::InternetCloseHandle(h); }
inline void DeleteGdiObject(HGDIOBJ o) { ::DeleteObject(o); }
inline void DestroyIconHandle(HICON i) { ::DestroyIcon(i); }
inline void DestroyMenuHandle(HMENU m) { ::DestroyMenu(m); }
inline void DeleteMemoryDc(HDC dc) { ::DeleteDC(dc); }
}  // namespace detail

using UniqueKernelHandle = UniqueHandle<HANDLE, detail::CloseKernelHandle>;
using UniqueRegKey = UniqueHandle<HKEY, detail::CloseRegKey>;
using UniqueInternet = UniqueHandle<HINTERNET, detail::CloseInternet>;
using UniqueGdiObject = UniqueHandle<HGDIOBJ, detail::DeleteGdiObject>;
using UniqueFont = UniqueHandle<HFONT, detail::DeleteGdiObject>;
using UniqueBitmap = UniqueHandle<HBITMAP, detail::DeleteGdiObject>;
using UniqueBrush = UniqueHandle<HBRUSH, detail::DeleteGdiObject>;
using UniqueIcon = UniqueHandle<HICON, detail::DestroyIconHandle>;
using UniqueMenu = UniqueHandle<HMENU, detail::DestroyMenuHandle>;
using UniqueMemoryDc = UniqueHandle<HDC, detail::DeleteMemoryDc>;

// CreateFileW reports failure as INVALID_HANDLE_VALUE, not null; keep one "empty".
inline UniqueKernelHandle AdoptFileHandle(HANDLE h) {
  return UniqueKernelHandle(h == INVALID_HANDLE_VALUE ? nullptr : h);
}

// A DC obtained with GetDC, released against the window it came from.
class WindowDc {
 public:
  explicit WindowDc(HWND window) : window_(window), dc_(::GetDC(window)) {}
  WindowDc(const WindowDc&) = delete;
  WindowDc& operator=(const WindowDc&) = delete;
  ~WindowDc() {
    if (dc_) {
      ::ReleaseDC(window_, dc_);
    }
  }
  HDC get() const { return dc_; }

 private:
  HWND window_;
  HDC dc_;
};

// The paint of one WM_PAINT: BeginPaint now, EndPaint on every way out.
class PaintScope {
 public:
  explicit PaintScope(HWND window) : window_(window), dc_(::BeginPaint(window, &paint_)) {}
  PaintScope(const PaintScope&) = delete;
  PaintScope& operator=(const PaintScope&) = delete;
  ~PaintScope() { ::EndPaint(window_, &paint_); }
  HDC dc() const { return dc_; }
  const RECT& dirty() const { return paint_.rcPaint; }

 private:
  HWND window_;
  PAINTSTRUCT paint_{};
  HDC dc_;
};

// Selects a GDI object into a DC for one scope and puts the old one back.
class SelectedObject {
 public:
  SelectedObject(HDC dc, HGDIOBJ object) : dc_(dc), old_(::SelectObject(dc, object)) {}
  SelectedObject(const SelectedObject&) = delete;
  SelectedObject& operator=(const SelectedObject&) = delete;
  ~SelectedObject() { ::SelectObject(dc_, old_); }

 private:
  HDC dc_;
  HGDIOBJ old_;
};

}  // namespace norv
