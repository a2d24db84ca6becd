#include "tools/e2e/Desktop.h"

#include <tlhelp32.h>

#include <thread>

namespace e2e {

bool WaitUntil(const std::function<bool()>& condition, std::chrono::milliseconds timeout) {
  const auto end = std::chrono::steady_clock::now() + timeout;
  while (!condition()) {
    if (std::chrono::steady_clock::now() > end) return false;
    std::this_thread::sleep_for(50ms);
  }
  return true;
}

std::vector<DWORD> ProcessTree(DWORD processId) {
  std::vector<std::pair<DWORD, DWORD>> parentOf;  // process, parent
  HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
  if (snapshot != INVALID_HANDLE_VALUE) {
    PROCESSENTRY32W entry{};
    entry.dwSize = sizeof entry;
    for (BOOL more = Process32FirstW(snapshot, &entry); more; more = Process32NextW(snapshot, &entry)) {
      parentOf.emplace_back(entry.th32ProcessID, entry.th32ParentProcessID);
    }
    CloseHandle(snapshot);
  }
  std::vector<DWORD> tree{processId};
  for (std::size_t i = 0; i < tree.size(); ++i) {
    for (const auto& [process, parent] : parentOf) {
      if (parent == tree[i] && process != tree[i]) tree.push_back(process);
    }
  }
  return tree;
}

namespace {

struct WindowSearch {
  DWORD processId;
  std::vector<HWND> found;
};

// A named CALLBACK, not a lambda: on x86 a lambda converts only to a cdecl
// pointer, and EnumWindows calls back with stdcall.
BOOL CALLBACK CollectProcessWindow(HWND hwnd, LPARAM param) {
  auto* s = reinterpret_cast<WindowSearch*>(param);
  DWORD owner = 0;
  GetWindowThreadProcessId(hwnd, &owner);
  if (owner == s->processId && IsWindowVisible(hwnd)) s->found.push_back(hwnd);
  return TRUE;
}

}  // namespace

std::vector<HWND> TopLevelWindows(DWORD processId) {
  WindowSearch search{processId, {}};
  EnumWindows(CollectProcessWindow, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

std::wstring ClassOf(HWND hwnd) {
  wchar_t name[256] = {};
  GetClassNameW(hwnd, name, 256);
  return name;
}

std::wstring TextOf(HWND hwnd) {
  // WM_GETTEXT is copied across processes; GetWindowTextW would not ask a
  // control of another process for its text.
  const LRESULT length = SendMessageW(hwnd, WM_GETTEXTLENGTH, 0, 0);
  std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
  const LRESULT copied = SendMessageW(hwnd, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()));
  text.resize(static_cast<std::size_t>(copied));
  return text;
}

RECT ScreenRect(HWND hwnd) {
  RECT r{};
  GetWindowRect(hwnd, &r);
  return r;
}

bool IsShown(HWND hwnd) { return IsWindow(hwnd) && IsWindowVisible(hwnd); }

namespace {

void SendMouse(DWORD flags, POINT at) {
  INPUT input{};
  input.type = INPUT_MOUSE;
  // Absolute coordinates run from 0 to 65535 across the primary screen.
  input.mi.dx = MulDiv(at.x, 65536, GetSystemMetrics(SM_CXSCREEN)) + 1;
  input.mi.dy = MulDiv(at.y, 65536, GetSystemMetrics(SM_CYSCREEN)) + 1;
  input.mi.dwFlags = flags | MOUSEEVENTF_ABSOLUTE;
  SendInput(1, &input, sizeof input);
}

void SendKey(WORD key, bool up) {
  INPUT input{};
  input.type = INPUT_KEYBOARD;
  input.ki.wVk = key;
  input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
  SendInput(1, &input, sizeof input);
}

}  // namespace

void ClickAt(POINT screen) {
  SendMouse(MOUSEEVENTF_MOVE, screen);
  std::this_thread::sleep_for(60ms);
  SendMouse(MOUSEEVENTF_LEFTDOWN, screen);
  std::this_thread::sleep_for(30ms);
  SendMouse(MOUSEEVENTF_LEFTUP, screen);
  // Far enough apart that two clicks are never a double click.
  std::this_thread::sleep_for(std::chrono::milliseconds(GetDoubleClickTime() + 100));
}

void ClickCentre(HWND hwnd) {
  const RECT r = ScreenRect(hwnd);
  ClickAt(POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2});
}

void PressKey(WORD virtualKey) { PressKeys({virtualKey}); }

void PressKeys(std::initializer_list<WORD> chord) {
  for (WORD key : chord) SendKey(key, false);
  for (auto it = std::rbegin(chord); it != std::rend(chord); ++it) SendKey(*it, true);
  std::this_thread::sleep_for(300ms);
}

}  // namespace e2e
