// The printer check list and the queued-jobs check: what the dialog asks of
// the engine outside a run.
#include "engine/DeletionEngine.h"
#include "sysaccess/SpoolerInventory.h"

namespace engine {

DeletionEngine::DeletionEngine(sysaccess::SystemAccess& sys, DialogPort& dialog, const res::Texts& texts)
    : sys_(sys), dialog_(dialog), texts_(texts) {}

os::Status DeletionEngine::RefillPrinterList() {
  printers_ = sysaccess::EnumeratePrinters(sys_);
  ResetRunState();

  // The forms of a run are listed through a local printer. The one chosen
  // first may have been deleted since; then this fill chooses again, or
  // every later run of the session would find no forms.
  bool formPrinterListed = false;
  for (const auto& p : printers_) {
    formPrinterListed = formPrinterListed || (p.IsLocal() && p.printerName == formPrinterName_);
  }
  if (!formPrinterListed) formPrinterName_.clear();

  std::vector<std::wstring> names;
  for (const auto& record : printers_) {
    names.push_back(record.printerName);
    if (formPrinterName_.empty() && record.IsLocal()) formPrinterName_ = record.printerName;
  }
  dialog_.ShowPrinters(names);
  return printers_.empty() ? kRefillFoundNoPrinters : os::error::kSuccess;
}

bool DeletionEngine::FindPrintersWithJobs(std::vector<std::wstring>& names) {
  bool found = false;
  for (const auto& name : dialog_.ListedPrinters()) {
    if (sysaccess::PrinterHasJobs(sys_, name)) {
      names.push_back(name);
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

void DeletionEngine::SetSelected(std::size_t index, bool selected) {
  auto& p = printers_[index];
  if (p.selected == selected) return;
  p.selected = selected;
  unselectedByDriver_[p.driverName] += selected ? -1 : 1;
}

}  // namespace engine
