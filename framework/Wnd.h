#pragma once
// CWnd: one object per window, found from its HWND through a process-wide
// map, and one common window procedure (AfxWndProc) that hands every message
// to the object's WindowProc. A window is tied to its object either at
// creation (its class names AfxWndProc as window procedure, as the About
// window's class does) or afterwards by subclassing (the controls of a dialog
// template, and the dialog itself). Subclassing goes through the common
// controls' subclass chain, so that letting go of a window takes only our
// link out and keeps any that others added after it.
#include <windows.h>

class CWnd {
 public:
  CWnd() = default;
  virtual ~CWnd();
  CWnd(const CWnd&) = delete;
  CWnd& operator=(const CWnd&) = delete;

  // The object tied to hwnd, or null for a window we do not own.
  static CWnd* FromHandlePermanent(HWND hwnd);

  HWND GetSafeHwnd() const { return m_hWnd; }

  // CreateWindowExW tied to this object. A class registered with
  // AfxWndProc ties the window from its first message on; any other class
  // is subclassed as soon as the window exists.
  BOOL CreateEx(DWORD exStyle, LPCWSTR className, LPCWSTR windowName, DWORD style, int x, int y, int width,
                int height, HWND parent, HMENU menuOrId, LPVOID param = nullptr);
  // Ties an existing window to this object and routes its messages to its
  // WindowProc; the window's own procedure becomes the default handling.
  BOOL SubclassWindow(HWND hwnd);
  BOOL SubclassDlgItem(UINT id, CWnd* parent);
  BOOL DestroyWindow();

  // Offered every message of a modal loop before it is dispatched: first for
  // the window it is addressed to, then for that window's parents and
  // owners. TRUE means handled: the message goes no further.
  virtual BOOL PreTranslateMessage(MSG* msg);

  // Thin calls on the window.
  HWND GetDlgItem(int id) const { return ::GetDlgItem(m_hWnd, id); }
  int GetDlgCtrlID() const { return ::GetDlgCtrlID(m_hWnd); }
  BOOL EnableWindow(BOOL enable = TRUE) { return ::EnableWindow(m_hWnd, enable); }
  BOOL IsWindowEnabled() const { return ::IsWindowEnabled(m_hWnd); }
  BOOL ShowWindow(int command) { return ::ShowWindow(m_hWnd, command); }
  BOOL IsIconic() const { return ::IsIconic(m_hWnd); }
  void MoveWindow(int x, int y, int width, int height, BOOL repaint = TRUE) {
    ::MoveWindow(m_hWnd, x, y, width, height, repaint);
  }
  void MoveWindow(const RECT& r, BOOL repaint = TRUE) { MoveWindow(r.left, r.top, r.right - r.left, r.bottom - r.top, repaint); }
  BOOL SetWindowPos(HWND insertAfter, int x, int y, int width, int height, UINT flags) {
    return ::SetWindowPos(m_hWnd, insertAfter, x, y, width, height, flags);
  }
  void GetWindowRect(RECT* r) const { ::GetWindowRect(m_hWnd, r); }
  void GetClientRect(RECT* r) const { ::GetClientRect(m_hWnd, r); }
  void ScreenToClient(RECT* r) const;
  // Over the owner when it is shown, else in the middle of the work area of
  // the monitor the window is on.
  void CenterWindow();
  void SetWindowTextW(LPCWSTR text) { ::SetWindowTextW(m_hWnd, text); }
  HWND SetFocus() { return ::SetFocus(m_hWnd); }
  void Invalidate(BOOL erase = TRUE) { ::InvalidateRect(m_hWnd, nullptr, erase); }
  HMENU GetSystemMenu(BOOL revert) const { return ::GetSystemMenu(m_hWnd, revert); }
  HICON SetIcon(HICON icon, BOOL big) {
    return reinterpret_cast<HICON>(SendMessageW(WM_SETICON, big ? ICON_BIG : ICON_SMALL, reinterpret_cast<LPARAM>(icon)));
  }
  // SendMessageW: from another thread it runs on the window's thread while
  // the caller waits.
  LRESULT SendMessageW(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const {
    return ::SendMessageW(m_hWnd, message, wParam, lParam);
  }
  BOOL PostMessageW(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const {
    return ::PostMessageW(m_hWnd, message, wParam, lParam);
  }

  HWND m_hWnd = nullptr;

 protected:
  // Every message of the window. Derived windows handle theirs in On...
  // methods and pass the rest to the base.
  virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);
  // The handling the window would have had without us.
  virtual LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam);
  // WM_COMMAND: TRUE when handled.
  virtual BOOL OnCommand(WPARAM wParam, LPARAM lParam);
  // A notification that Windows sends to the parent about this control (the
  // owner-draw messages), passed back to the control. TRUE when handled.
  virtual BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result);
  // Just before a window is subclassed.
  virtual void PreSubclassWindow() {}
  // After the last message of the window: the object may delete itself here.
  virtual void PostNcDestroy() {}

 private:
  friend LRESULT CALLBACK AfxWndProc(HWND, UINT, WPARAM, LPARAM);
  // Our link in the subclass chain of a subclassed window.
  static LRESULT CALLBACK SubclassProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                       DWORD_PTR refData);
  // A message for this object's window, from either procedure.
  LRESULT Dispatch(UINT message, WPARAM wParam, LPARAM lParam);
  void Attach(HWND hwnd);
  HWND Detach();
  BOOL ReflectToChild(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result);

  bool m_bSubclassed = false;
};

// The common window procedure, for classes whose windows are CWnd objects.
LRESULT CALLBACK AfxWndProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
WNDPROC AfxGetAfxWndProc();

// A window class with these attributes and the common window procedure,
// named after them so that the same attributes always give the same class;
// registered once per process. The name is in a buffer of its own, valid
// until the next call. nullptr when the class cannot be registered.
LPCWSTR RegisterFrameworkClass(UINT classStyle, HCURSOR cursor, HBRUSH background, HICON icon);

// Offers a message of a modal loop to PreTranslateMessage along the chain of
// windows from its target up through parents and owners.
BOOL AfxPreTranslateMessage(MSG* msg);
