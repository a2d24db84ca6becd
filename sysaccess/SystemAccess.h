#pragma once
// The system access layer's state: the operating-system version record,
// filled on first use and kept for the life of the process, and the service
// controller with its Service Control Manager handle. Its spooler is the
// system's behind the fault guard. One instance per process; tests make one
// per simulated machine.
#include <memory>
#include <optional>

#include "os/System.h"
#include "sysaccess/GuardedSpooler.h"

namespace sysaccess {

class ServiceController;

class SystemAccess {
 public:
  explicit SystemAccess(os::System system);
  ~SystemAccess();
  SystemAccess(const SystemAccess&) = delete;
  SystemAccess& operator=(const SystemAccess&) = delete;

  os::System& os() { return os_; }

  // The version record; GetVersionExW runs once, on the first call. A failed
  // call leaves the record zero, which every generation test reads as "before
  // Windows Vista".
  const os::OsVersionInfo& OsVersion();
  bool IsVistaOrLater() { return OsVersion().majorVersion >= 6; }

  // The process's service controller, created on first use and kept (with
  // its Service Control Manager handle) as long as this object.
  ServiceController& Services();

 private:
  GuardedSpooler spooler_;
  os::System os_;
  std::optional<os::OsVersionInfo> version_;
  std::unique_ptr<ServiceController> services_;
};

}  // namespace sysaccess
