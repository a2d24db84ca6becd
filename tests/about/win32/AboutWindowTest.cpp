// The About window and its scrolling text on a real system (Wine), for what
// the end-to-end suite cannot reach from outside: closing by pre-translation
// from the control up through its parents, the region against the picture,
// and the control's scrolling as it shows on the screen.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <chrono>
#include <functional>
#include <thread>
#include <vector>

#include "about/AboutCommand.h"
#include "about/AboutLayout.h"
#include "about/ScrollerCtrl.h"
#include "about/SplashScreenEx.h"
#include "framework/Wnd.h"

namespace {

// A top-level window standing in for the main dialog; it records what its
// children send it instead of acting on it.
class RecordingWindow : public CWnd {
 public:
  RecordingWindow() {
    static const ATOM registered = [] {
      WNDCLASSEXW wc{};
      wc.cbSize = sizeof wc;
      wc.lpfnWndProc = AfxGetAfxWndProc();
      wc.hInstance = GetModuleHandleW(nullptr);
      wc.lpszClassName = L"AboutTestOwner";
      return RegisterClassExW(&wc);
    }();
    EXPECT_NE(registered, 0);
    EXPECT_TRUE(CreateEx(0, L"AboutTestOwner", L"Owner", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 20, 20, 300, 300, nullptr,
                         nullptr));
  }

  std::vector<MSG> commands;
  int closes = 0;

 protected:
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
    if (message == WM_COMMAND) {
      commands.push_back(MSG{m_hWnd, message, wParam, lParam, 0, {}});
      return 0;
    }
    if (message == WM_CLOSE) {
      ++closes;
      return 0;
    }
    return CWnd::WindowProc(message, wParam, lParam);
  }
};

// The main dialog's modal loop (pre-translation along parents and owners,
// then dispatch) until the condition holds or the time is up.
bool PumpUntil(const std::function<bool()>& condition, std::chrono::milliseconds timeout) {
  const auto end = std::chrono::steady_clock::now() + timeout;
  for (;;) {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      if (!AfxPreTranslateMessage(&msg)) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
      }
    }
    if (condition()) return true;
    if (std::chrono::steady_clock::now() >= end) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
}

void Pump(std::chrono::milliseconds duration) {
  PumpUntil([] { return false; }, duration);
}

// A named CALLBACK, not a lambda: on x86 a lambda converts only to a cdecl
// pointer, and the enumeration calls back with stdcall.
BOOL CALLBACK CollectAboutWindow(HWND hwnd, LPARAM found) {
  wchar_t name[64] = {};
  GetClassNameW(hwnd, name, 64);
  if (std::wstring(name) == L"SplashScreenExClass") reinterpret_cast<std::vector<HWND>*>(found)->push_back(hwnd);
  return TRUE;
}

std::vector<HWND> AboutWindows() {
  std::vector<HWND> found;
  EnumThreadWindows(GetCurrentThreadId(), CollectAboutWindow, reinterpret_cast<LPARAM>(&found));
  return found;
}

HWND TextControlOf(HWND about) { return FindWindowExW(about, nullptr, nullptr, L"Scroller"); }

// Offers a message to the modal loop's pre-translation as if it had been
// posted to target.
BOOL Offer(HWND target, UINT message, WPARAM wParam = 0, LPARAM lParam = 0) {
  MSG msg{target, message, wParam, lParam, GetTickCount(), {}};
  return AfxPreTranslateMessage(&msg);
}

// The client area of a window as it shows, one COLORREF per pixel.
struct Capture {
  int width = 0;
  int height = 0;
  std::vector<COLORREF> pixels;  // row by row from the top
};

Capture CaptureClient(HWND hwnd) {
  RECT client;
  GetClientRect(hwnd, &client);
  Capture capture;
  capture.width = client.right;
  capture.height = client.bottom;
  HDC windowDC = GetDC(hwnd);
  HDC memory = CreateCompatibleDC(windowDC);
  HBITMAP bitmap = CreateCompatibleBitmap(windowDC, capture.width, capture.height);
  HGDIOBJ previous = SelectObject(memory, bitmap);
  BitBlt(memory, 0, 0, capture.width, capture.height, windowDC, 0, 0, SRCCOPY);
  for (int y = 0; y < capture.height; ++y) {
    for (int x = 0; x < capture.width; ++x) capture.pixels.push_back(GetPixel(memory, x, y));
  }
  SelectObject(memory, previous);
  DeleteObject(bitmap);
  DeleteDC(memory);
  ReleaseDC(hwnd, windowDC);
  return capture;
}

