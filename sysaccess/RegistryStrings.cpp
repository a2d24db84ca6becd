#include "sysaccess/RegistryStrings.h"

#include "base/Utf.h"

namespace sysaccess {

std::wstring ReadRegistryString(SystemAccess& sys, os::RootKey root, std::wstring_view subKey,
                                std::wstring_view valueName) {
  // Reading needs no more than KEY_READ; asking for more would fail for a
  // user who may read a key but not change it.
  auto key = sys.os().registry.OpenKey(root, subKey, os::regaccess::kRead);
  if (!key.ok()) return {};
  const auto value = key.value->QueryValue(valueName);
  if (!value.ok()) return {};
  return base::Utf16BytesToWide(value.value.data);
}

std::wstring ReadMachineRegistryString(SystemAccess& sys, std::wstring_view subKey, std::wstring_view valueName) {
  return ReadRegistryString(sys, os::RootKey::LocalMachine, subKey, valueName);
}

}  // namespace sysaccess
