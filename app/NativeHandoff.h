#pragma once
// The 32-bit program on a 64-bit Windows. Under WoW64 the system shows a
// 32-bit process another System32 (SysWOW64) and another HKLM\Software
// (Wow6432Node): it would clean the wrong folders and keys and leave the real
// ones behind. So it cleans nothing itself: it starts the 64-bit program of
// the same package with the same arguments, waits for it and ends with its
// exit code; without one it refuses and deletes nothing.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace app {

// Fixed text like the start-up refusal: it is shown before any language
// module is chosen.
inline constexpr wchar_t kWow64RefusalText[] =
    L"This is the 32-bit Tessaly, and this Windows is 64-bit. A 32-bit program sees other system folders and "
    L"registry keys here than the ones the printers use, so it deletes nothing. Please start the 64-bit "
    L"Tessaly.exe from the x64 folder of the package, or install Tessaly with the x64 installer.";
inline constexpr std::uint32_t kRefusedExitCode = 1;

// The package layouts: the zip and the build put each architecture in a
// folder of its own, x86 beside x64.
inline constexpr wchar_t kNativeProgramFolder[] = L"x64";

class HandoffPort {
 public:
  virtual ~HandoffPort() = default;
  virtual bool RunsUnderWow64() = 0;
  virtual std::wstring ModulePath() = 0;
  virtual bool FileExists(const std::wstring& path) = 0;
  // Starts the program with these arguments and waits for it: its exit
  // code, or nothing when it did not start.
  virtual std::optional<std::uint32_t> RunAndWait(const std::wstring& program, const std::wstring& arguments) = 0;
  virtual void ShowError(const std::wstring& text, const std::wstring& caption) = 0;
};

// Nothing when this program is the system's own kind and goes on; otherwise
// the exit code the process ends with.
std::optional<std::uint32_t> HandOffToNativeProgram(HandoffPort& port, std::wstring_view commandLine);

// The 64-bit program of the package this one belongs to: <parent>\x64\<name>
// for <parent>\<folder>\<name>; empty when the program lies in a root folder.
std::wstring NativeProgramBeside(std::wstring_view modulePath);

// What follows the program's name on a command line, by the rules Windows
// uses for the first word: a quoted name ends at the next quote, a bare one
// at the first blank.
std::wstring ArgumentsOf(std::wstring_view commandLine);

}  // namespace app
