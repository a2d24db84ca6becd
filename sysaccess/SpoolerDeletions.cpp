#include "sysaccess/SpoolerDeletions.h"

#include <algorithm>
#include <string>
#include <tuple>

#include "base/WideText.h"
#include "sysaccess/EnvironmentProbes.h"
#include "sysaccess/SpoolerInventory.h"

namespace sysaccess {
namespace {

// DeletePrinterDriverExW's version flag: the version-3 (user-mode) driver.
constexpr std::uint32_t kDriverVersion = 3;

// Whether the spooler still lists the driver for the environment; true when
// it cannot say, so that nothing of the driver is cleaned on a guess.
bool StillListed(SystemAccess& sys, std::wstring_view environment, std::wstring_view driverName) {
  auto drivers = sys.os().spooler.Drivers(environment);
  if (!drivers.ok()) return drivers.status != os::error::kUnknownPrinterEnvironment;
  return std::any_of(drivers.value.begin(), drivers.value.end(),
                     [&](const os::DriverInfo& d) { return base::EqualsIgnoreCase(d.name, driverName); });
}

// One environment's attempt: its status, 0 when the driver is not (or no
// longer) installed there.
os::Status DeleteDriverFor(SystemAccess& sys, std::wstring_view environment, std::wstring_view driverName,
                           bool vistaOrLater, const std::wstring& packagePath) {
  auto& spooler = sys.os().spooler;
  os::Status status = spooler.DeleteDriver(environment, driverName, os::spool::kDeleteUnusedFiles, kDriverVersion);
  if (status == os::error::kInvalidParameter) {
    // Some spoolers (Wine's among them) refuse the unused-files flag itself.
    // The driver still goes without it: the files the cleanup knows by name
    // follow it, and the rest stays where another driver may need it.
    status = spooler.DeleteDriver(environment, driverName, 0, kDriverVersion);
  }
  // The package's result is not folded in: a package that stays (still used
  // by another driver, or never in the store) does not make the driver's
  // deletion a failure. kProcNotFound (no such export) is the same: nothing
  // was called.
  if (status == os::error::kSuccess && vistaOrLater) std::ignore = spooler.DeleteDriverPackage(packagePath, environment);
  // Not installed for this environment is what a driver of the other
  // environment always meets here; a spooler that does not know the
  // environment at all (a 32-bit Windows XP or 2000 and "Windows x64") holds
  // no driver of it either.
  if (status == os::error::kUnknownPrinterDriver || status == os::error::kUnknownPrinterEnvironment) {
    return os::error::kSuccess;
  }
  // An answer that does not say whether the driver is still there (an invalid
  // parameter after all, or a failure without a reason): the spooler's own
  // list decides.
  if ((status == os::error::kInvalidParameter || status == os::error::kUnidentifiedError) &&
      !StillListed(sys, environment, driverName)) {
    return os::error::kSuccess;
  }
  return status;
}

}  // namespace

os::Status DeletePrinterByName(SystemAccess& sys, std::wstring_view printerName) {
  // The spooler's own answer, not a blanket success: the run lists a printer
  // as deleted, and cleans up after it, only when it is really gone.
  auto opened = sys.os().spooler.Open(printerName, os::spool::kPrinterAllAccess);
  if (!opened.ok()) return opened.status;
  const os::Status status = opened.value->Delete();  // the handle is closed after a fault as well
  if (status != os::error::kSuccess) return status;
  // A printer with jobs queued is only marked: DeletePrinter answers success
  // and the printer stays listed, pending deletion, until its last job is
  // done. The run refuses to start while jobs are queued, but one can arrive
  // after that check. A printer still holding jobs is not deleted yet, and
  // its settings are not cleaned while it is still there.
  auto jobs = opened.value->Jobs(0, 1);
  if (jobs.ok() && !jobs.value.empty()) return os::error::kPrinterHasJobsQueued;
  return status;
}

os::Status DeletePrinterConnectionByName(SystemAccess& sys, std::wstring_view printerName) {
  return sys.os().spooler.DeleteConnection(printerName);
}

DriverDeletionOutcome DeleteDriverEverywhere(SystemAccess& sys, std::wstring_view driverName) {
  const bool vistaOrLater = sys.IsVistaOrLater();
  // Read once, before the first deletion removes the driver's key.
  const std::wstring packagePath = vistaOrLater ? ReadDriverInfPath(sys, driverName) : std::wstring();
  DriverDeletionOutcome outcome;
  for (const wchar_t* environment : kEnvironments) {
    outcome.status = DeleteDriverFor(sys, environment, driverName, vistaOrLater, packagePath);
    if (outcome.status != os::error::kSuccess) outcome.keptSomewhere = true;
  }
  return outcome;
}

void DeleteAllDrivers(SystemAccess& sys) {
  for (const wchar_t* environment : kEnvironments) {
    // A driver installed for both environments is gone before the second
    // listing; one the spooler refused (still in use) is listed and tried again.
    for (const auto& driver : EnumerateDrivers(sys, environment)) DeleteDriverEverywhere(sys, driver.driverName);
  }
}

}  // namespace sysaccess
