#pragma once
#include <string>
#include <vector>

#include "os/Processes.h"
#include "os/image/MachineImage.h"
#include "os/sim/Gate.h"

namespace os::sim {

using SimProcess = image::ProcessSpec;

class SimProcesses final : public Processes {
 public:
  explicit SimProcesses(Gate& gate) : gate_(gate) {}

  Result<std::vector<ProcessEntry>> Snapshot() override {
    using R = Result<std::vector<ProcessEntry>>;
    if (auto e = gate_.Enter(Op::ProcessesSnapshot, L"")) return R::Fail(*e);
    std::vector<ProcessEntry> out;
    for (const auto& p : processes_) out.push_back(ProcessEntry{p.processId, p.exeFile});
    return R::Ok(std::move(out));
  }

  Status Terminate(std::uint32_t processId, std::uint32_t exitCode) override {
    Status status = 0;
    std::wstring name = std::to_wstring(processId);
    if (auto e = gate_.Enter(Op::ProcessesTerminate, name)) {
      status = *e;
    } else {
      status = error::kInvalidParameter;  // what OpenProcess says of an unknown id
      for (auto it = processes_.begin(); it != processes_.end(); ++it) {
        if (it->processId != processId) continue;
        name = it->exeFile + L" (" + name + L")";
        if (it->protectedProcess) {
          status = error::kAccessDenied;
        } else {
          processes_.erase(it);
          status = error::kSuccess;
        }
        break;
      }
    }
    gate_.Record(L"processes.Terminate " + name + L" exit " + std::to_wstring(exitCode) + L" -> " +
                 std::to_wstring(status));
    return status;
  }

  void Add(SimProcess p) { processes_.push_back(std::move(p)); }
  const std::vector<SimProcess>& processes() const { return processes_; }

 private:
  Gate& gate_;
  std::vector<SimProcess> processes_;
};

}  // namespace os::sim
