// The interface language, for every language of res/Languages.inc: chosen by
// the language setting file on drive E:, or by the system locale when the
// file says nothing; and in each language every text of the main dialog fits
// its control and the About text scrolls.
#include <thread>

#include "res/Languages.h"
#include "tools/e2e/Scenario.h"
#include "tools/e2e/Screenshot.h"
#include "tools/e2e/TextFit.h"

namespace e2e {
namespace {

constexpr wchar_t kLanguageFile[] = L"E:\\nvl\\server\\lcdstr\\current.lang";

constexpr char kOnePrinter[] = R"({
  "spooler": {
    "drivers": [{"name": "Tessaly E2E Laser", "dataFile": "E2ELASR.PPD"}],
    "printers": [{"name": "Buero Drucker", "driver": "Tessaly E2E Laser"}]
  }
})";

// UTF-8, for the messages of a failing check.
std::string Narrow(const std::wstring& text) {
  const int size = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
  std::string out(static_cast<std::size_t>(size > 0 ? size : 0), '\0');
  WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), out.data(), size, nullptr, nullptr);
  return out;
}

bool WriteLanguageFile(const std::string& content) {
  HANDLE file = CreateFileW(kLanguageFile, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  DWORD written = 0;
  const bool ok = WriteFile(file, content.data(), static_cast<DWORD>(content.size()), &written, nullptr) &&
                  written == content.size();
  CloseHandle(file);
  return ok;
}

// The dialog's controls and the names of their texts in the string files.
struct DialogText {
  int id;
  const char* name;
};
constexpr DialogText kDialogTexts[] = {
    {-1, "INSTRUCTION"}, {IDC_DELETE_ALL, "DELETE_ALL"}, {IDC_DELETE, "DELETE"},
    {IDC_ABOUT, "ABOUT"},  {IDOK, "EXIT"},               {IDC_DELETED_LABEL, "DELETED_LABEL"},
};

// Every text of the program's dialog is this language's.
void ExpectDialogIn(TessalyUnderTest& program, const res::LanguageTexts& texts) {
  for (const DialogText& control : kDialogTexts) {
    EXPECT_EQ(TextOf(program.Control(control.id)), texts.dialog.at(control.name)) << control.name;
  }
}

TEST_F(Scenario, EveryServerLanguageValueOnDriveEGivesItsLanguage) {
  ASSERT_NE(GetFileAttributesW(L"E:\\"), INVALID_FILE_ATTRIBUTES) << "the suite maps a folder as drive E:";
  Seed(R"({
    "files": {"E:\\nvl\\server\\lcdstr\\current.lang": {"content": "[server]\r\n"}},
    "spooler": {
      "drivers": [{"name": "Tessaly E2E Laser", "dataFile": "E2ELASR.PPD"}],
      "printers": [{"name": "Buero Drucker", "driver": "Tessaly E2E Laser"}]
    }
  })");
  for (const res::Language& language : res::Languages()) {
    SCOPED_TRACE(Narrow(language.code));
    // The file wins over the system locale, which is English in this run.
    ASSERT_TRUE(WriteLanguageFile("[server]\r\nserverlang=" + Narrow(language.serverLanguage) + "\r\n"));
    const res::LanguageTexts& texts = res::TextsOf(language.code);
    TessalyUnderTest& program = Start();
    ASSERT_TRUE(program.Answer(texts.strings.at(1010), IDOK)) << program.failure;
    ASSERT_NE(program.WaitForMainDialog(), nullptr);
    ExpectDialogIn(program, texts);
    // A message of the running program comes from the same module.
    ClickCentre(program.Control(IDC_DELETE));
    ASSERT_TRUE(program.Answer(texts.strings.at(147), IDOK)) << program.failure;
    ClickCentre(program.Control(IDOK));
    EXPECT_TRUE(program.Ended());
  }
}

// Run once per language by run-languages.sh, under the language's Unix
// locale (Wine passes the driver's locale on to the program it starts) and
// with TESSALY_E2E_LANGUAGE naming the language's code.
class SystemLocale : public Scenario {
 protected:
  const res::Language* LanguageOfThisRun() {
    wchar_t code[8] = {};
    if (!GetEnvironmentVariableW(L"TESSALY_E2E_LANGUAGE", code, 8)) return nullptr;
    for (const res::Language& language : res::Languages()) {
      if (language.code == code) return &language;
    }
    return nullptr;
  }
};

