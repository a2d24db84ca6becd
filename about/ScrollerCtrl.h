#pragma once
// CScrollerCtrl: a child window that scrolls a multi-line text upwards like
// film credits, white on black, through an off-screen bitmap, and repeats
// it. The user can scroll it with the scroll bar that shows while the
// pointer rests on it, the arrow and page keys and the wheel; a click
// closes the parent window.
#include <string>

#include "about/ScrollerModel.h"
#include "framework/Wnd.h"
#include "os/win32/ScopedGdi.h"

class CScrollerCtrl : public CWnd {
 public:
  CScrollerCtrl();
  ~CScrollerCtrl() override;

  // A visible tab-stop child of parent with control id 0, paused for the
  // pause duration before the text starts to move. FALSE when the window
  // could not be created.
  BOOL Create(const RECT& rect, CWnd* parent);
  // Keeps the scroll offset; the next paint measures the new text.
  void SetText(const std::wstring& text);

 protected:
  // Rebuilds the off-screen bitmap and measures the content when the client
  // size has changed.
  virtual void PrepareBuffer(HDC paintDC);
  virtual void FillBackground(HDC dc);
  // The height of a picture above the text; this control has none.
  virtual int DrawLogo(HDC dc, int top, BOOL draw);
  // The text's height at this top; draws it only when draw is set.
  virtual int DrawScrollText(HDC dc, int top, BOOL draw);

  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  void OnPaint();
  void OnTimer(UINT_PTR timerId);
  void OnVScroll(int code, int thumbPosition);
  void OnKeyDown(UINT virtualKey);
  BOOL OnMouseWheel(short delta);
  void StartPause();

  COLORREF m_crBackground = RGB(0, 0, 0);
  COLORREF m_crText = RGB(255, 255, 255);
  os::win32::ScopedFont m_font;
  std::wstring m_text;
  os::win32::ScopedBitmap m_bufferBitmap;
  about::ScrollerState m_state;
  // Whether the scroll bar shows while the pointer rests on the control. A
  // yes or no, not a style bit: the window never carries WS_VSCROLL of its
  // own; ShowScrollBar adds and removes it.
  bool m_showScrollBarOnHover = true;
  UINT_PTR m_pauseTimerId = about::kPauseTimerId;
};
