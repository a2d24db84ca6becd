#pragma once
// The main dialog: the printer check list, the "Delete All Printer Drivers"
// box, the delete command and the pane with the deleted printers. It is the
// engine's port through its controls (ui::PrinterListPort): every call
// reaches a control with SendMessageW, so a call from the worker thread runs
// on the dialog's thread while the worker waits.
#include <memory>
#include <string>

#include "engine/DeletionEngine.h"
#include "framework/Button.h"
#include "framework/CheckListBox.h"
#include "framework/Dialog.h"
#include "framework/ListBox.h"
#include "framework/WorkerThread.h"
#include "res/ResourceIds.h"
#include "res/Texts.h"
#include "sysaccess/SystemAccess.h"
#include "ui/PrinterListPort.h"
#include "ui/SelectionRules.h"

// The worker's report that a run has ended. Sent, not posted: the worker
// waits until the dialog has refilled the printer table it was using.
// From the WM_APP range, which no system class uses: WM_USER + 1 is also
// DM_SETDEFID, which the dialog manager and any program may send to a
// dialog, and the dialog would take it for the end of a run still going.
inline constexpr UINT WM_DELETION_COMPLETE = WM_APP + 1;

class CTessalyDlg : public CDialog, public ui::PrinterListPort, private ui::SelectionView {
 public:
  CTessalyDlg(sysaccess::SystemAccess& sys, const res::Texts& texts, CWnd* parent = nullptr);
  ~CTessalyDlg() override;

  // ui::PrinterListPort
  bool DeleteAllDriversChecked() override;
  int PrinterItemCount() override;
  bool IsPrinterItemChosen(int index) override;
  std::wstring PrinterItemText(int index) override;
  void ClearPrinterItems() override;
  void AddPrinterItem(const std::wstring& text) override;
  void SetPrinterItemChecked(int index, bool checked) override;
  void AddDeletedPrinter(const std::wstring& name) override;

  BOOL m_bDeleteAllDrivers = FALSE;

 protected:
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
  BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
  void DoDataExchange(CDataExchange* dx) override;
  BOOL OnInitDialog() override;
  void OnOK() override;
  void OnCancel() override;
  HANDLE ThreadUsingDialog() const override;

  void OnSysCommand(UINT id, LPARAM lParam);
  void OnPaint();
  HCURSOR OnQueryDragIcon();
  void OnCheckChange();
  void OnDeleteClicked();
  void OnExpandClicked();
  // The About button and the system-menu item: a new About window.
  void OnAboutClicked();
  void OnDeleteAllClicked();
  LRESULT OnDeletionComplete(WPARAM wParam, LPARAM lParam);

 private:
  static UINT DeletionThreadProc(LPVOID param);
  void UpdateLayout();
  // The four controls a run must not see changed, in the order they go.
  void EnableRunControls(BOOL enable);
  // Closing while the worker still uses the dialog is refused.
  bool RunInProgress() const { return m_bRunning; }

  // ui::SelectionView
  bool IsItemFullyChecked(int index) override;
  bool IsDeleteAllChecked() override;
  void SetDeleteAllChecked(bool checked) override;
  int ShowMessage(const std::wstring& text, std::uint32_t style) override;

  sysaccess::SystemAccess& m_sys;
  const res::Texts& m_texts;

  CCheckListBox m_printerList;
  CListBox m_deletedList;
  HICON m_hIcon;
  engine::DeletionEngine m_engine;
  CButton m_expandButton;
  BOOL m_bExpanded = FALSE;
  CButton m_deleteButton;
  CButton m_deleteAllBox;
  CButton m_exitButton;
  bool m_bRunning = false;
  // The last run's thread, kept (not auto-deleted) so that the dialog does
  // not go while it runs.
  std::unique_ptr<CWinThread> m_worker;
};
