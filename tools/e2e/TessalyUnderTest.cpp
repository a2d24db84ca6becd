#include "tools/e2e/TessalyUnderTest.h"

#include "res/Languages.h"
#include "tools/e2e/Screenshot.h"

namespace e2e {
namespace {

bool IsMessageBox(HWND hwnd) { return ClassOf(hwnd) == L"#32770" && GetDlgItem(hwnd, 0xFFFF) != nullptr; }

bool IsMainDialog(HWND hwnd) { return ClassOf(hwnd) == L"#32770" && GetDlgItem(hwnd, IDC_PRINTER_LIST) != nullptr; }

}  // namespace

std::wstring ProgramFolder() {
  wchar_t buffer[MAX_PATH] = {};
  const DWORD length = GetEnvironmentVariableW(L"TESSALY_E2E_PROGRAM_FOLDER", buffer, MAX_PATH);
  if (length > 0 && length < MAX_PATH) return std::wstring(buffer) + L"\\";
  GetModuleFileNameW(nullptr, buffer, MAX_PATH);
  std::wstring folder = buffer;
  return folder.substr(0, folder.find_last_of(L'\\') + 1);
}

std::wstring EnglishText(int id) { return res::TextsOf(L"ENU").strings.at(id); }

std::wstring ProgramUnderTest() {
  wchar_t named[MAX_PATH] = {};
  if (GetEnvironmentVariableW(L"TESSALY_E2E_PROGRAM", named, MAX_PATH)) return named;
  return ProgramFolder() + L"Tessaly.exe";
}

TessalyUnderTest::TessalyUnderTest() : TessalyUnderTest(ProgramUnderTest()) {}

TessalyUnderTest::TessalyUnderTest(const std::wstring& exe) {
  std::wstring commandLine = L"\"" + exe + L"\"";
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  if (!CreateProcessW(exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                      &info_)) {
    failure = L"Tessaly.exe did not start: error " + std::to_wstring(GetLastError());
    return;
  }
  WaitForInputIdle(info_.hProcess, 10000);
}

TessalyUnderTest::~TessalyUnderTest() {
  if (!info_.hProcess) return;
  if (WaitForSingleObject(info_.hProcess, 0) == WAIT_TIMEOUT) {
    // The processes it started first: they would outlive it.
    const std::vector<DWORD> tree = ProcessTree(info_.dwProcessId);
    for (auto process = tree.rbegin(); process != tree.rend(); ++process) {
      if (*process == info_.dwProcessId) continue;
      if (HANDLE child = OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, *process)) {
        TerminateProcess(child, 99);
        WaitForSingleObject(child, 10000);
        CloseHandle(child);
      }
    }
    TerminateProcess(info_.hProcess, 99);
    WaitForSingleObject(info_.hProcess, 10000);
  }
  CloseHandle(info_.hThread);
  CloseHandle(info_.hProcess);
}

DWORD TessalyUnderTest::ExitCode() const {
  DWORD code = STILL_ACTIVE;
  if (info_.hProcess) GetExitCodeProcess(info_.hProcess, &code);
  return code;
}

std::vector<HWND> TessalyUnderTest::Windows() const {
  std::vector<HWND> windows;
  for (DWORD process : ProcessTree(info_.dwProcessId)) {
    for (HWND w : TopLevelWindows(process)) windows.push_back(w);
  }
  return windows;
}

bool TessalyUnderTest::Ended(std::chrono::milliseconds wait) {
  if (!info_.hProcess) return true;
  return WaitForSingleObject(info_.hProcess, static_cast<DWORD>(wait.count())) == WAIT_OBJECT_0;
}

HWND TessalyUnderTest::WaitForWindow(const std::function<bool(HWND)>& wanted, std::chrono::milliseconds wait) const {
  HWND found = nullptr;
  WaitUntil(
      [&] {
        for (HWND w : Windows()) {
          if (wanted(w)) {
            found = w;
            return true;
          }
        }
        return false;
      },
      wait);
  return found;
}

HWND TessalyUnderTest::WaitForMessageBox(std::chrono::milliseconds wait) {
  return WaitForWindow([](HWND w) { return IsMessageBox(w); }, wait);
}

