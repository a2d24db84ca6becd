// The workstations an image can start from with "base". Kept as images, not
// code, so they read like every other machine description.
#include <string>

#include "os/image/MachineImage.h"

namespace os::image {
namespace {

const char* const kWorkstation = R"json({
  "windows": {
    "version": "6.1.7601",
    "windowsDirectory": "C:\\Windows",
    "systemDirectory": "C:\\Windows\\system32",
    "languageAbbreviation": "ENU",
    "modulePath": "C:\\Program Files\\Tessaly\\Tessaly.exe",
    "currentDirectory": "C:\\Program Files\\Tessaly",
    "userSid": "S-1-5-21-1004336348-1177238915-682003330-1001",
    "currentControlSet": 1,
    "variables": {
      "SystemRoot": "C:\\Windows",
      "windir": "C:\\Windows",
      "USERPROFILE": "C:\\Users\\Admin",
      "TEMP": "C:\\Users\\Admin\\AppData\\Local\\Temp",
      "TMP": "C:\\Users\\Admin\\AppData\\Local\\Temp",
      "USERNAME": "Admin"
    },
    "driverPackageExport": true
  },
  "registry": {
    "HKEY_LOCAL_MACHINE\\SYSTEM\\ControlSet001\\Control\\Session Manager\\Environment": {
      "PROCESSOR_ARCHITECTURE": "AMD64",
      "windir": {"type": "REG_EXPAND_SZ", "data": "%SystemRoot%"}
    },
    "HKEY_LOCAL_MACHINE\\SYSTEM\\ControlSet001\\Control\\Print\\Printers": {},
    "HKEY_LOCAL_MACHINE\\SYSTEM\\ControlSet001\\Control\\Print\\Forms": {},
    "HKEY_LOCAL_MACHINE\\SYSTEM\\ControlSet001\\Control\\Print\\Environments\\Windows NT x86\\Drivers\\Version-3": {},
    "HKEY_LOCAL_MACHINE\\SYSTEM\\ControlSet001\\Control\\Print\\Environments\\Windows x64\\Drivers\\Version-3": {},
    "HKEY_CURRENT_USER\\Environment": {
      "TEMP": {"type": "REG_EXPAND_SZ", "data": "%USERPROFILE%\\AppData\\Local\\Temp"},
      "TMP": {"type": "REG_EXPAND_SZ", "data": "%USERPROFILE%\\AppData\\Local\\Temp"}
    },
    "HKEY_CURRENT_USER\\Printers\\Settings": {},
    "HKEY_USERS\\.DEFAULT\\Printers": {},
    "HKEY_USERS\\S-1-5-18\\Printers": {}
  },
  "files": {
    "C:\\Windows\\Temp": {"folder": true},
    "C:\\Windows\\system32\\spool\\drivers\\w32x86\\3": {"folder": true},
    "C:\\Windows\\system32\\spool\\drivers\\x64\\3": {"folder": true},
    "C:\\Windows\\system32\\spool\\PRINTERS": {"folder": true},
    "C:\\Users\\Admin\\AppData\\Local\\Temp": {"folder": true},
    "C:\\Program Files\\Tessaly\\Tessaly.exe": {}
  },
  "services": [
    {"name": "Spooler", "displayName": "Print Spooler", "state": "running", "stopDelayMs": 300, "startDelayMs": 500}
  ],
  "spooler": {
    "forms": [
      {"name": "Letter", "kind": "builtin"},
      {"name": "Legal", "kind": "builtin"},
      {"name": "Executive", "kind": "builtin"},
      {"name": "A4", "kind": "builtin"},
      {"name": "A5", "kind": "builtin"}
    ]
  }
})json";

// Windows XP on a 32-bit machine: no driver packages, no Vista form keys, and
// a spooler that has never heard of 64-bit drivers.
const char* const kXpWorkstation = R"json({
  "windows": {
    "version": "5.1.2600",
    "windowsDirectory": "C:\\WINDOWS",
    "systemDirectory": "C:\\WINDOWS\\system32",
    "languageAbbreviation": "ENU",
    "modulePath": "C:\\Program Files\\Tessaly\\Tessaly.exe",
    "currentDirectory": "C:\\Program Files\\Tessaly",
    "userSid": "S-1-5-21-1004336348-1177238915-682003330-1003",
    "currentControlSet": 1,
    "variables": {
      "SystemRoot": "C:\\WINDOWS",
      "windir": "C:\\WINDOWS",
      "USERPROFILE": "C:\\Documents and Settings\\Admin",
      "TEMP": "C:\\Documents and Settings\\Admin\\Local Settings\\Temp",
      "TMP": "C:\\Documents and Settings\\Admin\\Local Settings\\Temp",
      "USERNAME": "Admin"
    },
    "driverPackageExport": false,
    "spoolerEnvironments": ["Windows NT x86", "Windows 4.0"]
  },
  "registry": {
    "HKEY_LOCAL_MACHINE\\SYSTEM\\ControlSet001\\Control\\Session Manager\\Environment": {
      "PROCESSOR_ARCHITECTURE": "x86"
    },
    "HKEY_LOCAL_MACHINE\\SYSTEM\\ControlSet001\\Control\\Print\\Printers": {},
    "HKEY_LOCAL_MACHINE\\SYSTEM\\ControlSet001\\Control\\Print\\Forms": {},
    "HKEY_LOCAL_MACHINE\\SYSTEM\\ControlSet001\\Control\\Print\\Environments\\Windows NT x86\\Drivers\\Version-3": {},
    "HKEY_CURRENT_USER\\Environment": {
      "TEMP": {"type": "REG_EXPAND_SZ", "data": "%USERPROFILE%\\Local Settings\\Temp"}
    },
    "HKEY_CURRENT_USER\\Printers\\Settings": {},
    "HKEY_USERS\\.DEFAULT\\Printers": {}
  },
  "files": {
    "C:\\WINDOWS\\Temp": {"folder": true},
    "C:\\WINDOWS\\system32\\spool\\drivers\\w32x86\\3": {"folder": true},
    "C:\\Documents and Settings\\Admin\\Local Settings\\Temp": {"folder": true},
    "C:\\Program Files\\Tessaly\\Tessaly.exe": {}
  },
  "services": [
    {"name": "Spooler", "displayName": "Print Spooler", "state": "running", "stopDelayMs": 300, "startDelayMs": 500}
  ],
  "spooler": {
    "forms": [
      {"name": "Letter", "kind": "builtin"},
      {"name": "A4", "kind": "builtin"}
    ]
  }
})json";

}  // namespace

const char* BuiltInImage(const std::string& name) {
  if (name == "workstation") return kWorkstation;
  if (name == "xp-workstation") return kXpWorkstation;
  return nullptr;
}

}  // namespace os::image
