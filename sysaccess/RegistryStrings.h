#pragma once
#include <string>
#include <string_view>

#include "os/Registry.h"
#include "sysaccess/SystemAccess.h"

namespace sysaccess {

// A value's complete data read as wide characters, whatever its type: as many
// characters as the data has bytes halved, terminating NULs included (so a
// REG_MULTI_SZ comes back as its whole block). Empty exactly when the key or
// the value is missing or the value has no data; a value holding an empty
// string gives one NUL. Use base::AsText for the plain text.
std::wstring ReadRegistryString(SystemAccess& sys, os::RootKey root, std::wstring_view subKey,
                                std::wstring_view valueName);

std::wstring ReadMachineRegistryString(SystemAccess& sys, std::wstring_view subKey, std::wstring_view valueName);

}  // namespace sysaccess
