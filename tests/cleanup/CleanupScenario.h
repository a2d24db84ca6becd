#pragma once
// A simulated workstation for the cleanup scenarios: the "workstation" base
// image plus what a case adds, the system access layer on top, and the
// journal of effects. A failing case prints the whole machine.
#include <gtest/gtest.h>

#include <iostream>
#include <memory>
#include <string>
#include <vector>

#include "os/sim/SimMachine.h"
#include "sysaccess/SystemAccess.h"

namespace cleanup::testing {

class CleanupScenario : public ::testing::Test {
 protected:
  // Loads an image (it names its own base) and forgets what loading did.
  void Load(const std::string& imageJson) {
    machine_ = os::sim::SimMachine::FromImage(imageJson);
    sys_ = std::make_unique<sysaccess::SystemAccess>(machine_->system());
    machine_->gate().ClearJournal();
    machine_->gate().ResetCounts();
  }
  void TearDown() override {
    if (HasFailure() && machine_) std::cerr << machine_->Dump();
  }

  os::sim::SimMachine& machine() { return *machine_; }
  sysaccess::SystemAccess& sys() { return *sys_; }

  // Every effect, "<operation> <target> -> <status>", in order.
  const std::vector<std::wstring>& Journal() const { return machine_->gate().journal(); }
  // The effects without their results: what was attempted, in order.
  std::vector<std::wstring> Attempts() const {
    std::vector<std::wstring> out;
    for (const auto& line : Journal()) out.push_back(line.substr(0, line.rfind(L" -> ")));
    return out;
  }
  // The effects whose line contains a text.
  std::vector<std::wstring> EffectsOn(const std::wstring& text) const {
    std::vector<std::wstring> out;
    for (const auto& line : Journal()) {
      if (line.find(text) != std::wstring::npos) out.push_back(line);
    }
    return out;
  }

  bool FileExists(const std::wstring& path) const { return machine_->files().Exists(path); }
  bool KeyExists(const std::wstring& path) const { return machine_->registry().KeyExists(path); }
  bool ValueExists(const std::wstring& key, const std::wstring& name) const {
    return machine_->registry().GetValue(key, name).has_value();
  }

 private:
  std::unique_ptr<os::sim::SimMachine> machine_;
  std::unique_ptr<sysaccess::SystemAccess> sys_;
};

}  // namespace cleanup::testing
