#include "engine/DriverLookups.h"

#include <algorithm>

#include "base/WideText.h"
#include "sysaccess/EnvironmentProbes.h"
#include "sysaccess/RegistryStrings.h"

namespace engine {
namespace {

constexpr const wchar_t* kPrinterKey = L"SYSTEM\\CurrentControlSet\\Control\\Print\\Printers\\%s";

// Where a connection's driver data is cached: the LanMan provider before
// Windows Vista, client-side rendering from Vista on. The server name goes
// in exactly as the spooler reported it.
std::wstring ConnectionKey(sysaccess::SystemAccess& sys, const sysaccess::PrinterRecord& record,
                           std::wstring_view name) {
  const wchar_t* pattern =
      sys.IsVistaOrLater()
          ? L"SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\Print\\Providers\\Client Side Rendering Print "
            L"Provider\\Servers\\%s\\Printers\\%s\\PrinterDriverData"
          : L"SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\Print\\Providers\\LanMan Print "
            L"Services\\Servers\\%s\\Printers\\%s\\PrinterDriverData";
  return base::FormatText(pattern, {record.serverName, name});
}

std::wstring ReadText(sysaccess::SystemAccess& sys, const std::wstring& key, const wchar_t* value) {
  return std::wstring(base::AsText(sysaccess::ReadMachineRegistryString(sys, key, value)));
}

}  // namespace

std::wstring ReadDataFileStem(sysaccess::SystemAccess& sys, const sysaccess::PrinterRecord& record,
                              std::wstring_view name) {
  std::wstring key;
  if (record.IsLocal()) {
    const std::wstring arch = sysaccess::ReadProcessorArchitecture(sys);
    if (arch == L"x86") {
      key = L"SYSTEM\\CurrentControlSet\\Control\\Print\\Environments\\Windows NT x86\\Drivers\\Version-3\\%s";
    } else if (arch == L"AMD64") {
      key = L"SYSTEM\\CurrentControlSet\\Control\\Print\\Environments\\Windows x64\\Drivers\\Version-3\\%s";
    } else {
      return {};
    }
    key = base::FormatText(key, {name});
  } else {
    key = ConnectionKey(sys, record, name);
  }
  const std::wstring dataFile = ReadText(sys, key, L"Data File");
  const auto dot = dataFile.find(L'.');
  return dot == std::wstring::npos ? std::wstring() : dataFile.substr(0, dot);
}

std::wstring ReadDsDriverName(sysaccess::SystemAccess& sys, const sysaccess::PrinterRecord& record,
                              std::wstring_view name) {
  const std::wstring key = record.IsLocal() ? base::FormatText(kPrinterKey, {name}) + L"\\DsSpooler"
                                            : ConnectionKey(sys, record, name);
  return ReadText(sys, key, L"driverName");
}

std::wstring ReadPnpFolderName(sysaccess::SystemAccess& sys, std::wstring_view printerName) {
  std::wstring id = ReadText(sys, base::FormatText(kPrinterKey, {printerName}) + L"\\PnPData", L"HardwareID");
  if (id.empty()) return {};
  const auto slash = id.find(L'\\');
  if (slash != std::wstring::npos) id.erase(0, slash + 1);
  std::replace_if(id.begin(), id.end(), [](wchar_t c) { return c == L'-' || c == L'&' || c == L'.'; }, L'_');
  return id;
}

void ReadMediaSupported(sysaccess::SystemAccess& sys, std::wstring_view printerName, std::vector<std::wstring>& list) {
  list.clear();
  const std::wstring block = sysaccess::ReadMachineRegistryString(
      sys, base::FormatText(kPrinterKey, {printerName}) + L"\\DsDriver", L"printMediaSupported");
  std::size_t start = 0;
  while (start < block.size()) {
    const std::size_t end = std::min(block.find(L'\0', start), block.size());
    if (end == start) break;  // the empty string that ends the list
    list.push_back(block.substr(start, end - start));
    start = end + 1;
  }
}

}  // namespace engine
