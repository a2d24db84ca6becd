#include "os/sim/SimEnvironment.h"

#include "base/WideText.h"

namespace os::sim {

Result<OsVersionInfo> SimEnvironment::Version() {
  if (auto e = gate_.Enter(Op::EnvironmentVersion, L"")) return Result<OsVersionInfo>::Fail(*e);
  return Result<OsVersionInfo>::Ok(state_.version);
}

std::wstring SimEnvironment::WindowsDirectory() {
  if (gate_.Enter(Op::EnvironmentWindowsDirectory, L"")) return {};
  return state_.windowsDirectory;
}

std::wstring SimEnvironment::SystemDirectory() {
  if (gate_.Enter(Op::EnvironmentSystemDirectory, L"")) return {};
  return state_.systemDirectory;
}

void SimEnvironment::SetVariable(const std::wstring& name, std::wstring value) {
  state_.variables[base::Upcase(name)] = std::move(value);
  state_.variableNames[base::Upcase(name)] = name;
}

const std::wstring* SimEnvironment::Variable(std::wstring_view name) const {
  auto it = state_.variables.find(base::Upcase(name));
  return it == state_.variables.end() ? nullptr : &it->second;
}

Result<std::wstring> SimEnvironment::ExpandVariables(std::wstring_view text, std::size_t maxChars) {
  if (auto e = gate_.Enter(Op::EnvironmentExpandVariables, text)) return Result<std::wstring>::Fail(*e);
  std::wstring out;
  size_t i = 0;
  while (i < text.size()) {
    if (text[i] == L'%') {
      const size_t close = text.find(L'%', i + 1);
      if (close != std::wstring_view::npos) {
        if (const std::wstring* value = Variable(text.substr(i + 1, close - i - 1))) {
          out += *value;
          i = close + 1;
          continue;
        }
      }
    }
    out.push_back(text[i++]);
  }
  if (out.size() + 1 > maxChars) return Result<std::wstring>::Fail(error::kInsufficientBuffer);
  return Result<std::wstring>::Ok(std::move(out));
}

Result<std::wstring> SimEnvironment::SystemLanguageAbbreviation() {
  if (auto e = gate_.Enter(Op::EnvironmentSystemLanguage, L"")) return Result<std::wstring>::Fail(*e);
  if (state_.languageAbbreviation.empty()) return Result<std::wstring>::Fail(error::kInvalidParameter);
  return Result<std::wstring>::Ok(state_.languageAbbreviation);
}

std::wstring SimEnvironment::DescribeError(Status code) {
  // The messages of the codes the simulated machine produces, as Windows words them.
  switch (code) {
    case error::kFileNotFound: return L"The system cannot find the file specified.";
    case error::kAccessDenied: return L"Access is denied.";
    case error::kNotEnoughMemory: return L"Not enough memory resources are available to process this command.";
    case error::kInvalidHandle: return L"The handle is invalid.";
    case error::kInvalidParameter: return L"The parameter is incorrect.";
    case error::kRpcServerUnavailable: return L"The RPC server is unavailable.";
    case error::kInvalidPrinterName: return L"The printer name is invalid.";
    case error::kPrinterDriverInUse: return L"The specified printer driver is currently in use.";
    case error::kPrinterHasJobsQueued:
      return L"The requested operation is not allowed when there are jobs queued to the printer.";
    default: return L"error " + std::to_wstring(code);
  }
}

std::wstring SimEnvironment::ModulePath() {
  gate_.Enter(Op::EnvironmentModulePath, L"");
  return state_.modulePath;
}

}  // namespace os::sim
