#pragma once
// The object behind the main dialog: the printer table and the form table,
// the list fill, and the deletion run with its rules.
#include <map>
#include <set>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

#include "engine/DialogPort.h"
#include "os/Status.h"
#include "res/Texts.h"
#include "sysaccess/PrinterRecord.h"
#include "sysaccess/SystemAccess.h"

namespace engine {

// RefillPrinterList's answer when there is no printer at all.
inline constexpr os::Status kRefillFoundNoPrinters = os::error::kNoMoreFiles;

// A printer the spooler did not delete, and why.
struct PrinterNotDeleted {
  std::wstring printerName;
  os::Status status = os::error::kSuccess;
};

class DeletionEngine {
 public:
  DeletionEngine(sysaccess::SystemAccess& sys, DialogPort& dialog, const res::Texts& texts);

  // Rereads the printers and rebuilds the check list: every item " " + name,
  // unchecked. 0, or kRefillFoundNoPrinters when there is none.
  os::Status RefillPrinterList();

  // Names of the listed printers (checked or not) that still have queued
  // jobs, in list order; true when there is at least one.
  bool FindPrintersWithJobs(std::vector<std::wstring>& names);

  // One deletion run: the checked printers, their drivers where nobody else
  // needs them, their forms, files and registry data; in a delete-all run
  // every driver and the global sweeps as well. No failure stops it.
  void RunDeletion();

  // Deletes one printer of the table with its forms, Temp files and registry
  // data; the spooler's status. A printer the spooler keeps stays for the
  // rest of the run, with its data, its forms and its driver.
  os::Status DeletePrinterAt(std::size_t index);
  // Whether exactly one local printer of the table is still installed and not
  // yet handled by this run.
  bool IsLastLocalPrinter() const;
  void ShowDriverKeptNotice(const std::wstring& driverName, const std::wstring& printerName);
  // Whether no printer that stays uses the same driver (by exact name).
  bool IsDriverDeletable(std::size_t index) const;
  // The driver for both environments, then its files and registry keys,
  // unless the spooler kept the driver.
  void DeleteDriverOf(std::size_t index);

  const std::vector<sysaccess::PrinterRecord>& printers() const { return printers_; }
  const std::vector<sysaccess::FormRecord>& forms() const { return forms_; }
  const std::wstring& formPrinterName() const { return formPrinterName_; }
  bool companionTerminated() const { return companionTerminated_; }
  const std::vector<PrinterNotDeleted>& printersNotDeleted() const { return notDeleted_; }

 private:
  // The steps of a run.
  void MarkCheckedPrinters();
  void KeepFormsOfStayingPrinters();
  void DecideDrivers();
  void ConfirmSharedDataFiles(const std::wstring& caption);
  void KeepDriversOfStayingPrinters();
  void DeleteSelectedPrinters();
  void DeleteMarkedDrivers();
  void DeleteEverythingElse();
  void ReportPrintersNotDeleted(const std::wstring& caption);

  // Bookkeeping that keeps every rule's lookup independent of the table's size.
  void ResetRunState();
  void SetSelected(std::size_t index, bool selected);
  void ReadDriverDetails(std::size_t index);
  const std::wstring& StemOf(std::size_t index);
  const std::wstring& DsNameOf(std::size_t index);
  void KeepPrinter(std::size_t index);
  void KeepForm(const std::wstring& formName);
  void KeepDriver(const std::wstring& driverName);
  // The data file, directory-service name and hardware folder of a printer
  // that stays: files and keys named after them are not cleaned.
  void KeepFilesOf(std::size_t index);

  sysaccess::SystemAccess& sys_;
  DialogPort& dialog_;
  const res::Texts& texts_;

  bool companionTerminated_ = false;
  std::vector<sysaccess::PrinterRecord> printers_;
  std::wstring formPrinterName_;
  std::vector<sysaccess::FormRecord> forms_;

  std::unordered_map<std::wstring, int> unselectedByDriver_;  // printers that stay, per driver name
  std::unordered_map<std::wstring, std::vector<std::size_t>> recordsByDriver_;
  int localsRemaining_ = 0;  // local printers still installed and not yet handled
  std::vector<bool> kept_;   // printers the spooler did not delete
  using PerServerAndDriver = std::map<std::pair<std::wstring, std::wstring>, std::wstring>;
  PerServerAndDriver stems_;    // planning only
  PerServerAndDriver dsNames_;  // planning only
  // Upper-cased: the files and keys named after them ignore case.
  std::set<std::wstring> stayingStems_;
  std::set<std::wstring> stayingDsNames_;
  std::set<std::wstring> stayingPnpFolders_;
  bool stayingStemUnknown_ = false;  // a printer that stays has a data file no lookup could name
  std::unordered_map<std::wstring, std::size_t> formIndex_;  // first form of each name
  std::vector<sysaccess::FormRecord> formsToTry_;  // deletable forms not yet tried through an open printer
  std::vector<PrinterNotDeleted> notDeleted_;
};

}  // namespace engine
