#pragma once
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "os/Status.h"

namespace os {

namespace svc {
inline constexpr std::uint32_t kStopped = 1;
inline constexpr std::uint32_t kStartPending = 2;
inline constexpr std::uint32_t kStopPending = 3;
inline constexpr std::uint32_t kRunning = 4;
inline constexpr std::uint32_t kContinuePending = 5;
inline constexpr std::uint32_t kPausePending = 6;
inline constexpr std::uint32_t kPaused = 7;

inline constexpr std::uint32_t kControlStop = 1;       // SERVICE_CONTROL_STOP
inline constexpr std::uint32_t kActive = 1;            // SERVICE_ACTIVE
inline constexpr std::uint32_t kManagerLock = 0x0008;  // SC_MANAGER_LOCK
inline constexpr std::uint32_t kManagerAllAccess = 0xF003F;
inline constexpr std::uint32_t kServiceAllAccess = 0xF01FF;
}  // namespace svc

struct ServiceEntry {  // ENUM_SERVICE_STATUSW
  std::wstring serviceName;
  std::wstring displayName;
  std::uint32_t currentState = 0;
};

// An open service. Destroying it closes the handle.
class ServiceHandle {
 public:
  virtual ~ServiceHandle() = default;
  // QueryServiceStatusEx(SC_STATUS_PROCESS_INFO): the current state.
  virtual Result<std::uint32_t> QueryState() = 0;
  [[nodiscard]] virtual Status Control(std::uint32_t control) = 0;
  [[nodiscard]] virtual Status Start() = 0;  // StartServiceW without arguments
  virtual Result<std::vector<ServiceEntry>> EnumDependents(std::uint32_t stateFilter) = 0;
};

// A held service-database lock. Destroying it unlocks the database.
class ServiceDatabaseLock {
 public:
  virtual ~ServiceDatabaseLock() = default;
};

// An open Service Control Manager. Destroying it closes the handle.
class ServiceManager {
 public:
  virtual ~ServiceManager() = default;
  virtual Result<std::unique_ptr<ServiceHandle>> Open(std::wstring_view name, std::uint32_t access) = 0;
  virtual Result<std::unique_ptr<ServiceDatabaseLock>> LockDatabase() = 0;
};

class Services {
 public:
  virtual ~Services() = default;
  // OpenSCManagerW on the local machine's active database.
  virtual Result<std::unique_ptr<ServiceManager>> OpenManager(std::uint32_t access) = 0;
};

}  // namespace os
