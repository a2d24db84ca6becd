#include "about/ScrollerCtrl.h"

#include "framework/PaintDC.h"
#include "framework/ResourceModule.h"

namespace {

constexpr DWORD kScrollerStyle = WS_CHILD | WS_VISIBLE | WS_GROUP | WS_TABSTOP;
constexpr UINT kDrawFormat = DT_WORDBREAK | DT_EXPANDTABS | DT_NOPREFIX;

}  // namespace

CScrollerCtrl::CScrollerCtrl() = default;

CScrollerCtrl::~CScrollerCtrl() = default;

BOOL CScrollerCtrl::Create(const RECT& rect, CWnd* parent) {
  m_showScrollBarOnHover = true;
  LPCWSTR className =
      RegisterFrameworkClass(CS_VREDRAW | CS_HREDRAW | CS_PARENTDC, LoadCursorW(nullptr, IDC_ARROW), nullptr, nullptr);
  if (!className) return FALSE;
  if (!CreateEx(0, className, L"Scroller", kScrollerStyle, rect.left, rect.top, rect.right - rect.left,
                rect.bottom - rect.top, parent ? parent->m_hWnd : nullptr, nullptr)) {
    return FALSE;
  }
  m_state.paused = true;
  SetTimer(m_hWnd, about::kScrollTimerId, static_cast<UINT>(m_state.scrollInterval), nullptr);
  StartPause();
  return TRUE;
}

void CScrollerCtrl::SetText(const std::wstring& text) {
  m_text = text;
  if (m_hWnd) {
    m_state.bufferWidth = 0;
    m_state.bufferHeight = 0;
    InvalidateRect(m_hWnd, nullptr, FALSE);
  }
}

void CScrollerCtrl::StartPause() {
  m_pauseTimerId = SetTimer(m_hWnd, about::kPauseTimerId, static_cast<UINT>(m_state.pauseDuration), nullptr);
}

void CScrollerCtrl::PrepareBuffer(HDC paintDC) {
  RECT client;
  GetClientRect(&client);
  if (client.right == m_state.bufferWidth && client.bottom == m_state.bufferHeight) return;
  m_state.bufferWidth = client.right;
  m_state.bufferHeight = client.bottom;
  m_bufferBitmap.reset(CreateCompatibleBitmap(paintDC, client.right, client.bottom));
  m_state.contentHeight =
      about::kContentExtra + DrawLogo(paintDC, 0, FALSE) + DrawScrollText(paintDC, 0, FALSE);
}

void CScrollerCtrl::FillBackground(HDC dc) {
  RECT client;
  GetClientRect(&client);
  // ExtTextOut with an opaque rectangle and no text: a solid fill without
  // creating a brush.
  const COLORREF previous = SetBkColor(dc, m_crBackground);
  ExtTextOutW(dc, 0, 0, ETO_OPAQUE, &client, nullptr, 0, nullptr);
  SetBkColor(dc, previous);
}

int CScrollerCtrl::DrawLogo(HDC, int, BOOL) { return 0; }

int CScrollerCtrl::DrawScrollText(HDC dc, int top, BOOL draw) {
  RECT layout{about::kTextMargin, top, m_state.bufferWidth - about::kTextMargin, m_state.bufferHeight};
  const HGDIOBJ font = m_font ? static_cast<HGDIOBJ>(m_font.get()) : GetStockObject(DEFAULT_GUI_FONT);
  const os::win32::ScopedSelection selected(dc, font);
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, m_crText);
  return DrawTextW(dc, m_text.c_str(), static_cast<int>(m_text.size()), &layout,
                   draw ? kDrawFormat : kDrawFormat | DT_CALCRECT);
}

void CScrollerCtrl::OnPaint() {
  CPaintDC paint(this);
  const os::win32::ScopedMemoryDC memory(CreateCompatibleDC(paint.m_hDC));
  // PrepareBuffer may replace the buffer: it must not be selected then, or
  // the old bitmap could not be deleted.
  PrepareBuffer(paint.m_hDC);
  const os::win32::ScopedSelection buffer(memory.get(), m_bufferBitmap.get());
  FillBackground(memory.get());
  about::DrawCopies(m_state.scrollOffset, m_state.bufferHeight, m_state.wrap,
                    [&](int top) { return DrawScrollText(memory.get(), top, TRUE); });
  BitBlt(paint.m_hDC, 0, 0, m_state.bufferWidth, m_state.bufferHeight, memory.get(), 0, 0, SRCCOPY);
}

