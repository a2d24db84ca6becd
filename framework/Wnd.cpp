#include "framework/Wnd.h"

#include <commctrl.h>

#include <cwchar>
#include <mutex>
#include <unordered_map>

#include "framework/ResourceModule.h"

namespace {

// The objects of all windows we own. The worker thread reaches windows only
// through SendMessageW, which runs on the window's thread, but the map is
// locked all the same: a lookup must never see it half-changed.
std::mutex g_mapLock;
std::unordered_map<HWND, CWnd*>& Map() {
  static std::unordered_map<HWND, CWnd*> map;
  return map;
}

// The object whose window CreateEx is creating on this thread: its first
// messages (WM_GETMINMAXINFO, WM_NCCREATE) arrive before CreateWindowExW
// has returned the handle.
thread_local CWnd* t_creating = nullptr;

// A window has at most one object, so our link in its chain needs one id.
constexpr UINT_PTR kSubclassId = 1;

}  // namespace

CWnd::~CWnd() {
  if (m_hWnd) {
    // A window that outlives its object would call into freed memory.
    HWND hwnd = m_hWnd;
    if (m_bSubclassed) RemoveWindowSubclass(hwnd, &CWnd::SubclassProc, kSubclassId);
    Detach();
    ::DestroyWindow(hwnd);
  }
}

CWnd* CWnd::FromHandlePermanent(HWND hwnd) {
  std::lock_guard<std::mutex> lock(g_mapLock);
  auto it = Map().find(hwnd);
  return it == Map().end() ? nullptr : it->second;
}

void CWnd::Attach(HWND hwnd) {
  std::lock_guard<std::mutex> lock(g_mapLock);
  m_hWnd = hwnd;
  Map()[hwnd] = this;
}

HWND CWnd::Detach() {
  std::lock_guard<std::mutex> lock(g_mapLock);
  HWND hwnd = m_hWnd;
  if (hwnd) Map().erase(hwnd);
  m_hWnd = nullptr;
  return hwnd;
}

BOOL CWnd::CreateEx(DWORD exStyle, LPCWSTR className, LPCWSTR windowName, DWORD style, int x, int y, int width,
                    int height, HWND parent, HMENU menuOrId, LPVOID param) {
  t_creating = this;
  HWND hwnd = CreateWindowExW(exStyle, className, windowName, style, x, y, width, height, parent, menuOrId,
                              GetModuleHandleW(nullptr), param);
  t_creating = nullptr;
  if (!hwnd) return FALSE;
  if (m_hWnd != hwnd) SubclassWindow(hwnd);
  return TRUE;
}

BOOL CWnd::SubclassWindow(HWND hwnd) {
  if (!hwnd || m_hWnd) return FALSE;
  Attach(hwnd);
  PreSubclassWindow();
  // A window that already runs AfxWndProc reaches its object without a
  // subclass; one would make it call itself as its own default.
  if (reinterpret_cast<WNDPROC>(GetWindowLongPtrW(hwnd, GWLP_WNDPROC)) != &AfxWndProc) {
    m_bSubclassed = SetWindowSubclass(hwnd, &CWnd::SubclassProc, kSubclassId, 0) != FALSE;
  }
  return TRUE;
}

BOOL CWnd::SubclassDlgItem(UINT id, CWnd* parent) {
  return SubclassWindow(::GetDlgItem(parent->m_hWnd, static_cast<int>(id)));
}

BOOL CWnd::DestroyWindow() { return m_hWnd ? ::DestroyWindow(m_hWnd) : FALSE; }

void CWnd::ScreenToClient(RECT* r) const {
  POINT corners[2] = {{r->left, r->top}, {r->right, r->bottom}};
  MapWindowPoints(nullptr, m_hWnd, corners, 2);
  *r = RECT{corners[0].x, corners[0].y, corners[1].x, corners[1].y};
}

