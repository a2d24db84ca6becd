#pragma once
// The records through which the program sees printers, drivers and forms.
#include <cstddef>
#include <cstdint>
#include <string>

namespace sysaccess {

// Capacity of the name fields in characters, terminator included: a printer,
// server, driver or share name holds at most 259 characters, a form name 255.
inline constexpr std::size_t kNameCapacity = 260;
inline constexpr std::size_t kFormNameCapacity = 256;

struct PrinterRecord {
  std::wstring serverName;  // empty for a local printer; a connection's print server otherwise
  std::wstring printerName;
  std::wstring driverName;
  std::wstring shareName;
  bool selected = false;      // to be deleted in the current run
  bool deleteDriver = false;  // its driver is to be deleted in the current run
  bool processed = false;     // the printer deletion has run for it
  std::wstring dataFileStem;
  std::wstring dsDriverName;
  std::wstring pnpFolderName;

  bool IsLocal() const { return serverName.empty(); }
};

struct DriverRecord {
  std::wstring driverName;
  std::wstring environment;
};

struct FormRecord {
  std::wstring formName;
  std::uint32_t flags = 0;  // FORM_USER, FORM_BUILTIN or FORM_PRINTER
  bool deletable = true;    // cleared for forms a printer that stays still names
};

}  // namespace sysaccess
