#pragma once
// Stopping a service together with the services that depend on it, starting
// it again, and ending the companion job-monitoring process.
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "os/Services.h"
#include "sysaccess/SystemAccess.h"

namespace sysaccess {

// Holds one Service Control Manager handle, opened on first use with full
// access and kept until destruction; a failed open is not retried and leaves
// every operation without effect. A wait polls every 100 ms while the service
// is pending, or has accepted the request without acting on it yet, and ends
// after the first pause taken once 10 000 ms have passed since the service
// answered the request (since it was opened, when it was pending already);
// the request itself may block up to 30 s. A refused request ends the wait
// at once: nothing else will move the service.
class ServiceController {
 public:
  explicit ServiceController(SystemAccess& sys);
  ~ServiceController();

  void StopServiceAndWait(std::wstring_view name);
  void StopDependentServices(std::wstring_view name);
  void StartServiceAndWait(std::wstring_view name);

  // Whether the service is running now; false when it cannot be asked.
  bool IsRunning(std::wstring_view name);
  // Brings a service back to running from wherever a run left it: a stop
  // still pending (one slower than the stop wait) is waited for, within the
  // same limit, and the service is then started and waited for.
  void StartAgain(std::wstring_view name);

 private:
  enum class Request { Stop, Start };
  os::ServiceManager* Manager();
  void RequestAndWait(std::wstring_view name, Request request);

  SystemAccess& sys_;
  std::unique_ptr<os::ServiceManager> manager_;
  bool opened_ = false;
};

// Stops "Spooler" after its active dependents and starts it again; the
// dependents are not restarted.
void RestartSpooler(SystemAccess& sys);

// Notes whether "Spooler" runs when a run begins and, however the run ends
// (a refused or failed start, a slow stop, an exception thrown through it),
// starts it again on the way out if it ran and no longer does.
class SpoolerLeftRunning {
 public:
  explicit SpoolerLeftRunning(SystemAccess& sys);
  ~SpoolerLeftRunning();
  SpoolerLeftRunning(const SpoolerLeftRunning&) = delete;
  SpoolerLeftRunning& operator=(const SpoolerLeftRunning&) = delete;

 private:
  SystemAccess& sys_;
  bool wasRunning_ = false;
};

// Ends the first process named exactly "Quellix.exe" (case matters); true
// when that process was ended.
bool TerminateCompanionProcess(SystemAccess& sys);

}  // namespace sysaccess
