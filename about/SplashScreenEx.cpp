#include "about/SplashScreenEx.h"

#include "about/AboutLayout.h"
#include "about/AboutText.h"
#include "about/Placement.h"
#include "about/RegionRuns.h"
#include "framework/ModuleTexts.h"
#include "framework/PaintDC.h"
#include "framework/ResourceModule.h"

namespace {

constexpr wchar_t kClassName[] = L"SplashScreenExClass";

bool IsKeyOrButtonPress(UINT message) {
  switch (message) {
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
    case WM_NCLBUTTONDOWN:
    case WM_NCRBUTTONDOWN:
    case WM_NCMBUTTONDOWN: return true;
    default: return false;
  }
}

}  // namespace

CSplashScreenEx::CSplashScreenEx() {
  // Only the entry's presence is used: a system without AnimateWindow gets
  // a window that is created and filled but never shown.
  if (HMODULE user32 = GetModuleHandleW(L"USER32.DLL")) m_fnAnimateWindow = GetProcAddress(user32, "AnimateWindow");
}

CSplashScreenEx::~CSplashScreenEx() = default;

BOOL CSplashScreenEx::CreateAboutWindow(CWnd* parent) {
  m_pWndParent = parent;
  m_nTimeOut = 0;
  m_dwStyle = about::kAboutWindowStyle;

  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  wc.style = CS_SAVEBITS | CS_DBLCLKS;
  if (m_dwStyle & about::kDropShadow) wc.style |= CS_DROPSHADOW;
  wc.lpfnWndProc = AfxGetAfxWndProc();
  wc.hInstance = AfxGetInstanceHandle();
  wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  wc.hbrBackground = GetSysColorBrush(COLOR_WINDOW);
  wc.lpszClassName = kClassName;
  // Systems before XP refuse the drop-shadow style. Every opening after the
  // first fails with "class already exists", which leaves the class as the
  // first opening registered it.
  if (!RegisterClassExW(&wc) && (m_dwStyle & about::kDropShadow)) {
    wc.style &= ~static_cast<UINT>(CS_DROPSHADOW);
    RegisterClassExW(&wc);
  }

  return CreateEx(WS_EX_TOPMOST | WS_EX_TOOLWINDOW, kClassName, nullptr, WS_POPUP, 0, 0, 0, 0,
                  parent ? parent->m_hWnd : nullptr, nullptr, nullptr);
}

BOOL CSplashScreenEx::LoadAboutContent() {
  m_bitmap.reset();
  const LPCWSTR name = MAKEINTRESOURCEW(about::kAboutBitmapId);
  HBITMAP bitmap = LoadBitmapW(AfxFindResourceHandle(name, RT_BITMAP), name);
  if (!bitmap) return FALSE;
  m_bitmap.reset(bitmap);

  BITMAP info{};
  GetObjectW(bitmap, sizeof info, &info);
  m_nBitmapWidth = info.bmWidth;
  m_nBitmapHeight = info.bmHeight;

  RECT parentRect{};
  if ((m_dwStyle & about::kCentreOnParent) && m_pWndParent) m_pWndParent->GetWindowRect(&parentRect);
  const about::Point position = about::PlaceWindow(
      m_dwStyle, m_nBitmapWidth, m_nBitmapHeight, GetSystemMetrics(SM_CXFULLSCREEN), GetSystemMetrics(SM_CYFULLSCREEN),
      about::Bounds{parentRect.left, parentRect.top, parentRect.right, parentRect.bottom}, about::Point{m_nxPos, m_nyPos});
  m_nxPos = position.x;
  m_nyPos = position.y;

  m_hRegion = BuildRegionFromBitmap(bitmap, about::kKeyColour);
  SetWindowRgn(m_hWnd, m_hRegion, TRUE);

  const about::Bounds& r = about::kTextControlRect;
  m_wndText.Create(RECT{r.left, r.top, r.right, r.bottom}, this);
  m_wndText.SetText(about::ComposeAboutText(CModuleTexts()));
  return TRUE;
}

HRGN CSplashScreenEx::BuildRegionFromBitmap(HBITMAP bitmap, COLORREF key) {
  if (!bitmap) return nullptr;
  BITMAP info{};
  GetObjectW(bitmap, sizeof info, &info);

  about::RectangleList runs;
  {
    // The window's device context is only the memory one's model: it goes
    // back as soon as the memory one exists.
    const os::win32::ScopedMemoryDC memory(CreateCompatibleDC(os::win32::TakeWindowDC(m_hWnd).get()));
    const os::win32::ScopedSelection selected(memory.get(), bitmap);
    const HDC pixels = memory.get();
    about::CollectOpaqueRuns(info.bmWidth, info.bmHeight, key,
                             [pixels](int x, int y) { return static_cast<std::uint32_t>(GetPixel(pixels, x, y)); },
                             runs);
  }

  HRGN result = CreateRectRgn(0, 0, 0, 0);
  for (const about::RunRect& run : runs) {
    const os::win32::ScopedRegion piece(CreateRectRgn(run.left, run.top, run.right, run.bottom));
    CombineRgn(result, result, piece.get(), RGN_OR);
  }
  return result;
}

void CSplashScreenEx::DrawPicture(HDC target) {
  const os::win32::ScopedMemoryDC memory(CreateCompatibleDC(target));
  const os::win32::ScopedSelection selected(memory.get(), m_bitmap.get());
  BitBlt(target, 0, 0, m_nBitmapWidth, m_nBitmapHeight, memory.get(), 0, 0, SRCCOPY);
}

void CSplashScreenEx::Close() {
  if ((m_dwStyle & about::kHideBeforeClose) && m_fnAnimateWindow) ShowWindow(SW_HIDE);
  // Deletes this object (PostNcDestroy): nothing of it may be touched after.
  DestroyWindow();
}

BOOL CSplashScreenEx::PreTranslateMessage(MSG* msg) {
  // The modal loop offers a message to its target and then to the target's
  // parents and owners, so a press aimed at the text control arrives here
  // too, before the control sees it.
  if ((m_dwStyle & about::kCloseOnInput) && IsKeyOrButtonPress(msg->message)) {
    Close();
    return TRUE;
  }
  return CWnd::PreTranslateMessage(msg);
}

LRESULT CSplashScreenEx::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_ERASEBKGND: return TRUE;
    case WM_PAINT: {
      CPaintDC paint(this);
      DrawPicture(paint.m_hDC);
      return 0;
    }
    case WM_PRINTCLIENT: DrawPicture(reinterpret_cast<HDC>(wParam)); return TRUE;
    case WM_TIMER:
      KillTimer(m_hWnd, 0);
      Close();
      return 0;
    default: return CWnd::WindowProc(message, wParam, lParam);
  }
}

void CSplashScreenEx::PostNcDestroy() {
  CWnd::PostNcDestroy();
  delete this;
}