void CWnd::CenterWindow() {
  RECT self;
  ::GetWindowRect(m_hWnd, &self);
  RECT area;
  HWND owner = ::GetWindow(m_hWnd, GW_OWNER);
  if (owner && ::IsWindowVisible(owner) && !::IsIconic(owner)) {
    ::GetWindowRect(owner, &area);
  } else {
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    GetMonitorInfoW(MonitorFromWindow(m_hWnd, MONITOR_DEFAULTTOPRIMARY), &monitor);
    area = monitor.rcWork;
  }
  const int width = self.right - self.left;
  const int height = self.bottom - self.top;
  const int x = area.left + (area.right - area.left - width) / 2;
  const int y = area.top + (area.bottom - area.top - height) / 2;
  ::SetWindowPos(m_hWnd, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

BOOL CWnd::PreTranslateMessage(MSG*) { return FALSE; }

LRESULT CWnd::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  if (m_bSubclassed) return DefSubclassProc(m_hWnd, message, wParam, lParam);
  return ::DefWindowProcW(m_hWnd, message, wParam, lParam);
}

BOOL CWnd::OnCommand(WPARAM, LPARAM) { return FALSE; }

BOOL CWnd::OnChildNotify(UINT, WPARAM, LPARAM, LRESULT*) { return FALSE; }

BOOL CWnd::ReflectToChild(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) {
  HWND child = nullptr;
  switch (message) {
    case WM_DRAWITEM: child = reinterpret_cast<DRAWITEMSTRUCT*>(lParam)->hwndItem; break;
    case WM_DELETEITEM: child = reinterpret_cast<DELETEITEMSTRUCT*>(lParam)->hwndItem; break;
    case WM_COMPAREITEM: child = reinterpret_cast<COMPAREITEMSTRUCT*>(lParam)->hwndItem; break;
    // WM_MEASUREITEM names the control only by id (and a fixed-height list
    // sends it while the dialog creates it, before we subclass it).
    case WM_MEASUREITEM: child = GetDlgItem(static_cast<int>(reinterpret_cast<MEASUREITEMSTRUCT*>(lParam)->CtlID)); break;
    case WM_VKEYTOITEM:
    case WM_CHARTOITEM: child = reinterpret_cast<HWND>(lParam); break;
    default: return FALSE;
  }
  CWnd* control = child ? FromHandlePermanent(child) : nullptr;
  return control && control->OnChildNotify(message, wParam, lParam, result);
}

LRESULT CWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  LRESULT result = 0;
  if (message == WM_COMMAND && OnCommand(wParam, lParam)) return 0;
  if (ReflectToChild(message, wParam, lParam, &result)) return result;
  return DefWindowProc(message, wParam, lParam);
}

LRESULT CALLBACK AfxWndProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  CWnd* wnd = CWnd::FromHandlePermanent(hwnd);
  if (!wnd && t_creating) {
    wnd = t_creating;
    t_creating = nullptr;
    wnd->Attach(hwnd);
  }
  if (!wnd) return DefWindowProcW(hwnd, message, wParam, lParam);
  return wnd->Dispatch(message, wParam, lParam);
}

LRESULT CALLBACK CWnd::SubclassProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR) {
  CWnd* wnd = FromHandlePermanent(hwnd);
  if (!wnd) return DefSubclassProc(hwnd, message, wParam, lParam);
  return wnd->Dispatch(message, wParam, lParam);
}

LRESULT CWnd::Dispatch(UINT message, WPARAM wParam, LPARAM lParam) {
  const LRESULT result = WindowProc(message, wParam, lParam);
  if (message == WM_NCDESTROY) {
    // The common controls want every link out of the chain by the window's
    // last message.
    if (m_bSubclassed) RemoveWindowSubclass(m_hWnd, &CWnd::SubclassProc, kSubclassId);
    m_bSubclassed = false;
    Detach();
    PostNcDestroy();  // may delete the object: nothing touches it after this
  }
  return result;
}

WNDPROC AfxGetAfxWndProc() { return &AfxWndProc; }

BOOL AfxPreTranslateMessage(MSG* msg) {
  // GetParent answers the parent of a child window and the owner of a
  // pop-up, so a key aimed at a control inside an owned pop-up reaches the
  // pop-up and then the window that owns it.
  for (HWND hwnd = msg->hwnd; hwnd; hwnd = GetParent(hwnd)) {
    CWnd* wnd = CWnd::FromHandlePermanent(hwnd);
    if (wnd && wnd->PreTranslateMessage(msg)) return TRUE;
  }
  return FALSE;
}

LPCWSTR RegisterFrameworkClass(UINT classStyle, HCURSOR cursor, HBRUSH background, HICON icon) {
  static wchar_t name[96];
  const HINSTANCE instance = AfxGetInstanceHandle();
  std::swprintf(name, sizeof name / sizeof name[0], L"Afx:%p:%x:%p:%p:%p", static_cast<void*>(instance), classStyle,
                static_cast<void*>(cursor), static_cast<void*>(background), static_cast<void*>(icon));
  WNDCLASSEXW existing{};
  existing.cbSize = sizeof existing;
  if (GetClassInfoExW(instance, name, &existing)) return name;
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  wc.style = classStyle;
  wc.lpfnWndProc = AfxGetAfxWndProc();
  wc.hInstance = instance;
  wc.hIcon = icon;
  wc.hCursor = cursor;
  wc.hbrBackground = background;
  wc.lpszClassName = name;
  return RegisterClassExW(&wc) ? name : nullptr;
}
