#include "sysaccess/SpoolerDeletions.h"

#include <string>

#include "cleanup/FormRegistryCleanup.h"
#include "sysaccess/EnvironmentProbes.h"
#include "sysaccess/FaultGuard.h"
#include "sysaccess/SpoolerInventory.h"

namespace sysaccess {
namespace {

// DeletePrinterDriverExW's version flag: the version-3 (user-mode) driver.
constexpr std::uint32_t kDriverVersion = 3;

bool DeleteForms(SystemAccess& sys, std::wstring_view printerName, const std::vector<FormRecord>& forms,
                 bool onlyUnused) {
  // The handle is opened even for an empty table: the spooler sees the same
  // calls whatever the table holds.
  auto printer = OpenPrinterHandle(sys, printerName);
  for (const auto& form : forms) {
    if (onlyUnused && (form.deletable != 1 || form.flags == os::spool::kFormBuiltin)) continue;
    // The registry traces go first, while the spooler still knows the form.
    // They go even when the printer could not be opened: that only stops the
    // spooler's own deletion, which would have failed on a null handle.
    cleanup::CleanFormRegistry(sys, form.formName);
    if (printer) printer->RemoveForm(form.formName);
  }
  return printer != nullptr;
}

}  // namespace

std::uint32_t DeletePrinterByName(SystemAccess& sys, std::wstring_view printerName) {
  // The spooler's own answer, not a blanket success: the run lists a printer
  // as deleted, and cleans up after it, only when it is really gone.
  auto opened = sys.os().spooler.Open(printerName, os::spool::kPrinterAllAccess);
  if (!opened.ok()) return opened.status;
  auto printer = std::move(opened.value);
  const std::uint32_t status = RunFaultGuarded([&] { return printer->Delete(); });
  printer.reset();  // closed after a fault as well
  return status;
}

std::uint32_t DeletePrinterConnectionByName(SystemAccess& sys, std::wstring_view printerName) {
  return RunFaultGuarded([&] { return sys.os().spooler.DeleteConnection(printerName); });
}

std::uint32_t DeleteDriverEverywhere(SystemAccess& sys, std::wstring_view driverName, bool* keptSomewhere) {
  const bool vistaOrLater = GetOsVersion(sys).majorVersion >= 6;
  // Read once, before the first deletion removes the driver's key.
  const std::wstring packagePath = vistaOrLater ? ReadDriverInfPath(sys, driverName) : std::wstring();
  auto& spooler = sys.os().spooler;
  std::uint32_t status = 0;
  for (const wchar_t* environment : kEnvironments) {
    status = RunFaultGuarded([&]() -> std::uint32_t {
      const os::Status deleted =
          spooler.DeleteDriver(environment, driverName, os::spool::kDeleteUnusedFiles, kDriverVersion);
      // The package's result is not folded in: a package that stays (still
      // used by another driver, or never in the store) does not make the
      // driver's deletion a failure. kProcNotFound (no such export) is the
      // same: nothing was called.
      if (deleted == os::error::kSuccess && vistaOrLater) spooler.DeleteDriverPackage(packagePath, environment);
      // Not installed for this environment is what a driver of the other
      // environment always meets here.
      return deleted == os::error::kUnknownPrinterDriver ? os::error::kSuccess : deleted;
    });
    if (status != os::error::kSuccess && keptSomewhere) *keptSomewhere = true;
  }
  return status;
}

std::uint32_t DeleteAllDrivers(SystemAccess& sys) {
  for (const wchar_t* environment : kEnvironments) {
    // A driver installed for both environments is gone before the second
    // listing; one the spooler refused (still in use) is listed and tried again.
    for (const auto& driver : EnumerateDrivers(sys, environment)) DeleteDriverEverywhere(sys, driver.driverName);
  }
  return 0;
}

bool DeleteUnusedForms(SystemAccess& sys, std::wstring_view printerName, const std::vector<FormRecord>& forms) {
  return DeleteForms(sys, printerName, forms, true);
}

void DeleteEveryForm(SystemAccess& sys, std::wstring_view printerName, const std::vector<FormRecord>& forms) {
  DeleteForms(sys, printerName, forms, false);
}

}  // namespace sysaccess
