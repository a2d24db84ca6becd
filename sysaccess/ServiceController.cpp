#include "sysaccess/ServiceController.h"

namespace sysaccess {
namespace {

constexpr std::uint32_t kWaitLimitMs = 10'000;
constexpr std::uint32_t kPollMs = 100;

}  // namespace

ServiceController::ServiceController(SystemAccess& sys) : sys_(sys) {}

ServiceController::~ServiceController() = default;

os::ServiceManager* ServiceController::Manager() {
  // One attempt per process: a manager that could not be opened stays closed.
  if (!opened_) {
    opened_ = true;
    auto opened = sys_.os().services.OpenManager(os::svc::kManagerAllAccess);
    if (opened.ok()) manager_ = std::move(opened.value);
  }
  return manager_.get();
}

void ServiceController::StopServiceAndWait(std::wstring_view name) {
  StopDependentServices(name);
  RequestAndWait(name, Request::Stop);
}

void ServiceController::StartServiceAndWait(std::wstring_view name) { RequestAndWait(name, Request::Start); }

void ServiceController::StopDependentServices(std::wstring_view name) {
  os::ServiceManager* manager = Manager();
  if (!manager) return;
  auto service = manager->Open(name, os::svc::kServiceAllAccess);
  if (!service.ok()) return;
  // EnumDependentServicesW lists the dependents of the dependents too, in
  // the order they must be stopped (the reverse of their start order), so
  // each is stopped once, in that order, and nothing is asked again: asking
  // a dependent for its own dependents would list one still stopping after
  // its wait and wait for it a second time.
  auto dependents = service.value->EnumDependents(os::svc::kActive);
  if (!dependents.ok()) return;
  for (const auto& dependent : dependents.value) RequestAndWait(dependent.serviceName, Request::Stop);
}

void ServiceController::RequestAndWait(std::wstring_view name, Request request) {
  os::ServiceManager* manager = Manager();
  if (!manager) return;
  auto opened = manager->Open(name, os::svc::kServiceAllAccess);
  if (!opened.ok()) return;
  os::ServiceHandle& service = *opened.value;
  auto& clock = sys_.os().clock;

  const std::uint32_t settled = request == Request::Stop ? os::svc::kRunning : os::svc::kStopped;
  const std::uint32_t pending = request == Request::Stop ? os::svc::kStopPending : os::svc::kStartPending;
  std::uint32_t since = clock.TickCount();
  bool requested = false;
  for (;;) {
    auto state = service.QueryState();
    if (!state.ok()) break;
    if (state.value == settled && !requested) {
      requested = true;
      // ControlService and StartServiceW block until the service answers,
      // up to 30 s: the wait for the service to settle starts once it has
      // answered, or a slow answer would use it all up and the Spooler
      // would be left stopping, never started again by this run.
      const os::Status sent = request == Request::Stop ? service.Control(os::svc::kControlStop) : service.Start();
      // A refused request leaves the service where it is: nothing will move it.
      if (sent != os::error::kSuccess) break;
      since = clock.TickCount();
      continue;  // the new state at once, without a pause
    }
    // Pending, or an accepted request the service has not acted on yet.
    if (state.value != pending && state.value != settled) break;
    // Unsigned difference: a wrap of the tick counter does no harm.
    const bool limitReached = static_cast<std::uint32_t>(clock.TickCount() - since) > kWaitLimitMs;
    clock.Sleep(kPollMs);
    if (limitReached) break;
  }
}

bool ServiceController::IsRunning(std::wstring_view name) {
  os::ServiceManager* manager = Manager();
  if (!manager) return false;
  auto opened = manager->Open(name, os::svc::kServiceAllAccess);
  if (!opened.ok()) return false;
  auto state = opened.value->QueryState();
  return state.ok() && state.value == os::svc::kRunning;
}

void ServiceController::StartAgain(std::wstring_view name) {
  os::ServiceManager* manager = Manager();
  if (!manager) return;
  auto opened = manager->Open(name, os::svc::kServiceAllAccess);
  if (!opened.ok()) return;
  auto& clock = sys_.os().clock;
  const std::uint32_t since = clock.TickCount();
  for (;;) {
    auto state = opened.value->QueryState();
    if (!state.ok() || state.value == os::svc::kRunning || state.value == os::svc::kStartPending) return;
    if (state.value != os::svc::kStopPending) break;
    const bool limitReached = static_cast<std::uint32_t>(clock.TickCount() - since) > kWaitLimitMs;
    clock.Sleep(kPollMs);
    if (limitReached) return;  // still stopping: a start now would be refused
  }
  RequestAndWait(name, Request::Start);
}

SpoolerLeftRunning::SpoolerLeftRunning(SystemAccess& sys) : sys_(sys) {
  wasRunning_ = sys_.Services().IsRunning(L"Spooler");
}

SpoolerLeftRunning::~SpoolerLeftRunning() {
  if (!wasRunning_) return;
  // A destructor may run while an exception is on its way: nothing may leave it.
  try {
    sys_.Services().StartAgain(L"Spooler");
  } catch (...) {
  }
}

void RestartSpooler(SystemAccess& sys) {
  ServiceController& services = sys.Services();
  services.StopServiceAndWait(L"Spooler");
  services.StartServiceAndWait(L"Spooler");
}

}  // namespace sysaccess
