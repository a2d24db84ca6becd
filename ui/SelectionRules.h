#pragma once
// How the printer check list and the "Delete All Printer Drivers" box keep
// each other honest: checking every printer suggests the box, unchecking one
// clears it, checking the box (after a warning) checks every printer and
// unchecking it unchecks them all.
#include <cstdint>
#include <string>

#include "res/Texts.h"

namespace ui {

// The dialog's controls as these rules see them.
class SelectionView {
 public:
  virtual ~SelectionView() = default;
  // Named as in engine::DialogPort: the dialog answers both with one method.
  virtual int PrinterItemCount() = 0;
  virtual bool IsItemFullyChecked(int index) = 0;  // check state 1
  virtual void SetPrinterItemChecked(int index, bool checked) = 0;
  virtual bool IsDeleteAllChecked() = 0;  // the box itself, not the member
  virtual void SetDeleteAllChecked(bool checked) = 0;
  // A message box owned by the dialog with the caption "Tessaly": the id of
  // the button pressed.
  virtual int ShowMessage(const std::wstring& text, std::uint32_t style) = 0;
};

int CountCheckedPrinters(SelectionView& view);

// The user toggled an item's box.
void ApplyCheckChange(SelectionView& view, const res::Texts& texts);

// The user clicked the automatic box, which has already changed its state.
void ApplyDeleteAllClicked(SelectionView& view, const res::Texts& texts);

}  // namespace ui
