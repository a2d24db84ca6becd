#pragma once
// BeginPaint/EndPaint for the length of a scope.
#include "framework/Wnd.h"

class CPaintDC {
 public:
  explicit CPaintDC(CWnd* wnd);
  ~CPaintDC();
  CPaintDC(const CPaintDC&) = delete;
  CPaintDC& operator=(const CPaintDC&) = delete;

  HDC m_hDC;
  PAINTSTRUCT m_ps{};

 private:
  HWND m_hWnd;
};