// The upward shift that turns before into after, or -1. Shifts that leave
// fewer than 8 rows to compare prove nothing and are not tried.
int RiseBetween(const Capture& before, const Capture& after, int maxShift) {
  if (after.width != before.width || after.height != before.height) return -1;
  for (int shift = 0; shift <= maxShift && shift <= before.height - 8; ++shift) {
    const auto rows = before.pixels.begin() + static_cast<std::ptrdiff_t>(shift) * before.width;
    if (std::equal(rows, before.pixels.end(), after.pixels.begin())) return shift;
  }
  return -1;
}

std::wstring LongText() {
  std::wstring text;
  for (int i = 1; i <= 30; ++i) text += L"Line " + std::to_wstring(i) + L" of the scrolling text\n";
  return text;
}

class AboutWindowTest : public testing::Test {
 protected:
  void TearDown() override {
    for (HWND about : AboutWindows()) DestroyWindow(about);
    Pump(std::chrono::milliseconds(20));
  }
};

TEST_F(AboutWindowTest, AKeyOrButtonPressOnTheWindowOrItsTextClosesIt) {
  RecordingWindow owner;
  ShowAboutWindow(&owner);
  ASSERT_EQ(AboutWindows().size(), 1u);
  HWND about = AboutWindows()[0];

  // Moving the mouse over the text, and keys aimed at the dialog, leave it.
  EXPECT_FALSE(Offer(TextControlOf(about), WM_MOUSEMOVE));
  EXPECT_FALSE(Offer(owner.m_hWnd, WM_KEYDOWN, VK_SPACE));
  EXPECT_TRUE(IsWindow(about));

  // A key aimed at the text control reaches the About window's
  // pre-translation through the control's parent and closes it first.
  EXPECT_TRUE(Offer(TextControlOf(about), WM_KEYDOWN, VK_DOWN));
  EXPECT_FALSE(IsWindow(about));

  for (UINT press : {WM_RBUTTONDOWN, WM_MBUTTONDOWN, WM_NCLBUTTONDOWN, WM_SYSKEYDOWN}) {
    ShowAboutWindow(&owner);
    ASSERT_EQ(AboutWindows().size(), 1u);
    about = AboutWindows()[0];
    EXPECT_TRUE(Offer(about, press)) << press;
    EXPECT_FALSE(IsWindow(about)) << press;
  }
}

TEST_F(AboutWindowTest, TheRegionHoldsExactlyThePicturesNonKeyPixels) {
  HBITMAP picture = LoadBitmapW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(about::kAboutBitmapId));
  ASSERT_NE(picture, nullptr) << "bitmap 135 is linked in with the About window";
  BITMAP info{};
  GetObjectW(picture, sizeof info, &info);

  CSplashScreenEx splash;
  HRGN region = splash.BuildRegionFromBitmap(picture, about::kKeyColour);
  ASSERT_NE(region, nullptr);
  HDC memory = CreateCompatibleDC(nullptr);
  HGDIOBJ previous = SelectObject(memory, picture);
  int mismatches = 0;
  for (int y = 0; y < info.bmHeight; ++y) {
    for (int x = 0; x < info.bmWidth; ++x) {
      const bool opaque = GetPixel(memory, x, y) != about::kKeyColour;
      if (opaque != (PtInRegion(region, x, y) != FALSE)) ++mismatches;
    }
  }
  EXPECT_EQ(mismatches, 0);
  SelectObject(memory, previous);
  DeleteDC(memory);
  DeleteObject(region);
  DeleteObject(picture);
}

class ScrollerTest : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(m_control.Create(RECT{10, 10, 208, 134}, &m_parent));
    m_created = std::chrono::steady_clock::now();
    m_hwnd = m_control.GetSafeHwnd();
  }

  // How far the text has risen since the reference picture, given time to
  // repaint.
  int RiseSince(const Capture& reference, int maxShift) {
    Pump(std::chrono::milliseconds(100));
    return RiseBetween(reference, CaptureClient(m_hwnd), maxShift);
  }

  std::chrono::steady_clock::time_point m_created;
  RecordingWindow m_parent;
  CScrollerCtrl m_control;
  HWND m_hwnd = nullptr;
};

