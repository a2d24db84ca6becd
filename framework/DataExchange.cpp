#include "framework/DataExchange.h"

#include "framework/Wnd.h"

void DDX_Control(CDataExchange* dx, int id, CWnd& control) {
  if (!control.m_hWnd) control.SubclassDlgItem(static_cast<UINT>(id), dx->m_pDlgWnd);
}

void DDX_Check(CDataExchange* dx, int id, BOOL& value) {
  HWND box = dx->m_pDlgWnd->GetDlgItem(id);
  if (dx->m_bSaveAndValidate) {
    value = static_cast<BOOL>(::SendMessageW(box, BM_GETCHECK, 0, 0));
  } else {
    ::SendMessageW(box, BM_SETCHECK, static_cast<WPARAM>(value), 0);
  }
}
