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
  explicit RecordingInstaller(bool loads) : loads_(loads) {}
  bool LoadAndInstall(const std::wstring& path) override {
    tried.push_back(path);
    return loads_;
  }
  std::vector<std::wstring> tried;

 private:
  bool loads_;
};

// A workstation whose language file holds these bytes (none: no file).
std::unique_ptr<os::sim::SimMachine> MachineWithLanguageFile(const char* content, const std::string& locale = "ENU") {
  auto m = os::sim::SimMachine::FromImage(R"({"base": "workstation", "windows": {"languageAbbreviation": ")" +
                                          locale + R"("}})");
  if (content) m->files().AddFile(L"E:\\nvl\\server\\lcdstr\\current.lang", os::attr::kArchive, content);
  return m;
}

// The module the program tries to load for this file and locale.
std::wstring ModuleTried(const char* content, const std::string& locale = "ENU") {
  auto m = MachineWithLanguageFile(content, locale);
  RecordingInstaller installer(true);
  const bool installed = SelectInterfaceLanguage(m->files(), m->environment(), installer);
  EXPECT_EQ(m->files().openTextFiles(), 0) << "the language file was left open";
  if (!installed || installer.tried.size() != 1) return L"(nothing)";
  return installer.tried.front();
}

constexpr wchar_t kBeside[] = L"C:\\Program Files\\Tessaly\\Tessaly";

TEST(InterfaceLanguageTest, TheFirstKnownServerLanguageOfTheFileChoosesTheModule) {
  EXPECT_EQ(ModuleTried("serverlang=de\n"), std::wstring(kBeside) + L"DEU.dll");
  EXPECT_EQ(ModuleTried("[server]\r\nname=print01\r\nserverlang=ja\r\nserverlang=de\r\n"),
            std::wstring(kBeside) + L"JPN.dll");
  // The text may stand anywhere in the line; blanks and tabs before the
  // value are skipped and its case does not matter.
  EXPECT_EQ(ModuleTried("# set serverlang=  FR\n"), std::wstring(kBeside) + L"FRA.dll");
  EXPECT_EQ(ModuleTried("serverlang=\tIt"), std::wstring(kBeside) + L"ITA.dll");
  // A value outside the table, or none, does not end the search.
  EXPECT_EQ(ModuleTried("serverlang=xx\nserverlang=it\n"), std::wstring(kBeside) + L"ITA.dll");
  EXPECT_EQ(ModuleTried("serverlang=\nserverlang=   \nserverlang=nl\n"), std::wstring(kBeside) + L"NLD.dll");
  // Only "serverlang=" itself is looked for: a blank before the equals sign
  // hides the line, and a capital letter does too.
  EXPECT_EQ(ModuleTried("serverlang = de\nServerLang=fr\nserverlang=pt\n"), std::wstring(kBeside) + L"PTB.dll");
}

TEST(InterfaceLanguageTest, WithoutAUsableFileTheSystemLocaleChooses) {
  EXPECT_EQ(ModuleTried(nullptr, "DEU"), std::wstring(kBeside) + L"DEU.dll");
  EXPECT_EQ(ModuleTried("serverlang = de\nserverlang=xx\n", "FRA"), std::wstring(kBeside) + L"FRA.dll");
  EXPECT_EQ(ModuleTried("", "ENU"), std::wstring(kBeside) + L"ENU.dll");
  // The Spanish module is ESP also for the modern sort's ESN, from the
  // locale; the file's "es" says ESP itself.
  EXPECT_EQ(ModuleTried(nullptr, "ESN"), std::wstring(kBeside) + L"ESP.dll");
  EXPECT_EQ(ModuleTried("serverlang=es"), std::wstring(kBeside) + L"ESP.dll");

  // The file must open for update although it is only read.
  auto m = MachineWithLanguageFile("serverlang=de\n", "ITA");
  ASSERT_EQ(m->files().SetAttributes(L"E:\\nvl\\server\\lcdstr\\current.lang", os::attr::kReadOnly), 0u);
  RecordingInstaller installer(true);
  EXPECT_TRUE(SelectInterfaceLanguage(m->files(), m->environment(), installer));
  EXPECT_EQ(installer.tried, std::vector<std::wstring>{std::wstring(kBeside) + L"ITA.dll"});
}

