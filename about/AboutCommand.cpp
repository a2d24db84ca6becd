#include "about/AboutCommand.h"

#include "about/Placement.h"
#include "about/SplashScreenEx.h"

void ShowAboutWindow(CWnd* dialog) {
  auto* about = new CSplashScreenEx;
  about->CreateAboutWindow(dialog);
  if (!about->GetSafeHwnd()) {
    // Without a window nothing would ever delete the object.
    delete about;
    return;
  }
  // A missing picture leaves a window of size zero at (0, 0): nothing shows
  // and nothing is reported.
  about->LoadAboutContent();
  about->SetWindowPos(nullptr, about->m_nxPos, about->m_nyPos, about->m_nBitmapWidth, about->m_nBitmapHeight,
                      SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOOWNERZORDER);
  if ((about->m_dwStyle & about::kShowWindow) && about->m_fnAnimateWindow) about->ShowWindow(SW_SHOW);
  if (about->m_nTimeOut != 0) SetTimer(about->m_hWnd, 0, static_cast<UINT>(about->m_nTimeOut), nullptr);
}
