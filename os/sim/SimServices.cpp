#include "os/sim/SimServices.h"

#include <algorithm>
#include <functional>

#include "base/WideText.h"

namespace os::sim {
namespace {


class SimServiceHandle final : public ServiceHandle {
 public:
  SimServiceHandle(SimServices& scm, std::wstring name) : scm_(scm), name_(std::move(name)) {}

  Result<std::uint32_t> QueryState() override {
    if (auto e = scm_.gate().Enter(Op::ServicesQueryState, name_)) return Result<std::uint32_t>::Fail(*e);
    SimService* s = scm_.Find(name_);
    if (!s) return Result<std::uint32_t>::Fail(error::kInvalidHandle);
    scm_.Settle(*s);
    return Result<std::uint32_t>::Ok(s->state);
  }

  Status Control(std::uint32_t control) override {
    Status status = 0;
    if (auto e = scm_.gate().Enter(Op::ServicesControl, name_)) status = *e;
    else if (SimService* s = scm_.Find(name_); !s) status = error::kInvalidHandle;
    else if (control != svc::kControlStop) status = error::kInvalidParameter;
    else status = scm_.Stop(*s);
    scm_.gate().RecordEffect(L"services.Stop", name_, status);
    return status;
  }

  Status Start() override {
    Status status = 0;
    if (auto e = scm_.gate().Enter(Op::ServicesStart, name_)) status = *e;
    else if (SimService* s = scm_.Find(name_); !s) status = error::kInvalidHandle;
    else status = scm_.Start(*s);
    scm_.gate().RecordEffect(L"services.Start", name_, status);
    return status;
  }

  Result<std::vector<ServiceEntry>> EnumDependents(std::uint32_t filter) override {
    using R = Result<std::vector<ServiceEntry>>;
    if (auto e = scm_.gate().Enter(Op::ServicesEnumDependents, name_)) return R::Fail(*e);
    SimService* s = scm_.Find(name_);
    if (!s) return R::Fail(error::kInvalidHandle);
    return R::Ok(scm_.Dependents(*s, filter));
  }

 private:
  SimServices& scm_;
  std::wstring name_;
};

class SimLock final : public ServiceDatabaseLock {
 public:
  explicit SimLock(SimServices& scm) : scm_(scm) {
    ++scm_.database().locksHeld;
    ++scm_.database().locksTaken;
  }
  ~SimLock() override { --scm_.database().locksHeld; }

 private:
  SimServices& scm_;
};

class SimManager final : public ServiceManager {
 public:
  explicit SimManager(SimServices& scm) : scm_(scm) {}

  Result<std::unique_ptr<ServiceHandle>> Open(std::wstring_view name, std::uint32_t /*access*/) override {
    using R = Result<std::unique_ptr<ServiceHandle>>;
    if (auto e = scm_.gate().Enter(Op::ServicesOpen, name)) return R::Fail(*e);
    SimService* s = scm_.Find(name);
    if (!s) return R::Fail(error::kServiceDoesNotExist);
    return R::Ok(std::make_unique<SimServiceHandle>(scm_, s->name));
  }

  Result<std::unique_ptr<ServiceDatabaseLock>> LockDatabase() override {
    using R = Result<std::unique_ptr<ServiceDatabaseLock>>;
    if (auto e = scm_.gate().Enter(Op::ServicesLockDatabase, L"")) return R::Fail(*e);
    auto& db = scm_.database();
    if (db.lockDenied) return R::Fail(error::kAccessDenied);
    if (db.lockedByOther || db.locksHeld > 0) return R::Fail(error::kServiceDatabaseLocked);
    return R::Ok(std::make_unique<SimLock>(scm_));
  }

