// The interface language on the simulated machine: what the language file
// on drive E: says, what the system locale says when it says nothing, and
// which module the program then tries to load.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "app/InterfaceLanguage.h"
#include "os/sim/SimMachine.h"

namespace app {
namespace {

class RecordingInstaller final : public LanguageModuleInstaller {
 public:
  bool LoadAndInstall(const std::wstring& path) override {
    tried.push_back(path);
    return true;
  }
  std::vector<std::wstring> tried;
};

// A workstation whose language file holds these bytes (none: no file), with
// Tessaly.exe at this path.
std::unique_ptr<os::sim::SimMachine> MachineWithLanguageFile(
    const char* content, const std::string& locale = "ENU",
    const std::string& modulePath = R"(C:\\Program Files\\Tessaly\\Tessaly.exe)") {
  auto m = os::sim::SimMachine::FromImage(R"({"base": "workstation", "windows": {"languageAbbreviation": ")" +
                                          locale + R"(", "modulePath": ")" + modulePath + R"("}})");
  if (content) m->files().AddFile(L"E:\\nvl\\server\\lcdstr\\current.lang", os::attr::kArchive, content);
  return m;
}

constexpr wchar_t kBeside[] = L"C:\\Program Files\\Tessaly\\Tessaly";
std::wstring Module(const wchar_t* code) { return std::wstring(kBeside) + code + L".dll"; }

// The module the program tries to load for this file and locale. Found,
// read to its end or not opened at all, the file is closed afterwards.
std::wstring ModuleTried(const char* content, const std::string& locale = "ENU", bool readOnly = false,
                         const std::string& modulePath = R"(C:\\Program Files\\Tessaly\\Tessaly.exe)") {
  auto m = MachineWithLanguageFile(content, locale, modulePath);
  if (readOnly) {
    EXPECT_EQ(m->files().SetAttributes(L"E:\\nvl\\server\\lcdstr\\current.lang", os::attr::kReadOnly), 0u);
  }
  RecordingInstaller installer;
  const bool installed = SelectInterfaceLanguage(m->files(), m->environment(), installer);
  EXPECT_EQ(m->files().openTextFiles(), 0) << "the language file was left open";
  if (!installed || installer.tried.size() != 1) return L"(nothing)";
  return installer.tried.front();
}

TEST(InterfaceLanguageTest, WithoutAUsableFileTheSystemLocaleChooses) {
  EXPECT_EQ(ModuleTried(nullptr, "DEU"), Module(L"DEU"));
  EXPECT_EQ(ModuleTried("serverlang = de\nserverlang=xx\n", "FRA"), Module(L"FRA"));
  EXPECT_EQ(ModuleTried("", "ENU"), Module(L"ENU"));
  // The file must open for update although it is only read.
  EXPECT_EQ(ModuleTried("serverlang=de\n", "ITA", /*readOnly=*/true), Module(L"ITA"));
  // The Spanish module is ESP also for the modern sort's ESN, from the
  // locale; the file's "es" says ESP itself.
  EXPECT_EQ(ModuleTried(nullptr, "ESN"), Module(L"ESP"));
  EXPECT_EQ(ModuleTried("serverlang=es"), Module(L"ESP"));
  // No locale answer either: no module is even looked for.
  EXPECT_EQ(ModuleTried(nullptr, ""), L"(nothing)");
}

TEST(InterfaceLanguageTest, NoModuleIsLoadedByABareName) {
  // GetModuleFileNameW could not fit the program's path into 260
  // characters: the module name would be a bare "DEU.dll", which
  // LoadLibrary looks for in the current folder and on PATH.
  EXPECT_EQ(ModuleTried(nullptr, "DEU", false, ""), L"(nothing)");
  EXPECT_EQ(ModuleTried("serverlang=de\n", "ENU", false, ""), L"(nothing)");
  EXPECT_EQ(ModuleTried(nullptr, "DEU", false, "Tessaly.exe"), L"(nothing)");
  EXPECT_EQ(ModuleTried(nullptr, "DEU", false, R"(Tools\\Tessaly.exe)"), L"(nothing)");
  EXPECT_EQ(ModuleTried(nullptr, "DEU", false, R"(\\Tools\\Tessaly.exe)"), L"(nothing)");
  // Full paths, on a drive or a share, are used as they are.
  EXPECT_EQ(ModuleTried(nullptr, "DEU", false, R"(\\\\srv\\tools\\Tessaly.exe)"), L"\\\\srv\\tools\\TessalyDEU.dll");
  EXPECT_EQ(ModuleTried(nullptr, "DEU", false, R"(d:\\Tessaly.exe)"), L"d:\\TessalyDEU.dll");
}

TEST(InterfaceLanguageTest, TheModuleIsNamedAfterTheExecutable) {
  EXPECT_EQ(LanguageModulePath(L"C:\\Tools\\Tessaly.backup.exe", L"FRA"), L"C:\\Tools\\Tessaly.backupFRA.dll");
  // A dot in a folder's name is not an extension; neither is one that a
  // blank follows. Without an extension the code goes at the end.
  EXPECT_EQ(LanguageModulePath(L"C:\\v1.2\\Tessaly", L"JPN"), L"C:\\v1.2\\TessalyJPN.dll");
  EXPECT_EQ(LanguageModulePath(L"C:\\T\\Tessaly.ex e", L"ESP"), L"C:\\T\\Tessaly.ex eESP.dll");
  EXPECT_EQ(LanguageModulePath(L"C:\\My Tools\\Tessaly v2.exe", L"DEU"), L"C:\\My Tools\\Tessaly v2DEU.dll");
  // Only the backslash separates folders for PathFindExtensionW.
  EXPECT_EQ(LanguageModulePath(L"C:/x.y/Tessaly", L"DEU"), L"C:/xDEU.dll");
}

}  // namespace
}  // namespace app
