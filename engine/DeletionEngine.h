#pragma once
// The object behind the main dialog: the printer table and the form table,
// the list fill, and the deletion run with its rules.
#include <cstdint>
#include <string>
#include <vector>

#include "engine/DialogPort.h"
#include "res/Texts.h"
#include "sysaccess/PrinterRecord.h"
#include "sysaccess/SystemAccess.h"

namespace engine {

// RefillPrinterList's answer when there is no printer at all.
inline constexpr int kNoPrinters = 18;

class DeletionEngine {
 public:
  DeletionEngine(sysaccess::SystemAccess& sys, DialogPort& dialog, const res::Texts& texts);

  // Rereads the printers and rebuilds the check list: every item " " + name,
  // unchecked. 0, or kNoPrinters when there is none.
  int RefillPrinterList();

  // Names of the listed printers (checked or not) that still have queued
  // jobs, in list order; true when there is at least one.
  bool FindPrintersWithJobs(std::vector<std::wstring>& names);

  // One deletion run: the checked printers, their drivers where nobody else
  // needs them, their forms, files and registry data; in a delete-all run
  // every driver and the global sweeps as well.
  void RunDeletion();

  // Printer deletion and driver decisions; used by the run.
  std::int32_t DeletePrinterAt(std::size_t index);
  std::int32_t IsLastLocalPrinter() const;
  void ShowDriverKeptNotice(const std::wstring& driverName, const std::wstring& printerName);
  std::int32_t IsDriverDeletable(std::size_t index) const;
  void DeleteDriverOf(std::size_t index);

  const std::vector<sysaccess::PrinterRecord>& printers() const { return printers_; }
  const std::vector<sysaccess::FormRecord>& forms() const { return forms_; }
  const std::wstring& formPrinterName() const { return formPrinterName_; }
  std::int32_t companionTerminated() const { return companionTerminated_; }

 private:
  sysaccess::SystemAccess& sys_;
  DialogPort& dialog_;
  const res::Texts& texts_;

  std::int32_t companionTerminated_ = 0;
  std::vector<sysaccess::PrinterRecord> printers_;
  std::wstring formPrinterName_;
  std::vector<sysaccess::FormRecord> forms_;
};

}  // namespace engine