TEST_F(SystemLocale, TheLocaleGivesItsLanguageEveryTextFitsAndTheAboutTextScrolls) {
  const res::Language* language = LanguageOfThisRun();
  ASSERT_NE(language, nullptr) << "run by tools/e2e/run-languages.sh, with TESSALY_E2E_LANGUAGE set to a code";
  ASSERT_EQ(GetFileAttributesW(kLanguageFile), INVALID_FILE_ATTRIBUTES) << "drive E: says nothing in this run";
  // The system locale Wine made of the Unix locale, as the program reads
  // it; the program reads Spanish's ESN as ESP.
  wchar_t abbreviation[4] = {};
  ASSERT_NE(GetLocaleInfoW(LOCALE_SYSTEM_DEFAULT, LOCALE_SABBREVLANGNAME, abbreviation, 4), 0);
  std::wstring looksFor = abbreviation;
  if (looksFor == L"ESN") looksFor = L"ESP";
  ASSERT_EQ(looksFor, language->localeModule) << "the locale " << language->locale << " is not this language";

  Seed(kOnePrinter);
  const res::LanguageTexts& texts = res::TextsOf(language->code);
  TessalyUnderTest& program = Start();
  ASSERT_TRUE(program.Answer(texts.strings.at(1010), IDOK)) << program.failure;
  HWND dialog = program.WaitForMainDialog();
  ASSERT_NE(dialog, nullptr);
  // Expanded, every text of the dialog shows.
  ClickCentre(program.Control(IDC_EXPAND));
  ASSERT_TRUE(WaitUntil([&] { return IsShown(program.Control(IDC_DELETED_LABEL)); }, 5s));
  ExpectDialogIn(program, texts);

  // The module the program took, or the executable for English.
  const std::wstring module = ProgramFolder() + (language->code == L"ENU" ? std::wstring(L"Tessaly.exe")
                                                                         : L"Tessaly" + looksFor + L".dll");
  DialogTwin twin(module, IDD_TESSALY_DIALOG);
  ASSERT_NE(twin.window(), nullptr) << "no dialog template in " << Narrow(module);
  for (int id : {-1, IDC_DELETE_ALL, IDC_DELETE, IDC_ABOUT, IDOK, IDC_DELETED_LABEL, IDC_EXPAND}) {
    SCOPED_TRACE("control " + std::to_string(id));
    HWND control = program.Control(id);
    const SIZE twinSize = twin.ControlSize(id);
    RECT r{};
    GetClientRect(control, &r);
    ASSERT_EQ(twinSize.cx, r.right) << "the twin's dialog units differ from the program's: not the same font";
    ASSERT_EQ(twinSize.cy, r.bottom) << "the twin's dialog units differ from the program's: not the same font";
    const TextFit fit = twin.Measure(control);
    EXPECT_TRUE(fit.Fits()) << "cut: " << Narrow(fit.Describe()) << " (" << fit.text.size() << " characters)";
  }
  program.Screenshot(L"language-" + language->code);

  // The About window, its picture from the executable and its text from
  // the module, scrolls.
  ClickCentre(program.Control(IDC_ABOUT));
  HWND about = program.WaitForWindow([](HWND w) { return ClassOf(w) == L"SplashScreenExClass"; }, 10s);
  ASSERT_NE(about, nullptr);
  HWND scroller = FindWindowExW(about, nullptr, nullptr, L"Scroller");
  ASSERT_NE(scroller, nullptr);
  std::this_thread::sleep_for(1200ms);  // past the first second's rest
  const std::vector<COLORREF> first = GrabPixels(ScreenRect(scroller));
  std::this_thread::sleep_for(1000ms);
  SaveScreenshot(L"language-" + language->code + L"-about", {about});
  const std::vector<COLORREF> second = GrabPixels(ScreenRect(scroller));
  EXPECT_GT(LightPixels(first), 200) << "white text on the black screen";
  EXPECT_NE(first, second) << "the text must move";
  ClickCentre(scroller);
  EXPECT_TRUE(WaitUntil([&] { return !IsWindow(about); }, 5s));

  ClickCentre(program.Control(IDOK));
  EXPECT_TRUE(program.Ended());
}

}  // namespace
}  // namespace e2e
