#include "framework/Dialog.h"

#include <cstring>
#include <vector>

#include "framework/ResourceModule.h"

namespace {

// The dialog whose window CreateDialogIndirectParamW is making on this
// thread; its procedure sees the window first with WM_SETFONT, long before
// WM_INITDIALOG could carry a pointer.
thread_local CDialog* t_dialogCreating = nullptr;

// A copy of the template without WS_VISIBLE: a dialog that ends itself
// during initialisation (no printers, Cancel on the first question) must
// never flash on the screen. Answers whether the template asked to be shown.
bool CopyTemplateHidden(const void* resource, DWORD size, std::vector<DWORD>& copy) {
  copy.assign((size + sizeof(DWORD) - 1) / sizeof(DWORD), 0);  // templates must be DWORD-aligned
  std::memcpy(copy.data(), resource, size);
  auto* words = reinterpret_cast<WORD*>(copy.data());
  // DLGTEMPLATEEX starts with dlgVer 1 and signature 0xFFFF; its style
  // follows helpID and exStyle. DLGTEMPLATE starts with the style.
  const bool extended = words[0] == 1 && words[1] == 0xFFFF;
  auto* style = reinterpret_cast<DWORD*>(reinterpret_cast<BYTE*>(copy.data()) + (extended ? 12 : 0));
  const bool visible = (*style & WS_VISIBLE) != 0;
  *style &= ~static_cast<DWORD>(WS_VISIBLE);
  return visible;
}

}  // namespace

CDialog::CDialog(UINT templateId, CWnd* parent) : m_nIDHelp(templateId), m_pParentWnd(parent) {}

INT_PTR CDialog::DoModal() {
  const LPCWSTR name = MAKEINTRESOURCEW(m_nIDHelp);
  HINSTANCE module = AfxFindResourceHandle(name, RT_DIALOG);
  HRSRC found = FindResourceW(module, name, RT_DIALOG);
  HGLOBAL loaded = found ? LoadResource(module, found) : nullptr;
  const void* resource = loaded ? LockResource(loaded) : nullptr;
  if (!resource) return -1;
  std::vector<DWORD> dialogTemplate;
  const bool show = CopyTemplateHidden(resource, SizeofResource(module, found), dialogTemplate);

  HWND owner = m_pParentWnd ? m_pParentWnd->m_hWnd : nullptr;
  const bool reenableOwner = owner && ::IsWindowEnabled(owner);
  if (reenableOwner) ::EnableWindow(owner, FALSE);

  m_bContinueModal = true;
  m_nModalResult = -1;
  t_dialogCreating = this;
  // The template is a copy in our own memory. Its windows belong to the
  // executable: a language module is mapped as data, no code module that a
  // window or control could belong to.
  HWND hwnd = CreateDialogIndirectParamW(AfxGetInstanceHandle(), reinterpret_cast<LPCDLGTEMPLATEW>(dialogTemplate.data()),
                                         owner, &CDialog::DialogProc, 0);
  t_dialogCreating = nullptr;

  std::optional<int> quit;
  if (hwnd && m_bContinueModal) {
    if (show) ::ShowWindow(hwnd, SW_SHOWNORMAL);
    quit = RunModalLoop();
  }
  if (const std::optional<int> quitWhileWaiting = WaitForThreadUsingDialog()) quit = quitWhileWaiting;

  // The owner is enabled before the dialog goes, or Windows would activate
  // some other application's window in its place.
  if (reenableOwner) {
    ::EnableWindow(owner, TRUE);
    SetActiveWindow(owner);
  }
  if (m_hWnd) {
    SetWindowPos(nullptr, 0, 0, 0, 0, SWP_HIDEWINDOW | SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE | SWP_NOZORDER);
    DestroyWindow();
  }
  // WM_QUIT belongs to whoever runs the loop outside us.
  if (quit) PostQuitMessage(*quit);
  return m_nModalResult;
}

