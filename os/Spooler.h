#pragma once
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "os/Status.h"

namespace os {

namespace spool {
inline constexpr std::uint32_t kEnumLocal = 2;             // PRINTER_ENUM_LOCAL
inline constexpr std::uint32_t kEnumConnections = 4;       // PRINTER_ENUM_CONNECTIONS
inline constexpr std::uint32_t kPrinterAllAccess = 0x000F000C;
inline constexpr std::uint32_t kFormUser = 0;              // FORM_USER
inline constexpr std::uint32_t kFormBuiltin = 1;           // FORM_BUILTIN
inline constexpr std::uint32_t kFormPrinter = 2;           // FORM_PRINTER
inline constexpr std::uint32_t kDeleteUnusedFiles = 1;     // DPD_DELETE_UNUSED_FILES
inline constexpr std::uint32_t kDeleteSpecificVersion = 2; // DPD_DELETE_SPECIFIC_VERSION
inline constexpr std::uint32_t kDeleteAllFiles = 4;        // DPD_DELETE_ALL_FILES
inline constexpr std::uint32_t kStatusPendingDeletion = 4; // PRINTER_STATUS_PENDING_DELETION
}  // namespace spool

// The parts of PRINTER_INFO_2W the program reads. A null pointer arrives as
// an empty string.
struct PrinterInfo {
  std::wstring serverName;
  std::wstring printerName;
  std::wstring shareName;
  std::wstring portName;
  std::wstring driverName;
  std::uint32_t status = 0;  // PRINTER_STATUS_* bits
};

// DRIVER_INFO_2W.
struct DriverInfo {
  std::uint32_t version = 0;
  std::wstring name;
  std::wstring environment;
  std::wstring driverPath;
  std::wstring dataFile;
  std::wstring configFile;
};

// FORM_INFO_1W without the geometry.
struct FormInfo {
  std::uint32_t flags = 0;
  std::wstring name;
};

// An open printer (OpenPrinterW). Destroying it closes it (ClosePrinter).
class PrinterHandle {
 public:
  virtual ~PrinterHandle() = default;
  virtual Result<std::vector<FormInfo>> Forms() = 0;  // EnumFormsW, level 1
  // EnumJobsW at level 3: the job ids.
  virtual Result<std::vector<std::uint32_t>> Jobs(std::uint32_t firstJob, std::uint32_t count) = 0;
  [[nodiscard]] virtual Status RemoveForm(std::wstring_view formName) = 0;  // DeleteFormW
  [[nodiscard]] virtual Status Delete() = 0;  // DeletePrinter
};

class Spooler {
 public:
  virtual ~Spooler() = default;
  virtual Result<std::vector<PrinterInfo>> Printers(std::uint32_t flags) = 0;  // EnumPrintersW, level 2
  // EnumPrinterDriversW on the local machine, level 2.
  virtual Result<std::vector<DriverInfo>> Drivers(std::wstring_view environment) = 0;
  virtual Result<std::unique_ptr<PrinterHandle>> Open(std::wstring_view name, std::uint32_t access) = 0;
  [[nodiscard]] virtual Status DeleteConnection(std::wstring_view name) = 0;  // DeletePrinterConnectionW
  // DeletePrinterDriverExW on the local machine.
  [[nodiscard]] virtual Status DeleteDriver(std::wstring_view environment, std::wstring_view driverName, std::uint32_t deleteFlag,
                              std::uint32_t versionFlag) = 0;
  // DeletePrinterDriverPackageW, looked up in the spooler library at run time;
  // kProcNotFound when the system has no such export (nothing is called then).
  [[nodiscard]] virtual Status DeleteDriverPackage(std::wstring_view infPath, std::wstring_view environment) = 0;
  // Whether the system has DeletePrinterDriverPackageW: only looked up, never
  // called, so a plan knows whether a run would call it.
  virtual bool HasDriverPackageEntry() = 0;
};

}  // namespace os
