// The two sweeps of a delete-all run on a real registry and file system.
// They take the printing data of the whole machine, not only what a case
// seeds, so they run only in a Wine prefix (fresh for every test run, and
// holding no printing data of its own at these places).
#include "cleanup/FileCleanup.h"
#include "cleanup/GlobalRegistrySweep.h"
#include "tests/win32/RealSystem.h"

namespace realsystem {
namespace {

using os::RootKey;

class CleanupSweepTest : public SeededPrefix {
 protected:
  void SetUp() override {
    if (!RunningOnWine()) GTEST_SKIP() << "Not Wine: a sweep would remove this machine's own printing data";
  }
};

TEST_F(CleanupSweepTest, TheRegistrySweepTakesEveryStepsTargetAndLeavesTheNeighbours) {
  Seed(R"({"registry": {
    "HKCU\\Printers\\Settings\\Wizard": {"Driver Name": "Tessaly Cleanup", "Tessaly Cleanup Other": "keep"},
    "HKLM\\System\\CurrentControlSet\\Control\\Print\\Watermark\\Tessaly Cleanup": {"Text": "DRAFT"},
    "HKLM\\System\\ControlSet003\\Control\\Print\\Watermark\\Tessaly Cleanup": {},
    "HKLM\\Software\\Microsoft\\Windows\\CurrentVersion\\Setup": {
        "Installation Sources": {"type": "REG_MULTI_SZ", "data": ["C:\\Tessaly Cleanup"]}},
    "HKCU\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\ComDlg32\\OpenSaveMRU\\INF": {"a": "t.inf"},
    "HKCU\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\ComDlg32\\OpenSaveMRU\\Tessaly Cleanup": {},
    "HKU\\S-1-5-21-0-0-0-1000\\Printers\\DevModePerUser": {"Tessaly Cleanup": "dm"},
    "HKU\\S-1-5-21-0-0-0-1000\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\ComDlg\\INF": {"a": "t.inf"},
    "HKLM\\SOFTWARE\\PPML\\PostScript": {"": "default", "Tessaly Cleanup": "1"},
    "HKU\\.DEFAULT\\Printers\\Settings\\Printers\\Tessaly Cleanup A\\Sub": {},
    "HKU\\S-1-5-18\\Printers\\Settings\\Printers\\Tessaly Cleanup A": {},
    "HKCU\\Printers\\Settings\\Printers\\Tessaly Cleanup A": {},
    "HKCU\\Printers\\DevModes2": {"Tessaly Cleanup": "dm"},
    "HKU\\.DEFAULT\\Printers\\DevModes2": {"Tessaly Cleanup": "dm"},
    "HKU\\.DEFAULT\\Printers\\DevModePerUser": {"Tessaly Cleanup": "dm"},
    "HKLM\\SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\Print\\Providers\\Client Side Rendering Print Provider\\Servers\\tessaly-srv\\Printers": {},
    "HKLM\\SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\Print\\Providers\\Client Side Rendering Print Provider\\Tessaly Cleanup": {},
    "HKLM\\System\\CurrentControlSet\\Control\\Print\\Environments\\Windows x64\\Drivers\\Version-3\\Tessaly Cleanup Driver": {},
    "HKLM\\System\\CurrentControlSet\\Control\\Print\\Environments\\Windows x64\\Drivers\\Version-2\\Tessaly Cleanup Driver": {},
    "HKLM\\System\\CurrentControlSet\\Control\\Print\\Environments\\Windows NT x86\\Drivers\\Version-3\\Tessaly Cleanup Driver": {},
    "HKLM\\SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\Print\\Providers\\LanMan Print Services\\Servers\\tessaly-srv": {}}})");
  sysaccess::SystemAccess sys(os::win32::MakeSystem());
  cleanup::SweepPrintRegistry(sys);