 private:
  SimServices& scm_;
};

}  // namespace

Result<std::unique_ptr<ServiceManager>> SimServices::OpenManager(std::uint32_t access) {
  using R = Result<std::unique_ptr<ServiceManager>>;
  if (auto e = gate_.Enter(Op::ServicesOpenManager, L"")) return R::Fail(*e);
  if (database_.managerAccessDenied && (access & svc::kManagerLock)) return R::Fail(error::kAccessDenied);
  return R::Ok(std::make_unique<SimManager>(*this));
}

SimService* SimServices::Find(std::wstring_view name) {
  for (auto& s : services_) {
    if (base::EqualsIgnoreCase(s.name, name)) return &s;
  }
  return nullptr;
}

std::uint32_t SimServices::StateOf(std::wstring_view name) {
  SimService* s = Find(name);
  if (!s) return 0;
  Settle(*s);
  return s->state;
}

void SimServices::Settle(SimService& s) {
  const std::uint32_t elapsed = clock_.now() - s.pendingSince;
  if (s.state == svc::kStopPending && !s.hangsStopping && elapsed >= s.stopDelayMs) {
    s.state = svc::kStopped;
  } else if (s.state == svc::kStartPending && !s.hangsStarting && elapsed >= s.startDelayMs) {
    s.state = svc::kRunning;
    if (onStarted_) onStarted_(s.name);
  }
}

bool SimServices::AwaitAnswer(SimService& s) {
  // The service control manager hands the request to the service and blocks
  // the caller until the service answers, for at most 30 seconds; a service
  // slower than that leaves the request unanswered (1053).
  constexpr std::uint32_t kAnswerLimitMs = 30'000;
  clock_.Advance(std::min(s.answerDelayMs, kAnswerLimitMs));
  return s.answerDelayMs <= kAnswerLimitMs;
}

Status SimServices::Stop(SimService& s) {
  Settle(s);
  if (s.stopError) return s.stopError;
  if (s.state == svc::kStopped) return error::kServiceNotActive;
  if (s.state != svc::kRunning && s.state != svc::kPaused) return error::kServiceCannotAcceptControl;
  if (!Dependents(s, svc::kActive).empty()) return error::kDependentServicesRunning;
  if (!AwaitAnswer(s)) return error::kServiceRequestTimeout;
  s.state = svc::kStopPending;
  s.pendingSince = clock_.now();
  Settle(s);
  return error::kSuccess;
}

Status SimServices::Start(SimService& s) {
  Settle(s);
  if (s.startError) return s.startError;
  if (s.state != svc::kStopped) return error::kServiceAlreadyRunning;
  // The SCM starts what a service depends on first.
  for (const auto& dep : s.dependsOn) {
    if (SimService* d = Find(dep); d && StateOf(dep) == svc::kStopped) {
      if (const Status st = Start(*d)) return st;
    }
  }
  if (!AwaitAnswer(s)) return error::kServiceRequestTimeout;
  s.state = svc::kStartPending;
  s.pendingSince = clock_.now();
  Settle(s);
  return error::kSuccess;
}

std::vector<ServiceEntry> SimServices::Dependents(const SimService& s, std::uint32_t filter) {
  // Every service that needs this one, directly or through others, in the
  // order they must be stopped (the reverse of their start order): each
  // dependent comes after its own dependents. Direct dependents are taken
  // most recently declared first. A service is listed once, and the service
  // asked about never, even in a (broken) dependency cycle.
  std::vector<ServiceEntry> out;
  std::vector<std::wstring> seen{s.name};
  const auto isSeen = [&](const std::wstring& name) {
    for (const auto& n : seen) {
      if (base::EqualsIgnoreCase(n, name)) return true;
    }
    return false;
  };
  std::function<void(const std::wstring&)> collect = [&](const std::wstring& of) {
    for (auto it = services_.rbegin(); it != services_.rend(); ++it) {
      bool depends = false;
      for (const auto& d : it->dependsOn) depends = depends || base::EqualsIgnoreCase(d, of);
      if (!depends || isSeen(it->name)) continue;
      seen.push_back(it->name);
      SimService& current = *it;  // the list does not change while it is walked
      collect(current.name);
      Settle(current);
      const bool active = current.state != svc::kStopped;
      if ((filter & svc::kActive) && !active && !(filter & 2)) continue;
      if (!(filter & svc::kActive) && active) continue;
      out.push_back(ServiceEntry{current.name, current.displayName, current.state});
    }
  };
  collect(s.name);
  return out;
}

}  // namespace os::sim
