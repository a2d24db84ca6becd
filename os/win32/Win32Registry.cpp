#include <windows.h>
#include <shlwapi.h>

#include <string>
#include <vector>

#include "os/win32/ScopedHandle.h"
#include "os/win32/Win32System.h"

namespace os::win32 {
namespace {

Result<std::unique_ptr<RegistryKey>> Open(HKEY parent, std::wstring_view path, std::uint32_t access);

// One name of an enumeration into a buffer of the caller's size in
// characters: the call fails with ERROR_MORE_DATA when the name and its
// terminator do not fit.
template <class Call>
Result<std::wstring> EnumName(std::uint32_t maxChars, Call call) {
  std::vector<wchar_t> buffer(maxChars ? maxChars : 1);
  DWORD length = maxChars;
  const LSTATUS status = call(buffer.data(), &length);
  if (status != ERROR_SUCCESS) return Result<std::wstring>::Fail(static_cast<Status>(status));
  return Result<std::wstring>::Ok(std::wstring(buffer.data(), length));
}

class Win32RegistryKey final : public RegistryKey {
 public:
  explicit Win32RegistryKey(HKEY key) : key_(key) {}

  Result<std::unique_ptr<RegistryKey>> OpenSubKey(std::wstring_view path, std::uint32_t access) override {
    return Open(key_.get(), path, access);
  }

  Result<RegistryValue> QueryValue(std::wstring_view name) override {
    using R = Result<RegistryValue>;
    const std::wstring n(name);
    DWORD type = 0;
    DWORD size = 0;
    LSTATUS status = RegQueryValueExW(key_.get(), n.c_str(), nullptr, &type, nullptr, &size);
    if (status != ERROR_SUCCESS) return R::Fail(static_cast<Status>(status));
    std::vector<std::uint8_t> data(size);
    status = RegQueryValueExW(key_.get(), n.c_str(), nullptr, &type, size ? data.data() : nullptr, &size);
    if (status != ERROR_SUCCESS) return R::Fail(static_cast<Status>(status));
    data.resize(size);
    return R::Ok(RegistryValue{type, std::move(data)});
  }

  Result<std::wstring> EnumKey(std::uint32_t index, std::uint32_t maxChars) override {
    return EnumName(maxChars, [&](wchar_t* buffer, DWORD* length) {
      return RegEnumKeyExW(key_.get(), index, buffer, length, nullptr, nullptr, nullptr, nullptr);
    });
  }

  Result<std::wstring> EnumValue(std::uint32_t index, std::uint32_t maxChars) override {
    return EnumName(maxChars, [&](wchar_t* buffer, DWORD* length) {
      return RegEnumValueW(key_.get(), index, buffer, length, nullptr, nullptr, nullptr, nullptr);
    });
  }

  Status DeleteValue(std::wstring_view name) override {
    return static_cast<Status>(RegDeleteValueW(key_.get(), std::wstring(name).c_str()));
  }

  Status DeleteTree(std::wstring_view subKey) override {
    return static_cast<Status>(SHDeleteKeyW(key_.get(), std::wstring(subKey).c_str()));
  }

 private:
  ScopedRegistryKey key_;
};

Result<std::unique_ptr<RegistryKey>> Open(HKEY parent, std::wstring_view path, std::uint32_t access) {
  using R = Result<std::unique_ptr<RegistryKey>>;
  HKEY key = nullptr;
  const LSTATUS status = RegOpenKeyExW(parent, std::wstring(path).c_str(), 0, access, &key);
  if (status != ERROR_SUCCESS) return R::Fail(static_cast<Status>(status));
  return R::Ok(std::make_unique<Win32RegistryKey>(key));
}

class Win32Registry final : public Registry {
 public:
  Result<std::unique_ptr<RegistryKey>> OpenKey(RootKey root, std::wstring_view path, std::uint32_t access) override {
    return Open(RootHandle(root), path, access);
  }
  Status DeleteTree(RootKey root, std::wstring_view path) override {
    return static_cast<Status>(SHDeleteKeyW(RootHandle(root), std::wstring(path).c_str()));
  }
};

}  // namespace

HKEY RootHandle(RootKey root) {
  switch (root) {
    case RootKey::ClassesRoot: return HKEY_CLASSES_ROOT;
    case RootKey::CurrentUser: return HKEY_CURRENT_USER;
    case RootKey::LocalMachine: return HKEY_LOCAL_MACHINE;
    case RootKey::Users: return HKEY_USERS;
  }
  return nullptr;
}

Registry& TheRegistry() {
  static Win32Registry registry;
  return registry;
}

}  // namespace os::win32
