#include "app/InterfaceLanguage.h"

#include "base/WideText.h"

namespace app {
namespace {

// One fgetws of the language file: 99 characters and the terminator. A
// longer line arrives in pieces, each examined as a line of its own.
constexpr std::size_t kLineChars = 100;

// The values in the order they are tried, from the one list of languages.
// The codes are part of the module names and kept exactly as the language
// modules are named ("sw" is SME, "tc" TCH, "cz" CSY, "tu" TRK).
struct LanguageValue {
  const wchar_t* value;
  const wchar_t* code;
};
constexpr LanguageValue kLanguages[] = {
#define TESSALY_LANGUAGE(code, serverlang, locale, localeModule, langId, name) {L"" serverlang, L"" #code},
#include "res/Languages.inc"
#undef TESSALY_LANGUAGE
};

// What wcstok(s, L"=") and then wcstok(nullptr, L" \t\n") give for the text
// that starts at "serverlang=": the second token, or nothing.
std::optional<std::wstring> ValueAfterKey(std::wstring_view text) {
  // The first token ends at the first '=' after any leading '='; the
  // second call goes on after that one delimiter.
  std::size_t pos = text.find_first_not_of(L'=');
  if (pos == std::wstring_view::npos) return std::nullopt;
  pos = text.find(L'=', pos);
  if (pos == std::wstring_view::npos) return std::nullopt;
  constexpr std::wstring_view kBlanks = L" \t\n";
  const std::size_t begin = text.find_first_not_of(kBlanks, pos + 1);
  if (begin == std::wstring_view::npos) return std::nullopt;
  const std::size_t end = text.find_first_of(kBlanks, begin);
  return std::wstring(text.substr(begin, end == std::wstring_view::npos ? std::wstring_view::npos : end - begin));
}

// PathFindExtensionW: the last dot of the last path component, where a
// backslash or a blank after a dot cancels it; the end of the text when
// there is none.
std::size_t FindExtension(std::wstring_view path) {
  std::size_t dot = std::wstring_view::npos;
  for (std::size_t i = 0; i < path.size(); ++i) {
    if (path[i] == L'\\' || path[i] == L' ') dot = std::wstring_view::npos;
    else if (path[i] == L'.') dot = i;
  }
  return dot == std::wstring_view::npos ? path.size() : dot;
}

}  // namespace

std::optional<std::wstring> LanguageCodeFor(std::wstring_view value) {
  for (const auto& language : kLanguages) {
    if (base::EqualsIgnoreCase(value, language.value)) return std::wstring(language.code);
  }
  return std::nullopt;
}

std::optional<std::wstring> ReadServerLanguage(os::Files& files) {
  // "r+t": the file must be openable for update, although it is only read.
  auto file = files.OpenText(kLanguageFilePath, L"r+t");
  if (!file.ok()) return std::nullopt;
  // The file closes when `file` goes, on every way out.
  while (auto line = file.value->ReadLine(kLineChars)) {
    // The line is a C string to wcsstr and wcstok: a NUL read from the file
    // ends it, and nothing after it on that line counts.
    const std::wstring_view text = base::AsText(*line);
    const std::size_t key = text.find(L"serverlang=");
    if (key == std::wstring_view::npos) continue;
    const auto value = ValueAfterKey(text.substr(key));
    if (!value) continue;
    if (auto code = LanguageCodeFor(*value)) return code;
  }
  return std::nullopt;
}

std::wstring LanguageModulePath(std::wstring_view executablePath, std::wstring_view code) {
  std::wstring path(executablePath.substr(0, FindExtension(executablePath)));
  path += code;
  path += L".dll";
  return path;
}

bool SelectInterfaceLanguage(os::Files& files, os::Environment& environment, LanguageModuleInstaller& installer) {
  std::optional<std::wstring> code;
  if (files.OpenText(kLanguageFilePath, L"r+t").ok()) code = ReadServerLanguage(files);
  if (!code) {
    auto system = environment.SystemLanguageAbbreviation();
    if (!system.ok()) return false;
    code = system.value;
  }
  // LOCALE_SABBREVLANGNAME says ESN for Spanish with the modern sort; the
  // Spanish module is ESP whatever the sort.
  if (*code == L"ESN") code = L"ESP";
  // The program's own path did not fit the 260 characters it is read into
  // (it comes back empty): the module name would be a bare one.
  const std::wstring executable = environment.ModulePath();
  if (!base::IsFullPath(executable)) return false;
  return installer.LoadAndInstall(LanguageModulePath(executable, *code));
}

}  // namespace app
