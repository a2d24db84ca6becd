#include "tools/e2e/Screenshot.h"

#include <algorithm>
#include <cstdio>

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
  HDC screen = GetDC(nullptr);
  HDC memory = CreateCompatibleDC(screen);
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = height;  // bottom-up, as BMP files store it
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 24;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  HGDIOBJ old = SelectObject(memory, bitmap);
  BitBlt(memory, 0, 0, width, height, screen, area.left, area.top, SRCCOPY);
  GdiFlush();
  SelectObject(memory, old);

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
  DeleteObject(bitmap);
  DeleteDC(memory);
  ReleaseDC(nullptr, screen);
  return ok;
}

std::vector<COLORREF> GrabPixels(const RECT& r) {
  std::vector<COLORREF> pixels;
  HDC screen = GetDC(nullptr);
  HDC memory = CreateCompatibleDC(screen);
  HBITMAP bitmap = CreateCompatibleBitmap(screen, r.right - r.left, r.bottom - r.top);
  HGDIOBJ previous = SelectObject(memory, bitmap);
  BitBlt(memory, 0, 0, r.right - r.left, r.bottom - r.top, screen, r.left, r.top, SRCCOPY);
  for (int y = 0; y < r.bottom - r.top; ++y) {
    for (int x = 0; x < r.right - r.left; ++x) pixels.push_back(GetPixel(memory, x, y));
  }
  SelectObject(memory, previous);
  DeleteObject(bitmap);
  DeleteDC(memory);
  ReleaseDC(nullptr, screen);
  return pixels;
}

int LightPixels(const std::vector<COLORREF>& pixels) {
  int n = 0;
  for (COLORREF c : pixels) n += GetRValue(c) > 160 && GetGValue(c) > 160 && GetBValue(c) > 160;
  return n;
}

}  // namespace e2e
