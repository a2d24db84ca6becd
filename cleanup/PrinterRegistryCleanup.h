#pragma once
#include <string_view>

#include "sysaccess/SystemAccess.h"

namespace cleanup {

// The registry data named after a deleted printer: its per-user settings, its
// value in the settings key, the companion tool's and the local watermark
// keys, and the watermark key of the current control set.
void CleanPrinterRegistry(sysaccess::SystemAccess& sys, std::wstring_view printerName);

}  // namespace cleanup