std::wstring TessalyUnderTest::MessageText(HWND box) { return TextOf(GetDlgItem(box, 0xFFFF)); }

bool TessalyUnderTest::Answer(const std::wstring& text, int button, const std::wstring& screenshot,
                              const std::wstring& caption) {
  HWND box = WaitForMessageBox();
  if (!box) {
    failure = L"no message box appeared; expected: " + text;
    return false;
  }
  const std::wstring shown = MessageText(box);
  if (shown != text || TextOf(box) != caption) {
    failure = L"the message box says [" + TextOf(box) + L"] " + shown + L"\nexpected [" + caption + L"] " + text;
    return false;
  }
  // A box of the worker thread has no owner: it opens in front, but once the
  // dialog has been clicked since, it lies behind it, and a user would bring
  // it to the front before answering. Scenarios that check that a box opens
  // in front look before they answer.
  SetForegroundWindow(box);
  BringWindowToTop(box);
  WaitUntil([&] { return GetForegroundWindow() == box; }, 2s);
  if (!screenshot.empty()) Screenshot(screenshot);
  HWND target = GetDlgItem(box, button);
  if (!target) {
    failure = L"the message box has no button " + std::to_wstring(button);
    return false;
  }
  ClickCentre(target);
  if (!WaitUntil([&] { return !IsShown(box); }, 10s)) {
    failure = L"the message box stayed after its button was clicked";
    return false;
  }
  return true;
}

HWND TessalyUnderTest::WaitForMainDialog(std::chrono::milliseconds wait) {
  if (HWND found = WaitForWindow([](HWND w) { return IsMainDialog(w); }, wait)) dialog_ = found;
  return dialog_;
}

std::vector<std::wstring> TessalyUnderTest::ItemTexts(int listId) const {
  HWND list = Control(listId);
  std::vector<std::wstring> texts;
  const LRESULT count = SendMessageW(list, LB_GETCOUNT, 0, 0);
  for (LRESULT i = 0; i < count; ++i) {
    const LRESULT length = SendMessageW(list, LB_GETTEXTLEN, i, 0);
    std::wstring text(static_cast<std::size_t>(length < 0 ? 0 : length) + 1, L'\0');
    const LRESULT copied = SendMessageW(list, LB_GETTEXT, i, reinterpret_cast<LPARAM>(text.data()));
    text.resize(copied < 0 ? 0 : static_cast<std::size_t>(copied));
    texts.push_back(text);
  }
  return texts;
}

std::vector<int> TessalyUnderTest::CheckStates() const {
  // The check list keeps an item's state in its item data.
  HWND list = Control(IDC_PRINTER_LIST);
  std::vector<int> states;
  const LRESULT count = SendMessageW(list, LB_GETCOUNT, 0, 0);
  for (LRESULT i = 0; i < count; ++i) states.push_back(static_cast<int>(SendMessageW(list, LB_GETITEMDATA, i, 0)));
  return states;
}

namespace {

// An item's place from numbers only: LB_GETITEMRECT's pointer would not
// cross the process boundary.
POINT ItemPoint(HWND list, int index, int x) {
  const int height = static_cast<int>(SendMessageW(list, LB_GETITEMHEIGHT, 0, 0));
  const int top = static_cast<int>(SendMessageW(list, LB_GETTOPINDEX, 0, 0));
  POINT at{x, (index - top) * height + height / 2};
  ClientToScreen(list, &at);
  return at;
}

}  // namespace

void TessalyUnderTest::ClickCheckBox(int index) { ClickAt(ItemPoint(Control(IDC_PRINTER_LIST), index, 8)); }

void TessalyUnderTest::ClickItemText(int index) { ClickAt(ItemPoint(Control(IDC_PRINTER_LIST), index, 60)); }

int TessalyUnderTest::DialogClientHeight() const {
  RECT r{};
  GetClientRect(dialog_, &r);
  return r.bottom - r.top;
}

bool TessalyUnderTest::Screenshot(const std::wstring& name) const { return SaveScreenshot(name, Windows()); }

}  // namespace e2e
