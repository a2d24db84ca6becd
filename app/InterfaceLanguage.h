#pragma once
// The interface language: a three-letter code from the "serverlang=" line of
// the language setting file on drive E:, else from the system's default
// locale, and the language module named after the executable with that code
// ("Tessaly.exe" and "DEU" give "TessalyDEU.dll"). Portable: it reads the
// file and asks the system through the OS boundary.
#include <optional>
#include <string>
#include <string_view>

#include "os/Environment.h"
#include "os/Files.h"

namespace app {

inline constexpr wchar_t kLanguageFilePath[] = L"e:\\nvl\\server\\lcdstr\\current.lang";

// Loads the module at path and makes it the source of the program's
// resources; false when it cannot be loaded (nothing changes then). The
// module stays loaded until the process ends.
class LanguageModuleInstaller {
 public:
  virtual ~LanguageModuleInstaller() = default;
  virtual bool LoadAndInstall(const std::wstring& path) = 0;
};

// The code for a "serverlang=" value, compared ignoring case; none for a
// value outside the table.
std::optional<std::wstring> LanguageCodeFor(std::wstring_view value);

// The code named by the first "serverlang=" line of the language setting
// file whose value is known; none when the file cannot be opened for update
// or names no known language.
std::optional<std::wstring> ReadServerLanguage(os::Files& files);

// The executable's path with its extension (as PathFindExtensionW finds it)
// replaced by the code and ".dll".
std::wstring LanguageModulePath(std::wstring_view executablePath, std::wstring_view code);

// Picks the code and installs its module; true when a module was installed.
bool SelectInterfaceLanguage(os::Files& files, os::Environment& environment, LanguageModuleInstaller& installer);

}  // namespace app
