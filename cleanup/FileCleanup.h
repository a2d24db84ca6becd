#pragma once
// Files the spooler's own deletions leave behind: temporary and watermark
// files in the Temp folders, hardware-specific driver folders, loose files of
// the driver directory and the companion tool's data. Nothing is reported;
// what cannot be deleted stays.
#include <string_view>

#include "sysaccess/SystemAccess.h"

namespace cleanup {

// Deletes every file matching a pattern in one folder (no recursion), after
// clearing its attributes; folders that match stay.
void DeleteMatchingFiles(sysaccess::SystemAccess& sys, std::wstring_view pattern);

// For a printer connection: "<Temp>\<name with \ as ,>.tmp" in both Temp folders.
void CleanPrinterTempFiles(sysaccess::SystemAccess& sys, std::wstring_view printerName, std::wstring_view serverName);

// The watermark and temporary files of a driver and its hardware-specific
// folder under the driver directory of both architectures.
void CleanDriverFiles(sysaccess::SystemAccess& sys, std::wstring_view pnpFolderName, std::wstring_view dataFileStem,
                      std::wstring_view dsDriverName);

// Loose files of both architecture folders and the companion tool's data.
void SweepDriverFiles(sysaccess::SystemAccess& sys);

}  // namespace cleanup
