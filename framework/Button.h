#pragma once
// CButton: push buttons and check boxes.
#include "framework/Wnd.h"

class CButton : public CWnd {
 public:
  int GetCheck() const { return static_cast<int>(SendMessageW(BM_GETCHECK)); }
  void SetCheck(int state) { SendMessageW(BM_SETCHECK, static_cast<WPARAM>(state)); }
};
