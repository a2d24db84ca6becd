// The main dialog: the list, the two layouts, the check boxes and their
// rules, and the messages of the delete button that start no run.
#include "tools/e2e/Scenario.h"

namespace e2e {
namespace {

constexpr char kThreeNames[] = R"({
  "spooler": {
    "drivers": [{"name": "Tessaly E2E Laser", "dataFile": "E2ELASR.PPD"}],
    "printers": [
      {"name": "Zeta", "driver": "Tessaly E2E Laser"},
      {"name": "alpha", "driver": "Tessaly E2E Laser"},
      {"name": "Beta", "driver": "Tessaly E2E Laser"}
    ]
  }
})";

using Texts = std::vector<std::wstring>;

int BoxState(TessalyUnderTest& program) {
  return static_cast<int>(SendMessageW(program.Control(IDC_DELETE_ALL), BM_GETCHECK, 0, 0));
}

RECT ClientRectOf(HWND dialog, HWND control) {
  RECT r = ScreenRect(control);
  MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&r), 2);
  return r;
}

TEST_F(Scenario, TheListIsSortedIgnoringCaseWithEachNameLedByOneBlank) {
  Seed(kThreeNames);
  Start();
  ASSERT_NE(OpenMainDialog(), nullptr) << program().failure;
  EXPECT_EQ(program().ItemTexts(IDC_PRINTER_LIST), (Texts{L" alpha", L" Beta", L" Zeta"}));
  EXPECT_EQ(program().CheckStates(), (std::vector<int>{0, 0, 0}));
  EXPECT_EQ(TextOf(program().MainDialog()), L"Tessaly");
  EXPECT_EQ(TextOf(program().Control(IDC_DELETE)), L"Delete the Selected Printers");
  EXPECT_EQ(TextOf(program().Control(IDC_DELETE_ALL)), L"Delete All Printer Drivers");
  EXPECT_EQ(TextOf(program().Control(IDOK)), L"Exit");
  EXPECT_EQ(TextOf(program().Control(IDC_ABOUT)), L"About");
  program().Screenshot(L"03-main-dialog");

  // The space bar toggles the item with the caret, as a click on its box does.
  program().ClickItemText(0);  // selects the item and gives the list the focus
  EXPECT_EQ(program().CheckStates(), (std::vector<int>{0, 0, 0})) << "a click on the text must not toggle";
  PressKey(VK_SPACE);
  EXPECT_EQ(program().CheckStates(), (std::vector<int>{1, 0, 0}));
  PressKey(VK_SPACE);
  EXPECT_EQ(program().CheckStates(), (std::vector<int>{0, 0, 0}));
  program().ClickCheckBox(2);
  EXPECT_EQ(program().CheckStates(), (std::vector<int>{0, 0, 1}));

  ClickCentre(program().Control(IDOK));
  EXPECT_TRUE(program().Ended()) << "Exit must end the program";
}

TEST_F(Scenario, PlusExpandsTheDeletedListAndMinusRestoresTheCollapsedDialog) {
  Seed(kThreeNames);
  Start();
  HWND dialog = OpenMainDialog();
  ASSERT_NE(dialog, nullptr) << program().failure;
  const HWND plus = program().Control(IDC_EXPAND);
  const HWND deleted = program().Control(IDC_DELETED_LIST);
  const HWND label = program().Control(IDC_DELETED_LABEL);

  // Collapsed: About and Exit stand 10 pixels below "+", the client area
  // ends 10 pixels below them.
  const int collapsed = program().DialogClientHeight();
  const RECT plusRect = ClientRectOf(dialog, plus);
  for (int id : {IDC_ABOUT, IDOK}) {
    const RECT button = ClientRectOf(dialog, program().Control(id));
    EXPECT_EQ(button.top - plusRect.bottom, 10) << id;
    EXPECT_EQ(collapsed - button.bottom, 10) << id;
  }
  EXPECT_FALSE(IsWindowVisible(deleted));
  EXPECT_FALSE(IsWindowVisible(label));
  EXPECT_EQ(TextOf(plus), L"+");

  ClickCentre(plus);
  const RECT list = ScreenRect(program().Control(IDC_PRINTER_LIST));
  EXPECT_EQ(program().DialogClientHeight() - collapsed, (list.bottom - list.top) + 20);
  EXPECT_TRUE(IsWindowVisible(deleted));
  EXPECT_TRUE(IsWindowVisible(label));
  EXPECT_EQ(TextOf(plus), L"-");
  EXPECT_EQ(TextOf(label), L"List of Deleted Printer Drivers");
  const RECT deletedRect = ClientRectOf(dialog, deleted);
  for (int id : {IDC_ABOUT, IDOK}) {
    const RECT button = ClientRectOf(dialog, program().Control(id));
    EXPECT_GT(button.top, deletedRect.bottom) << id;
    EXPECT_EQ(program().DialogClientHeight() - button.bottom, 10) << id;
    EXPECT_TRUE(IsShown(program().Control(id))) << id;
  }
  program().Screenshot(L"04-expanded");

  ClickCentre(plus);
  EXPECT_EQ(program().DialogClientHeight(), collapsed);
  EXPECT_FALSE(IsWindowVisible(deleted));
  EXPECT_EQ(TextOf(plus), L"+");
}

