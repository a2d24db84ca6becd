// The language setting file lives on a server share anyone may write to:
// any bytes. Whatever it holds, the reader's answer must be the one the C
// library's own wcsstr and wcstok give for the lines the file yields (the
// way the setting has always been read), a known code or nothing, and the
// file must be closed afterwards.
#include <cstddef>
#include <cstdint>
#include <cwchar>
#include <optional>
#include <string>
#include <vector>

#include "app/InterfaceLanguage.h"
#include "os/sim/Gate.h"
#include "os/sim/SimFileSystem.h"
#include "tests/fuzz/Require.h"

namespace {

// One fgetws: 99 characters at most, as the reader asks for.
constexpr std::size_t kLineChars = 100;

// wcsstr for "serverlang=", then wcstok(s, "=") and wcstok(nullptr, " \t\n")
// on each line as a C string, and the first value the table knows.
std::optional<std::wstring> ExpectedCode(os::Files& files) {
  auto file = files.OpenText(app::kLanguageFilePath, L"r+t");
  if (!file.ok()) return std::nullopt;
  while (auto line = file.value->ReadLine(kLineChars)) {
    std::vector<wchar_t> buffer(line->begin(), line->end());
    buffer.push_back(L'\0');
    wchar_t* key = std::wcsstr(buffer.data(), L"serverlang=");
    if (!key) continue;
    wchar_t* state = nullptr;
    if (!std::wcstok(key, L"=", &state)) continue;
    const wchar_t* value = std::wcstok(nullptr, L" \t\n", &state);
    if (!value) continue;
    if (auto code = app::LanguageCodeFor(value)) return code;
  }
  return std::nullopt;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  os::sim::Gate gate;
  os::sim::SimFileSystem files(gate);
  files.AddFile(app::kLanguageFilePath, os::attr::kArchive, std::string(reinterpret_cast<const char*>(data), size));

  const std::optional<std::wstring> code = app::ReadServerLanguage(files);
  Require(files.openTextFiles() == 0);
  Require(code == ExpectedCode(files));
  Require(files.openTextFiles() == 0);
  if (code) {
    // A code is one of the list's, never text taken from the file.
    bool listed = false;
#define TESSALY_LANGUAGE(listedCode, serverlang, locale, localeModule, langId, name) \
  listed = listed || *code == L"" #listedCode;
#include "res/Languages.inc"
#undef TESSALY_LANGUAGE
    Require(listed);
  }
  return 0;
}