std::optional<int> CDialog::RunModalLoop() {
  MSG msg;
  while (m_bContinueModal) {
    const BOOL got = GetMessageW(&msg, nullptr, 0, 0);
    if (got == -1) break;
    if (got == 0) return static_cast<int>(msg.wParam);
    if (!AfxPreTranslateMessage(&msg)) {
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
  }
  return std::nullopt;
}

std::optional<int> CDialog::WaitForThreadUsingDialog() {
  HANDLE thread = ThreadUsingDialog();
  if (!thread || WaitForSingleObject(thread, 0) != WAIT_TIMEOUT) return std::nullopt;
  // The loop that acted on the user's input has ended: nothing may start
  // anew (a second run) in a dialog that is going. It still paints, and it
  // must still answer the messages the thread sends it, or the thread would
  // wait in SendMessageW for a dialog that waits for the thread.
  if (m_hWnd) ::EnableWindow(m_hWnd, FALSE);
  std::optional<int> quit;
  for (;;) {
    const DWORD woke = MsgWaitForMultipleObjectsEx(1, &thread, INFINITE, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
    if (woke != WAIT_OBJECT_0 + 1) break;  // the thread has ended (or the handle is no handle)
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      if (msg.message == WM_QUIT) {
        quit = static_cast<int>(msg.wParam);
        continue;
      }
      if (!AfxPreTranslateMessage(&msg)) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
      }
    }
  }
  return quit;
}

void CDialog::EndDialog(int result) {
  m_nModalResult = result;
  m_bContinueModal = false;
  // Wakes the loop, which may be waiting in GetMessageW.
  if (m_hWnd) PostMessageW(WM_NULL);
}

BOOL CDialog::UpdateData(BOOL saveAndValidate) {
  CDataExchange dx(this, saveAndValidate);
  DoDataExchange(&dx);
  return TRUE;
}

BOOL CDialog::PreTranslateMessage(MSG* msg) {
  // Tab, arrows, Enter and Escape; FALSE for windows outside this dialog.
  return IsDialogMessageW(m_hWnd, msg);
}

BOOL CDialog::OnInitDialog() {
  UpdateData(FALSE);
  return TRUE;
}

void CDialog::DoDataExchange(CDataExchange*) {}

void CDialog::OnOK() {
  if (!UpdateData(TRUE)) return;
  EndDialog(IDOK);
}

void CDialog::OnCancel() { EndDialog(IDCANCEL); }

BOOL CDialog::OnCommand(WPARAM wParam, LPARAM) {
  if (HIWORD(wParam) != BN_CLICKED) return FALSE;
  switch (LOWORD(wParam)) {
    case IDOK: OnOK(); return TRUE;
    case IDCANCEL: OnCancel(); return TRUE;
    default: return FALSE;
  }
}

INT_PTR CALLBACK CDialog::DialogProc(HWND hwnd, UINT message, WPARAM, LPARAM) {
  auto* dialog = static_cast<CDialog*>(CWnd::FromHandlePermanent(hwnd));
  if (!dialog && t_dialogCreating) {
    // From now on every message of the dialog passes through AfxWndProc
    // first; what the dialog does not handle comes back here through the
    // dialog class's own procedure.
    dialog = t_dialogCreating;
    t_dialogCreating = nullptr;
    dialog->SubclassWindow(hwnd);
  }
  if (message == WM_INITDIALOG && dialog) {
    RECT before;
    ::GetWindowRect(hwnd, &before);
    const INT_PTR result = dialog->OnInitDialog();
    // A dialog that neither asks for a place nor moves itself while it
    // initialises opens centred, not in the top left corner of the screen.
    RECT after;
    const LONG style = GetWindowLongW(hwnd, GWL_STYLE);
    if (::GetWindowRect(hwnd, &after) && after.left == before.left && after.top == before.top &&
        !(style & (DS_CENTER | DS_CENTERMOUSE | DS_ABSALIGN))) {
      dialog->CenterWindow();
    }
    return result;
  }
  return FALSE;
}
