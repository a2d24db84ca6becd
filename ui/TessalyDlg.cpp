#include "ui/TessalyDlg.h"

#include <utility>

#include "about/AboutCommand.h"
#include "framework/PaintDC.h"
#include "framework/ResourceModule.h"
#include "res/StringIds.h"
#include "ui/DeleteCommand.h"
#include "ui/DeletionWorker.h"
#include "ui/Layout.h"

namespace {

RECT ChildRect(const CWnd& dialog, int id) {
  RECT r;
  ::GetWindowRect(dialog.GetDlgItem(id), &r);
  dialog.ScreenToClient(&r);
  return r;
}

}  // namespace

CTessalyDlg::CTessalyDlg(sysaccess::SystemAccess& sys, const res::Texts& texts, CWnd* parent)
    : CDialog(IDD_TESSALY_DIALOG, parent),
      m_sys(sys),
      m_texts(texts),
      m_hIcon(AfxLoadIcon(MAKEINTRESOURCEW(IDR_MAINFRAME))),
      m_engine(sys, *this, texts) {}

CTessalyDlg::~CTessalyDlg() = default;

void CTessalyDlg::DoDataExchange(CDataExchange* dx) {
  CDialog::DoDataExchange(dx);
  DDX_Control(dx, IDC_PRINTER_LIST, m_printerList);
  DDX_Control(dx, IDC_DELETED_LIST, m_deletedList);
  DDX_Check(dx, IDC_DELETE_ALL, m_bDeleteAllDrivers);
  DDX_Control(dx, IDC_EXPAND, m_expandButton);
  DDX_Control(dx, IDC_DELETE, m_deleteButton);
  DDX_Control(dx, IDC_DELETE_ALL, m_deleteAllBox);
  DDX_Control(dx, IDOK, m_exitButton);
}

LRESULT CTessalyDlg::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_SYSCOMMAND:
      OnSysCommand(static_cast<UINT>(wParam), lParam);
      return 0;
    case WM_PAINT:
      if (IsIconic()) {
        OnPaint();
        return 0;
      }
      break;
    case WM_QUERYDRAGICON:
      return reinterpret_cast<LRESULT>(OnQueryDragIcon());
    case WM_DELETION_COMPLETE:
      return OnDeletionComplete(wParam, lParam);
    default:
      break;
  }
  return CDialog::WindowProc(message, wParam, lParam);
}

BOOL CTessalyDlg::OnCommand(WPARAM wParam, LPARAM lParam) {
  const int id = LOWORD(wParam);
  const WORD code = HIWORD(wParam);
  if (id == IDC_PRINTER_LIST && code == CLBN_CHKCHANGE) {
    OnCheckChange();
    return TRUE;
  }
  if (code == BN_CLICKED) {
    switch (id) {
      case IDC_DELETE: OnDeleteClicked(); return TRUE;
      case IDC_EXPAND: OnExpandClicked(); return TRUE;
      case IDC_ABOUT: OnAboutClicked(); return TRUE;
      case IDC_DELETE_ALL: OnDeleteAllClicked(); return TRUE;
      default: break;
    }
  }
  return CDialog::OnCommand(wParam, lParam);
}

BOOL CTessalyDlg::OnInitDialog() {
  CDialog::OnInitDialog();

  if (HMENU menu = GetSystemMenu(FALSE)) {
    const std::wstring about = m_texts.Load(res::kAboutMenuItem);
    if (!about.empty()) {
      AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
      AppendMenuW(menu, MF_STRING, IDM_ABOUTBOX, about.c_str());
    }
  }
  SetIcon(m_hIcon, TRUE);
  SetIcon(m_hIcon, FALSE);

  UpdateLayout();
  m_printerList.SetCheckStyle(BS_AUTOCHECKBOX);

  // The dialog is still hidden here: with no printer, or with Cancel, the
  // user sees the message and nothing else.
  if (m_engine.RefillPrinterList() == engine::kRefillFoundNoPrinters) {
    ShowMessage(m_texts.Load(res::kNoPrinters), MB_ICONERROR);
    EndDialog(IDNO);
    return FALSE;
  }
  if (ShowMessage(m_texts.Load(res::kCloseApplications), MB_OKCANCEL | MB_ICONWARNING | MB_DEFBUTTON2) == IDCANCEL) {
    EndDialog(IDNO);
    return FALSE;
  }
  return TRUE;
}

