// The 32-bit program on a 64-bit Windows (a 64-bit prefix under WoW64). The
// system shows a 32-bit process SysWOW64 for System32 and Wow6432Node for
// HKLM\Software: the program must clean the real places and never these.
// The WoW64 suite only (run-e2e.sh wow64): TESSALY_E2E_PROGRAM is the x86
// Tessaly.exe of a package layout (x86\ beside x64\), TESSALY_E2E_LONE_X86
// an x86 Tessaly.exe with no x64 folder beside it.
#include "app/NativeHandoff.h"
#include "tools/e2e/Scenario.h"

namespace e2e {
namespace {

// The same leftovers twice: where the spooler's 64-bit side keeps them, and
// where a 32-bit program would find them instead.
constexpr char kRealAndRedirected[] = R"({
  "spooler": {
    "drivers": [{"name": "Tessaly E2E Color", "driverPath": "E2ECOLR.DLL", "dataFile": "E2ECOLR.PPD", "configFile": "E2ECOLRUI.DLL"}],
    "printers": [{"name": "Office Color", "driver": "Tessaly E2E Color"}]
  },
  "files": {
    "C:\\windows\\system32\\spool\\drivers\\x64\\E2ELEFT.DAT": {"content": "left in the real driver folder"},
    "C:\\windows\\syswow64\\spool\\drivers\\x64\\E2ELEFT.DAT": {"content": "what a 32-bit program sees instead"}
  },
  "registry": {
    "HKEY_LOCAL_MACHINE\\Software\\NVL\\Quellix\\printers\\Office Color": {"Monitor": "on"},
    "HKEY_LOCAL_MACHINE\\Software\\Wow6432Node\\NVL\\Quellix\\printers\\Office Color": {"Monitor": "on"},
    "HKEY_LOCAL_MACHINE\\SOFTWARE\\PPML\\PostScript": {"E2E Office Color": "real"},
    "HKEY_LOCAL_MACHINE\\SOFTWARE\\Wow6432Node\\PPML\\PostScript": {"E2E Office Color": "redirected"}
  }
})";

const std::wstring kQuellix = L"Software\\NVL\\Quellix\\printers\\Office Color";
const std::wstring kQuellixRedirected = L"Software\\Wow6432Node\\NVL\\Quellix\\printers\\Office Color";
const std::wstring kPostScript = L"SOFTWARE\\PPML\\PostScript";
const std::wstring kPostScriptRedirected = L"SOFTWARE\\Wow6432Node\\PPML\\PostScript";
const std::wstring kLeftover = L"C:\\windows\\system32\\spool\\drivers\\x64\\E2ELEFT.DAT";
const std::wstring kLeftoverRedirected = L"C:\\windows\\syswow64\\spool\\drivers\\x64\\E2ELEFT.DAT";

bool UnderWow64(HANDLE process) {
  BOOL wow64 = FALSE;
  return IsWow64Process(process, &wow64) && wow64;
}

bool UnderWow64(HWND window) {
  DWORD id = 0;
  GetWindowThreadProcessId(window, &id);
  HANDLE process = OpenProcess(PROCESS_QUERY_INFORMATION, FALSE, id);
  const bool wow64 = process && UnderWow64(process);
  if (process) CloseHandle(process);
  return wow64;
}

std::wstring Environment(const wchar_t* name) {
  wchar_t value[MAX_PATH] = {};
  return GetEnvironmentVariableW(name, value, MAX_PATH) ? value : L"";
}

class Wow64Scenario : public Scenario {
 protected:
  void SetUp() override {
    if (Environment(L"TESSALY_E2E_PROGRAM").empty()) GTEST_SKIP() << "needs the WoW64 layout (run-e2e.sh wow64)";
  }
  void ExpectRedirectedPlacesUntouched() {
    EXPECT_TRUE(RegistryKeyExists(HKEY_LOCAL_MACHINE, kQuellixRedirected));
    EXPECT_TRUE(RegistryValueExists(HKEY_LOCAL_MACHINE, kPostScriptRedirected, L"E2E Office Color"));
    EXPECT_TRUE(FileExists(kLeftoverRedirected));
  }
};

TEST_F(Wow64Scenario, TheX86ProgramHandsTheRunToTheX64OneWhichCleansOnlyTheRealPlaces) {
  Seed(kRealAndRedirected);
  Start();
  ASSERT_TRUE(UnderWow64(program().Process())) << "the program under test must be the 32-bit one";
  ASSERT_NE(OpenMainDialog(), nullptr) << program().failure;
  EXPECT_FALSE(UnderWow64(program().MainDialog())) << "the dialog must belong to the 64-bit program";
  program().Screenshot(L"31-wow64-dialog-of-the-x64-program");

  // A delete-all run: it also sweeps the HKLM\Software values and the files
  // in the driver folder that WoW64 would redirect.
  ClickCentre(program().Control(IDC_DELETE_ALL));
  ASSERT_TRUE(program().Answer(EnglishText(129), IDOK)) << program().failure;
  ClickCentre(program().Control(IDC_DELETE));
  ASSERT_TRUE(WaitUntil([&] { return program().ItemTexts(IDC_PRINTER_LIST).empty() &&
                                     IsWindowEnabled(program().Control(IDC_DELETE)); },
                        120s))
      << "the run did not end";
  PressKey(VK_ESCAPE);
  ASSERT_TRUE(program().Ended()) << "the 32-bit program must end with the 64-bit one";
  EXPECT_EQ(program().ExitCode(), 0u) << "the 64-bit program's exit code is passed on";

  // The real places are clean...
  EXPECT_TRUE(InstalledPrinters().empty());
  EXPECT_FALSE(RegistryKeyExists(HKEY_LOCAL_MACHINE, kQuellix));
  EXPECT_FALSE(RegistryValueExists(HKEY_LOCAL_MACHINE, kPostScript, L"E2E Office Color"));
  EXPECT_FALSE(FileExists(kLeftover));
  // ...and nothing went through the redirected ones.
  ExpectRedirectedPlacesUntouched();
}

TEST_F(Wow64Scenario, WithoutTheX64ProgramTheX86OneRefusesAndDeletesNothing) {
  const std::wstring lone = Environment(L"TESSALY_E2E_LONE_X86");
  ASSERT_FALSE(lone.empty()) << "TESSALY_E2E_LONE_X86 names no program";
  Seed(kRealAndRedirected);
  Start(lone);
  ASSERT_TRUE(program().Answer(app::kWow64RefusalText, IDOK, L"32-wow64-refusal", L"Error")) << program().failure;
  ASSERT_TRUE(program().Ended());
  EXPECT_EQ(program().ExitCode(), app::kRefusedExitCode);
  EXPECT_EQ(program().WaitForMainDialog(0ms), nullptr);

  EXPECT_TRUE(Contains(InstalledPrinters(), L"Office Color"));
  EXPECT_TRUE(RegistryKeyExists(HKEY_LOCAL_MACHINE, kQuellix));
  EXPECT_TRUE(RegistryValueExists(HKEY_LOCAL_MACHINE, kPostScript, L"E2E Office Color"));
  EXPECT_TRUE(FileExists(kLeftover));
  ExpectRedirectedPlacesUntouched();
}

}  // namespace
}  // namespace e2e
