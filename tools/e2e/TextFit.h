#pragma once
// Whether a control's text fits the control, measured as the control lays
// it out: a static text wrapped at its width, a check box's and a button's
// text on one line beside the box or inside the frame. The font is the one
// the dialog manager gives the main dialog: the driver creates the same
// template, hidden, in its own process (the program's font handle means
// nothing here), under the same locale as the program, which it passes on.
#include <windows.h>

#include <string>

namespace e2e {

struct TextFit {
  std::wstring text;
  SIZE needed{};  // the text's extent as the control lays it out
  SIZE room{};    // what the control has for it
  bool Fits() const { return needed.cx <= room.cx && needed.cy <= room.cy; }
  std::wstring Describe() const;
};

class DialogTwin {
 public:
  // The dialog template of this module file (a language module, or the
  // executable), mapped as data.
  DialogTwin(const std::wstring& modulePath, int dialogId);
  ~DialogTwin();
  DialogTwin(const DialogTwin&) = delete;
  DialogTwin& operator=(const DialogTwin&) = delete;

  HWND window() const { return twin_; }
  // The size of the twin's control with this id: the same as the program's
  // exactly when both dialogs have the same dialog units, that is the same
  // font metrics.
  SIZE ControlSize(int id) const;
  // The program's control measured with the twin's font.
  TextFit Measure(HWND control) const;

 private:
  HMODULE module_ = nullptr;
  HWND twin_ = nullptr;
};

}  // namespace e2e
