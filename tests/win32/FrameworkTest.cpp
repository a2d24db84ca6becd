// The framework layer on a real window manager: the pre-translation walk the
// About window relies on, the check list box under the user's mouse and
// keyboard, data exchange, and the check list's state read from another
// thread.
#include <gtest/gtest.h>
#include <windows.h>

#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "framework/CheckListBox.h"
#include "framework/DataExchange.h"
#include "framework/Wnd.h"

namespace {

constexpr wchar_t kClass[] = L"TessalyFrameworkTestClass";

void RegisterTestClass() {
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = AfxGetAfxWndProc();
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.lpszClassName = kClass;
  RegisterClassExW(&wc);  // fails harmlessly when registered already
}

// Runs the messages already queued for this thread through the
// pre-translation walk and then the usual dispatch, as a modal loop does.
void PumpPending() {
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (!AfxPreTranslateMessage(&msg)) {
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
  }
}

// A window that notes which messages reached its PreTranslateMessage.
class Recorder : public CWnd {
 public:
  Recorder(std::vector<std::wstring>& log, std::wstring name, bool handles)
      : log_(log), name_(std::move(name)), handles_(handles) {}
  BOOL PreTranslateMessage(MSG* msg) override {
    if (msg->message != WM_KEYDOWN) return FALSE;
    log_.push_back(name_);
    return handles_;
  }

 protected:
  std::vector<std::wstring>& log_;
  std::wstring name_;
  bool handles_;
};

// Like the About window: closes itself on a key aimed at it or at a child,
// and deletes itself when its window is gone.
class SelfClosingPopup : public Recorder {
 public:
  SelfClosingPopup(std::vector<std::wstring>& log, bool& deleted) : Recorder(log, L"popup", true), deleted_(deleted) {}
  ~SelfClosingPopup() override { deleted_ = true; }
  BOOL PreTranslateMessage(MSG* msg) override {
    if (!Recorder::PreTranslateMessage(msg)) return FALSE;
    DestroyWindow();
    return TRUE;
  }

 protected:
  void PostNcDestroy() override { delete this; }

 private:
  bool& deleted_;
};

TEST(FrameworkTest, AKeyForAChildOfAnOwnedPopUpReachesThePopUpBeforeItsOwner) {
  RegisterTestClass();
  std::vector<std::wstring> log;
  Recorder owner(log, L"owner", false);
  ASSERT_TRUE(owner.CreateEx(0, kClass, L"owner", WS_OVERLAPPEDWINDOW, 0, 0, 200, 200, nullptr, nullptr));
  bool deleted = false;
  auto* popup = new SelfClosingPopup(log, deleted);
  ASSERT_TRUE(popup->CreateEx(0, kClass, L"", WS_POPUP, 0, 0, 100, 100, owner.m_hWnd, nullptr));
  Recorder child(log, L"child", false);
  ASSERT_TRUE(child.CreateEx(0, kClass, L"", WS_CHILD, 0, 0, 50, 50, popup->m_hWnd, reinterpret_cast<HMENU>(7)));
  const HWND popupWindow = popup->m_hWnd;

  PostMessageW(child.m_hWnd, WM_KEYDOWN, VK_SPACE, 0);
  PumpPending();
  // Child first, then the pop-up, which handles it: the owner never sees it.
  EXPECT_EQ(log, (std::vector<std::wstring>{L"child", L"popup"}));
  EXPECT_FALSE(IsWindow(popupWindow));
  EXPECT_TRUE(deleted) << "the pop-up deletes itself after its last message";
  EXPECT_EQ(CWnd::FromHandlePermanent(popupWindow), nullptr);
  EXPECT_EQ(child.m_hWnd, nullptr) << "the child went with its parent and let go of its window";

  // A key for the owner itself reaches only the owner.
  log.clear();
  PostMessageW(owner.m_hWnd, WM_KEYDOWN, VK_SPACE, 0);
  PumpPending();
  EXPECT_EQ(log, std::vector<std::wstring>{L"owner"});
  owner.DestroyWindow();
}

// A parent for a check list, noting the check-change notifications.
class ListParent : public CWnd {
 public:
  int changes = 0;

 protected:
  BOOL OnCommand(WPARAM wParam, LPARAM) override {
    if (LOWORD(wParam) == 1000 && HIWORD(wParam) == CLBN_CHKCHANGE) ++changes;
    return TRUE;
  }
};

class CheckListTest : public ::testing::Test {
 protected:
  void SetUp() override {
    RegisterTestClass();
    ASSERT_TRUE(parent_.CreateEx(0, kClass, L"list parent", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 50, 50, 300, 300,
                                 nullptr, nullptr));
    HWND list = CreateWindowExW(WS_EX_CLIENTEDGE, L"LISTBOX", L"",
                                WS_CHILD | WS_VISIBLE | WS_VSCROLL | LBS_NOTIFY | LBS_SORT | LBS_OWNERDRAWFIXED |
                                    LBS_HASSTRINGS | LBS_NOINTEGRALHEIGHT | LBS_EXTENDEDSEL,
                                10, 10, 250, 200, parent_.m_hWnd, reinterpret_cast<HMENU>(1000),
                                GetModuleHandleW(nullptr), nullptr);
    ASSERT_TRUE(list_.SubclassWindow(list));
    for (const wchar_t* name : {L" Zeta", L" alpha", L" Beta"}) list_.AddString(name);
  }
  void TearDown() override { parent_.DestroyWindow(); }

