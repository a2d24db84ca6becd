#include "tools/seed/Seeder.h"

#include <windows.h>
#include <shlwapi.h>

#include "base/Utf.h"
#include "base/WideText.h"
#include "os/win32/Win32System.h"

namespace seed {
namespace {

using base::WideToUtf8;

void SplitKey(const std::wstring& full, HKEY& root, std::wstring& rest) {
  os::RootKey r;
  if (!os::image::SplitRegistryPath(full, r, rest)) throw SeedError("not a registry path: " + WideToUtf8(full));
  root = os::win32::RootHandle(r);
}

bool KeyExists(HKEY root, const std::wstring& path) {
  os::win32::ScopedRegistryKey key;
  return RegOpenKeyExW(root, path.c_str(), 0, KEY_READ, key.receive()) == ERROR_SUCCESS;
}

std::wstring Parent(const std::wstring& path) {
  const auto sep = path.rfind(L'\\');
  return sep == std::wstring::npos ? std::wstring() : path.substr(0, sep);
}

std::wstring FileName(const std::wstring& path) {
  const auto sep = path.rfind(L'\\');
  return sep == std::wstring::npos ? path : path.substr(sep + 1);
}

void Require(bool ok, const std::string& what) {
  if (!ok) throw SeedError(what + " failed with error " + std::to_string(GetLastError()));
}

std::wstring DriverDirectory(const std::wstring& environment) {
  std::wstring env = environment;
  wchar_t buffer[MAX_PATH] = {};
  DWORD needed = 0;
  Require(GetPrinterDriverDirectoryW(nullptr, env.data(), 1, reinterpret_cast<BYTE*>(buffer), sizeof buffer, &needed),
          "GetPrinterDriverDirectoryW for " + WideToUtf8(environment));
  return buffer;
}

// A helper program of ours, beside the running program.
std::wstring HelperProgram(const wchar_t* name) {
  wchar_t module[MAX_PATH] = {};
  const DWORD length = GetModuleFileNameW(nullptr, module, MAX_PATH);
  const std::wstring path = Parent(std::wstring(module, length)) + L"\\" + name;
  if (GetFileAttributesW(path.c_str()) == INVALID_FILE_ATTRIBUTES) {
    throw SeedError("the helper program " + WideToUtf8(path) + " is missing (it is built with the Windows tools)");
  }
  return path;
}

// Polls a service until it reports the state or about ten seconds passed.
DWORD WaitForServiceState(SC_HANDLE service, DWORD wanted) {
  SERVICE_STATUS_PROCESS status{};
  DWORD needed = 0;
  for (int i = 0; i < 200; ++i) {
    if (!QueryServiceStatusEx(service, SC_STATUS_PROCESS_INFO, reinterpret_cast<BYTE*>(&status), sizeof status,
                              &needed)) {
      return 0;
    }
    if (status.dwCurrentState == wanted) break;
    Sleep(50);
  }
  return status.dwCurrentState;
}

}  // namespace

Seeder::~Seeder() {
  heldFiles_.clear();
  if (!undo_) return;
  for (auto it = undoSteps_.rbegin(); it != undoSteps_.rend(); ++it) (*it)();
}

void Seeder::Apply(const os::image::MachineImage& image) {
  if (!image.base.empty()) throw SeedError("a real system has no base image to start from");
  const auto& w = image.windows;
  if (w.version || w.windowsDirectory || w.systemDirectory || w.languageAbbreviation || w.modulePath ||
      w.currentDirectory || w.userSid || w.tickCount || w.currentControlSet || w.driverPackageExport) {
    throw SeedError("the windows section describes the system itself; only its variables can be seeded");
  }
  if (!image.protectedKeys.empty()) throw SeedError("protected keys cannot be seeded");
  if (!image.packages.empty()) throw SeedError("driver packages cannot be seeded");
  if (image.serviceDatabase.managerAccessDenied || image.serviceDatabase.lockedByOther ||
      image.serviceDatabase.lockDenied) {
    throw SeedError("the service database's state cannot be seeded");
  }

  for (const auto& [name, value] : w.variables) SeedVariable(name, value);
  for (const auto& key : image.registry) {
    SeedKey(key.path);
    for (const auto& [name, value] : key.values) SeedValue(key.path, name, value);
  }
  for (const auto& file : image.files) {
    if (file.folder) SeedFolder(file.path);
    else SeedFile(file);
  }
  for (const auto& driver : image.drivers) SeedDriver(driver);
  for (const auto& printer : image.printers) SeedPrinter(printer);
  for (const auto& form : image.forms) SeedForm(form);
  for (const auto& service : image.services) SeedService(service);
  for (const auto& process : image.processes) SeedProcess(process);
}

void Seeder::SeedVariable(const std::wstring& name, const std::wstring& value) {
  wchar_t previous[32767];
  const DWORD length = GetEnvironmentVariableW(name.c_str(), previous, 32767);
  const bool existed = length > 0 || GetLastError() != ERROR_ENVVAR_NOT_FOUND;
  const std::wstring old = existed ? std::wstring(previous, length) : std::wstring();
  SetEnvironmentVariableW(name.c_str(), value.c_str());
  OnUndo([name, old, existed] { SetEnvironmentVariableW(name.c_str(), existed ? old.c_str() : nullptr); });
  Note("variable " + WideToUtf8(name));
}

void Seeder::SeedKey(const std::wstring& keyPath) {
  HKEY root;
  std::wstring rest;
  SplitKey(keyPath, root, rest);
  // The topmost key that does not exist yet: removing it on undo removes
  // everything this seeding created below it.
  std::wstring topNew;
  for (std::wstring p = rest; !p.empty() && !KeyExists(root, p); p = Parent(p)) topNew = p;
  os::win32::ScopedRegistryKey key;
  const LSTATUS status = RegCreateKeyExW(root, rest.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, key.receive(), nullptr);
  if (status != ERROR_SUCCESS) throw SeedError("RegCreateKeyExW " + WideToUtf8(keyPath) + ": " + std::to_string(status));
  if (!topNew.empty()) OnUndo([root, topNew] { SHDeleteKeyW(root, topNew.c_str()); });
  Note("key " + WideToUtf8(keyPath));
}

void Seeder::SeedValue(const std::wstring& keyPath, const std::wstring& name, const os::RegistryValue& value) {
  HKEY root;
  std::wstring rest;
  SplitKey(keyPath, root, rest);
  os::win32::ScopedRegistryKey key;
  if (RegOpenKeyExW(root, rest.c_str(), 0, KEY_ALL_ACCESS, key.receive()) != ERROR_SUCCESS) {
    throw SeedError("cannot open " + WideToUtf8(keyPath));
  }
  DWORD type = 0, size = 0;
  std::vector<BYTE> previous;
  const bool existed = RegQueryValueExW(key.get(), name.c_str(), nullptr, &type, nullptr, &size) == ERROR_SUCCESS;
  if (existed) {
    previous.resize(size);
    RegQueryValueExW(key.get(), name.c_str(), nullptr, &type, size ? previous.data() : nullptr, &size);
  }
  const LSTATUS status = RegSetValueExW(key.get(), name.c_str(), 0, value.type,
                                        value.data.empty() ? nullptr : value.data.data(),
                                        static_cast<DWORD>(value.data.size()));
  if (status != ERROR_SUCCESS) throw SeedError("RegSetValueExW " + WideToUtf8(name) + ": " + std::to_string(status));
  OnUndo([root, rest, name, existed, type, previous] {
    os::win32::ScopedRegistryKey k;
    if (RegOpenKeyExW(root, rest.c_str(), 0, KEY_ALL_ACCESS, k.receive()) != ERROR_SUCCESS) return;
    if (existed) {
      RegSetValueExW(k.get(), name.c_str(), 0, type, previous.empty() ? nullptr : previous.data(),
                     static_cast<DWORD>(previous.size()));
    } else {
      RegDeleteValueW(k.get(), name.c_str());
    }
  });
}

void Seeder::SeedFolder(const std::wstring& path) {
  if (path.size() <= 3) return;  // a drive root
  const DWORD attributes = GetFileAttributesW(path.c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES) return;
  SeedFolder(Parent(path));
  Require(CreateDirectoryW(path.c_str(), nullptr), "CreateDirectoryW " + WideToUtf8(path));
  OnUndo([path] {
    SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    RemoveDirectoryW(path.c_str());
  });
  Note("folder " + WideToUtf8(path));
}

void Seeder::SeedFile(const os::image::FileSpec& file) {
  SeedFolder(Parent(file.path));
  {
    os::win32::ScopedHandle<os::win32::KernelObjectTraits> h;
    HANDLE raw = CreateFileW(file.path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    Require(raw != INVALID_HANDLE_VALUE, "CreateFileW " + WideToUtf8(file.path));
    h.reset(raw);
    DWORD written = 0;
    if (!file.content.empty()) WriteFile(h.get(), file.content.data(), static_cast<DWORD>(file.content.size()), &written, nullptr);
  }
  const std::wstring path = file.path;
  OnUndo([path] {
    SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    DeleteFileW(path.c_str());
  });
  if (file.attributes) Require(SetFileAttributesW(file.path.c_str(), file.attributes), "SetFileAttributesW");
  if (file.locked) {
    HANDLE held = CreateFileW(file.path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    Require(held != INVALID_HANDLE_VALUE, "holding " + WideToUtf8(file.path) + " open");
    heldFiles_.emplace_back(held);
  }
  Note("file " + WideToUtf8(file.path));
}

void Seeder::SeedDriver(const os::image::DriverSpec& driver) {
  // The spooler copies a driver's files from where it is told they are; put
  // placeholders in its driver directory first.
  const std::wstring directory = DriverDirectory(driver.environment);
  auto placeholder = [&](const std::wstring& given, const wchar_t* fallback) {
    const std::wstring name = FileName(given.empty() ? std::wstring(fallback) : given);
    const std::wstring full = directory + L"\\" + name;
    HANDLE h = CreateFileW(full.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    Require(h != INVALID_HANDLE_VALUE, "CreateFileW " + WideToUtf8(full));
    CloseHandle(h);
    return full;
  };
  std::wstring name = driver.name, env = driver.environment;
  std::wstring driverPath = placeholder(driver.driverPath, L"tessaly-seed-driver.dll");
  std::wstring dataFile = placeholder(driver.dataFile, L"tessaly-seed.ppd");
  std::wstring configFile = placeholder(driver.configFile, L"tessaly-seed-ui.dll");
  DRIVER_INFO_2W info{};
  info.cVersion = driver.version;
  info.pName = name.data();
  info.pEnvironment = env.data();
  info.pDriverPath = driverPath.data();
  info.pDataFile = dataFile.data();
  info.pConfigFile = configFile.data();
  Require(AddPrinterDriverExW(nullptr, 2, reinterpret_cast<BYTE*>(&info), APD_COPY_NEW_FILES),
          "AddPrinterDriverExW " + WideToUtf8(name));
  const std::wstring key = L"SYSTEM\\CurrentControlSet\\Control\\Print\\Environments\\" + env + L"\\Drivers\\Version-" +
                           std::to_wstring(driver.version) + L"\\" + name;
  OnUndo([name, env, key] {
    std::wstring n = name, e = env;
    DeletePrinterDriverExW(nullptr, e.data(), n.data(), 0, 0);
    SHDeleteKeyW(HKEY_LOCAL_MACHINE, key.c_str());
  });
  if (!driver.infPath.empty()) {
    std::wstring inf = driver.infPath;
    inf.push_back(L'\0');
    SeedValue(L"HKEY_LOCAL_MACHINE\\" + key, L"InfPath",
              os::RegistryValue{REG_SZ, base::WideToUtf16Bytes(inf)});
  }
  Note("driver " + WideToUtf8(name) + " for " + WideToUtf8(env));
}

void Seeder::SeedPrinter(const os::image::PrinterSpec& printer) {
  if (!printer.serverName.empty()) throw SeedError("a connection to another server cannot be seeded: " + WideToUtf8(printer.name));
  if (!printer.jobs.empty()) throw SeedError("queued jobs cannot be seeded: " + WideToUtf8(printer.name));
  std::wstring name = printer.name, port = printer.portName, driver = printer.driverName, share = printer.shareName;
  std::wstring processor = L"winprint", datatype = L"RAW";
  PRINTER_INFO_2W info{};
  info.pPrinterName = name.data();
  info.pPortName = port.data();
  info.pDriverName = driver.data();
  info.pPrintProcessor = processor.data();
  info.pDatatype = datatype.data();
  if (!share.empty()) {
    info.pShareName = share.data();
    info.Attributes = PRINTER_ATTRIBUTE_SHARED;
  }
  HANDLE h = AddPrinterW(nullptr, 2, reinterpret_cast<BYTE*>(&info));
  Require(h != nullptr, "AddPrinterW " + WideToUtf8(name));
  ClosePrinter(h);
  const std::wstring key = L"SYSTEM\\CurrentControlSet\\Control\\Print\\Printers\\" + name;
  OnUndo([name, key] {
    std::wstring n = name;
    PRINTER_DEFAULTSW defaults{nullptr, nullptr, PRINTER_ALL_ACCESS};
    HANDLE p = nullptr;
    if (OpenPrinterW(n.data(), &p, &defaults) && p) {
      DeletePrinter(p);
      ClosePrinter(p);
    }
    SHDeleteKeyW(HKEY_LOCAL_MACHINE, key.c_str());
  });
  if (!printer.hardwareId.empty()) {
    SeedKey(L"HKEY_LOCAL_MACHINE\\" + key + L"\\PnPData");
    SeedValue(L"HKEY_LOCAL_MACHINE\\" + key + L"\\PnPData", L"HardwareID",
              os::RegistryValue{REG_SZ, base::WideToUtf16Bytes(printer.hardwareId + L'\0')});
  }
  if (!printer.media.empty()) {
    std::wstring block;
    for (const auto& m : printer.media) block += m + L'\0';
    block.push_back(L'\0');
    SeedKey(L"HKEY_LOCAL_MACHINE\\" + key + L"\\DsDriver");
    SeedValue(L"HKEY_LOCAL_MACHINE\\" + key + L"\\DsDriver", L"printMediaSupported",
              os::RegistryValue{REG_MULTI_SZ, base::WideToUtf16Bytes(block)});
  }
  Note("printer " + WideToUtf8(name));
}

void Seeder::SeedForm(const os::image::FormSpec& form) {
  if (form.flags == os::spool::kFormBuiltin) return;  // every spooler has its own
  PRINTER_DEFAULTSW defaults{nullptr, nullptr, SERVER_ALL_ACCESS};
  HANDLE server = nullptr;
  Require(OpenPrinterW(nullptr, &server, &defaults), "OpenPrinterW on the local server");
  std::wstring name = form.name;
  FORM_INFO_1W info{};
  info.Flags = FORM_USER;
  info.pName = name.data();
  info.Size = SIZEL{100000, 150000};
  info.ImageableArea = RECTL{0, 0, 100000, 150000};
  const BOOL ok = AddFormW(server, 1, reinterpret_cast<BYTE*>(&info));
  ClosePrinter(server);
  Require(ok, "AddFormW " + WideToUtf8(name));
  OnUndo([name] {
    PRINTER_DEFAULTSW d{nullptr, nullptr, SERVER_ALL_ACCESS};
    HANDLE s = nullptr;
    if (OpenPrinterW(nullptr, &s, &d) && s) {
      std::wstring n = name;
      DeleteFormW(s, n.data());
      ClosePrinter(s);
    }
  });
  Note("form " + WideToUtf8(name));
}

void Seeder::SeedService(const os::image::ServiceSpec& service) {
  const std::string what = "service " + WideToUtf8(service.name);
  if (service.state != os::svc::kRunning && service.state != os::svc::kStopped) {
    throw SeedError(what + ": only a running or a stopped service can be seeded");
  }
  if (service.hangsStopping || service.hangsStarting || service.stopError || service.startError ||
      service.stopDelayMs || service.startDelayMs) {
    throw SeedError(what + ": a real service cannot be told to hang, refuse or take its time");
  }
  const std::wstring program = HelperProgram(L"tessaly-test-service.exe");
  os::win32::ScopedServiceHandle manager(OpenSCManagerW(nullptr, nullptr, SC_MANAGER_ALL_ACCESS));
  Require(static_cast<bool>(manager), "OpenSCManagerW");
  // The service gets its own name as its argument (see the test service).
  const std::wstring command = L"\"" + program + L"\" \"" + service.name + L"\"";
  std::wstring dependencies;
  for (const auto& d : service.dependsOn) dependencies += d + L'\0';
  dependencies.push_back(L'\0');
  os::win32::ScopedServiceHandle created(CreateServiceW(
      manager.get(), service.name.c_str(), service.displayName.c_str(), SERVICE_ALL_ACCESS, SERVICE_WIN32_OWN_PROCESS,
      SERVICE_DEMAND_START, SERVICE_ERROR_IGNORE, command.c_str(), nullptr, nullptr, dependencies.c_str(), nullptr,
      nullptr));
  Require(static_cast<bool>(created), "CreateServiceW " + WideToUtf8(service.name));
  const std::wstring name = service.name;
  OnUndo([name] {
    os::win32::ScopedServiceHandle scm(OpenSCManagerW(nullptr, nullptr, SC_MANAGER_ALL_ACCESS));
    if (!scm) return;
    os::win32::ScopedServiceHandle s(OpenServiceW(scm.get(), name.c_str(), SERVICE_ALL_ACCESS));
    if (!s) return;
    SERVICE_STATUS status{};
    if (ControlService(s.get(), SERVICE_CONTROL_STOP, &status)) WaitForServiceState(s.get(), SERVICE_STOPPED);
    DeleteService(s.get());
  });
  if (service.state == os::svc::kRunning) {
    Require(StartServiceW(created.get(), 0, nullptr), "StartServiceW " + WideToUtf8(service.name));
    if (WaitForServiceState(created.get(), SERVICE_RUNNING) != SERVICE_RUNNING) {
      throw SeedError(what + " did not reach the running state");
    }
  }
  Note(what);
}

void Seeder::SeedProcess(const os::image::ProcessSpec& process) {
  const std::string what = "process " + WideToUtf8(process.exeFile);
  if (process.protectedProcess) throw SeedError(what + ": a process that refuses to end cannot be seeded");
  if (process.exeFile.empty() || process.exeFile.find_first_of(L"\\/:*?\"<>|") != std::wstring::npos) {
    throw SeedError(what + ": not a plain program name");
  }
  // Each process gets a folder of its own: names that differ only in letter
  // case would be one file in one folder.
  wchar_t temp[MAX_PATH] = {};
  Require(GetTempPathW(MAX_PATH, temp) != 0, "GetTempPathW");
  std::wstring folder;
  for (unsigned n = GetTickCount() % 100000;; ++n) {
    folder = std::wstring(temp) + L"tessaly-seed-process-" + std::to_wstring(n);
    if (CreateDirectoryW(folder.c_str(), nullptr)) break;
    Require(GetLastError() == ERROR_ALREADY_EXISTS, "CreateDirectoryW " + WideToUtf8(folder));
  }
  const std::wstring program = folder + L"\\" + process.exeFile;
  OnUndo([folder, program] {
    DeleteFileW(program.c_str());
    RemoveDirectoryW(folder.c_str());
  });
  Require(CopyFileW(HelperProgram(L"tessaly-idle.exe").c_str(), program.c_str(), TRUE),
          "CopyFileW to " + WideToUtf8(program));
  std::wstring command = L"\"" + program + L"\"";
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION info{};
  Require(CreateProcessW(program.c_str(), command.data(), nullptr, nullptr, FALSE, CREATE_NO_WINDOW, nullptr,
                         folder.c_str(), &startup, &info),
          "CreateProcessW " + WideToUtf8(program));
  CloseHandle(info.hThread);
  HANDLE running = info.hProcess;
  // The image's process id is the simulated one; a real system chooses its own.
  OnUndo([running] {
    TerminateProcess(running, 0);
    WaitForSingleObject(running, 5000);  // the file can go only once the process is gone
    CloseHandle(running);
  });
  Note(what + " (process id " + std::to_string(info.dwProcessId) + ")");
}

}  // namespace seed
