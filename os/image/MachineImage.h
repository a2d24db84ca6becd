#pragma once
// A machine image: a Windows workstation described as data. The simulated
// machine loads and saves it; the Windows-side seeder creates the same state
// on a real system (a Wine prefix) through the real APIs.
#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "os/Environment.h"
#include "os/Registry.h"
#include "os/Services.h"
#include "os/Spooler.h"

namespace os::image {

// An image that cannot be read: the message names the source, the place
// (line and column, or the JSON path of the element) and what is wrong.
class ImageError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

struct WindowsSpec {
  std::optional<OsVersionInfo> version;
  std::optional<std::wstring> windowsDirectory;
  std::optional<std::wstring> systemDirectory;
  std::optional<std::wstring> languageAbbreviation;
  std::optional<std::wstring> modulePath;
  std::optional<std::wstring> currentDirectory;
  std::optional<std::wstring> userSid;
  std::optional<std::uint32_t> tickCount;
  std::optional<int> currentControlSet;
  std::vector<std::pair<std::wstring, std::wstring>> variables;
  std::optional<bool> driverPackageExport;
  // The environments the spooler knows; any other is refused with 1805. None
  // given: "Windows NT x86", "Windows x64", "Windows IA64" and "Windows 4.0".
  std::vector<std::wstring> spoolerEnvironments;

  bool operator==(const WindowsSpec&) const = default;
};

struct RegistryKeySpec {
  std::wstring path;  // full: "HKEY_LOCAL_MACHINE\..." (HKLM, HKCU, HKU, HKCR accepted)
  std::vector<std::pair<std::wstring, RegistryValue>> values;

  bool operator==(const RegistryKeySpec&) const = default;
};

struct FileSpec {
  std::wstring path;
  bool folder = false;
  std::uint32_t attributes = 0;  // read-only, hidden, system, archive bits
  std::string content;           // bytes of a file
  bool locked = false;           // held open by another process: deletion fails

  bool operator==(const FileSpec&) const = default;
};

struct DriverSpec {
  std::wstring name;
  std::wstring environment = L"Windows x64";
  std::uint32_t version = 3;
  std::wstring driverPath;
  std::wstring dataFile;
  std::wstring configFile;
  std::wstring infPath;
  std::vector<std::wstring> files;  // removed with DPD_DELETE_UNUSED_FILES when no other driver lists them

  bool operator==(const DriverSpec&) const = default;
};

struct PrinterSpec {
  std::wstring name;        // a connection's is server-qualified: "\\srv\lp"
  std::wstring serverName;  // empty for a local printer, "\\srv" for a connection
  std::wstring driverName;
  std::wstring shareName;
  std::wstring portName = L"FILE:";
  std::vector<std::uint32_t> jobs;
  std::wstring hardwareId;          // PnPData\HardwareID
  std::vector<std::wstring> media;  // DsDriver\printMediaSupported
  bool pendingDeletion = false;     // deleted with jobs queued: goes when they are done (not in images)

  bool operator==(const PrinterSpec&) const = default;
};

struct FormSpec {
  std::wstring name;
  std::uint32_t flags = spool::kFormUser;

  bool operator==(const FormSpec&) const = default;
};

struct ServiceSpec {
  std::wstring name;
  std::wstring displayName;
  std::uint32_t state = svc::kRunning;
  std::vector<std::wstring> dependsOn;
  std::uint32_t stopDelayMs = 0;   // time spent stop-pending
  std::uint32_t startDelayMs = 0;  // time spent start-pending
  std::uint32_t answerDelayMs = 0;  // a stop control or a start blocks the caller this long (at most 30 s)
  bool hangsStopping = false;      // stays stop-pending for ever
  bool hangsStarting = false;      // stays start-pending for ever
  Status stopError = 0;            // ControlService(STOP) fails with this; the state does not change
  Status startError = 0;           // StartServiceW fails with this; the state does not change

  bool operator==(const ServiceSpec&) const = default;
};

struct ServiceDatabaseSpec {
  std::optional<bool> managerAccessDenied;  // the user may not open the SCM for locking
  std::optional<bool> lockedByOther;        // another process holds the lock
  std::optional<bool> lockDenied;           // locking fails with ERROR_ACCESS_DENIED

  bool operator==(const ServiceDatabaseSpec&) const = default;
};

struct ProcessSpec {
  std::uint32_t processId = 0;
  std::wstring exeFile;
  bool protectedProcess = false;  // refuses PROCESS_TERMINATE

  bool operator==(const ProcessSpec&) const = default;
};

// Images compare member by member: a saved image read back must equal the
// one that was saved.
struct MachineImage {
  std::string base;  // a built-in image applied first ("workstation", "xp-workstation")
  WindowsSpec windows;
  std::vector<RegistryKeySpec> registry;
  std::vector<std::wstring> protectedKeys;  // refuse KEY_ALL_ACCESS and deletion
  std::vector<FileSpec> files;
  std::vector<DriverSpec> drivers;
  std::vector<PrinterSpec> printers;
  std::vector<FormSpec> forms;
  std::vector<std::wstring> packages;  // INF paths of driver packages in the store
  std::vector<ServiceSpec> services;
  ServiceDatabaseSpec serviceDatabase;
  std::vector<ProcessSpec> processes;

  bool operator==(const MachineImage&) const = default;
};

// Throws ImageError; never crashes on malformed input.
MachineImage ParseMachineImage(const std::string& json, const std::string& source);
std::string WriteMachineImage(const MachineImage& image);
// The text of a built-in base image, or nullptr.
const char* BuiltInImage(const std::string& name);

// Splits "HKEY_LOCAL_MACHINE\rest" into its root and rest; false for an
// unknown root.
bool SplitRegistryPath(std::wstring_view fullPath, RootKey& root, std::wstring& rest);

}  // namespace os::image
