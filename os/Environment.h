#pragma once
#include <cstdint>
#include <string>
#include <string_view>

#include "os/Status.h"

namespace os {

struct OsVersionInfo {  // OSVERSIONINFOW
  std::uint32_t majorVersion = 0;
  std::uint32_t minorVersion = 0;
  std::uint32_t buildNumber = 0;
  std::uint32_t platformId = 0;

  bool operator==(const OsVersionInfo&) const = default;
};

class Environment {
 public:
  virtual ~Environment() = default;
  virtual Result<OsVersionInfo> Version() = 0;  // GetVersionExW
  virtual std::wstring WindowsDirectory() = 0;  // empty when the call fails
  virtual std::wstring SystemDirectory() = 0;
  // DoEnvironmentSubstW into a buffer of maxChars characters (terminator
  // included): kInsufficientBuffer when the expansion does not fit.
  virtual Result<std::wstring> ExpandVariables(std::wstring_view text, std::size_t maxChars) = 0;
  // GetLocaleInfoW(LOCALE_SYSTEM_DEFAULT, LOCALE_SABBREVLANGNAME), e.g. "ENU".
  virtual Result<std::wstring> SystemLanguageAbbreviation() = 0;
  virtual std::wstring ModulePath() = 0;  // GetModuleFileNameW(NULL)
  // The system's message for an error code (FormatMessageW), without the
  // trailing line break; "error N" when the system has none.
  virtual std::wstring DescribeError(Status code) = 0;
};

}  // namespace os
