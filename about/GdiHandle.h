#pragma once
// Owns one GDI object (a bitmap, a font) and deletes it with the holder.
#include <windows.h>

namespace about {

template <class Handle>
class GdiHandle {
 public:
  GdiHandle() = default;
  ~GdiHandle() { Reset(); }
  GdiHandle(const GdiHandle&) = delete;
  GdiHandle& operator=(const GdiHandle&) = delete;

  Handle Get() const { return m_handle; }
  explicit operator bool() const { return m_handle != nullptr; }
  void Attach(Handle handle) {
    Reset();
    m_handle = handle;
  }
  // A bitmap must not be selected into a device context when it is deleted:
  // every user restores the previous selection first.
  void Reset() {
    if (m_handle) DeleteObject(m_handle);
    m_handle = nullptr;
  }

 private:
  Handle m_handle = nullptr;
};

using GdiBitmap = GdiHandle<HBITMAP>;
using GdiFont = GdiHandle<HFONT>;

}  // namespace about
