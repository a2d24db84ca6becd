#pragma once
// What the spooler keeps in the registry about a printer's driver: the
// driver's data file, the driver name of the printer's directory-service
// data, its Plug and Play hardware id and the media it publishes. Every
// lookup degrades to an empty string.
#include <string>
#include <string_view>
#include <vector>

#include "sysaccess/PrinterRecord.h"
#include "sysaccess/SystemAccess.h"

namespace engine {

// The driver's data file name up to its first dot ("LASER.PPD" gives
// "LASER"); empty when unknown or without a dot. A local printer's driver key
// follows the processor architecture ("x86" or "AMD64", nothing else); a
// connection's the print provider of its Windows generation.
std::wstring ReadDataFileStem(sysaccess::SystemAccess& sys, const sysaccess::PrinterRecord& record,
                              std::wstring_view name);

// The "driverName" of the directory-service data, unchanged.
std::wstring ReadDsDriverName(sysaccess::SystemAccess& sys, const sysaccess::PrinterRecord& record,
                              std::wstring_view name);

// The hardware id after its first backslash, with "-", "&" and "." made "_":
// "LPTENUM\Maker-Model&A.1" gives "Maker_Model_A_1".
std::wstring ReadPnpFolderName(sysaccess::SystemAccess& sys, std::wstring_view printerName);

// The form names of "printMediaSupported", in order, up to the first empty one.
void ReadMediaSupported(sysaccess::SystemAccess& sys, std::wstring_view printerName, std::vector<std::wstring>& list);

}  // namespace engine
