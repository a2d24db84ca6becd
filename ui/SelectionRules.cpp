#include "ui/SelectionRules.h"

#include "os/Prompts.h"
#include "res/StringIds.h"

namespace ui {
namespace {

void CheckEveryItem(SelectionView& view, bool checked) {
  for (int i = 0; i < view.PrinterItemCount(); ++i) view.SetPrinterItemChecked(i, checked);
}

}  // namespace

int CountCheckedPrinters(SelectionView& view) {
  int count = 0;
  for (int i = 0; i < view.PrinterItemCount(); ++i) count += view.IsItemFullyChecked(i) ? 1 : 0;
  return count;
}

void ApplyCheckChange(SelectionView& view, const res::Texts& texts) {
  if (CountCheckedPrinters(view) == view.PrinterItemCount()) {
    // Only a hint: ticking every printer is not the same as asking for
    // every driver, so the box stays as it is.
    view.ShowMessage(texts.Load(res::kSelectAllHint), os::mb::kOk);
  } else if (view.IsDeleteAllChecked()) {
    // The box stands for "everything"; a printer left out contradicts it.
    // The member follows at the next data exchange.
    view.SetDeleteAllChecked(false);
  }
}

void ApplyDeleteAllClicked(SelectionView& view, const res::Texts& texts) {
  if (!view.IsDeleteAllChecked()) {
    CheckEveryItem(view, false);
    return;
  }
  const int answer = view.ShowMessage(texts.Load(res::kDeleteAllWarning),
                                      os::mb::kOkCancel | os::mb::kIconError | os::mb::kDefButton2);
  // Only OK arms the box. MessageBoxW answers 0 when it could not show the
  // warning at all (no memory, a desktop that is going): a warning nobody
  // saw must not stand for the user's consent to delete every driver.
  if (answer == os::mb::kIdOk) {
    CheckEveryItem(view, true);
  } else {
    view.SetDeleteAllChecked(false);
  }
}

}  // namespace ui
