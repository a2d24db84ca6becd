// The About window as the user meets it: opened by the About button and by
// the system-menu item, shaped and centred, its text scrolling, closed by a
// click or a key press, and one window per opening.
#include <thread>

#include "tools/e2e/Scenario.h"
#include "tools/e2e/Screenshot.h"

namespace e2e {
namespace {

constexpr char kOnePrinter[] = R"({
  "spooler": {
    "drivers": [{"name": "Tessaly E2E Laser", "dataFile": "E2ELASR.PPD"}],
    "printers": [{"name": "Office Laser", "driver": "Tessaly E2E Laser"}]
  }
})";

constexpr int kWidth = 448;
constexpr int kHeight = 464;

std::vector<HWND> AboutWindows(TessalyUnderTest& program) {
  std::vector<HWND> found;
  for (HWND w : program.Windows()) {
    if (ClassOf(w) == L"SplashScreenExClass") found.push_back(w);
  }
  return found;
}

HWND WaitForAboutWindows(TessalyUnderTest& program, std::size_t count) {
  WaitUntil([&] { return AboutWindows(program).size() == count; }, 10s);
  const auto windows = AboutWindows(program);
  return windows.size() == count && count > 0 ? windows.front() : nullptr;
}

POINT ExpectedTopLeft() {
  return POINT{(GetSystemMetrics(SM_CXFULLSCREEN) - kWidth) / 2, (GetSystemMetrics(SM_CYFULLSCREEN) - kHeight) / 2};
}

HWND TextControl(HWND about) { return FindWindowExW(about, nullptr, nullptr, L"Scroller"); }

// What the user sees when the window opens: the picture's outline, its
// place, and the text that starts to scroll after a second.
void CheckOpenedWindow(HWND about, const std::wstring& shotPrefix) {
  const RECT r = ScreenRect(about);
  const POINT expected = ExpectedTopLeft();
  EXPECT_EQ(r.left, expected.x);
  EXPECT_EQ(r.top, expected.y);
  EXPECT_EQ(r.right - r.left, kWidth);
  EXPECT_EQ(r.bottom - r.top, kHeight);

  // The magenta corner is cut out of the window; the printer's body is not.
  const POINT corner{r.left + 3, r.top + 3};
  const POINT body{r.left + 30, r.top + 300};
  EXPECT_NE(WindowFromPoint(corner), about) << "a click on the cut-out corner must not reach the window";
  EXPECT_EQ(WindowFromPoint(body), about);

  const HWND text = TextControl(about);
  ASSERT_NE(text, nullptr);
  EXPECT_EQ(GetDlgCtrlID(text), 0);
  EXPECT_EQ(static_cast<DWORD>(GetWindowLongW(text, GWL_STYLE)) & 0xFFFF0000u, 0x50030000u)
      << "child, visible, group, tab stop";
  RECT t = ScreenRect(text);
  EXPECT_EQ(t.left - r.left, 142);
  EXPECT_EQ(t.top - r.top, 310);
  EXPECT_EQ(t.right - t.left, 198);
  EXPECT_EQ(t.bottom - t.top, 124);

  std::this_thread::sleep_for(1200ms);  // past the first second's rest
  SaveScreenshot(shotPrefix + L"-1", {about});
  const auto first = GrabPixels(t);
  std::this_thread::sleep_for(1000ms);
  SaveScreenshot(shotPrefix + L"-2", {about});
  const auto second = GrabPixels(t);
  EXPECT_GT(LightPixels(first), 200) << "white text on the black screen";
  EXPECT_NE(first, second) << "the text must move between the two screenshots";
}

TEST_F(Scenario, TheAboutButtonOpensTheShapedWindowWithScrollingTextAndAClickClosesIt) {
  Seed(kOnePrinter);
  Start();
  ASSERT_NE(OpenMainDialog(), nullptr) << program().failure;

  ClickCentre(program().Control(IDC_ABOUT));
  const HWND about = WaitForAboutWindows(program(), 1);
  ASSERT_NE(about, nullptr) << "no SplashScreenExClass window after the About button";
  EXPECT_EQ(GetWindow(about, GW_OWNER), program().MainDialog());
  EXPECT_EQ(GetWindowLongW(about, GWL_EXSTYLE) & (WS_EX_TOPMOST | WS_EX_TOOLWINDOW), WS_EX_TOPMOST | WS_EX_TOOLWINDOW);
  CheckOpenedWindow(about, L"about-button");

  // A click on the scrolling text closes the window at once.
  ClickCentre(TextControl(about));
  EXPECT_TRUE(WaitUntil([&] { return !IsWindow(about); }, 5s)) << "a click on the text must close the window";
  EXPECT_TRUE(IsShown(program().MainDialog()));
  program().Screenshot(L"about-closed");
}

TEST_F(Scenario, TheSystemMenuItemOpensTheSameWindowAndAKeyPressClosesIt) {
  Seed(kOnePrinter);
  Start();
  const HWND dialog = OpenMainDialog();
  ASSERT_NE(dialog, nullptr) << program().failure;

  // The command the system menu's About item sends (the menu itself cannot
  // be read from another process under Wine).
  PostMessageW(dialog, WM_SYSCOMMAND, IDM_ABOUTBOX, 0);
  const HWND about = WaitForAboutWindows(program(), 1);
  ASSERT_NE(about, nullptr) << "no SplashScreenExClass window after the system-menu command";
  CheckOpenedWindow(about, L"about-system-menu");

  // Shown, it is the active window: the next key press closes it.
  WaitUntil([&] { return GetForegroundWindow() == about; }, 2s);
  PressKey(VK_SHIFT);
  EXPECT_TRUE(WaitUntil([&] { return !IsWindow(about); }, 5s)) << "a key press must close the window";
  EXPECT_TRUE(IsShown(dialog));
}

TEST_F(Scenario, EachOpeningGivesItsOwnWindowAndEachClosesAlone) {
  Seed(kOnePrinter);
  Start();
  const HWND dialog = OpenMainDialog();
  ASSERT_NE(dialog, nullptr) << program().failure;

  ClickCentre(program().Control(IDC_ABOUT));
  ASSERT_NE(WaitForAboutWindows(program(), 1), nullptr);
  // The first window covers the About button: the second opening comes
  // through the system menu's command.
  PostMessageW(dialog, WM_SYSCOMMAND, IDM_ABOUTBOX, 0);
  ASSERT_NE(WaitForAboutWindows(program(), 2), nullptr);
  const auto windows = AboutWindows(program());
  ASSERT_EQ(windows.size(), 2u);
  RECT a = ScreenRect(windows[0]), b = ScreenRect(windows[1]);
  EXPECT_TRUE(EqualRect(&a, &b)) << "both stand at the same centred place";
  program().Screenshot(L"about-two-windows");

  // A click on the picture closes the window on top only.
  ClickAt(POINT{a.left + 30, a.top + 300});
  EXPECT_TRUE(WaitUntil([&] { return AboutWindows(program()).size() == 1; }, 5s));
  ClickAt(POINT{a.left + 30, a.top + 300});
  EXPECT_TRUE(WaitUntil([&] { return AboutWindows(program()).empty(); }, 5s));
  EXPECT_TRUE(IsShown(dialog));
}

}  // namespace
}  // namespace e2e
