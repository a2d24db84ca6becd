#pragma once
// Tessaly.exe as the suite sees it: a process started from the program
// folder, its main dialog, its message boxes and the two lists.
#include <windows.h>

#include <string>
#include <vector>

#include "res/ResourceIds.h"
#include "tools/e2e/Desktop.h"

namespace e2e {

// The folder Tessaly.exe and its language modules are started from: the
// package folder TESSALY_E2E_PROGRAM_FOLDER names, else the driver's own.
// Ends with a backslash.
std::wstring ProgramFolder();

// The program's English texts (the executable's), from the string file its
// resources are built from.
std::wstring EnglishText(int id);

class TessalyUnderTest {
 public:
  // The program beside the driver, or the one TESSALY_E2E_PROGRAM names
  // (an installed copy, or a package layout), or the one given.
  TessalyUnderTest();
  explicit TessalyUnderTest(const std::wstring& program);
  ~TessalyUnderTest();  // ends the program if it still runs
  TessalyUnderTest(const TessalyUnderTest&) = delete;
  TessalyUnderTest& operator=(const TessalyUnderTest&) = delete;

  bool Ended(std::chrono::milliseconds wait = 20s);
  // The process's exit code once it has ended.
  DWORD ExitCode() const;
  HANDLE Process() const { return info_.hProcess; }

  // The next message box of the program: its window, or null after the
  // timeout. Message boxes are "#32770" windows with a text of id 0xFFFF.
  HWND WaitForMessageBox(std::chrono::milliseconds wait = 20s);
  std::wstring MessageText(HWND box);
  // Waits for a message box, which must say exactly this under the caption
  // "Tessaly" (or the given one), keeps a screenshot when named, and clicks
  // the button with this id. False (with the reason in failure) otherwise.
  bool Answer(const std::wstring& text, int button, const std::wstring& screenshot = {},
              const std::wstring& caption = L"Tessaly");
  std::wstring failure;

  // The main dialog once it is shown, or null.
  HWND WaitForMainDialog(std::chrono::milliseconds wait = 20s);
  HWND MainDialog() const { return dialog_; }
  HWND Control(int id) const { return GetDlgItem(dialog_, id); }

  std::vector<std::wstring> ItemTexts(int listId) const;
  std::vector<int> CheckStates() const;
  // A click on the check box of an item of the printer list, at its place
  // on the screen.
  void ClickCheckBox(int index);
  void ClickItemText(int index);
  int DialogClientHeight() const;

  // Its windows and those of the processes it started (the 32-bit program
  // on a 64-bit system runs the 64-bit one).
  std::vector<HWND> Windows() const;
  // The first of the program's top-level windows that is wanted, once one shows.
  HWND WaitForWindow(const std::function<bool(HWND)>& wanted, std::chrono::milliseconds wait) const;
  bool Screenshot(const std::wstring& name) const;

 private:
  PROCESS_INFORMATION info_{};
  HWND dialog_ = nullptr;
};

}  // namespace e2e
