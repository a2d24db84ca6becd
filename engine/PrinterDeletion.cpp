// Deleting one printer of the table, and what a printer that stays keeps.
#include "base/WideText.h"
#include "cleanup/FileCleanup.h"
#include "cleanup/PrinterRegistryCleanup.h"
#include "engine/DeletionEngine.h"
#include "engine/DriverLookups.h"
#include "engine/FormDeletion.h"
#include "res/StringIds.h"
#include "sysaccess/SpoolerDeletions.h"
#include "sysaccess/SpoolerInventory.h"

namespace engine {

os::Status DeletionEngine::DeletePrinterAt(std::size_t index) {
  auto& r = printers_[index];
  os::Status status = os::error::kSuccess;
  if (!r.IsLocal()) {
    if (!dialog_.AllDriversGo() && unselectedByDriver_[r.driverName] > 0) {
      ShowDriverKeptNotice(r.driverName, r.printerName);
    }
    status = sysaccess::DeletePrinterConnectionByName(sys_, r.printerName);
  } else {
    // Forms go first: deleting them needs a handle on this very printer.
    // Forms tried once through an open printer are not tried again: they are
    // gone, or the spooler refuses them through any printer.
    if (DeleteUnusedForms(sys_, r.printerName, formsToTry_)) formsToTry_.clear();
    if (IsLastLocalPrinter()) {
      DeleteEveryForm(sys_, r.printerName, sysaccess::EnumerateForms(sys_, r.printerName));
    }
    status = sysaccess::DeletePrinterByName(sys_, r.printerName);
  }
  r.processed = true;
  if (status != os::error::kSuccess) {
    // Still installed: its settings, Temp files and registry keys stay.
    KeepPrinter(index);
    return status;
  }
  if (r.IsLocal()) --localsRemaining_;
  cleanup::CleanPrinterTempFiles(sys_, r.printerName, r.serverName);
  cleanup::CleanPrinterRegistry(sys_, r.printerName);
  return os::error::kSuccess;
}

bool DeletionEngine::IsLastLocalPrinter() const { return localsRemaining_ == 1; }

void DeletionEngine::ShowDriverKeptNotice(const std::wstring& driverName, const std::wstring& printerName) {
  sys_.os().prompts.Show(0, base::FormatText(texts_.Load(res::kDriverKeptNotice), {driverName, printerName}),
                         texts_.Load(res::kCaption), os::mb::kOk);
}

void DeletionEngine::KeepPrinter(std::size_t index) {
  auto& p = printers_[index];
  if (p.selected) kept_[index] = true;
  SetSelected(index, false);
  p.deleteDriver = false;
  std::vector<std::wstring> media;
  ReadMediaSupported(sys_, p.printerName, media);
  for (const auto& name : media) KeepForm(name);
  if (kept_[index]) {
    // A printer the spooler kept uses its driver and its files still.
    KeepDriver(p.driverName);
    KeepFilesOf(index);
  }
}

void DeletionEngine::KeepForm(const std::wstring& formName) {
  // The first form of that name, as the spooler listed them.
  if (auto it = formIndex_.find(formName); it != formIndex_.end()) forms_[it->second].deletable = false;
  if (!formsToTry_.empty()) {
    std::erase_if(formsToTry_, [&](const sysaccess::FormRecord& f) { return f.formName == formName; });
  }
}

}  // namespace engine
