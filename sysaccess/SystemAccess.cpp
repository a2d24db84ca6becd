#include "sysaccess/SystemAccess.h"

#include "sysaccess/ServiceController.h"

namespace sysaccess {

SystemAccess::SystemAccess(os::System system)
    : spooler_(system.spooler),
      os_{system.registry,    spooler_,     system.services, system.files, system.processes,
          system.environment, system.clock, system.prompts,  system.faults} {}

SystemAccess::~SystemAccess() = default;

const os::OsVersionInfo& SystemAccess::OsVersion() {
  if (!version_) {
    auto result = os_.environment.Version();
    version_ = result.ok() ? result.value : os::OsVersionInfo{};
  }
  return *version_;
}

ServiceController& SystemAccess::Services() {
  if (!services_) services_ = std::make_unique<ServiceController>(*this);
  return *services_;
}

}  // namespace sysaccess