void CTessalyDlg::OnSysCommand(UINT id, LPARAM lParam) {
  if ((id & 0xFFF0) == IDM_ABOUTBOX) {
    OnAboutClicked();
  } else {
    DefWindowProc(WM_SYSCOMMAND, id, lParam);
  }
}

void CTessalyDlg::OnPaint() {
  CPaintDC dc(this);
  SendMessageW(WM_ICONERASEBKGND, reinterpret_cast<WPARAM>(dc.m_hDC));
  RECT client;
  GetClientRect(&client);
  const int x = (client.right - client.left - GetSystemMetrics(SM_CXICON) + 1) / 2;
  const int y = (client.bottom - client.top - GetSystemMetrics(SM_CYICON) + 1) / 2;
  DrawIcon(dc.m_hDC, x, y, m_hIcon);
}

HCURSOR CTessalyDlg::OnQueryDragIcon() { return static_cast<HCURSOR>(m_hIcon); }

void CTessalyDlg::OnExpandClicked() {
  m_bExpanded = !m_bExpanded;
  UpdateLayout();
}

void CTessalyDlg::OnAboutClicked() { ShowAboutWindow(this); }

void CTessalyDlg::UpdateLayout() {
  RECT window, client;
  GetWindowRect(&window);
  GetClientRect(&client);
  ui::LayoutMeasures m;
  m.windowWidth = window.right - window.left;
  m.nonClientHeight = (window.bottom - window.top) - (client.bottom - client.top);
  m.plusBottom = ChildRect(*this, IDC_EXPAND).bottom;
  const RECT about = ChildRect(*this, IDC_ABOUT);
  const RECT exit = ChildRect(*this, IDOK);
  const RECT list = ChildRect(*this, IDC_PRINTER_LIST);
  m.aboutHeight = about.bottom - about.top;
  m.exitHeight = exit.bottom - exit.top;
  m.listHeight = list.bottom - list.top;
  const ui::Layout layout = ui::ComputeLayout(m, m_bExpanded);

  SetWindowPos(HWND_TOP, 0, 0, layout.windowWidth, layout.windowHeight, SWP_NOMOVE);
  const std::pair<int, RECT> buttons[] = {{IDC_ABOUT, about}, {IDOK, exit}};
  for (const auto& [id, r] : buttons) {
    ::MoveWindow(GetDlgItem(id), r.left, layout.buttonTop, r.right - r.left, layout.buttonHeight, TRUE);
  }
  const int show = layout.showDeletedList ? SW_SHOW : SW_HIDE;
  ::ShowWindow(GetDlgItem(IDC_DELETED_LIST), show);
  ::ShowWindow(GetDlgItem(IDC_DELETED_LABEL), show);
  m_expandButton.SetWindowTextW(layout.expandText);
  // The dialog has no WS_CLIPCHILDREN: its own repaint of the area it grew
  // by could come after the moved buttons' and paint over them. One pass,
  // parent first, children after.
  RedrawWindow(m_hWnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
  ::SetFocus(GetDlgItem(IDC_DELETE));
}

void CTessalyDlg::OnCheckChange() { ui::ApplyCheckChange(*this, m_texts); }

void CTessalyDlg::OnDeleteAllClicked() { ui::ApplyDeleteAllClicked(*this, m_texts); }

void CTessalyDlg::OnDeleteClicked() {
  m_sys.os().faults.InstallTranslatorOnThisThread();
  UpdateData(TRUE);
  if (ui::CheckBeforeDeletion(*this, m_engine, m_texts) != ui::DeleteCheck::Start) return;

  EnableRunControls(FALSE);
  m_bRunning = true;
  // The close box goes grey with "Exit": the worker uses this dialog, its
  // controls and its engine until it has reported the end of the run.
  if (HMENU menu = GetSystemMenu(FALSE)) EnableMenuItem(menu, SC_CLOSE, MF_BYCOMMAND | MF_GRAYED);
  // The previous run's thread has reported its end; at most it is still
  // returning, which needs neither its object nor its handle.
  m_worker.reset(AfxBeginThread(&CTessalyDlg::DeletionThreadProc, this, THREAD_PRIORITY_NORMAL, 0, CREATE_SUSPENDED));
  if (!m_worker) {
    // Nothing ran: the dialog is as it was before the click.
    OnDeletionComplete(0, 0);
    return;
  }
  m_worker->m_bAutoDelete = FALSE;
  m_worker->ResumeThread();
}

UINT CTessalyDlg::DeletionThreadProc(LPVOID param) {
  auto* dialog = static_cast<CTessalyDlg*>(param);
  // A fault inside a spooler call of the run must reach the engine's guard
  // as a CSE; the translator is a per-thread setting.
  dialog->m_sys.os().faults.InstallTranslatorOnThisThread();
  ui::RunDeletionThenReport(dialog->m_engine,
                            [dialog] { ::SendMessageW(dialog->m_hWnd, WM_DELETION_COMPLETE, 0, 0); });
  return 0;
}

HANDLE CTessalyDlg::ThreadUsingDialog() const { return m_worker ? m_worker->m_hThread : nullptr; }

LRESULT CTessalyDlg::OnDeletionComplete(WPARAM, LPARAM) {
  m_engine.RefillPrinterList();
  m_bDeleteAllDrivers = FALSE;
  EnableRunControls(TRUE);
  UpdateData(FALSE);
  m_bRunning = false;
  if (HMENU menu = GetSystemMenu(FALSE)) EnableMenuItem(menu, SC_CLOSE, MF_BYCOMMAND | MF_ENABLED);
  return 0;
}

void CTessalyDlg::EnableRunControls(BOOL enable) {
  m_printerList.EnableWindow(enable);
  m_deleteButton.EnableWindow(enable);
  m_exitButton.EnableWindow(enable);
  m_deleteAllBox.EnableWindow(enable);
}

void CTessalyDlg::OnOK() {
  if (RunInProgress()) return;  // "Exit" is disabled then; Enter may still ask
  CDialog::OnOK();
}

void CTessalyDlg::OnCancel() {
  // Escape and the close box during a run: the dialog stays until the run
  // has ended, and then closes only when asked again. Ending the process
  // under the worker could leave the Spooler service stopped.
  if (RunInProgress()) {
    MessageBeep(MB_ICONWARNING);
    return;
  }
  CDialog::OnCancel();
}

// ui::PrinterListPort

bool CTessalyDlg::DeleteAllDriversChecked() { return m_bDeleteAllDrivers != FALSE; }

int CTessalyDlg::PrinterItemCount() { return m_printerList.GetCount(); }

bool CTessalyDlg::IsPrinterItemChosen(int index) { return m_printerList.GetCheck(index) != 0; }

std::wstring CTessalyDlg::PrinterItemText(int index) { return m_printerList.GetText(index); }

void CTessalyDlg::ClearPrinterItems() { m_printerList.ResetContent(); }

void CTessalyDlg::AddPrinterItem(const std::wstring& text) {
  // The whole text, however long: an item cut short could never be matched
  // back to its printer, or could match another one.
  m_printerList.AddString(text);
}

void CTessalyDlg::SetPrinterItemChecked(int index, bool checked) { m_printerList.SetCheck(index, checked ? 1 : 0); }

void CTessalyDlg::AddDeletedPrinter(const std::wstring& name) { m_deletedList.AddString(name); }

// ui::SelectionView

bool CTessalyDlg::IsItemFullyChecked(int index) { return m_printerList.GetCheck(index) == 1; }

bool CTessalyDlg::IsDeleteAllChecked() { return m_deleteAllBox.GetCheck() == BST_CHECKED; }

void CTessalyDlg::SetDeleteAllChecked(bool checked) { m_deleteAllBox.SetCheck(checked ? BST_CHECKED : BST_UNCHECKED); }

int CTessalyDlg::ShowMessage(const std::wstring& text, std::uint32_t style) {
  return MessageBoxW(m_hWnd, text.c_str(), m_texts.Load(res::kCaption).c_str(), style);
}
