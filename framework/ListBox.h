#pragma once
// CListBox. Every call is a SendMessageW, so the worker thread may use it:
// the call then runs on the dialog's thread while the worker waits.
#include <string>

#include "framework/Wnd.h"

class CListBox : public CWnd {
 public:
  int GetCount() const { return static_cast<int>(SendMessageW(LB_GETCOUNT)); }
  // The whole text of an item, however long; empty for a bad index.
  std::wstring GetText(int index) const;
  int AddString(const std::wstring& text) {
    return static_cast<int>(SendMessageW(LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str())));
  }
  void ResetContent() { SendMessageW(LB_RESETCONTENT); }
  int GetCaretIndex() const { return static_cast<int>(SendMessageW(LB_GETCARETINDEX)); }
  BOOL GetItemRect(int index, RECT* r) const {
    return SendMessageW(LB_GETITEMRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(r)) != LB_ERR;
  }
  int GetSel(int index) const { return static_cast<int>(SendMessageW(LB_GETSEL, static_cast<WPARAM>(index))); }
};
