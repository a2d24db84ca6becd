#pragma once
// The machine's state as the real APIs report it, for checks before and
// after the program ran.
#include <windows.h>

#include <string>
#include <vector>

namespace e2e {

std::vector<std::wstring> InstalledPrinters();  // EnumPrintersW, local and connections
std::vector<std::wstring> InstalledDrivers(const wchar_t* environment);
bool RegistryKeyExists(HKEY root, const std::wstring& path);
bool RegistryValueExists(HKEY root, const std::wstring& path, const std::wstring& name);
bool FileExists(const std::wstring& path);
// The service reports SERVICE_RUNNING to the Service Control Manager.
bool ServiceRunning(const wchar_t* name);
bool Contains(const std::vector<std::wstring>& list, const std::wstring& item);

}  // namespace e2e
