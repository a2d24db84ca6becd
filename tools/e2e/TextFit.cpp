#include "tools/e2e/TextFit.h"

#include <vector>

#include "os/win32/ScopedGdi.h"
#include "tools/e2e/Desktop.h"

namespace e2e {
namespace {

INT_PTR CALLBACK TwinProc(HWND, UINT, WPARAM, LPARAM) { return FALSE; }

SIZE ClientSize(HWND hwnd) {
  RECT r{};
  GetClientRect(hwnd, &r);
  return SIZE{r.right - r.left, r.bottom - r.top};
}

// A push button's text stays inside its frame: the frame's edge (2 pixels,
// one more around the default button) and a pixel of air on each side.
constexpr int kButtonMargin = 3;

}  // namespace

std::wstring TextFit::Describe() const {
  return L"\"" + text + L"\" needs " + std::to_wstring(needed.cx) + L"x" + std::to_wstring(needed.cy) +
         L" pixels, the control has " + std::to_wstring(room.cx) + L"x" + std::to_wstring(room.cy);
}

DialogTwin::DialogTwin(const std::wstring& modulePath, int dialogId) {
  module_ = LoadLibraryExW(modulePath.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
  if (!module_) return;
  HRSRC found = FindResourceW(module_, MAKEINTRESOURCEW(dialogId), RT_DIALOG);
  HGLOBAL loaded = found ? LoadResource(module_, found) : nullptr;
  const void* resource = loaded ? LockResource(loaded) : nullptr;
  if (!resource) return;
  std::vector<DWORD> copy((SizeofResource(module_, found) + 3) / 4);
  memcpy(copy.data(), resource, SizeofResource(module_, found));
  // DLGTEMPLATEEX: the style follows the version, signature, help id and
  // extended style. The twin is never shown.
  auto* bytes = reinterpret_cast<BYTE*>(copy.data());
  const bool extended = reinterpret_cast<const WORD*>(bytes)[1] == 0xFFFF;
  auto* style = reinterpret_cast<DWORD*>(bytes + (extended ? 12 : 0));
  *style &= ~static_cast<DWORD>(WS_VISIBLE);
  twin_ = CreateDialogIndirectParamW(GetModuleHandleW(nullptr), reinterpret_cast<LPCDLGTEMPLATEW>(copy.data()),
                                     nullptr, &TwinProc, 0);
}

DialogTwin::~DialogTwin() {
  if (twin_) DestroyWindow(twin_);
  if (module_) FreeLibrary(module_);
}

SIZE DialogTwin::ControlSize(int id) const { return ClientSize(GetDlgItem(twin_, id)); }

TextFit DialogTwin::Measure(HWND control) const {
  TextFit fit;
  fit.text = TextOf(control);
  fit.room = ClientSize(control);
  const os::win32::ScopedWindowDC twinDC = os::win32::TakeWindowDC(twin_);
  const HDC dc = twinDC.get();
  const os::win32::ScopedSelection font(dc, reinterpret_cast<HFONT>(SendMessageW(twin_, WM_GETFONT, 0, 0)));
  const LONG style = GetWindowLongW(control, GWL_STYLE);
  RECT r{0, 0, fit.room.cx, 0};
  if (ClassOf(control) == L"Static") {
    // Wrapped at the control's width; a word longer than the width widens
    // the result instead of breaking.
    DrawTextW(dc, fit.text.c_str(), -1, &r, DT_CALCRECT | DT_WORDBREAK | DT_EXPANDTABS | DT_LEFT);
  } else {
    DrawTextW(dc, fit.text.c_str(), -1, &r, DT_CALCRECT | DT_SINGLELINE | DT_LEFT);
    const UINT type = static_cast<UINT>(style) & BS_TYPEMASK;
    if (type == BS_CHECKBOX || type == BS_AUTOCHECKBOX) {
      // The box (12 pixels at 96 dpi, and its edge) and half a digit's
      // width of space before the text.
      int digit = 0;
      GetCharWidth32W(dc, L'0', L'0', &digit);
      fit.room.cx -= 12 * GetDeviceCaps(dc, LOGPIXELSX) / 96 + 1 + digit / 2;
    } else {
      fit.room.cx -= 2 * kButtonMargin;
    }
  }
  fit.needed = SIZE{r.right - r.left, r.bottom - r.top};
  return fit;
}

}  // namespace e2e
