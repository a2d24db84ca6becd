#include <string>
#include <vector>

#include "os/win32/ScopedHandle.h"
#include "os/win32/Win32System.h"

namespace os::win32 {
namespace {

class Win32ServiceHandle final : public ServiceHandle {
 public:
  explicit Win32ServiceHandle(SC_HANDLE h) : service_(h) {}

  Result<std::uint32_t> QueryState() override {
    SERVICE_STATUS_PROCESS status{};
    DWORD needed = 0;
    if (!QueryServiceStatusEx(service_.get(), SC_STATUS_PROCESS_INFO, reinterpret_cast<BYTE*>(&status), sizeof status,
                              &needed)) {
      return Result<std::uint32_t>::Fail(GetLastError());
    }
    return Result<std::uint32_t>::Ok(status.dwCurrentState);
  }

  Status Control(std::uint32_t control) override {
    SERVICE_STATUS status{};
    return ControlService(service_.get(), control, &status) ? error::kSuccess : GetLastError();
  }

  Status Start() override { return StartServiceW(service_.get(), 0, nullptr) ? error::kSuccess : GetLastError(); }

  Result<std::vector<ServiceEntry>> EnumDependents(std::uint32_t stateFilter) override {
    using R = Result<std::vector<ServiceEntry>>;
    DWORD needed = 0;
    DWORD count = 0;
    // Without a buffer the call succeeds exactly when there is nothing to list.
    if (EnumDependentServicesW(service_.get(), stateFilter, nullptr, 0, &needed, &count)) return R::Ok({});
    const DWORD error = GetLastError();
    if (error != ERROR_MORE_DATA) return R::Fail(error);
    std::vector<std::uint8_t> buffer(needed);
    auto* entries = reinterpret_cast<ENUM_SERVICE_STATUSW*>(buffer.data());
    if (!EnumDependentServicesW(service_.get(), stateFilter, entries, needed, &needed, &count)) {
      return R::Fail(GetLastError());
    }
    std::vector<ServiceEntry> out;
    for (DWORD i = 0; i < count; ++i) {
      out.push_back(ServiceEntry{entries[i].lpServiceName ? entries[i].lpServiceName : L"",
                                 entries[i].lpDisplayName ? entries[i].lpDisplayName : L"",
                                 entries[i].ServiceStatus.dwCurrentState});
    }
    return R::Ok(std::move(out));
  }

 private:
  ScopedServiceHandle service_;
};

class Win32DatabaseLock final : public ServiceDatabaseLock {
 public:
  explicit Win32DatabaseLock(SC_LOCK lock) : lock_(lock) {}

 private:
  ScopedServiceLock lock_;
};

class Win32ServiceManager final : public ServiceManager {
 public:
  explicit Win32ServiceManager(SC_HANDLE h) : manager_(h) {}

  Result<std::unique_ptr<ServiceHandle>> Open(std::wstring_view name, std::uint32_t access) override {
    using R = Result<std::unique_ptr<ServiceHandle>>;
    SC_HANDLE h = OpenServiceW(manager_.get(), std::wstring(name).c_str(), access);
    if (!h) return R::Fail(GetLastError());
    return R::Ok(std::make_unique<Win32ServiceHandle>(h));
  }

  Result<std::unique_ptr<ServiceDatabaseLock>> LockDatabase() override {
    using R = Result<std::unique_ptr<ServiceDatabaseLock>>;
    SC_LOCK lock = LockServiceDatabase(manager_.get());
    if (!lock) return R::Fail(GetLastError());
    return R::Ok(std::make_unique<Win32DatabaseLock>(lock));
  }

 private:
  ScopedServiceHandle manager_;
};

class Win32Services final : public Services {
 public:
  Result<std::unique_ptr<ServiceManager>> OpenManager(std::uint32_t access) override {
    using R = Result<std::unique_ptr<ServiceManager>>;
    SC_HANDLE h = OpenSCManagerW(nullptr, nullptr, access);
    if (!h) return R::Fail(GetLastError());
    return R::Ok(std::make_unique<Win32ServiceManager>(h));
  }
};

}  // namespace

Services& TheServices() {
  static Win32Services services;
  return services;
}

}  // namespace os::win32
