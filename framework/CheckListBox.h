#pragma once
// CCheckListBox: a fixed-height owner-drawn list box with strings whose
// items carry a check box. The user toggles an item's box with a click on it
// or with the space bar; the list then tells its parent with WM_COMMAND and
// CLBN_CHKCHANGE. Check states live in the items' data, so they belong to the
// control alone and every item added is unchecked.
#include "framework/ListBox.h"

inline constexpr WORD CLBN_CHKCHANGE = 40;

class CCheckListBox : public CListBox {
 public:
  // Only BS_AUTOCHECKBOX, the style the dialog uses (the list toggles the
  // box and notifies); any other style is refused.
  BOOL SetCheckStyle(UINT style) { return style == BS_AUTOCHECKBOX; }
  // 0 unchecked, 1 checked. A SendMessageW: safe from the worker thread.
  int GetCheck(int index) const;
  void SetCheck(int index, int state);

 protected:
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
  BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) override;
  void PreSubclassWindow() override;

 private:
  void DrawItem(const DRAWITEMSTRUCT& item);
  int ItemHeight() const;
  RECT CheckRect(const RECT& item) const;
  // Toggles the item as the user asked and tells the parent.
  void ToggleByUser(int index);
  int CheckBoxSize() const;
};
