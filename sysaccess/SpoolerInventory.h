#pragma once
// The read side of the local spooler.
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "os/Spooler.h"
#include "sysaccess/PrinterRecord.h"
#include "sysaccess/SystemAccess.h"

namespace sysaccess {

// OpenPrinterW with PRINTER_ALL_ACCESS; null when the printer cannot be opened.
std::unique_ptr<os::PrinterHandle> OpenPrinterHandle(SystemAccess& sys, std::wstring_view printerName);

// The local printers and the user's printer connections, in the spooler's
// order. A printer whose name (or server, driver or share name) does not fit
// its record is left out: a shortened name could later match, and delete,
// another printer.
std::vector<PrinterRecord> EnumeratePrinters(SystemAccess& sys);

std::vector<DriverRecord> EnumerateDrivers(SystemAccess& sys, std::wstring_view environment);

// The user and printer forms seen through a printer, built-in forms left out,
// each deletable. A form whose name does not fit its record is left out.
std::vector<FormRecord> EnumerateForms(SystemAccess& sys, std::wstring_view printerName);

// Whether the printer's queue holds at least one job; false for a printer
// that cannot be opened.
bool PrinterHasJobs(SystemAccess& sys, std::wstring_view printerName);

}  // namespace sysaccess
