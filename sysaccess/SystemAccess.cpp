#include "sysaccess/SystemAccess.h"

namespace sysaccess {

SystemAccess::SystemAccess(os::System system) : os_(system) {}

SystemAccess::~SystemAccess() = default;

const os::OsVersionInfo& SystemAccess::OsVersion() {
  if (!version_) {
    auto result = os_.environment.Version();
    version_ = result.ok() ? result.value : os::OsVersionInfo{};
  }
  return *version_;
}

}  // namespace sysaccess