  std::vector<int> States() {
    std::vector<int> s;
    for (int i = 0; i < list_.GetCount(); ++i) s.push_back(list_.GetCheck(i));
    return s;
  }
  LPARAM ItemPoint(int index, int x) {
    RECT r;
    list_.GetItemRect(index, &r);
    return MAKELPARAM(x, (r.top + r.bottom) / 2);
  }

  ListParent parent_;
  CCheckListBox list_;
};

TEST_F(CheckListTest, TheUserTogglesWithAClickOnTheBoxOrTheSpaceBarAndTheParentHears) {
  EXPECT_EQ(list_.GetText(0), L" alpha");  // sorted, ignoring case
  EXPECT_EQ(States(), (std::vector<int>{0, 0, 0}));

  list_.SendMessageW(WM_LBUTTONDOWN, MK_LBUTTON, ItemPoint(1, 5));
  list_.SendMessageW(WM_LBUTTONUP, 0, ItemPoint(1, 5));
  EXPECT_EQ(States(), (std::vector<int>{0, 1, 0}));
  EXPECT_EQ(parent_.changes, 1);

  // A click on the text selects and does not toggle.
  list_.SendMessageW(WM_LBUTTONDOWN, MK_LBUTTON, ItemPoint(2, 120));
  list_.SendMessageW(WM_LBUTTONUP, 0, ItemPoint(2, 120));
  EXPECT_EQ(States(), (std::vector<int>{0, 1, 0}));
  EXPECT_EQ(parent_.changes, 1);
  EXPECT_EQ(list_.GetCaretIndex(), 2);

  // The space bar toggles the caret's item; its character does not move the
  // caret to the first item that starts with a blank.
  list_.SendMessageW(WM_KEYDOWN, VK_SPACE, 0);
  list_.SendMessageW(WM_CHAR, L' ', 0);
  EXPECT_EQ(States(), (std::vector<int>{0, 1, 1}));
  EXPECT_EQ(list_.GetCaretIndex(), 2);
  EXPECT_EQ(parent_.changes, 2);

  // Setting a state is not the user's doing: nobody is told.
  list_.SetCheck(0, 1);
  EXPECT_EQ(States(), (std::vector<int>{1, 1, 1}));
  EXPECT_EQ(parent_.changes, 2);
  // A refill starts unchecked.
  list_.ResetContent();
  list_.AddString(L" Beta");
  EXPECT_EQ(States(), std::vector<int>{0});
}

TEST_F(CheckListTest, AManualCheckStyleOnlyNotifies) {
  EXPECT_FALSE(list_.SetCheckStyle(BS_PUSHBUTTON));
  ASSERT_TRUE(list_.SetCheckStyle(BS_CHECKBOX));
  list_.SendMessageW(WM_LBUTTONDOWN, MK_LBUTTON, ItemPoint(0, 5));
  EXPECT_EQ(States(), (std::vector<int>{0, 0, 0}));
  EXPECT_EQ(parent_.changes, 1);
}

TEST_F(CheckListTest, ALongItemStaysWholeAndTheStateCanBeReadFromAnotherThread) {
  // Longer than any fixed buffer of the program: a printer name of 300
  // characters must come back whole, or it could not be matched to its
  // printer (or could match another one).
  const std::wstring longName = L" " + std::wstring(300, L'x') + L"END";
  const int index = list_.AddString(longName);
  list_.SetCheck(index, 1);
  EXPECT_EQ(list_.GetText(index), longName);

  // The worker reads through SendMessageW while this thread pumps.
  std::wstring seenText;
  int seenState = -1;
  bool done = false;
  std::thread worker([&] {
    seenText = list_.GetText(index);
    seenState = list_.GetCheck(index);
    done = true;
  });
  const DWORD end = GetTickCount() + 10000;
  while (!done && GetTickCount() < end) {
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_ALLINPUT);
    PumpPending();
  }
  worker.join();
  EXPECT_EQ(seenText, longName);
  EXPECT_EQ(seenState, 1);
}

TEST(DataExchangeTest, TheCheckBoxAndTheMemberFollowEachOther) {
  RegisterTestClass();
  CWnd dialog;
  ASSERT_TRUE(dialog.CreateEx(0, kClass, L"", WS_OVERLAPPEDWINDOW, 0, 0, 200, 100, nullptr, nullptr));
  CreateWindowExW(0, L"BUTTON", L"Delete All Printer Drivers", WS_CHILD | BS_AUTOCHECKBOX, 0, 0, 150, 20,
                  dialog.m_hWnd, reinterpret_cast<HMENU>(1002), GetModuleHandleW(nullptr), nullptr);
  BOOL member = TRUE;
  CDataExchange toControls(&dialog, FALSE);
  DDX_Check(&toControls, 1002, member);
  EXPECT_EQ(SendMessageW(dialog.GetDlgItem(1002), BM_GETCHECK, 0, 0), BST_CHECKED);
  SendMessageW(dialog.GetDlgItem(1002), BM_SETCHECK, BST_UNCHECKED, 0);
  CDataExchange toMembers(&dialog, TRUE);
  DDX_Check(&toMembers, 1002, member);
  EXPECT_EQ(member, FALSE);
  dialog.DestroyWindow();
}

}  // namespace
