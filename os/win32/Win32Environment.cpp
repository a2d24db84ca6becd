#include <windows.h>
#include <shellapi.h>

#include <string>
#include <vector>

#include "os/win32/ScopedHandle.h"
#include "os/win32/Win32System.h"

namespace os::win32 {
namespace {

constexpr UINT kPathChars = MAX_PATH;

// The directory APIs return the length written, or the size needed when the
// buffer is too small (and then write nothing useful).
template <class Call>
std::wstring Directory(Call call) {
  std::vector<wchar_t> buffer(kPathChars, L'\0');
  const UINT length = call(buffer.data(), kPathChars);
  if (length == 0 || length >= kPathChars) return {};
  return std::wstring(buffer.data(), length);
}

class Win32Environment final : public Environment {
 public:
  Result<OsVersionInfo> Version() override {
    OSVERSIONINFOW v{};
    v.dwOSVersionInfoSize = sizeof v;
    if (!GetVersionExW(&v)) return Result<OsVersionInfo>::Fail(GetLastError());
    return Result<OsVersionInfo>::Ok(OsVersionInfo{v.dwMajorVersion, v.dwMinorVersion, v.dwBuildNumber, v.dwPlatformId});
  }

  std::wstring WindowsDirectory() override {
    return Directory([](wchar_t* b, UINT n) { return GetWindowsDirectoryW(b, n); });
  }

  std::wstring SystemDirectory() override {
    return Directory([](wchar_t* b, UINT n) { return GetSystemDirectoryW(b, n); });
  }

  Result<std::wstring> ExpandVariables(std::wstring_view text, std::size_t maxChars) override {
    using R = Result<std::wstring>;
    if (text.size() + 1 > maxChars) return R::Fail(error::kInsufficientBuffer);
    std::vector<wchar_t> buffer(maxChars, L'\0');
    std::copy(text.begin(), text.end(), buffer.begin());
    // DoEnvironmentSubstW expands in place and leaves the buffer as it was
    // when the result would not fit (the high word of its result is FALSE).
    const DWORD result = DoEnvironmentSubstW(buffer.data(), static_cast<UINT>(maxChars));
    if (!HIWORD(result)) return R::Fail(error::kInsufficientBuffer);
    return R::Ok(std::wstring(buffer.data()));
  }

  Result<std::wstring> SystemLanguageAbbreviation() override {
    wchar_t code[4] = {};
    if (!GetLocaleInfoW(LOCALE_SYSTEM_DEFAULT, LOCALE_SABBREVLANGNAME, code, 4)) {
      return Result<std::wstring>::Fail(GetLastError());
    }
    return Result<std::wstring>::Ok(code);
  }

  std::wstring DescribeError(Status code) override {
    wchar_t* text = nullptr;
    const DWORD length = FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, code, 0,
        reinterpret_cast<wchar_t*>(&text), 0, nullptr);
    std::wstring message = length ? std::wstring(text, length) : std::wstring();
    if (text) LocalFree(text);
    while (!message.empty() && (message.back() == L'\n' || message.back() == L'\r' || message.back() == L' ')) {
      message.pop_back();
    }
    if (message.empty()) {
      wchar_t hex[16];
      swprintf(hex, 16, code > 0xFFFF ? L"0x%08X" : L"%u", static_cast<unsigned>(code));
      message = std::wstring(L"error ") + hex;
    }
    return message;
  }

  std::wstring ModulePath() override {
    std::vector<wchar_t> buffer(kPathChars, L'\0');
    const DWORD length = GetModuleFileNameW(nullptr, buffer.data(), kPathChars);
    if (length == 0 || length >= kPathChars) return {};
    return std::wstring(buffer.data(), length);
  }
};

}  // namespace

Environment& TheEnvironment() {
  static Win32Environment environment;
  return environment;
}

}  // namespace os::win32