TEST_F(ScrollerTest, TheWhiteTextRestsThenRisesAndTheWheelAndPageKeysMoveItWithinTheContent) {
  m_control.SetText(LongText());
  Pump(std::chrono::milliseconds(300));
  const Capture start = CaptureClient(m_hwnd);
  EXPECT_EQ(start.pixels[0], RGB(0, 0, 0));
  EXPECT_TRUE(std::any_of(start.pixels.begin(), start.pixels.end(), [](COLORREF c) { return GetRValue(c) > 128; }))
      << "white text on the black ground";
  if (std::chrono::steady_clock::now() - m_created < std::chrono::milliseconds(800)) {
    EXPECT_EQ(RiseSince(start, 0), 0) << "still in the first second's rest";
  }
  Pump(std::chrono::milliseconds(1700));  // at least 2 s after creation
  EXPECT_GE(RiseSince(start, 100), 2) << "the text rises once the rest is over";

  // Each scroll restarts the rest: the text stands where it was put.
  SendMessageW(m_hwnd, WM_VSCROLL, MAKEWPARAM(SB_TOP, 0), 0);
  EXPECT_EQ(RiseSince(start, 0), 0);
  SendMessageW(m_hwnd, WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(-240)), 0);
  EXPECT_EQ(RiseSince(start, 40), 24) << "three line scrolls of 8 pixels";
  SendMessageW(m_hwnd, WM_MOUSEWHEEL, MAKEWPARAM(0, 120), 0);
  EXPECT_EQ(RiseSince(start, 40), 8) << "one notch back is two lines";
  // A page is the control's height; three lines back make it measurable.
  SendMessageW(m_hwnd, WM_KEYDOWN, VK_NEXT, 0);
  SendMessageW(m_hwnd, WM_MOUSEWHEEL, MAKEWPARAM(0, 240), 0);
  EXPECT_EQ(RiseSince(start, 120), 8 + 124 - 24);
  // The wheel up past the start stops at the start.
  SendMessageW(m_hwnd, WM_MOUSEWHEEL, MAKEWPARAM(0, 120 * 20), 0);
  EXPECT_EQ(RiseSince(start, 0), 0);

  // Without the tab stop style the control takes no arrows and ignores
  // scrolling.
  EXPECT_EQ(SendMessageW(m_hwnd, WM_GETDLGCODE, 0, 0), DLGC_WANTARROWS);
  SetWindowLongW(m_hwnd, GWL_STYLE, GetWindowLongW(m_hwnd, GWL_STYLE) & ~WS_TABSTOP);
  EXPECT_EQ(SendMessageW(m_hwnd, WM_GETDLGCODE, 0, 0), 0);
  SendMessageW(m_hwnd, WM_VSCROLL, MAKEWPARAM(SB_PAGEDOWN, 0), 0);
  EXPECT_EQ(RiseSince(start, 0), 0);
}

TEST_F(ScrollerTest, AShortTextWrapsNotifiesTheParentOnceAndAClickAsksTheParentToClose) {
  m_control.SetText(L"Short");
  // Content: 15 + one line (about 13 pixels): it has left the control after
  // the first second and about 30 ticks of 80 ms.
  ASSERT_TRUE(PumpUntil([&] { return !m_parent.commands.empty(); }, std::chrono::milliseconds(15000)));
  const MSG& note = m_parent.commands.front();
  EXPECT_EQ(note.wParam, MAKEWPARAM(0, 0));
  EXPECT_EQ(reinterpret_cast<HWND>(note.lParam), m_hwnd);
  Pump(std::chrono::milliseconds(500));  // resting at the start again
  EXPECT_EQ(m_parent.commands.size(), 1u);

  EXPECT_EQ(m_parent.closes, 0);
  SendMessageW(m_hwnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
  EXPECT_EQ(m_parent.closes, 1);
  SendMessageW(m_hwnd, WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(5, 5));
  EXPECT_EQ(m_parent.closes, 2);
}

TEST_F(ScrollerTest, TheScrollBarShowsWhileThePointerRestsOnTheActiveWindowsText) {
  m_control.SetText(LongText());
  SetForegroundWindow(m_parent.m_hWnd);
  SetActiveWindow(m_parent.m_hWnd);
  Pump(std::chrono::milliseconds(100));
  if (GetActiveWindow() != m_parent.m_hWnd) GTEST_SKIP() << "the test window could not be made active on this display";
  RECT r;
  GetWindowRect(m_hwnd, &r);
  if (!SetCursorPos((r.left + r.right) / 2, (r.top + r.bottom) / 2)) GTEST_SKIP() << "the pointer cannot be moved here";
  const auto barShown = [&] { return (GetWindowLongW(m_hwnd, GWL_STYLE) & WS_VSCROLL) != 0; };
  EXPECT_TRUE(PumpUntil(barShown, std::chrono::milliseconds(1000)));
  RECT client;
  GetClientRect(m_hwnd, &client);
  EXPECT_LT(client.right, 198) << "the bar narrows the client area";

  SetCursorPos(r.right + 50, r.bottom + 50);
  EXPECT_TRUE(PumpUntil([&] { return !barShown(); }, std::chrono::milliseconds(1000)));
}

}  // namespace
