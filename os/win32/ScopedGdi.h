#pragma once
// The drawing handles as ScopedHandle owners: GDI objects, memory and window
// device contexts, and an object's selection into a device context.
//
// The Windows trap they exist for: DeleteObject fails on a bitmap (or any
// object) that is still selected into a device context, and the object
// leaks. A ScopedSelection must therefore end before the object it selected:
// declare the object first, the selection after it, so that the selection
// is destroyed (and the previous object selected back) first.
#include <windows.h>

#include "os/win32/ScopedHandle.h"

namespace os::win32 {

template <class H>
struct GdiObjectTraits {  // bitmaps, fonts, regions, brushes
  using Handle = H;
  static Handle Invalid() { return nullptr; }
  static void Close(Handle h) { DeleteObject(h); }
};
struct MemoryDCTraits {  // CreateCompatibleDC
  using Handle = HDC;
  static Handle Invalid() { return nullptr; }
  static void Close(Handle h) { DeleteDC(h); }
};
struct WindowDCTraits {  // GetDC: given back to the window it came from
  using Handle = HDC;
  HWND window = nullptr;
  static Handle Invalid() { return nullptr; }
  void Close(Handle h) const { ReleaseDC(window, h); }
};

using ScopedBitmap = ScopedHandle<GdiObjectTraits<HBITMAP>>;
using ScopedFont = ScopedHandle<GdiObjectTraits<HFONT>>;
using ScopedRegion = ScopedHandle<GdiObjectTraits<HRGN>>;
using ScopedBrush = ScopedHandle<GdiObjectTraits<HBRUSH>>;
using ScopedMemoryDC = ScopedHandle<MemoryDCTraits>;
using ScopedWindowDC = ScopedHandle<WindowDCTraits>;

// The device context of window's client area (of the screen for null).
inline ScopedWindowDC TakeWindowDC(HWND window) { return ScopedWindowDC(GetDC(window), WindowDCTraits{window}); }

// Selects object into dc for the length of a scope, then selects back what
// was there before. Not movable: it belongs to the scope that selected.
class ScopedSelection {
 public:
  ScopedSelection(HDC dc, HGDIOBJ object) : dc_(dc), previous_(SelectObject(dc, object)) {}
  ~ScopedSelection() {
    if (previous_) SelectObject(dc_, previous_);
  }
  ScopedSelection(const ScopedSelection&) = delete;
  ScopedSelection& operator=(const ScopedSelection&) = delete;

 private:
  HDC dc_;
  HGDIOBJ previous_;
};

}  // namespace os::win32
