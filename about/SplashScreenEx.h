#pragma once
// CSplashScreenEx: the About window. A borderless, top-most pop-up owned by
// the main dialog, shaped like its picture (every key-colour pixel is cut
// out), with the scrolling text set into the picture. It closes at the
// first key or mouse-button press on it or on its text, and deletes itself
// when its window is gone; nobody else keeps a pointer to it.
#include <cstdint>

#include "about/ScrollerCtrl.h"
#include "framework/Wnd.h"
#include "os/win32/ScopedGdi.h"

class CSplashScreenEx : public CWnd {
 public:
  CSplashScreenEx();
  ~CSplashScreenEx() override;

  // Registers the class and creates the hidden, empty pop-up owned by
  // parent. FALSE when the window could not be created.
  BOOL CreateAboutWindow(CWnd* parent);
  // Picture, size, position, outline and text. FALSE, with nothing changed,
  // when bitmap 135 cannot be loaded.
  BOOL LoadAboutContent();
  // The region of all pixels of bitmap that differ from key; null without a
  // bitmap.
  HRGN BuildRegionFromBitmap(HBITMAP bitmap, COLORREF key);

  BOOL PreTranslateMessage(MSG* msg) override;

 protected:
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
  void PostNcDestroy() override;

 private:
  friend void ShowAboutWindow(CWnd* dialog);

  void DrawPicture(HDC target);
  void Close();

  FARPROC m_fnAnimateWindow = nullptr;
  CWnd* m_pWndParent = nullptr;
  os::win32::ScopedBitmap m_bitmap;
  HRGN m_hRegion = nullptr;  // the system's once SetWindowRgn has it
  std::uint32_t m_dwStyle = 0;
  int m_nTimeOut = 2000;
  int m_nBitmapWidth = 0;
  int m_nBitmapHeight = 0;
  int m_nxPos = 0;
  int m_nyPos = 0;
  CScrollerCtrl m_wndText;
};
