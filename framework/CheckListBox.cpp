#include "framework/CheckListBox.h"

#include <algorithm>

#include "os/win32/ScopedGdi.h"

namespace {

constexpr int kMargin = 2;  // around the check box

}  // namespace

int CCheckListBox::GetCheck(int index) const {
  const LRESULT data = SendMessageW(LB_GETITEMDATA, static_cast<WPARAM>(index));
  return data == LB_ERR ? 0 : static_cast<int>(data);
}

void CCheckListBox::SetCheck(int index, int state) {
  if (SendMessageW(LB_SETITEMDATA, static_cast<WPARAM>(index), state) == LB_ERR) return;
  RECT r;
  if (GetItemRect(index, &r)) InvalidateRect(m_hWnd, &r, FALSE);
}

int CCheckListBox::CheckBoxSize() const {
  // The classic check box is 13 pixels at 96 dpi.
  const os::win32::ScopedWindowDC dc = os::win32::TakeWindowDC(m_hWnd);
  const int dpi = dc ? GetDeviceCaps(dc.get(), LOGPIXELSY) : 96;
  return MulDiv(13, dpi, 96);
}

int CCheckListBox::ItemHeight() const {
  TEXTMETRICW tm{};
  {
    const os::win32::ScopedWindowDC dc = os::win32::TakeWindowDC(m_hWnd);
    const os::win32::ScopedSelection font(dc.get(), reinterpret_cast<HFONT>(SendMessageW(WM_GETFONT)));
    GetTextMetricsW(dc.get(), &tm);
  }
  return std::max<int>(tm.tmHeight, CheckBoxSize()) + kMargin;
}

void CCheckListBox::PreSubclassWindow() {
  // The list measured its items with the dialog's font before it was ours;
  // make room for the box.
  SendMessageW(LB_SETITEMHEIGHT, 0, ItemHeight());
}

RECT CCheckListBox::CheckRect(const RECT& item) const {
  const int size = CheckBoxSize();
  const int top = item.top + (item.bottom - item.top - size) / 2;
  return RECT{item.left + kMargin, top, item.left + kMargin + size, top + size};
}

void CCheckListBox::DrawItem(const DRAWITEMSTRUCT& item) {
  HDC dc = item.hDC;
  if (item.itemID == static_cast<UINT>(-1)) {
    // An empty list that has the focus still shows where it is.
    if (item.itemAction & ODA_FOCUS) DrawFocusRect(dc, &item.rcItem);
    return;
  }
  const bool enabled = IsWindowEnabled() && !(item.itemState & ODS_DISABLED);
  const bool selected = (item.itemState & ODS_SELECTED) != 0;
  const RECT check = CheckRect(item.rcItem);
  RECT text = item.rcItem;
  text.left = check.right + kMargin;

  if (item.itemAction & (ODA_DRAWENTIRE | ODA_SELECT)) {
    RECT left = item.rcItem;
    left.right = text.left;
    FillRect(dc, &left, GetSysColorBrush(COLOR_WINDOW));
    UINT state = DFCS_BUTTONCHECK;
    if (GetCheck(static_cast<int>(item.itemID)) == 1) state |= DFCS_CHECKED;
    if (!enabled) state |= DFCS_INACTIVE;
    RECT box = check;
    DrawFrameControl(dc, &box, DFC_BUTTON, state);

    const bool highlight = selected && enabled;
    FillRect(dc, &text, GetSysColorBrush(highlight ? COLOR_HIGHLIGHT : COLOR_WINDOW));
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, GetSysColor(!enabled ? COLOR_GRAYTEXT : highlight ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT));
    const std::wstring label = GetText(static_cast<int>(item.itemID));
    RECT inner = text;
    inner.left += 1;
    // The whole name stays in the item; only its picture is cut short.
    DrawTextW(dc, label.c_str(), static_cast<int>(label.size()), &inner,
              DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS);
  }
  if ((item.itemAction & ODA_FOCUS) || ((item.itemAction & ODA_DRAWENTIRE) && (item.itemState & ODS_FOCUS))) {
    DrawFocusRect(dc, &text);
  }
}

BOOL CCheckListBox::OnChildNotify(UINT message, WPARAM, LPARAM lParam, LRESULT* result) {
  switch (message) {
    case WM_DRAWITEM:
      DrawItem(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
      *result = TRUE;
      return TRUE;
    case WM_MEASUREITEM:
      reinterpret_cast<MEASUREITEMSTRUCT*>(lParam)->itemHeight = static_cast<UINT>(ItemHeight());
      *result = TRUE;
      return TRUE;
    default:
      return FALSE;
  }
}

void CCheckListBox::ToggleByUser(int index) {
  if (index < 0 || index >= GetCount()) return;
  SetCheck(index, GetCheck(index) == 1 ? 0 : 1);
  ::SendMessageW(GetParent(m_hWnd), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(), CLBN_CHKCHANGE),
                 reinterpret_cast<LPARAM>(m_hWnd));
}

LRESULT CCheckListBox::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK: {
      // A click on the box toggles it and leaves the selection alone; a
      // click on the text selects as in any list. The second click of a
      // quick double click arrives as WM_LBUTTONDBLCLK and toggles again.
      const POINT at{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
      const LRESULT hit = SendMessageW(LB_ITEMFROMPOINT, 0, lParam);
      const int index = LOWORD(hit);
      RECT item;
      if (HIWORD(hit) == 0 && GetItemRect(index, &item)) {
        const RECT box = CheckRect(item);
        if (at.x >= item.left && at.x < box.right + kMargin) {
          SetFocus();
          SendMessageW(LB_SETCARETINDEX, static_cast<WPARAM>(index), FALSE);
          ToggleByUser(index);
          return 0;
        }
      }
      break;
    }
    case WM_KEYDOWN:
      if (wParam == VK_SPACE) {
        ToggleByUser(GetCaretIndex());
        return 0;
      }
      break;
    case WM_CHAR:
      // Every item starts with a blank: the list's own search for typed
      // characters would jump to the first item on each space.
      if (wParam == L' ') return 0;
      break;
    default:
      break;
  }
  return CListBox::WindowProc(message, wParam, lParam);
}
