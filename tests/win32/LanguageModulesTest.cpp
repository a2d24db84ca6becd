// The language modules as the program loads them: mapped as data, by full
// path only, and still the source of every resource the program takes from
// them (its texts, its dialog, its icon). And no DLL comes from the current
// folder once the start-up has taken that folder out of the search. The
// dialog as each language's program shows it is the end-to-end suite's
// (LanguageScenarios).
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "framework/ModuleTexts.h"
#include "framework/ResourceModule.h"
#include "res/Languages.h"
#include "res/ResourceIds.h"
#include "tests/win32/RealSystem.h"

namespace {

std::wstring Beside(const std::wstring& file) {
  wchar_t path[MAX_PATH] = {};
  GetModuleFileNameW(nullptr, path, MAX_PATH);
  std::wstring folder = path;
  return folder.substr(0, folder.find_last_of(L'\\') + 1) + file;
}

bool PlantedCodeRan() { return GetEnvironmentVariableW(L"TESSALY_PLANTED_MODULE_RAN", nullptr, 0) != 0; }

// Every module the build makes: each language's own, and its copy under the
// name its system locale gives.
TEST(LanguageModulesTest, EveryModuleLoadsAsDataAndGivesItsTextsDialogAndIcon) {
  int modules = 0;
  for (const res::Language& language : res::Languages()) {
    if (language.code == L"ENU") continue;
    const res::LanguageTexts& expected = res::TextsOf(language.code);
    std::vector<std::wstring> names{language.code};
    if (language.localeModule != language.code) names.push_back(language.localeModule);
    for (const std::wstring& name : names) {
      SCOPED_TRACE(std::string(name.begin(), name.end()));
      HINSTANCE module = AfxLoadResourceModule(Beside(L"Tessaly" + name + L".dll").c_str());
      ASSERT_NE(module, nullptr) << "error " << GetLastError();
      ++modules;
      AfxSetResourceHandle(module);

      CModuleTexts texts;
      for (const auto& [id, text] : expected.strings) EXPECT_EQ(texts.Load(id), text) << "entry " << id;
      EXPECT_EQ(AfxFindResourceHandle(MAKEINTRESOURCEW(IDD_TESSALY_DIALOG), RT_DIALOG), module);
      EXPECT_NE(AfxLoadIcon(MAKEINTRESOURCEW(IDR_MAINFRAME)), nullptr);
    }
  }
  AfxSetResourceHandle(nullptr);
  EXPECT_EQ(modules, 20) << "18 languages, two of them under a second name";
}

// A folder of the temporary folder that becomes the current folder, holding
// the planted module under a name no module of the program has.
class CurrentFolderWithPlantedModule {
 public:
  CurrentFolderWithPlantedModule() {
    wchar_t temp[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, temp);
    folder_ = std::wstring(temp) + L"tessaly-current-folder";
    CreateDirectoryW(folder_.c_str(), nullptr);
    copied_ = CopyFileW(Beside(L"TessalyPlanted.dll").c_str(), (folder_ + L"\\TessalyZZZ.dll").c_str(), FALSE);
    GetCurrentDirectoryW(MAX_PATH, previous_);
    entered_ = SetCurrentDirectoryW(folder_.c_str());
  }
  ~CurrentFolderWithPlantedModule() {
    SetCurrentDirectoryW(previous_);
    DeleteFileW((folder_ + L"\\TessalyZZZ.dll").c_str());
    RemoveDirectoryW(folder_.c_str());
    SetEnvironmentVariableW(L"TESSALY_PLANTED_MODULE_RAN", nullptr);
  }
  bool ready() const { return copied_ && entered_; }

 private:
  std::wstring folder_;
  wchar_t previous_[MAX_PATH] = {};
  bool copied_ = false;
  bool entered_ = false;
};

TEST(LanguageModulesTest, AModuleWithCodeIsReadNeverRunAndABareNameIsNeverSearched) {
  ASSERT_FALSE(PlantedCodeRan());
  HINSTANCE module = AfxLoadResourceModule(Beside(L"TessalyPlanted.dll").c_str());
  ASSERT_NE(module, nullptr) << "error " << GetLastError();
  EXPECT_FALSE(PlantedCodeRan()) << "the module's DllMain ran: it was loaded as code";
  AfxSetResourceHandle(module);
  EXPECT_EQ(CModuleTexts().Load(101), L"&Planted...");
  AfxSetResourceHandle(nullptr);

  // The same file in the current folder, asked for by a bare or relative
  // name: not even looked for.
  CurrentFolderWithPlantedModule current;
  ASSERT_TRUE(current.ready());
  EXPECT_EQ(AfxLoadResourceModule(L"TessalyZZZ.dll"), nullptr);
  EXPECT_EQ(AfxLoadResourceModule(L".\\TessalyZZZ.dll"), nullptr);
  EXPECT_EQ(AfxLoadResourceModule(L""), nullptr);
  EXPECT_FALSE(PlantedCodeRan());
}

TEST(LanguageModulesTest, AfterTheStartUpsFirstStepNoLibraryComesFromTheCurrentFolder) {
  CurrentFolderWithPlantedModule current;
  ASSERT_TRUE(current.ready());
  EXPECT_TRUE(AfxRemoveCurrentFolderFromDllSearch());
  HMODULE found = LoadLibraryW(L"TessalyZZZ.dll");
  if (found) FreeLibrary(found);
  SetDllDirectoryW(nullptr);
  if (found && realsystem::RunningOnWine()) {
    GTEST_SKIP() << "Wine 8 takes an empty DLL directory for none and still searches the current folder; "
                    "Windows (XP SP1 on) leaves it out";
  }
  EXPECT_EQ(found, nullptr) << "a DLL was loaded from the current folder";
}

}  // namespace
