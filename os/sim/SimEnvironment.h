#pragma once
#include <map>
#include <string>

#include "os/Environment.h"
#include "os/sim/Gate.h"

namespace os::sim {

struct SimEnvironmentState {
  OsVersionInfo version{6, 1, 7601, 2};
  std::wstring windowsDirectory = L"C:\\Windows";
  std::wstring systemDirectory = L"C:\\Windows\\system32";
  std::wstring languageAbbreviation = L"ENU";  // empty: GetLocaleInfoW fails
  std::wstring modulePath = L"C:\\Program Files\\Tessaly\\Tessaly.exe";
  std::map<std::wstring, std::wstring> variables;  // by upper-cased name: {name, value}
  std::map<std::wstring, std::wstring> variableNames;
};

class SimEnvironment final : public Environment {
 public:
  explicit SimEnvironment(Gate& gate) : gate_(gate) {}

  Result<OsVersionInfo> Version() override;
  std::wstring WindowsDirectory() override;
  std::wstring SystemDirectory() override;
  Result<std::wstring> ExpandVariables(std::wstring_view text, std::size_t maxChars) override;
  Result<std::wstring> SystemLanguageAbbreviation() override;
  std::wstring ModulePath() override;
  std::wstring DescribeError(Status code) override;

  SimEnvironmentState& state() { return state_; }
  const SimEnvironmentState& state() const { return state_; }
  void SetVariable(const std::wstring& name, std::wstring value);
  const std::wstring* Variable(std::wstring_view name) const;

 private:
  Gate& gate_;
  SimEnvironmentState state_;
};

}  // namespace os::sim
