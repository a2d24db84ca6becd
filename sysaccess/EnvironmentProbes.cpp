#include "sysaccess/EnvironmentProbes.h"

#include "base/WideText.h"
#include "sysaccess/RegistryStrings.h"

namespace sysaccess {

bool IsAbsolutePath(std::wstring_view path) {
  const bool drive = path.size() >= 3 && path[1] == L':' && path[2] == L'\\' &&
                     ((path[0] >= L'A' && path[0] <= L'Z') || (path[0] >= L'a' && path[0] <= L'z'));
  const bool unc = path.size() > 2 && path[0] == L'\\' && path[1] == L'\\';
  return drive || unc;
}

std::wstring GetUserTempFolder(SystemAccess& sys) {
  const std::wstring raw = ReadRegistryString(sys, os::RootKey::CurrentUser, L"Environment", L"Temp");
  const std::wstring_view text = base::AsText(raw);
  if (text.empty() || text.size() >= kPathCapacity) return {};
  auto expanded = sys.os().environment.ExpandVariables(text, kPathCapacity);
  if (!expanded.ok() || !IsAbsolutePath(expanded.value)) return {};
  return expanded.value;
}

std::wstring GetWindowsTempFolder(SystemAccess& sys) {
  const std::wstring windows = sys.os().environment.WindowsDirectory();
  if (windows.empty() || windows.size() >= kPathCapacity) return {};
  return base::FormatText(L"%s\\Temp", {windows});
}

const os::OsVersionInfo& GetOsVersion(SystemAccess& sys) { return sys.OsVersion(); }

std::wstring ReadProcessorArchitecture(SystemAccess& sys) {
  return std::wstring(base::AsText(ReadMachineRegistryString(
      sys, L"SYSTEM\\CurrentControlSet\\Control\\Session Manager\\Environment", L"PROCESSOR_ARCHITECTURE")));
}

std::wstring ReadDriverInfPath(SystemAccess& sys, std::wstring_view driverName) {
  const wchar_t* pattern =
      ReadProcessorArchitecture(sys) == L"x86"
          ? L"SYSTEM\\CurrentControlSet\\Control\\Print\\Environments\\Windows NT x86\\Drivers\\Version-3\\%s"
          : L"SYSTEM\\CurrentControlSet\\Control\\Print\\Environments\\Windows x64\\Drivers\\Version-3\\%s";
  return std::wstring(
      base::AsText(ReadMachineRegistryString(sys, base::FormatText(pattern, {driverName}), L"InfPath")));
}

}  // namespace sysaccess