TEST_F(Scenario, DeleteWithNothingCheckedOnlySaysSo) {
  Seed(kThreeNames);
  Start();
  ASSERT_NE(OpenMainDialog(), nullptr) << program().failure;
  ClickCentre(program().Control(IDC_DELETE));
  ASSERT_TRUE(program().Answer(L"No Printer has been selected for deletion, please select it.", IDOK,
                               L"05-nothing-selected"))
      << program().failure;
  EXPECT_EQ(InstalledPrinters().size(), 3u);
  EXPECT_TRUE(IsWindowEnabled(program().Control(IDC_DELETE)));
  EXPECT_EQ(program().ItemTexts(IDC_DELETED_LIST), Texts{});
}

TEST_F(Scenario, TheDeleteAllBoxWarnsChecksEveryPrinterAndFollowsTheList) {
  Seed(kThreeNames);
  Start();
  ASSERT_NE(OpenMainDialog(), nullptr) << program().failure;
  program().ClickCheckBox(1);
  ASSERT_EQ(program().CheckStates(), (std::vector<int>{0, 1, 0}));

  // Cancel: the box unchecks itself, the printers keep their states.
  ClickCentre(program().Control(IDC_DELETE_ALL));
  ASSERT_TRUE(program().Answer(EnglishText(129), IDCANCEL, L"06-delete-all-warning")) << program().failure;
  EXPECT_EQ(BoxState(program()), BST_UNCHECKED);
  EXPECT_EQ(program().CheckStates(), (std::vector<int>{0, 1, 0}));

  // OK: every printer is checked.
  ClickCentre(program().Control(IDC_DELETE_ALL));
  ASSERT_TRUE(program().Answer(EnglishText(129), IDOK)) << program().failure;
  EXPECT_EQ(BoxState(program()), BST_CHECKED);
  EXPECT_EQ(program().CheckStates(), (std::vector<int>{1, 1, 1}));
  program().Screenshot(L"07-delete-all-checked");

  // Leaving one printer out clears the box without a word.
  program().ClickCheckBox(0);
  EXPECT_EQ(BoxState(program()), BST_UNCHECKED);
  EXPECT_EQ(program().CheckStates(), (std::vector<int>{0, 1, 1}));
  EXPECT_EQ(program().WaitForMessageBox(500ms), nullptr);

  // Checking the last one again only suggests the box.
  program().ClickCheckBox(0);
  ASSERT_TRUE(program().Answer(EnglishText(104), IDOK, L"08-every-printer-hint")) << program().failure;
  EXPECT_EQ(BoxState(program()), BST_UNCHECKED);
  EXPECT_EQ(program().CheckStates(), (std::vector<int>{1, 1, 1}));

  // Unchecking the box unchecks every printer.
  ClickCentre(program().Control(IDC_DELETE_ALL));
  ASSERT_TRUE(program().Answer(EnglishText(129), IDOK)) << program().failure;
  ClickCentre(program().Control(IDC_DELETE_ALL));
  EXPECT_EQ(program().CheckStates(), (std::vector<int>{0, 0, 0}));
  EXPECT_EQ(BoxState(program()), BST_UNCHECKED);
}

TEST_F(Scenario, TheSystemMenuEndsWithTheAboutItem) {
  // Wine answers GetSystemMenu with NULL for another process's window, so
  // the item is proved by its effect: the last item is chosen from the
  // keyboard, and it must not be "Close".
  Seed(kThreeNames);
  Start();
  HWND dialog = OpenMainDialog();
  ASSERT_NE(dialog, nullptr) << program().failure;
  PressKeys({VK_MENU, VK_SPACE});
  std::vector<HWND> windows = program().Windows();
  HWND menu = nullptr;
  for (HWND w : windows) {
    if (ClassOf(w) == L"#32768") menu = w;
  }
  ASSERT_NE(menu, nullptr) << "Alt+Space opened no system menu";
  program().Screenshot(L"09-system-menu");
  PressKey(VK_UP);  // from the top, the selection wraps to the last item
  PressKey(VK_RETURN);
  EXPECT_FALSE(program().Ended(1500ms)) << "the last item of the system menu closed the program";
  EXPECT_TRUE(IsShown(dialog));

  // The item opens the About window, which the next key press closes.
  HWND about = nullptr;
  EXPECT_TRUE(WaitUntil([&] {
    for (HWND w : program().Windows()) {
      if (ClassOf(w) == L"SplashScreenExClass") about = w;
    }
    return about != nullptr;
  }, 10s)) << "the last item of the system menu opened no About window";
  if (!about) return;
  program().Screenshot(L"10-about-from-system-menu");
  PressKey(VK_ESCAPE);
  EXPECT_TRUE(WaitUntil([&] { return !IsWindow(about); }, 10s)) << "a key press must close the About window";
  EXPECT_TRUE(IsShown(dialog));
}

}  // namespace
}  // namespace e2e
