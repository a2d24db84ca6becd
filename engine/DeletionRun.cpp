// A whole deletion run, step by step. Every step runs whatever the previous
// ones achieved; what the system refuses stays, and so does what depends on it.
#include <exception>
#include <new>
#include <unordered_map>

#include "base/WideText.h"
#include "cleanup/FileCleanup.h"
#include "cleanup/GlobalRegistrySweep.h"
#include "engine/DeletionEngine.h"
#include "engine/DriverLookups.h"
#include "os/Faults.h"
#include "res/StringIds.h"
#include "sysaccess/ServiceController.h"
#include "sysaccess/SpoolerDeletions.h"
#include "sysaccess/SpoolerInventory.h"

namespace engine {

namespace {

// The status a printer left untried is reported with when the run broke off.
os::Status StatusOfBreak(std::exception_ptr broke) {
  try {
    std::rethrow_exception(broke);
  } catch (const os::CSE& fault) {
    return fault.code();
  } catch (const std::bad_alloc&) {
    return os::error::kNotEnoughMemory;
  } catch (...) {
    return os::error::kUnidentifiedError;
  }
}

}  // namespace

void DeletionEngine::RunDeletion() {
  // Declared first, so it acts last: whatever ends the run, the Spooler runs
  // again afterwards if it ran before.
  const sysaccess::SpoolerLeftRunning spooler(sys_);
  const std::wstring caption = texts_.Load(res::kCaption);
  ResetRunState();
  try {
    forms_ = sysaccess::EnumerateForms(sys_, formPrinterName_);
    formIndex_.clear();
    for (std::size_t f = forms_.size(); f-- > 0;) formIndex_[forms_[f].formName] = f;
    MarkCheckedPrinters();
    KeepFormsOfStayingPrinters();
    DecideDrivers();
    ConfirmSharedDataFiles(caption);
    KeepDriversOfStayingPrinters();
    DeleteSelectedPrinters();
    sysaccess::RestartSpooler(sys_);
    DeleteMarkedDrivers();
    if (dialog_.AllDriversGo()) DeleteEverythingElse();
  } catch (...) {
    // Something no status could carry broke the run off (a fault outside a
    // guarded call, memory running out). The printers it never got to are
    // still installed and are reported as such, with what broke the run.
    const os::Status status = StatusOfBreak(std::current_exception());
    for (const auto& p : printers_) {
      if (p.selected && !p.processed) notDeleted_.push_back(PrinterNotDeleted{p.printerName, status});
    }
  }
  ReportPrintersNotDeleted(caption);
}

void DeletionEngine::MarkCheckedPrinters() {
  // The first record of that exact name: a front end knows printers by name.
  std::unordered_map<std::wstring, std::size_t> byName;
  for (std::size_t i = printers_.size(); i-- > 0;) byName[printers_[i].printerName] = i;
  for (const auto& name : dialog_.ChosenPrinters()) {
    if (auto it = byName.find(name); it != byName.end()) SetSelected(it->second, true);
  }
}

void DeletionEngine::KeepFormsOfStayingPrinters() {
  // A connection publishes no forms of this machine, so it protects none.
  std::vector<std::wstring> media;
  for (const auto& p : printers_) {
    if (p.selected || !p.IsLocal()) continue;
    ReadMediaSupported(sys_, p.printerName, media);
    for (const auto& name : media) KeepForm(name);
  }
}

void DeletionEngine::DecideDrivers() {
  for (std::size_t i = 0; i < printers_.size(); ++i) {
    auto& p = printers_[i];
    if (!p.selected) continue;
    p.deleteDriver = IsDriverDeletable(i);
    if (p.deleteDriver) ReadDriverDetails(i);
  }
}

void DeletionEngine::ConfirmSharedDataFiles(const std::wstring& caption) {
  bool anyLocalSelected = false;
  for (const auto& p : printers_) anyLocalSelected = anyLocalSelected || (p.selected && p.IsLocal());
  if (!anyLocalSelected) return;

  // Every printer's stem, grouped: a question is asked for each printer that
  // stays and shares a data file with a chosen local printer, in table order.
  std::unordered_map<std::wstring, std::vector<std::size_t>> byStem;
  for (std::size_t j = 0; j < printers_.size(); ++j) {
    printers_[j].dataFileStem = StemOf(j);
    // An unknown stem matches nothing: a failed lookup says nothing about
    // what two printers share.
    if (!printers_[j].dataFileStem.empty()) byStem[printers_[j].dataFileStem].push_back(j);
  }
  std::vector<std::size_t> markedByYes;  // drivers the answers added to the run
  for (std::size_t i = 0; i < printers_.size(); ++i) {
    if (!printers_[i].selected || !printers_[i].IsLocal()) continue;
    auto group = byStem.find(printers_[i].dataFileStem);
    if (group == byStem.end()) continue;
    std::vector<std::size_t> added;
    for (std::size_t j : group->second) {
      if (j == i || printers_[j].selected) continue;
      const std::wstring question =
          base::FormatText(texts_.Load(res::kDriverShared), {printers_[i].driverName, printers_[j].driverName});
      const int answer = sys_.os().prompts.Show(0, question, caption, os::mb::kYesNo | os::mb::kIconError | os::mb::kDefButton2);
      if (answer == os::mb::kIdYes) {
        if (!printers_[i].deleteDriver) markedByYes.push_back(i);
        markedByYes.push_back(j);
        SetSelected(j, true);
        printers_[j].deleteDriver = true;
        printers_[i].deleteDriver = true;
        added.push_back(j);
        continue;
      }
      // No keeps the printer, its driver and everything it shares: the
      // printers a Yes brought into the run for its sake stay too, and
      // nothing more is asked about it.
      SetSelected(i, false);
      printers_[i].deleteDriver = false;
      for (std::size_t a : added) {
        SetSelected(a, false);
        printers_[a].deleteDriver = false;
      }
      break;
    }
  }
  // A Yes also means these printers' drivers go: read what their cleanup
  // needs, as the driver decisions did for the others.
  for (std::size_t i : markedByYes) {
    if (printers_[i].deleteDriver) ReadDriverDetails(i);
  }
}

void DeletionEngine::KeepDriversOfStayingPrinters() {
  // Whatever the answers, a driver that a printer which stays still uses is
  // not deleted, and files and keys named after what such a printer shares
  // (its data file, hardware folder, directory-service name) are not cleaned.
  for (std::size_t i = 0; i < printers_.size(); ++i) {
    if (printers_[i].selected) continue;
    KeepDriver(printers_[i].driverName);
    KeepFilesOf(i);
  }
}

void DeletionEngine::DeleteSelectedPrinters() {
  formsToTry_.clear();
  for (const auto& f : forms_) {
    if (f.deletable && f.flags != os::spool::kFormBuiltin) formsToTry_.push_back(f);
  }
  for (std::size_t i = 0; i < printers_.size(); ++i) {
    if (!printers_[i].selected) continue;
    const os::Status status = DeletePrinterAt(i);
    if (status == os::error::kSuccess) {
      dialog_.PrinterDeleted(printers_[i].printerName);
    } else {
      notDeleted_.push_back(PrinterNotDeleted{printers_[i].printerName, status});
    }
  }
}

void DeletionEngine::DeleteMarkedDrivers() {
  for (std::size_t i = 0; i < printers_.size(); ++i) {
    if (printers_[i].deleteDriver) DeleteDriverOf(i);
  }
}

void DeletionEngine::DeleteEverythingElse() {
  // The global sweep deliberately does not ask the spooler what is left.
  sysaccess::DeleteAllDrivers(sys_);
  sysaccess::RestartSpooler(sys_);
  cleanup::SweepPrintRegistry(sys_);
  // Cleared first: a run broken off inside the termination reports none.
  companionTerminated_ = false;
  companionTerminated_ = sysaccess::TerminateCompanionProcess(sys_);
  cleanup::SweepDriverFiles(sys_);
}

void DeletionEngine::ReportPrintersNotDeleted(const std::wstring& caption) {
  if (notDeleted_.empty()) return;
  std::wstring text = texts_.Load(res::kNotDeleted);
  for (const auto& p : notDeleted_) {
    text += base::FormatText(texts_.Load(res::kNotDeletedLine), {p.printerName, sys_.os().environment.DescribeError(p.status)});
  }
  sys_.os().prompts.Show(0, text, caption, os::mb::kOk | os::mb::kIconWarning);
}

}  // namespace engine
