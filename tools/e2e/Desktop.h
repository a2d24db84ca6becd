#pragma once
// What a user does on the desktop, done from another process: find the
// program's windows, read what they show, click and type. Input goes
// through SendInput, so it reaches the windows the way a real mouse and
// keyboard would (hit-testing, focus, disabled windows ignoring it).
#include <windows.h>

#include <chrono>
#include <functional>
#include <string>
#include <vector>

namespace e2e {

using namespace std::chrono_literals;

// Polls until the condition holds; false after the timeout.
bool WaitUntil(const std::function<bool()>& condition, std::chrono::milliseconds timeout = 20s);

// The visible top-level windows of a process, in z-order.
std::vector<HWND> TopLevelWindows(DWORD processId);
// A process and the processes it started, and theirs, parents first.
std::vector<DWORD> ProcessTree(DWORD processId);
std::wstring ClassOf(HWND hwnd);
std::wstring TextOf(HWND hwnd);
RECT ScreenRect(HWND hwnd);
bool IsShown(HWND hwnd);

void ClickAt(POINT screen);
void ClickCentre(HWND hwnd);
void PressKey(WORD virtualKey);
void PressKeys(std::initializer_list<WORD> chord);  // e.g. {VK_MENU, VK_SPACE}

}  // namespace e2e
