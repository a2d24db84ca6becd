#pragma once
// One conformance suite, two machines: natively it runs against the simulated
// machine, under Wine against the real Win32 implementation. A test describes
// the state it needs as a machine image, checks through os::System, and names
// every gap of the real system as a skip with its reason.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "os/System.h"

namespace contract {

class ContractMachine {
 public:
  virtual ~ContractMachine() = default;
  virtual os::System system() = 0;
  // Adds the state an image describes; a Win32 machine undoes it at the end.
  virtual void Seed(const std::string& imageJson) = 0;
  // A variable of the environment the program expands with.
  virtual std::wstring Variable(const std::wstring& name) = 0;
  // What a failing assertion shows of the machine.
  virtual std::string Describe() = 0;
  virtual bool IsWine() const = 0;
  // Whether the machine's whole printing data may be swept: the simulated
  // machine and a Wine prefix made for the test run, never a real Windows.
  virtual bool Disposable() const = 0;
};

// Defined by each backend.
std::unique_ptr<ContractMachine> MakeContractMachine();

class Contract : public ::testing::Test {
 protected:
  void SetUp() override { machine_ = MakeContractMachine(); }
  void TearDown() override {
    if (HasFailure()) std::cerr << machine_->Describe() << "\n";
    machine_.reset();
  }
  ContractMachine& machine() { return *machine_; }
  os::System sys() { return machine_->system(); }

 private:
  std::unique_ptr<ContractMachine> machine_;
};

}  // namespace contract

// A delete-all sweep takes the printing data of the whole machine, not only
// what a case seeds.
#define SKIP_UNLESS_DISPOSABLE()                                                           \
  do {                                                                                     \
    if (!machine().Disposable())                                                           \
      GTEST_SKIP() << "Not Wine: a sweep would remove this machine's own printing data"; \
  } while (0)

// A behaviour the real system under Wine lacks: the case is skipped there, by
// name and with its reason, and still runs on the simulated machine.
#define SKIP_ON_WINE(reason)                              \
  do {                                                    \
    if (machine().IsWine()) GTEST_SKIP() << "Wine: " << reason; \
  } while (0)
