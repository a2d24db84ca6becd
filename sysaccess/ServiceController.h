#pragma once
// Stopping a service together with the services that depend on it, starting
// it again, and ending the companion job-monitoring process.
#include <cstdint>
#include <memory>
#include <string_view>

#include "os/Services.h"
#include "sysaccess/SystemAccess.h"

namespace sysaccess {

// Holds one Service Control Manager handle, opened on first use with full
// access and kept until destruction; a failed open leaves every operation
// without effect. Every wait ends at the latest 10 000 ms after its service
// was opened, polling every 100 ms while the service is pending.
class ServiceController {
 public:
  explicit ServiceController(SystemAccess& sys);
  ~ServiceController();

  void StopServiceAndWait(std::wstring_view name);
  void StopDependentServices(std::wstring_view name);
  void StartServiceAndWait(std::wstring_view name);

 private:
  SystemAccess& sys_;
  std::unique_ptr<os::ServiceManager> manager_;
  bool opened_ = false;
};

// Stops "Spooler" after its active dependents and starts it again; the
// dependents are not restarted.
void RestartSpooler(SystemAccess& sys);

// Ends the first process named exactly "Quellix.exe" (case matters); flag is
// set to 0, then to 1 when the process was ended.
void TerminateCompanionProcess(SystemAccess& sys, std::int32_t& flag);

}  // namespace sysaccess
