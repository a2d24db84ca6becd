#pragma once
// A scenario on the simulated machine: the machine an image describes, the
// access layer on top of it, the journal of what the code under test did
// (loading the image leaves no trace in it), and the machine's whole state
// printed when an assertion fails.
#include <gtest/gtest.h>

#include <functional>
#include <iostream>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "base/Utf.h"
#include "os/sim/SimMachine.h"
#include "sysaccess/SystemAccess.h"

namespace scenario {

using Lines = std::vector<std::wstring>;

class SimScenario : public ::testing::Test {
 protected:
  void TearDown() override {
    if (HasFailure() && machine_) std::cerr << machine_->Dump();
  }

  // The machine an image describes (usually starting from a "base").
  void Given(const std::string& imageJson) {
    machine_ = os::sim::SimMachine::FromImage(imageJson, "scenario");
    sys_ = std::make_unique<sysaccess::SystemAccess>(machine_->system());
    machine_->gate().ClearJournal();
    machine_->gate().ResetCounts();
  }

  os::sim::SimMachine& machine() { return *machine_; }
  sysaccess::SystemAccess& sys() { return *sys_; }

  // Every effect, "<operation> <target> -> <status>", in order.
  const Lines& Journal() const { return machine_->gate().journal(); }
  // The effects whose line contains text ("spooler.", a path, ...).
  Lines EffectsOn(const std::wstring& text) const {
    Lines out;
    for (const auto& line : Journal()) {
      if (line.find(text) != std::wstring::npos) out.push_back(line);
    }
    return out;
  }
  // The effects whose line starts with one of the prefixes ("spooler.", ...).
  std::vector<std::string> Effects(std::initializer_list<const char*> prefixes) const {
    std::vector<std::string> out;
    for (const auto& line : Journal()) {
      const std::string text = base::WideToUtf8(line);
      for (const char* p : prefixes) {
        if (text.rfind(p, 0) == 0) {
          out.push_back(text);
          break;
        }
      }
    }
    return out;
  }
  // The effects without their results: what was attempted, in order.
  Lines Attempts() const {
    Lines out;
    for (const auto& line : Journal()) out.push_back(line.substr(0, line.rfind(L" -> ")));
    return out;
  }

  bool FileExists(const std::wstring& path) const { return machine_->files().Exists(path); }
  bool KeyExists(const std::wstring& path) const { return machine_->registry().KeyExists(path); }
  bool ValueExists(const std::wstring& key, const std::wstring& name) const {
    return machine_->registry().GetValue(key, name).has_value();
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

  std::unique_ptr<os::sim::SimMachine> machine_;
  std::unique_ptr<sysaccess::SystemAccess> sys_;
};

}  // namespace scenario