void CScrollerCtrl::OnTimer(UINT_PTR timerId) {
  // While the user drags the scroll bar's thumb, the bar and the offset are
  // the user's.
  if (GetCapture() == m_hWnd) return;

  if (m_showScrollBarOnHover) {
    RECT window;
    GetWindowRect(&window);
    POINT cursor{};
    GetCursorPos(&cursor);
    const HWND topLevel = GetAncestor(m_hWnd, GA_ROOT);
    if (m_state.bufferHeight < m_state.contentHeight && GetActiveWindow() == topLevel && PtInRect(&window, cursor)) {
      SetScrollRange(m_hWnd, SB_VERT, 0, m_state.contentHeight - m_state.bufferHeight, FALSE);
      SetScrollPos(m_hWnd, SB_VERT, -m_state.scrollOffset, TRUE);
      ShowScrollBar(m_hWnd, SB_VERT, TRUE);
    } else {
      ShowScrollBar(m_hWnd, SB_VERT, FALSE);
    }
  }

  const about::TickEffects effects = about::AdvanceOnTimer(m_state, timerId == m_pauseTimerId);
  if (effects.killPauseTimer) KillTimer(m_hWnd, m_pauseTimerId);
  if (effects.notifyParent) {
    if (HWND parent = GetParent(m_hWnd)) {
      ::SendMessageW(parent, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(), 0), reinterpret_cast<LPARAM>(m_hWnd));
    }
  }
  if (effects.startPause) StartPause();
  if (effects.invalidate) InvalidateRect(m_hWnd, nullptr, FALSE);
}

void CScrollerCtrl::OnVScroll(int code, int thumbPosition) {
  if (!(GetWindowLongW(m_hWnd, GWL_STYLE) & WS_TABSTOP)) return;
  const about::UserScrollEffects effects = about::ApplyUserScroll(m_state, code, thumbPosition);
  if (effects.startPause) StartPause();
  if (!effects.moved) return;
  SetScrollPos(m_hWnd, SB_VERT, -m_state.scrollOffset, TRUE);
  InvalidateRect(m_hWnd, nullptr, FALSE);
}

void CScrollerCtrl::OnKeyDown(UINT virtualKey) {
  if (const auto code = about::ScrollCodeForKey(static_cast<int>(virtualKey))) {
    PostMessageW(WM_VSCROLL, MAKEWPARAM(*code, 0), 0);
  }
}

BOOL CScrollerCtrl::OnMouseWheel(short delta) {
  const about::WheelScroll scroll = about::WheelToLineScrolls(delta);
  for (int i = 0; i < scroll.count; ++i) PostMessageW(WM_VSCROLL, MAKEWPARAM(scroll.code, 0), 0);
  return TRUE;
}

LRESULT CScrollerCtrl::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_PAINT: OnPaint(); return 0;
    // Every invalidation is made without erasing: the buffer paints all.
    case WM_ERASEBKGND: return 0;
    case WM_TIMER: OnTimer(wParam); return 0;
    // The thumb position is 16 bits here; the content is a few hundred
    // pixels tall.
    case WM_VSCROLL: OnVScroll(LOWORD(wParam), HIWORD(wParam)); return 0;
    case WM_KEYDOWN: OnKeyDown(static_cast<UINT>(wParam)); return 0;
    case WM_MOUSEWHEEL: return OnMouseWheel(GET_WHEEL_DELTA_WPARAM(wParam));
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN: {
      DefWindowProc(message, wParam, lParam);
      // Closing the parent destroys this window and its object: nothing
      // of this object may be touched afterwards.
      HWND parent = GetParent(m_hWnd);
      if (parent) ::SendMessageW(parent, WM_CLOSE, 0, 0);
      return 0;
    }
    case WM_GETDLGCODE: return (GetWindowLongW(m_hWnd, GWL_STYLE) & WS_TABSTOP) ? DLGC_WANTARROWS : 0;
    default: return CWnd::WindowProc(message, wParam, lParam);
  }
}
