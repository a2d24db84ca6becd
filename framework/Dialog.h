#pragma once
// CDialog: a dialog from a template resource, run modally by a loop of our
// own. DoModal creates the dialog modeless and disables its owner, so that
// every message of the loop can be offered to PreTranslateMessage of the
// window it is addressed to and of that window's parents and owners before
// IsDialogMessage sees it: an owned pop-up (the About window) can then close
// on a key or click aimed at one of its child controls.
#include <optional>

#include "framework/DataExchange.h"
#include "framework/Wnd.h"

class CDialog : public CWnd {
 public:
  CDialog(UINT templateId, CWnd* parent);

  // Runs the dialog until EndDialog; answers EndDialog's result, or -1 when
  // the dialog could not be created. Also when the loop ends otherwise
  // (WM_QUIT, a failing GetMessageW), the window stays until the thread of
  // ThreadUsingDialog has ended.
  virtual INT_PTR DoModal();
  void EndDialog(int result);
  // Data exchange between the controls and the members: TRUE reads the
  // controls into the members, FALSE writes the members into the controls.
  BOOL UpdateData(BOOL saveAndValidate = TRUE);

  BOOL PreTranslateMessage(MSG* msg) override;

 protected:
  // The base attaches the controls and writes the members into them.
  virtual BOOL OnInitDialog();
  virtual void DoDataExchange(CDataExchange* dx);
  // The "Exit" button (IDOK), and Escape or the close box (IDCANCEL).
  virtual void OnOK();
  virtual void OnCancel();
  BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
  // A thread that may still use this dialog's window, controls or members
  // (a handle that is signalled when it ends), or null.
  virtual HANDLE ThreadUsingDialog() const { return nullptr; }

  UINT m_nIDHelp;  // the template's resource id

 private:
  static INT_PTR CALLBACK DialogProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
  // Both answer the exit code of a WM_QUIT they took, which DoModal posts
  // again once the dialog has gone.
  std::optional<int> RunModalLoop();
  std::optional<int> WaitForThreadUsingDialog();

  CWnd* m_pParentWnd;
  bool m_bContinueModal = false;
  int m_nModalResult = -1;
};