  EXPECT_FALSE(ValueExists(RootKey::CurrentUser, L"Printers\\Settings\\Wizard", L"Driver Name"));
  EXPECT_TRUE(ValueExists(RootKey::CurrentUser, L"Printers\\Settings\\Wizard", L"Tessaly Cleanup Other"));
  EXPECT_FALSE(KeyExists(RootKey::LocalMachine, L"System\\CurrentControlSet\\Control\\Print\\Watermark"));
  EXPECT_FALSE(KeyExists(RootKey::LocalMachine, L"System\\ControlSet003\\Control\\Print\\Watermark"));
  EXPECT_FALSE(ValueExists(RootKey::LocalMachine, L"Software\\Microsoft\\Windows\\CurrentVersion\\Setup",
                           L"Installation Sources"));
  EXPECT_TRUE(KeyExists(RootKey::LocalMachine, L"Software\\Microsoft\\Windows\\CurrentVersion\\Setup"));
  const std::wstring mru = L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\ComDlg32\\OpenSaveMRU\\";
  EXPECT_FALSE(KeyExists(RootKey::CurrentUser, mru + L"INF"));
  EXPECT_TRUE(KeyExists(RootKey::CurrentUser, mru + L"Tessaly Cleanup"));
  // The fixed account is the prefix's user: its device-mode keys go whole.
  EXPECT_FALSE(KeyExists(RootKey::Users, L"S-1-5-21-0-0-0-1000\\Printers\\DevModePerUser"));
  EXPECT_FALSE(KeyExists(RootKey::CurrentUser, L"Printers\\DevModes2"));
  EXPECT_FALSE(KeyExists(RootKey::Users,
                         L"S-1-5-21-0-0-0-1000\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\ComDlg\\INF"));
  EXPECT_TRUE(KeyExists(RootKey::LocalMachine, L"SOFTWARE\\PPML\\PostScript"));
  EXPECT_FALSE(ValueExists(RootKey::LocalMachine, L"SOFTWARE\\PPML\\PostScript", L""));
  EXPECT_FALSE(ValueExists(RootKey::LocalMachine, L"SOFTWARE\\PPML\\PostScript", L"Tessaly Cleanup"));
  for (const wchar_t* hive : {L".DEFAULT", L"S-1-5-18", L"S-1-5-21-0-0-0-1000"}) {
    const std::wstring printers = std::wstring(hive) + L"\\Printers\\Settings\\Printers";
    EXPECT_TRUE(KeyExists(RootKey::Users, printers)) << printers;
    EXPECT_FALSE(KeyExists(RootKey::Users, printers + L"\\Tessaly Cleanup A")) << printers;
  }
  EXPECT_FALSE(ValueExists(RootKey::Users, L".DEFAULT\\Printers\\DevModes2", L"Tessaly Cleanup"));
  EXPECT_FALSE(ValueExists(RootKey::Users, L".DEFAULT\\Printers\\DevModePerUser", L"Tessaly Cleanup"));
  EXPECT_TRUE(KeyExists(RootKey::Users, L".DEFAULT\\Printers\\DevModes2"));
  const std::wstring providers = L"SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\Print\\Providers\\";
  EXPECT_FALSE(KeyExists(RootKey::LocalMachine, providers + L"Client Side Rendering Print Provider\\Servers\\tessaly-srv"));
  EXPECT_TRUE(KeyExists(RootKey::LocalMachine, providers + L"Client Side Rendering Print Provider\\Servers"));
  EXPECT_TRUE(KeyExists(RootKey::LocalMachine, providers + L"Client Side Rendering Print Provider\\Tessaly Cleanup"));
  EXPECT_FALSE(KeyExists(RootKey::LocalMachine, providers + L"LanMan Print Services\\Servers\\tessaly-srv"));
  const std::wstring environments = L"System\\CurrentControlSet\\Control\\Print\\Environments\\";
  EXPECT_FALSE(KeyExists(RootKey::LocalMachine, environments + L"Windows x64\\Drivers\\Version-3\\Tessaly Cleanup Driver"));
  EXPECT_FALSE(KeyExists(RootKey::LocalMachine, environments + L"Windows NT x86\\Drivers\\Version-3\\Tessaly Cleanup Driver"));
  EXPECT_TRUE(KeyExists(RootKey::LocalMachine, environments + L"Windows x64\\Drivers\\Version-2\\Tessaly Cleanup Driver"));
}

TEST_F(CleanupSweepTest, TheFileSweepTakesLooseDriverFilesAndTheCompanionDataButNoVersionFolder) {
  Seed(R"({"registry": {"HKCU\\Environment": {"Temp": "C:\\Tessaly Cleanup\\Sweep Temp"}}, "files": {
    "C:\\Tessaly Cleanup\\Sweep Temp\\NVUserAuth": {},
    "C:\\Tessaly Cleanup\\Sweep Temp\\Quellix\\jobs.dat": {"attributes": ["readonly"]},
    "C:\\Tessaly Cleanup\\Sweep Temp\\Quellix\\state.ini": {},
    "C:\\Tessaly Cleanup\\Sweep Temp\\Tessaly Cleanup.tmp": {},
    "C:\\Windows\\system32\\spool\\drivers\\w32x86\\tessaly-cleanup-loose.dll": {"attributes": ["readonly"]},
    "C:\\Windows\\system32\\spool\\drivers\\w32x86\\3\\tessaly-cleanup.dll": {},
    "C:\\Windows\\system32\\spool\\drivers\\x64\\tessaly-cleanup-loose.ppd": {},
    "C:\\Windows\\system32\\spool\\drivers\\x64\\3\\tessaly-cleanup.dll": {}}})");
  sysaccess::SystemAccess sys(os::win32::MakeSystem());
  cleanup::SweepDriverFiles(sys);
  const std::wstring drivers = os::win32::TheEnvironment().SystemDirectory() + L"\\spool\\drivers\\";
  EXPECT_FALSE(FileExists(drivers + L"w32x86\\tessaly-cleanup-loose.dll"));
  EXPECT_FALSE(FileExists(drivers + L"x64\\tessaly-cleanup-loose.ppd"));
  EXPECT_TRUE(FileExists(drivers + L"w32x86\\3\\tessaly-cleanup.dll"));
  EXPECT_TRUE(FileExists(drivers + L"x64\\3\\tessaly-cleanup.dll"));
  EXPECT_FALSE(FileExists(L"C:\\Tessaly Cleanup\\Sweep Temp\\NVUserAuth"));
  EXPECT_FALSE(FileExists(L"C:\\Tessaly Cleanup\\Sweep Temp\\Quellix"));
  EXPECT_TRUE(FileExists(L"C:\\Tessaly Cleanup\\Sweep Temp\\Tessaly Cleanup.tmp"));
}

}  // namespace
}  // namespace realsystem
