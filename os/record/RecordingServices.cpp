// Services and processes with their stops, starts and ends recorded, or in
// Plan mode only recorded. A planned request moves the service straight to
// the state it would settle in, so the engine's waits end at once.
#include "base/WideText.h"
#include "os/record/RecordingAreas.h"

namespace os::record {
namespace {

constexpr std::uint32_t kAllStates = 3;  // SERVICE_STATE_ALL

bool Active(std::uint32_t state) { return state != svc::kStopped; }

class RecordingService final : public ServiceHandle {
 public:
  RecordingService(PlanState& state, std::unique_ptr<ServiceHandle> inner, std::wstring name)
      : state_(state), inner_(std::move(inner)), name_(std::move(name)) {}

  Result<std::uint32_t> QueryState() override {
    if (state_.planning()) {
      if (auto it = state_.serviceStates.find(base::Upcase(name_)); it != state_.serviceStates.end()) {
        return Result<std::uint32_t>::Ok(it->second);
      }
    }
    return inner_->QueryState();
  }

  Status Control(std::uint32_t control) override {
    Status status = error::kSuccess;
    if (!state_.planning()) {
      status = inner_->Control(control);
    } else {
      auto now = QueryState();
      status = now.status;
      if (!now.ok()) {
      } else if (control != svc::kControlStop) {
        status = error::kInvalidParameter;
      } else if (now.value == svc::kStopped) {
        status = error::kServiceNotActive;
      } else if (now.value != svc::kRunning && now.value != svc::kPaused) {
        status = error::kServiceCannotAcceptControl;
      } else {
        auto dependents = EnumDependents(svc::kActive);
        if (dependents.ok() && !dependents.value.empty()) status = error::kDependentServicesRunning;
        else state_.serviceStates[base::Upcase(name_)] = svc::kStopped;
      }
    }
    state_.Record(L"services.Stop", name_, status);
    return status;
  }

  Status Start() override {
    Status status = error::kSuccess;
    if (!state_.planning()) {
      status = inner_->Start();
    } else {
      auto now = QueryState();
      status = now.status;
      if (now.ok() && now.value != svc::kStopped) status = error::kServiceAlreadyRunning;
      if (status == error::kSuccess) state_.serviceStates[base::Upcase(name_)] = svc::kRunning;
    }
    state_.Record(L"services.Start", name_, status);
    return status;
  }

  Result<std::vector<ServiceEntry>> EnumDependents(std::uint32_t stateFilter) override {
    if (!state_.planning() || state_.serviceStates.empty()) return inner_->EnumDependents(stateFilter);
    auto all = inner_->EnumDependents(kAllStates);
    if (!all.ok()) return all;
    std::vector<ServiceEntry> out;
    for (auto& entry : all.value) {
      if (auto it = state_.serviceStates.find(base::Upcase(entry.serviceName)); it != state_.serviceStates.end()) {
        entry.currentState = it->second;
      }
      const bool active = Active(entry.currentState);
      if ((stateFilter & svc::kActive) && !(stateFilter & 2) && !active) continue;
      if (!(stateFilter & svc::kActive) && active) continue;
      out.push_back(std::move(entry));
    }
    return Result<std::vector<ServiceEntry>>::Ok(std::move(out));
  }

 private:
  PlanState& state_;
  std::unique_ptr<ServiceHandle> inner_;
  std::wstring name_;
};

class RecordingManager final : public ServiceManager {
 public:
  RecordingManager(PlanState& state, std::unique_ptr<ServiceManager> inner) : state_(state), inner_(std::move(inner)) {}

  Result<std::unique_ptr<ServiceHandle>> Open(std::wstring_view name, std::uint32_t access) override {
    auto opened = inner_->Open(name, access);
    if (!opened.ok()) return opened;
    return Result<std::unique_ptr<ServiceHandle>>::Ok(
        std::make_unique<RecordingService>(state_, std::move(opened.value), std::wstring(name)));
  }

  Result<std::unique_ptr<ServiceDatabaseLock>> LockDatabase() override { return inner_->LockDatabase(); }

 private:
  PlanState& state_;
  std::unique_ptr<ServiceManager> inner_;
};

class RecordingServices final : public Services {
 public:
  explicit RecordingServices(PlanState& state) : state_(state) {}

  Result<std::unique_ptr<ServiceManager>> OpenManager(std::uint32_t access) override {
    auto opened = state_.inner.services.OpenManager(access);
    if (!opened.ok()) return opened;
    return Result<std::unique_ptr<ServiceManager>>::Ok(std::make_unique<RecordingManager>(state_, std::move(opened.value)));
  }

 private:
  PlanState& state_;
};

class RecordingProcesses final : public Processes {
 public:
  explicit RecordingProcesses(PlanState& state) : state_(state), inner_(state.inner.processes) {}

  Result<std::vector<ProcessEntry>> Snapshot() override {
    auto all = inner_.Snapshot();
    if (state_.planning() && all.ok()) {
      std::erase_if(all.value, [&](const ProcessEntry& p) { return state_.goneProcesses.count(p.processId) > 0; });
    }
    return all;
  }

  Status Terminate(std::uint32_t processId, std::uint32_t exitCode) override {
    // Named as the snapshot names it, looked up before it ends.
    std::wstring name = std::to_wstring(processId);
    bool found = false;
    if (auto all = Snapshot(); all.ok()) {
      for (const auto& p : all.value) {
        if (p.processId != processId) continue;
        name = p.exeFile + L" (" + name + L")";
        found = true;
      }
    }
    Status status = error::kSuccess;
    if (!state_.planning()) {
      status = inner_.Terminate(processId, exitCode);
    } else if (!found) {
      status = error::kInvalidParameter;  // what OpenProcess says of an unknown id
    } else {
      state_.goneProcesses.insert(processId);
    }
    state_.Record(L"processes.Terminate", name + L" exit " + std::to_wstring(exitCode), status);
    return status;
  }

 private:
  PlanState& state_;
  Processes& inner_;
};

}  // namespace

std::unique_ptr<Services> MakeRecordingServices(PlanState& state) { return std::make_unique<RecordingServices>(state); }
std::unique_ptr<Processes> MakeRecordingProcesses(PlanState& state) { return std::make_unique<RecordingProcesses>(state); }

}  // namespace os::record
