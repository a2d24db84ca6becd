// The printer check list and the queued-jobs check: what the dialog asks of
// the engine outside a run.
#include "base/WideText.h"
#include "engine/DeletionEngine.h"
#include "sysaccess/SpoolerInventory.h"

namespace engine {

DeletionEngine::DeletionEngine(sysaccess::SystemAccess& sys, DialogPort& dialog, const res::Texts& texts)
    : sys_(sys), dialog_(dialog), texts_(texts) {}

int DeletionEngine::RefillPrinterList() {
  dialog_.ClearPrinterItems();
  printers_ = sysaccess::EnumeratePrinters(sys_);
  if (printers_.empty()) return kNoPrinters;

  // The forms of a run are listed through a local printer. The one chosen
  // first may have been deleted since; then the next fill chooses again, or
  // every later run of the session would find no forms.
  bool formPrinterListed = false;
  for (const auto& p : printers_) {
    formPrinterListed = formPrinterListed || (p.IsLocal() && p.printerName == formPrinterName_);
  }
  if (!formPrinterListed) formPrinterName_.clear();

  for (std::size_t i = 0; i < printers_.size(); ++i) {
    const auto& record = printers_[i];
    // The whole name, however long: a shortened item text could never be
    // matched back to its printer, or could match another one.
    dialog_.AddPrinterItem(base::FormatText(L" %s", {record.printerName}));
    dialog_.SetPrinterItemChecked(static_cast<int>(i), false);
    if (formPrinterName_.empty() && record.IsLocal()) formPrinterName_ = record.printerName;
  }
  return 0;
}

bool DeletionEngine::FindPrintersWithJobs(std::vector<std::wstring>& names) {
  bool found = false;
  for (int i = 0; i < dialog_.PrinterItemCount(); ++i) {
    std::wstring text = dialog_.PrinterItemText(i);
    if (!text.empty()) text.erase(0, 1);  // the blank the list put in front of the name
    if (sysaccess::PrinterHasJobs(sys_, text)) {
      names.push_back(text);
      found = true;
    }
  }
  return found;
}

}  // namespace engine
