#include "app/NativeHandoff.h"

#include "app/StartUp.h"
#include "base/WideText.h"

namespace app {

std::wstring NativeProgramBeside(std::wstring_view modulePath) {
  const auto name = modulePath.find_last_of(L'\\');
  if (name == std::wstring_view::npos || name == 0) return {};
  const auto folder = modulePath.find_last_of(L'\\', name - 1);
  if (folder == std::wstring_view::npos) return {};
  return std::wstring(modulePath.substr(0, folder + 1)) + kNativeProgramFolder + std::wstring(modulePath.substr(name));
}

std::wstring ArgumentsOf(std::wstring_view commandLine) {
  std::size_t end = 0;
  if (!commandLine.empty() && commandLine[0] == L'"') {
    end = commandLine.find(L'"', 1);
    end = end == std::wstring_view::npos ? commandLine.size() : end + 1;
  } else {
    end = commandLine.find_first_of(L" \t");
    if (end == std::wstring_view::npos) end = commandLine.size();
  }
  const auto first = commandLine.find_first_not_of(L" \t", end);
  return first == std::wstring_view::npos ? std::wstring{} : std::wstring(commandLine.substr(first));
}

std::optional<std::uint32_t> HandOffToNativeProgram(HandoffPort& port, std::wstring_view commandLine) {
  if (!port.RunsUnderWow64()) return std::nullopt;
  const std::wstring self = port.ModulePath();
  const std::wstring native = NativeProgramBeside(self);
  // A 32-bit build placed in the x64 folder would otherwise start itself
  // again and again.
  if (!native.empty() && !base::EqualsIgnoreCase(native, self) && port.FileExists(native)) {
    if (auto code = port.RunAndWait(native, ArgumentsOf(commandLine))) return code;
  }
  port.ShowError(kWow64RefusalText, kRefusalCaption);
  return kRefusedExitCode;
}

}  // namespace app
