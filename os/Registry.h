#pragma once
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "os/Status.h"

namespace os {

enum class RootKey : std::uint8_t { ClassesRoot, CurrentUser, LocalMachine, Users };

namespace regtype {
inline constexpr std::uint32_t kNone = 0;
inline constexpr std::uint32_t kString = 1;        // REG_SZ
inline constexpr std::uint32_t kExpandString = 2;  // REG_EXPAND_SZ
inline constexpr std::uint32_t kBinary = 3;        // REG_BINARY
inline constexpr std::uint32_t kDword = 4;         // REG_DWORD
inline constexpr std::uint32_t kMultiString = 7;   // REG_MULTI_SZ
inline constexpr std::uint32_t kQword = 11;        // REG_QWORD
}  // namespace regtype

namespace regaccess {
inline constexpr std::uint32_t kRead = 0x20019;       // KEY_READ
inline constexpr std::uint32_t kAllAccess = 0xF003F;  // KEY_ALL_ACCESS
}  // namespace regaccess

// A value exactly as stored: its type and raw bytes. Nothing is converted at
// the boundary; a REG_SZ keeps its terminating NUL (or lack of one).
struct RegistryValue {
  std::uint32_t type = regtype::kNone;
  std::vector<std::uint8_t> data;

  bool operator==(const RegistryValue&) const = default;
};

// An open registry key. Destroying it closes the handle.
class RegistryKey {
 public:
  virtual ~RegistryKey() = default;

  // RegOpenKeyExW relative to this key.
  virtual Result<std::unique_ptr<RegistryKey>> OpenSubKey(std::wstring_view path, std::uint32_t access) = 0;
  // RegQueryValueExW; the empty name is the key's default value.
  virtual Result<RegistryValue> QueryValue(std::wstring_view name) = 0;
  // RegEnumKeyExW / RegEnumValueW at an index: the name. maxChars is the
  // caller's buffer in characters, terminator included: a longer name gives
  // kMoreData.
  virtual Result<std::wstring> EnumKey(std::uint32_t index, std::uint32_t maxChars) = 0;
  virtual Result<std::wstring> EnumValue(std::uint32_t index, std::uint32_t maxChars) = 0;
  [[nodiscard]] virtual Status DeleteValue(std::wstring_view name) = 0;
  // SHDeleteKeyW(this key, subKey): the sub-key with everything below it.
  [[nodiscard]] virtual Status DeleteTree(std::wstring_view subKey) = 0;
};

class Registry {
 public:
  virtual ~Registry() = default;
  virtual Result<std::unique_ptr<RegistryKey>> OpenKey(RootKey root, std::wstring_view path, std::uint32_t access) = 0;
  // SHDeleteKeyW(root, path).
  [[nodiscard]] virtual Status DeleteTree(RootKey root, std::wstring_view path) = 0;
};

const wchar_t* RootKeyName(RootKey root);  // "HKEY_LOCAL_MACHINE", ...

}  // namespace os
