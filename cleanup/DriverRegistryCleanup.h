#pragma once
#include <string_view>

#include "sysaccess/SystemAccess.h"

namespace cleanup {

// The registry keys of a deleted driver: the default user's driver settings,
// the maker's job properties (named after the data-file stem) and the driver's
// keys in the 32-bit and 64-bit driver trees of the current control set and
// of control sets 001 to 003.
void CleanDriverRegistry(sysaccess::SystemAccess& sys, std::wstring_view driverName, std::wstring_view dataFileStem);

}  // namespace cleanup
