#pragma once
#include <memory>
#include <string_view>

#include "os/Registry.h"
#include "sysaccess/SystemAccess.h"

namespace cleanup {

// The registry data no single printer or driver owns, swept when every driver
// is deleted.
void SweepPrintRegistry(sysaccess::SystemAccess& sys);

// Deletes every sub-key tree below an open key (names collected first), then
// closes it.
void DeleteAllSubKeys(std::unique_ptr<os::RegistryKey> key);

// Deletes every value of a key (names collected first); the key stays.
void DeleteAllValues(sysaccess::SystemAccess& sys, os::RootKey root, std::wstring_view path);

}  // namespace cleanup
