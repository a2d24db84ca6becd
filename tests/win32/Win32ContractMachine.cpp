#include <windows.h>

#include "os/win32/Win32System.h"
#include "tests/contract/ContractMachine.h"
#include "tests/win32/RealSystem.h"
#include "tools/seed/Seeder.h"

namespace contract {
namespace {

class Win32ContractMachine final : public ContractMachine {
 public:
  os::System system() override { return os::win32::MakeSystem(); }
  void Seed(const std::string& imageJson) override {
    seeder_.Apply(os::image::ParseMachineImage(imageJson, "seed"));
  }
  std::wstring Variable(const std::wstring& name) override {
    wchar_t value[32767];
    const DWORD length = GetEnvironmentVariableW(name.c_str(), value, 32767);
    return std::wstring(value, length);
  }
  std::string Describe() override {
    std::string out = "-- seeded on this system --\n";
    for (const auto& line : seeder_.log()) out += line + "\n";
    return out;
  }
  bool IsWine() const override { return realsystem::RunningOnWine(); }
  bool Disposable() const override { return IsWine(); }

 private:
  seed::Seeder seeder_{true};
};

}  // namespace

std::unique_ptr<ContractMachine> MakeContractMachine() { return std::make_unique<Win32ContractMachine>(); }

}  // namespace contract
