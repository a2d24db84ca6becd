#pragma once
// The simulated Service Control Manager. Services move through the pending
// states on the virtual clock: a stop or start request enters the pending
// state and the service settles once its delay has passed (or never, for a
// service made to hang). A service with running dependents refuses to stop.
#include <functional>
#include <string>
#include <vector>

#include "os/Services.h"
#include "os/image/MachineImage.h"
#include "os/sim/Gate.h"
#include "os/sim/SimClock.h"

namespace os::sim {

struct SimService : image::ServiceSpec {
  std::uint32_t pendingSince = 0;  // tick at which the pending state began
};

struct ServiceDatabaseState {
  bool managerAccessDenied = false;  // the user may not open the SCM for locking
  bool lockedByOther = false;        // another process holds the lock
  bool lockDenied = false;           // locking is refused with ERROR_ACCESS_DENIED
  int locksHeld = 0;
  int locksTaken = 0;
};

class SimServices final : public Services {
 public:
  SimServices(Gate& gate, SimClock& clock) : gate_(gate), clock_(clock) {}

  Result<std::unique_ptr<ServiceManager>> OpenManager(std::uint32_t access) override;

  void Add(SimService service) { services_.push_back(std::move(service)); }
  SimService* Find(std::wstring_view name);
  std::uint32_t StateOf(std::wstring_view name);  // settles pending states first
  const std::vector<SimService>& services() const { return services_; }
  ServiceDatabaseState& database() { return database_; }
  const ServiceDatabaseState& database() const { return database_; }
  void OnStarted(std::function<void(const std::wstring&)> hook) { onStarted_ = std::move(hook); }

  // Used by the handles.
  Gate& gate() { return gate_; }
  void Settle(SimService& s);
  Status Stop(SimService& s);
  Status Start(SimService& s);
  // Blocks the caller (on the virtual clock) while the service answers a
  // request; false when it did not answer in time.
  bool AwaitAnswer(SimService& s);
  std::vector<ServiceEntry> Dependents(const SimService& s, std::uint32_t filter);

 private:
  Gate& gate_;
  SimClock& clock_;
  std::vector<SimService> services_;
  ServiceDatabaseState database_;
  std::function<void(const std::wstring&)> onStarted_;
};

}  // namespace os::sim
