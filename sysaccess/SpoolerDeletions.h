#pragma once
// The write side of the local spooler. Every operation goes on after a failed
// call and reports nothing to the user; what the spooler refuses stays.
#include <string_view>

#include "os/Status.h"
#include "sysaccess/SystemAccess.h"

namespace sysaccess {

// The spooler environments, in the order every driver deletion walks them.
inline constexpr const wchar_t* kEnvironments[] = {L"Windows NT x86", L"Windows x64"};

// Open with full access, DeletePrinter under the fault guard, close. 0 when
// the printer is deleted; otherwise the spooler's error (of the open or of the
// deletion) or the fault's code.
os::Status DeletePrinterByName(SystemAccess& sys, std::wstring_view printerName);

// DeletePrinterConnectionW under the fault guard: its error code, or the fault's.
os::Status DeletePrinterConnectionByName(SystemAccess& sys, std::wstring_view printerName);

struct DriverDeletionOutcome {
  // The status of the last environment tried, 1797 (not installed there)
  // counting as success.
  os::Status status = os::error::kSuccess;
  // Some environment's attempt failed otherwise: the spooler may still have
  // the driver there.
  bool keptSomewhere = false;
};

// The driver for both environments (with DPD_DELETE_UNUSED_FILES) and, from
// Windows Vista on, its driver package after each successful deletion.
DriverDeletionOutcome DeleteDriverEverywhere(SystemAccess& sys, std::wstring_view driverName);

// Every installed driver of both environments, each tried for both.
void DeleteAllDrivers(SystemAccess& sys);

}  // namespace sysaccess
