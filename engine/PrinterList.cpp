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
  ResetRunState();
  if (printers_.empty()) return kNoPrinters;

  // The forms of a run are listed through a local printer. The one chosen
  // first may have been deleted since; then this fill chooses again, or
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
    if (!text.empty() && text.front() == L' ') text.erase(0, 1);  // the blank the list put in front
    if (sysaccess::PrinterHasJobs(sys_, text)) {
      names.push_back(text);
      found = true;
    }
  }
  return found;
}

void DeletionEngine::ResetRunState() {
  unselectedByDriver_.clear();
  recordsByDriver_.clear();
  localsRemaining_ = 0;
  kept_.assign(printers_.size(), false);
  stems_.clear();
  dsNames_.clear();
  stayingStems_.clear();
  stayingStemUnknown_ = false;
  stayingDsNames_.clear();
  stayingPnpFolders_.clear();
  formsToTry_.clear();
  notDeleted_.clear();
  for (std::size_t i = 0; i < printers_.size(); ++i) {
    const auto& p = printers_[i];
    recordsByDriver_[p.driverName].push_back(i);
    if (!p.selected) ++unselectedByDriver_[p.driverName];
    if (p.IsLocal() && !p.processed) ++localsRemaining_;
  }
}

void DeletionEngine::SetSelected(std::size_t index, std::int32_t selected) {
  auto& p = printers_[index];
  if (p.selected == selected) return;
  p.selected = selected;
  unselectedByDriver_[p.driverName] += selected ? -1 : 1;
}

}  // namespace engine
