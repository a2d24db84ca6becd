#pragma once
// Data exchange between a dialog's controls and its members: DDX_Control
// ties a control object to its window the first time, DDX_Check moves a
// check box's state.
#include <windows.h>

class CWnd;

class CDataExchange {
 public:
  CDataExchange(CWnd* dialog, BOOL saveAndValidate) : m_pDlgWnd(dialog), m_bSaveAndValidate(saveAndValidate) {}
  CWnd* m_pDlgWnd;
  BOOL m_bSaveAndValidate;  // TRUE: controls to members
};

void DDX_Control(CDataExchange* dx, int id, CWnd& control);
// BST_UNCHECKED, BST_CHECKED or BST_INDETERMINATE, as the box reports it.
void DDX_Check(CDataExchange* dx, int id, BOOL& value);