TEST(InterfaceLanguageTest, NothingIsInstalledWhenNoCodeOrNoModuleCanBeHad) {
  // No locale answer: no module is even looked for.
  auto silent = MachineWithLanguageFile(nullptr, "");
  RecordingInstaller installer(true);
  EXPECT_FALSE(SelectInterfaceLanguage(silent->files(), silent->environment(), installer));
  EXPECT_TRUE(installer.tried.empty());

  // A code whose module is missing: the resources stay the executable's.
  auto english = MachineWithLanguageFile(nullptr, "ENU");
  RecordingInstaller missing(false);
  EXPECT_FALSE(SelectInterfaceLanguage(english->files(), english->environment(), missing));
  EXPECT_EQ(missing.tried, std::vector<std::wstring>{std::wstring(kBeside) + L"ENU.dll"});
}

TEST(InterfaceLanguageTest, LongLinesArriveInPiecesOfNinetyNineCharacters) {
  const std::string pad(120, 'x');
  // The key begins inside the second piece: found there.
  EXPECT_EQ(ModuleTried((pad + "serverlang=da\n").c_str(), "ENU"), std::wstring(kBeside) + L"DAN.dll");
  // The key is cut in two by the piece boundary: neither piece holds it.
  const std::string cutKey = std::string(95, 'x') + "serverlang=da\n";
  EXPECT_EQ(ModuleTried(cutKey.c_str(), "ENU"), std::wstring(kBeside) + L"ENU.dll");
  // The key ends a piece and its value starts the next: the first piece has
  // no value and the second no key.
  const std::string cutValue = std::string(99 - 11, 'x') + "serverlang=da\nserverlang=fi\n";
  EXPECT_EQ(ModuleTried(cutValue.c_str(), "ENU"), std::wstring(kBeside) + L"FIN.dll");
}

TEST(InterfaceLanguageTest, TheFileIsClosedOnEveryPath) {
  auto m = MachineWithLanguageFile("serverlang=xx\nno key here\nserverlang=ko\ntrailing\n");
  EXPECT_EQ(ReadServerLanguage(m->files()), std::wstring(L"KOR"));  // found
  EXPECT_EQ(m->files().openTextFiles(), 0);
  auto unknown = MachineWithLanguageFile("serverlang=xx\n");
  EXPECT_EQ(ReadServerLanguage(unknown->files()), std::nullopt);  // end of file
  EXPECT_EQ(unknown->files().openTextFiles(), 0);
  auto broken = MachineWithLanguageFile("serverlang=de\n");
  broken->FailWith("Files.OpenText", os::error::kSharingViolation);
  EXPECT_EQ(ReadServerLanguage(broken->files()), std::nullopt);  // not opened
  EXPECT_EQ(broken->files().openTextFiles(), 0);
  // The selection opens the file twice (a probe, then the read) and
  // leaves it closed.
  auto probed = MachineWithLanguageFile("serverlang=ru\n");
  RecordingInstaller installer(true);
  SelectInterfaceLanguage(probed->files(), probed->environment(), installer);
  EXPECT_EQ(probed->gate().calls("Files.OpenText"), 2u);
  EXPECT_EQ(probed->files().openTextFiles(), 0);
}

TEST(InterfaceLanguageTest, EveryServerLanguageHasItsModuleCode) {
  const std::vector<std::pair<std::wstring, std::wstring>> table = {
      {L"en", L"ENU"}, {L"es", L"ESP"}, {L"it", L"ITA"}, {L"fr", L"FRA"}, {L"de", L"DEU"}, {L"ja", L"JPN"},
      {L"pt", L"PTB"}, {L"nl", L"NLD"}, {L"cz", L"CSY"}, {L"da", L"DAN"}, {L"fi", L"FIN"}, {L"ko", L"KOR"},
      {L"no", L"NOR"}, {L"pl", L"PLK"}, {L"ru", L"RUS"}, {L"sc", L"CHS"}, {L"sw", L"SME"}, {L"tc", L"TCH"},
      {L"tu", L"TRK"}};
  for (const auto& [value, code] : table) {
    EXPECT_EQ(LanguageCodeFor(value), code) << value;
    std::wstring upper = value;
    for (auto& c : upper) c = static_cast<wchar_t>(c - L'a' + L'A');
    EXPECT_EQ(LanguageCodeFor(upper), code) << upper;
  }
  // The usual codes of these languages are not the ones the file uses.
  for (const wchar_t* other : {L"cs", L"sv", L"tr", L"zh", L"deu", L"d", L""}) {
    EXPECT_EQ(LanguageCodeFor(other), std::nullopt) << other;
  }
}

TEST(InterfaceLanguageTest, TheModuleIsNamedAfterTheExecutable) {
  EXPECT_EQ(LanguageModulePath(L"C:\\Tools\\Tessaly.exe", L"DEU"), L"C:\\Tools\\TessalyDEU.dll");
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
