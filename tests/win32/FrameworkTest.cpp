// The framework layer on a real window manager, for what the end-to-end
// suite cannot show: the pre-translation walk the About window relies on,
// window objects letting go of their windows (and of only their own link in
// a subclass chain), the check list's long items, and data exchange into the
// members.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include <string>
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

// A window that notes which key presses reached its PreTranslateMessage.
// Given a flag it acts like the About window: it takes the key, destroys
// its window and deletes itself once the window is gone, raising the flag.
class Recorder : public CWnd {
 public:
  Recorder(std::vector<std::wstring>& log, std::wstring name, bool* deleted = nullptr)
      : log_(log), name_(std::move(name)), deleted_(deleted) {}
  ~Recorder() override {
    if (deleted_) *deleted_ = true;
  }
  BOOL PreTranslateMessage(MSG* msg) override {
    if (msg->message != WM_KEYDOWN) return FALSE;
    log_.push_back(name_);
    if (!deleted_) return FALSE;
    DestroyWindow();
    return TRUE;
  }

 protected:
  void PostNcDestroy() override {
    if (deleted_) delete this;
  }

 private:
  std::vector<std::wstring>& log_;
  std::wstring name_;
  bool* deleted_;
};

// Runs the queued messages through the pre-translation walk and then the
// usual dispatch, as a modal loop does.
void PumpPending() {
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (!AfxPreTranslateMessage(&msg)) {
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
  }
}

TEST(FrameworkTest, AKeyForAChildOfAnOwnedPopUpReachesThePopUpBeforeItsOwner) {
  RegisterTestClass();
  std::vector<std::wstring> log;
  Recorder owner(log, L"owner");
  ASSERT_TRUE(owner.CreateEx(0, kClass, L"owner", WS_OVERLAPPEDWINDOW, 0, 0, 200, 200, nullptr, nullptr));
  bool deleted = false;
  auto* popup = new Recorder(log, L"popup", &deleted);
  ASSERT_TRUE(popup->CreateEx(0, kClass, L"", WS_POPUP, 0, 0, 100, 100, owner.m_hWnd, nullptr));
  Recorder child(log, L"child");
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

// Someone else's subclass, installed after ours: counts the window's last
// messages that reach it.
LRESULT CALLBACK LaterSubclass(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id, DWORD_PTR seen) {
  if (message == WM_NCDESTROY) {
    ++*reinterpret_cast<int*>(seen);
    RemoveWindowSubclass(hwnd, &LaterSubclass, id);
  }
  return DefSubclassProc(hwnd, message, wParam, lParam);
}

TEST(FrameworkTest, AnObjectLettingGoOfItsWindowKeepsALaterSubclass) {
  const HWND button = CreateWindowExW(0, L"BUTTON", L"", WS_POPUP, 0, 0, 50, 20, nullptr, nullptr,
                                      GetModuleHandleW(nullptr), nullptr);
  ASSERT_NE(button, nullptr);
  int lastMessagesSeen = 0;
  {
    CWnd ours;
    ASSERT_TRUE(ours.SubclassWindow(button));
    ASSERT_TRUE(SetWindowSubclass(button, &LaterSubclass, 1, reinterpret_cast<DWORD_PTR>(&lastMessagesSeen)));
  }  // the object destroys its window as it goes
  EXPECT_FALSE(IsWindow(button));
  EXPECT_EQ(lastMessagesSeen, 1) << "putting the procedure back by hand cut the later subclass out";
}

TEST(CheckListTest, ALongItemComesBackWhole) {
  RegisterTestClass();
  CWnd parent;
  ASSERT_TRUE(parent.CreateEx(0, kClass, L"list parent", WS_OVERLAPPEDWINDOW, 50, 50, 300, 300, nullptr, nullptr));
  CCheckListBox list;
  ASSERT_TRUE(list.SubclassWindow(CreateWindowExW(
      0, L"LISTBOX", L"", WS_CHILD | LBS_NOTIFY | LBS_SORT | LBS_OWNERDRAWFIXED | LBS_HASSTRINGS, 10, 10, 250, 200,
      parent.m_hWnd, reinterpret_cast<HMENU>(1000), GetModuleHandleW(nullptr), nullptr)));
  // Longer than any fixed buffer of the program: a printer name of 300
  // characters must come back whole, or it could not be matched to its
  // printer (or could match another one).
  const std::wstring longName = L" " + std::wstring(300, L'x') + L"END";
  const int index = list.AddString(longName);
  list.SetCheck(index, 1);
  EXPECT_EQ(list.GetText(index), longName);
  EXPECT_EQ(list.GetCheck(index), 1);
  parent.DestroyWindow();
}

TEST(DataExchangeTest, TheCheckBoxAndTheMemberFollowEachOther) {
  RegisterTestClass();
  CWnd dialog;
  ASSERT_TRUE(dialog.CreateEx(0, kClass, L"", WS_OVERLAPPEDWINDOW, 0, 0, 200, 100, nullptr, nullptr));
  const HWND box = CreateWindowExW(0, L"BUTTON", L"Delete All Printer Drivers", WS_CHILD | BS_AUTOCHECKBOX, 0, 0, 150,
                                   20, dialog.m_hWnd, reinterpret_cast<HMENU>(1002), GetModuleHandleW(nullptr), nullptr);
  BOOL member = TRUE;
  CDataExchange toControls(&dialog, FALSE);
  DDX_Check(&toControls, 1002, member);
  EXPECT_EQ(SendMessageW(box, BM_GETCHECK, 0, 0), BST_CHECKED);
  SendMessageW(box, BM_SETCHECK, BST_UNCHECKED, 0);
  CDataExchange toMembers(&dialog, TRUE);
  DDX_Check(&toMembers, 1002, member);
  EXPECT_EQ(member, FALSE);
  dialog.DestroyWindow();
}

}  // namespace
