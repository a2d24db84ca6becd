#include <string>
#include <vector>

#include "os/win32/ScopedHandle.h"
#include "os/win32/StructuredExceptions.h"
#include "os/win32/TwoCall.h"
#include "os/win32/Win32System.h"

namespace os::win32 {
namespace {

// Every spooler call runs translating faults: on a thread that installed the
// translator a fault inside the spooler arrives as a CSE.
template <class F>
Status Guarded(F&& call) {
  BOOL ok = FALSE;
  CallTranslatingFaults([&] { ok = call(); });
  if (ok) return error::kSuccess;
  // Some spoolers fail without setting an error code (Wine's driver deletion
  // for a driver that is not installed): that must not read as success.
  const DWORD code = GetLastError();
  return code ? code : error::kUnidentifiedError;
}

class Win32PrinterHandle final : public PrinterHandle {
 public:
  explicit Win32PrinterHandle(HANDLE h) : printer_(h) {}

  Result<std::vector<FormInfo>> Forms() override {
    TwoCallResult r;
    CallTranslatingFaults([&] {
      r = EnumerateInTwoCalls([&](BYTE* buf, DWORD size, DWORD* needed, DWORD* returned) {
        return EnumFormsW(printer_.get(), 1, buf, size, needed, returned);
      });
    });
    std::vector<FormInfo> forms;
    for (DWORD i = 0; i < r.count; ++i) {
      const auto& f = r.entries<FORM_INFO_1W>()[i];
      forms.push_back(FormInfo{f.Flags, Text(f.pName)});
    }
    return Result<std::vector<FormInfo>>{r.status, std::move(forms)};
  }

  Result<std::vector<std::uint32_t>> Jobs(std::uint32_t firstJob, std::uint32_t count) override {
    TwoCallResult r;
    CallTranslatingFaults([&] {
      r = EnumerateInTwoCalls([&](BYTE* buf, DWORD size, DWORD* needed, DWORD* returned) {
        return EnumJobsW(printer_.get(), firstJob, count, 3, buf, size, needed, returned);
      });
    });
    std::vector<std::uint32_t> jobs;
    for (DWORD i = 0; i < r.count; ++i) jobs.push_back(r.entries<JOB_INFO_3>()[i].JobId);
    return Result<std::vector<std::uint32_t>>{r.status, std::move(jobs)};
  }

  Status RemoveForm(std::wstring_view formName) override {
    const std::wstring name(formName);
    return Guarded([&] { return DeleteFormW(printer_.get(), const_cast<wchar_t*>(name.c_str())); });
  }

  Status Delete() override {
    return Guarded([&] { return DeletePrinter(printer_.get()); });
  }

 private:
  ScopedPrinter printer_;
};

class Win32Spooler final : public Spooler {
 public:
  Result<std::vector<PrinterInfo>> Printers(std::uint32_t flags) override {
    TwoCallResult r;
    CallTranslatingFaults([&] {
      r = EnumerateInTwoCalls([&](BYTE* buf, DWORD size, DWORD* needed, DWORD* returned) {
        return EnumPrintersW(flags, nullptr, 2, buf, size, needed, returned);
      });
    });
    std::vector<PrinterInfo> printers;
    for (DWORD i = 0; i < r.count; ++i) {
      const auto& p = r.entries<PRINTER_INFO_2W>()[i];
      printers.push_back(PrinterInfo{Text(p.pServerName), Text(p.pPrinterName), Text(p.pShareName),
                                     Text(p.pPortName), Text(p.pDriverName), p.Status});
    }
    return Result<std::vector<PrinterInfo>>{r.status, std::move(printers)};
  }

  Result<std::vector<DriverInfo>> Drivers(std::wstring_view environment) override {
    std::wstring env(environment);
    TwoCallResult r;
    CallTranslatingFaults([&] {
      r = EnumerateInTwoCalls([&](BYTE* buf, DWORD size, DWORD* needed, DWORD* returned) {
        return EnumPrinterDriversW(nullptr, env.data(), 2, buf, size, needed, returned);
      });
    });
    std::vector<DriverInfo> drivers;
    for (DWORD i = 0; i < r.count; ++i) {
      const auto& d = r.entries<DRIVER_INFO_2W>()[i];
      drivers.push_back(DriverInfo{d.cVersion, Text(d.pName), Text(d.pEnvironment), Text(d.pDriverPath),
                                   Text(d.pDataFile), Text(d.pConfigFile)});
    }
    return Result<std::vector<DriverInfo>>{r.status, std::move(drivers)};
  }

  Result<std::unique_ptr<PrinterHandle>> Open(std::wstring_view name, std::uint32_t access) override {
    using R = Result<std::unique_ptr<PrinterHandle>>;
    std::wstring n(name);
    PRINTER_DEFAULTSW defaults{nullptr, nullptr, access};
    HANDLE h = nullptr;
    const Status status = Guarded([&] { return OpenPrinterW(n.data(), &h, &defaults); });
    if (status != error::kSuccess || !h) return R::Fail(status ? status : error::kInvalidHandle);
    return R::Ok(std::make_unique<Win32PrinterHandle>(h));
  }

  Status DeleteConnection(std::wstring_view name) override {
    std::wstring n(name);
    return Guarded([&] { return DeletePrinterConnectionW(n.data()); });
  }

  Status DeleteDriver(std::wstring_view environment, std::wstring_view driverName, std::uint32_t deleteFlag,
                      std::uint32_t versionFlag) override {
    std::wstring env(environment), name(driverName);
    return Guarded(
        [&] { return DeletePrinterDriverExW(nullptr, env.data(), name.data(), deleteFlag, versionFlag); });
  }

  using DeletePackageFn = HRESULT(WINAPI*)(LPCWSTR, LPCWSTR, LPCWSTR);
  static DeletePackageFn DeletePackageEntry() {
    // Looked up at run time: the export exists only from Windows Vista on.
    // The module stays loaded, as the spooler library does anyway.
    static const DeletePackageFn deletePackage = [] {
      HMODULE spool = LoadLibraryW(L"WinSpool.drv");
      return spool ? reinterpret_cast<DeletePackageFn>(
                         reinterpret_cast<void*>(GetProcAddress(spool, "DeletePrinterDriverPackageW")))
                   : nullptr;
    }();
    return deletePackage;
  }

  bool HasDriverPackageEntry() override { return DeletePackageEntry() != nullptr; }

  Status DeleteDriverPackage(std::wstring_view infPath, std::wstring_view environment) override {
    const DeletePackageFn deletePackage = DeletePackageEntry();
    if (!deletePackage) return error::kProcNotFound;
    const std::wstring inf(infPath), env(environment);
    HRESULT hr = S_OK;
    CallTranslatingFaults([&] { hr = deletePackage(nullptr, inf.c_str(), env.c_str()); });
    if (SUCCEEDED(hr)) return error::kSuccess;
    return HRESULT_FACILITY(hr) == FACILITY_WIN32 ? HRESULT_CODE(hr) : static_cast<Status>(hr);
  }
};

}  // namespace

Spooler& TheSpooler() {
  static Win32Spooler spooler;
  return spooler;
}

}  // namespace os::win32
