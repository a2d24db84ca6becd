#include "tools/e2e/Screenshot.h"

#include <algorithm>
#include <cstdio>

#include "os/win32/ScopedGdi.h"

namespace e2e {

std::wstring ArtifactsFolder() {
  wchar_t buffer[MAX_PATH] = {};
  const DWORD length = GetEnvironmentVariableW(L"TESSALY_E2E_ARTIFACTS", buffer, MAX_PATH);
  std::wstring folder = (length > 0 && length < MAX_PATH) ? buffer : L"artifacts";
  CreateDirectoryW(folder.c_str(), nullptr);
  return folder;
}

bool SaveScreenshot(const std::wstring& name, const std::vector<HWND>& windows) {
  RECT area{};
  bool any = false;
  for (HWND w : windows) {
    RECT r;
    if (!IsWindow(w) || !GetWindowRect(w, &r)) continue;
    area = any ? RECT{std::min(area.left, r.left), std::min(area.top, r.top), std::max(area.right, r.right),
                      std::max(area.bottom, r.bottom)}
               : r;
    any = true;
  }
  if (!any) return false;
  constexpr int kMargin = 12;
  area.left = std::max<LONG>(0, area.left - kMargin);
  area.top = std::max<LONG>(0, area.top - kMargin);
  area.right = std::min<LONG>(GetSystemMetrics(SM_CXSCREEN), area.right + kMargin);
  area.bottom = std::min<LONG>(GetSystemMetrics(SM_CYSCREEN), area.bottom + kMargin);
  const int width = area.right - area.left;
  const int height = area.bottom - area.top;
  if (width <= 0 || height <= 0) return false;

  // Let the windows finish painting what the last action changed.
  Sleep(400);
  const os::win32::ScopedWindowDC screen = os::win32::TakeWindowDC(nullptr);
  const os::win32::ScopedMemoryDC memory(CreateCompatibleDC(screen.get()));
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = height;  // bottom-up, as BMP files store it
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 24;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  const os::win32::ScopedBitmap bitmap(CreateDIBSection(screen.get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
  {
    const os::win32::ScopedSelection selected(memory.get(), bitmap.get());
    BitBlt(memory.get(), 0, 0, width, height, screen.get(), area.left, area.top, SRCCOPY);
    GdiFlush();
  }

  const DWORD stride = ((static_cast<DWORD>(width) * 3 + 3) / 4) * 4;
  const DWORD imageSize = stride * static_cast<DWORD>(height);
  BITMAPFILEHEADER file{};
  file.bfType = 0x4D42;  // "BM"
  file.bfOffBits = sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER);
  file.bfSize = file.bfOffBits + imageSize;
  info.bmiHeader.biSizeImage = imageSize;
  const std::wstring path = ArtifactsFolder() + L"\\" + name + L".bmp";
  FILE* out = _wfopen(path.c_str(), L"wb");
  bool ok = false;
  if (out) {
    ok = fwrite(&file, sizeof file, 1, out) == 1 && fwrite(&info.bmiHeader, sizeof info.bmiHeader, 1, out) == 1 &&
         fwrite(bits, imageSize, 1, out) == 1;
    fclose(out);
  }
  return ok;
}

std::vector<COLORREF> GrabPixels(const RECT& r) {
  std::vector<COLORREF> pixels;
  const os::win32::ScopedWindowDC screen = os::win32::TakeWindowDC(nullptr);
  const os::win32::ScopedMemoryDC memory(CreateCompatibleDC(screen.get()));
  const os::win32::ScopedBitmap bitmap(CreateCompatibleBitmap(screen.get(), r.right - r.left, r.bottom - r.top));
  // After the bitmap, so that it is deselected before the bitmap is deleted.
  const os::win32::ScopedSelection selected(memory.get(), bitmap.get());
  BitBlt(memory.get(), 0, 0, r.right - r.left, r.bottom - r.top, screen.get(), r.left, r.top, SRCCOPY);
  for (int y = 0; y < r.bottom - r.top; ++y) {
    for (int x = 0; x < r.right - r.left; ++x) pixels.push_back(GetPixel(memory.get(), x, y));
  }
  return pixels;
}

int LightPixels(const std::vector<COLORREF>& pixels) {
  int n = 0;
  for (COLORREF c : pixels) n += GetRValue(c) > 160 && GetGValue(c) > 160 && GetBValue(c) > 160;
  return n;
}

}  // namespace e2e
