#include "os/sim/SimMachine.h"
#include "tests/contract/ContractMachine.h"

namespace contract {
namespace {

class SimContractMachine final : public ContractMachine {
 public:
  SimContractMachine() : machine_(os::sim::SimMachine::FromImage(R"({"base": "workstation"})")) {}
  os::System system() override { return machine_->system(); }
  void Seed(const std::string& imageJson) override { machine_->Apply(imageJson, "seed"); }
  std::wstring Variable(const std::wstring& name) override {
    const std::wstring* v = machine_->environment().Variable(name);
    return v ? *v : std::wstring();
  }
  std::string Describe() override { return machine_->Dump(); }
  bool IsWine() const override { return false; }
  bool Disposable() const override { return true; }

 private:
  std::unique_ptr<os::sim::SimMachine> machine_;
};

}  // namespace

std::unique_ptr<ContractMachine> MakeContractMachine() { return std::make_unique<SimContractMachine>(); }

}  // namespace contract
