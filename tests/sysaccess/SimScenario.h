#pragma once
// A scenario on the simulated machine: the machine an image describes, the
// access layer on top of it, and the machine's whole state printed when an
// assertion fails.
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "os/sim/SimMachine.h"
#include "sysaccess/SystemAccess.h"

namespace scenario {

class SimScenario : public ::testing::Test {
 protected:
  void TearDown() override {
    if (HasFailure() && machine_) std::cerr << machine_->Dump();
  }

  // The machine an image describes (usually starting from a "base").
  void Given(const std::string& imageJson) {
    machine_ = os::sim::SimMachine::FromImage(imageJson, "scenario");
    sys_ = std::make_unique<sysaccess::SystemAccess>(machine_->system());
  }

  os::sim::SimMachine& machine() { return *machine_; }
  sysaccess::SystemAccess& sys() { return *sys_; }

  // The journal lines that begin with prefix ("spooler.", "services.", ...).
  std::vector<std::wstring> Journal(const std::wstring& prefix) const {
    std::vector<std::wstring> out;
    for (const auto& line : machine_->gate().journal()) {
      if (line.rfind(prefix, 0) == 0) out.push_back(line);
    }
    return out;
  }

  // Runs work on a thread of its own that installed the fault translator, as
  // the deletion worker's thread does: a simulated fault then arrives as a
  // CSE there and not in the test's thread.
  void OnWorkerThread(const std::function<void()>& work) {
    std::thread worker([&] {
      machine_->system().faults.InstallTranslatorOnThisThread();
      work();
    });
    worker.join();
  }

 private:
  std::unique_ptr<os::sim::SimMachine> machine_;
  std::unique_ptr<sysaccess::SystemAccess> sys_;
};

using Lines = std::vector<std::wstring>;

}  // namespace scenario
