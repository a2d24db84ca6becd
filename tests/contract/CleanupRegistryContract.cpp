// The registry cleanups on seeded keys, on the simulated machine and on Wine:
// exactly the named keys and values go, their neighbours stay.
#include "base/Utf.h"
#include "cleanup/DriverRegistryCleanup.h"
#include "cleanup/GlobalRegistrySweep.h"
#include "cleanup/PrinterRegistryCleanup.h"
#include "tests/contract/ContractMachine.h"

namespace contract {
namespace {

using os::RootKey;

class CleanupRegistry : public Contract {
 protected:
  bool KeyExists(RootKey root, const std::wstring& path) {
    return sys().registry.OpenKey(root, path, os::regaccess::kRead).ok();
  }
  bool ValueExists(RootKey root, const std::wstring& path, const std::wstring& name) {
    auto key = sys().registry.OpenKey(root, path, os::regaccess::kRead);
    return key.ok() && key.value->QueryValue(name).ok();
  }
};

TEST_F(CleanupRegistry, APrintersEntriesGoAndItsNeighboursStay) {
  machine().Seed(R"({"registry": {
    "HKEY_CURRENT_USER\\Printers\\Settings": {"Tessaly Cleanup P": "x", "Tessaly Cleanup P2": "y"},
    "HKEY_CURRENT_USER\\Printers\\Settings\\Printers\\Tessaly Cleanup P": {"DevMode": "1"},
    "HKEY_CURRENT_USER\\Printers\\Settings\\Printers\\Tessaly Cleanup P\\Sub": {"Deeper": "1"},
    "HKEY_CURRENT_USER\\Printers\\Settings\\Printers\\Tessaly Cleanup P2": {},
    "HKEY_USERS\\.DEFAULT\\Printers\\Settings\\Printers\\Tessaly Cleanup P": {},
    "HKEY_USERS\\.DEFAULT\\Printers\\Settings\\Printers\\Tessaly Cleanup P2": {},
    "HKEY_LOCAL_MACHINE\\Software\\NVL\\Quellix\\printers\\Tessaly Cleanup P": {"Port": "9100"},
    "HKEY_LOCAL_MACHINE\\Software\\NVL\\Quellix\\printers\\Tessaly Cleanup P2": {},
    "HKEY_CURRENT_USER\\Software\\NVL\\Job Properties\\LocalWaterMarkData\\Printers\\Tessaly Cleanup P": {},
    "HKEY_CURRENT_USER\\Software\\NVL\\Job Properties\\LocalWaterMarkData\\Printers\\Tessaly Cleanup P2": {},
    "HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\Control\\Print\\Watermark\\Tessaly Cleanup W": {}}})");
  sysaccess::SystemAccess sys(this->sys());
  cleanup::CleanPrinterRegistry(sys, L"Tessaly Cleanup P");

  const std::pair<RootKey, const wchar_t*> keys[] = {
      {RootKey::CurrentUser, L"Printers\\Settings\\Printers\\"},
      {RootKey::Users, L".DEFAULT\\Printers\\Settings\\Printers\\"},
      {RootKey::LocalMachine, L"Software\\NVL\\Quellix\\printers\\"},
      {RootKey::CurrentUser, L"Software\\NVL\\Job Properties\\LocalWaterMarkData\\Printers\\"}};
  for (const auto& [root, parent] : keys) {
    EXPECT_FALSE(KeyExists(root, parent + std::wstring(L"Tessaly Cleanup P"))) << parent;
    EXPECT_TRUE(KeyExists(root, parent + std::wstring(L"Tessaly Cleanup P2"))) << parent;
  }
  EXPECT_FALSE(ValueExists(RootKey::CurrentUser, L"Printers\\Settings", L"Tessaly Cleanup P"));
  EXPECT_TRUE(ValueExists(RootKey::CurrentUser, L"Printers\\Settings", L"Tessaly Cleanup P2"));
  EXPECT_FALSE(KeyExists(RootKey::LocalMachine, L"SYSTEM\\CurrentControlSet\\Control\\Print\\Watermark"));
  EXPECT_TRUE(KeyExists(RootKey::LocalMachine, L"SYSTEM\\CurrentControlSet\\Control\\Print"));
}

TEST_F(CleanupRegistry, AConnectionsValueGoesByItsWholeNameAndNothingAboveItsServerGoes) {
  machine().Seed(R"({"registry": {
    "HKEY_CURRENT_USER\\Printers\\Settings": {"\\\\tessaly-srv\\Tessaly Cleanup lp": "x", "Tessaly Cleanup lp": "local"},
    "HKEY_CURRENT_USER\\Printers\\Settings\\Printers\\Tessaly Cleanup lp": {},
    "HKEY_CURRENT_USER\\Printers\\Settings\\Printers\\tessaly-srv\\Tessaly Cleanup other": {}}})");
  sysaccess::SystemAccess sys(this->sys());
  cleanup::CleanPrinterRegistry(sys, L"\\\\tessaly-srv\\Tessaly Cleanup lp");
  EXPECT_FALSE(ValueExists(RootKey::CurrentUser, L"Printers\\Settings", L"\\\\tessaly-srv\\Tessaly Cleanup lp"));
  EXPECT_TRUE(ValueExists(RootKey::CurrentUser, L"Printers\\Settings", L"Tessaly Cleanup lp"));
  EXPECT_TRUE(KeyExists(RootKey::CurrentUser, L"Printers\\Settings\\Printers\\Tessaly Cleanup lp"))
      << "a local printer of the same short name keeps its settings";
  EXPECT_TRUE(KeyExists(RootKey::CurrentUser, L"Printers\\Settings\\Printers\\tessaly-srv\\Tessaly Cleanup other"));
}

TEST_F(CleanupRegistry, ADriversKeysGoFromEveryTreeAndControlSetAndItsNeighboursStay) {
  std::string image = R"({"registry": {
    "HKEY_USERS\\.DEFAULT\\Printers\\Settings\\Drivers\\Tessaly Cleanup Driver": {"x": "1"},
    "HKEY_USERS\\.DEFAULT\\Printers\\Settings\\Drivers\\Tessaly Cleanup Driver 2": {},
    "HKEY_CURRENT_USER\\Software\\NVL\\Job Properties\\Driver\\TESSALYCLEANUP": {"Copies": "2"},
    "HKEY_CURRENT_USER\\Software\\NVL\\Job Properties\\Driver\\TESSALYCLEANUP\\Finishing": {},
    "HKEY_CURRENT_USER\\Software\\NVL\\Job Properties\\Driver\\TESSALYCLEANUP2": {},)";
  const char* sets[] = {"CurrentControlSet", "ControlSet002", "ControlSet003"};
  const char* trees[] = {"Windows NT x86\\\\Drivers\\\\Version-3", "Windows NT x86\\\\Drivers\\\\Version-2",
                         "Windows x64\\\\Drivers\\\\Version-3"};
  for (const char* set : sets) {
    for (const char* tree : trees) {
      const std::string parent =
          std::string("HKEY_LOCAL_MACHINE\\\\SYSTEM\\\\") + set + "\\\\Control\\\\Print\\\\Environments\\\\" + tree;
      image += "\"" + parent + "\\\\Tessaly Cleanup Driver\\\\Files\": {},\n";
      image += "\"" + parent + "\\\\Tessaly Cleanup Driver 2\": {},\n";
    }
  }
  image += R"("HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\Control\\Print\\Environments\\Windows x64\\Drivers\\Version-2\\Tessaly Cleanup Driver": {}}})";
  machine().Seed(image);
  sysaccess::SystemAccess sys(this->sys());
  cleanup::CleanDriverRegistry(sys, L"Tessaly Cleanup Driver", L"TESSALYCLEANUP");

  EXPECT_FALSE(KeyExists(RootKey::Users, L".DEFAULT\\Printers\\Settings\\Drivers\\Tessaly Cleanup Driver"));
  EXPECT_TRUE(KeyExists(RootKey::Users, L".DEFAULT\\Printers\\Settings\\Drivers\\Tessaly Cleanup Driver 2"));
  EXPECT_FALSE(KeyExists(RootKey::CurrentUser, L"Software\\NVL\\Job Properties\\Driver\\TESSALYCLEANUP"));
  EXPECT_TRUE(KeyExists(RootKey::CurrentUser, L"Software\\NVL\\Job Properties\\Driver\\TESSALYCLEANUP2"));
  for (const wchar_t* set : {L"CurrentControlSet", L"ControlSet002", L"ControlSet003"}) {
    for (const wchar_t* tree : {L"Windows NT x86\\Drivers\\Version-3", L"Windows NT x86\\Drivers\\Version-2",
                                L"Windows x64\\Drivers\\Version-3"}) {
      const std::wstring parent = std::wstring(L"SYSTEM\\") + set + L"\\Control\\Print\\Environments\\" + tree;
      EXPECT_FALSE(KeyExists(RootKey::LocalMachine, parent + L"\\Tessaly Cleanup Driver")) << parent;
      EXPECT_TRUE(KeyExists(RootKey::LocalMachine, parent + L"\\Tessaly Cleanup Driver 2")) << parent;
    }
  }
  EXPECT_TRUE(KeyExists(RootKey::LocalMachine,
                        L"SYSTEM\\CurrentControlSet\\Control\\Print\\Environments\\Windows x64\\Drivers\\Version-2\\"
                        L"Tessaly Cleanup Driver"))
      << "no step names a 64-bit version-2 driver";
}

TEST_F(CleanupRegistry, AnEmptyDataFileStemLeavesTheJobPropertiesOfEveryDriver) {
  machine().Seed(R"({"registry": {
    "HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\Control\\Print\\Environments\\Windows x64\\Drivers\\Version-3\\Tessaly Cleanup Driver": {},
    "HKEY_CURRENT_USER\\Software\\NVL\\Job Properties\\Driver\\TESSALYCLEANUP": {},
    "HKEY_CURRENT_USER\\Software\\NVL\\Job Properties\\Driver\\TESSALYCLEANUP2": {}}})");
  sysaccess::SystemAccess sys(this->sys());
  cleanup::CleanDriverRegistry(sys, L"Tessaly Cleanup Driver", L"");
  cleanup::CleanDriverRegistry(sys, L"", L"Tessaly Cleanup No Such Stem");
  EXPECT_TRUE(KeyExists(RootKey::CurrentUser, L"Software\\NVL\\Job Properties\\Driver\\TESSALYCLEANUP"));
  EXPECT_TRUE(KeyExists(RootKey::CurrentUser, L"Software\\NVL\\Job Properties\\Driver\\TESSALYCLEANUP2"));
  EXPECT_FALSE(KeyExists(RootKey::LocalMachine, L"SYSTEM\\CurrentControlSet\\Control\\Print\\Environments\\"
                                               L"Windows x64\\Drivers\\Version-3\\Tessaly Cleanup Driver"))
      << "the steps after it still run";
}

TEST_F(CleanupRegistry, TheDeleteAllSweepTakesEveryStepsTargetAndLeavesTheNeighboursAndOtherUsers) {
  SKIP_UNLESS_DISPOSABLE();
  // HKU\S-1-5-21-0-0-0-1000 is the fixed account the sweep clears (under Wine
  // also the current user); ...-1002 is somebody else, never reached.
  machine().Seed(R"({"registry": {
    "HKCU\\Printers\\Settings\\Wizard": {"Driver Name": "Tessaly Cleanup", "Tessaly Cleanup Other": "keep"},
    "HKLM\\System\\CurrentControlSet\\Control\\Print\\Watermark\\Tessaly Cleanup": {"Text": "DRAFT"},
    "HKLM\\System\\ControlSet002\\Control\\Print\\Watermark": {"Text": "x"},
    "HKLM\\System\\ControlSet003\\Control\\Print\\Watermark\\Tessaly Cleanup": {},
    "HKLM\\Software\\Microsoft\\Windows\\CurrentVersion\\Setup": {
        "Installation Sources": {"type": "REG_MULTI_SZ", "data": ["C:\\Tessaly Cleanup"]}, "Tessaly Source": "D:\\"},
    "HKCU\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\ComDlg32\\OpenSaveMRU\\INF": {"a": "t.inf"},
    "HKCU\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\ComDlg32\\OpenSaveMRU\\Tessaly Cleanup": {},
    "HKU\\S-1-5-21-0-0-0-1000\\Printers\\DevModes2": {"Tessaly Cleanup": "dm"},
    "HKU\\S-1-5-21-0-0-0-1000\\Printers\\DevModePerUser": {"Tessaly Cleanup": "dm"},
    "HKU\\S-1-5-21-0-0-0-1000\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\ComDlg\\INF": {"a": "t.inf"},
    "HKU\\S-1-5-21-0-0-0-1000\\Printers\\Settings\\Printers\\Tessaly Cleanup A": {},
    "HKLM\\SOFTWARE\\PPML\\PostScript": {"": "default", "Tessaly Cleanup": "1"},
    "HKU\\.DEFAULT\\Printers\\Settings\\Printers\\Tessaly Cleanup A\\Sub": {},
    "HKU\\.DEFAULT\\Printers\\Settings\\Printers\\Tessaly Cleanup B": {},
    "HKU\\S-1-5-18\\Printers\\Settings\\Printers\\Tessaly Cleanup A": {},
    "HKCU\\Printers\\Settings\\Printers\\Tessaly Cleanup A": {},
    "HKCU\\Printers\\DevModes2": {"Tessaly Cleanup": "dm"},
    "HKCU\\Printers\\DevModePerUser": {"Tessaly Cleanup": "dm"},
    "HKU\\.DEFAULT\\Printers\\DevModes2": {"Tessaly Cleanup": "dm"},
    "HKU\\.DEFAULT\\Printers\\DevModePerUser": {"Tessaly Cleanup": "dm"},
    "HKLM\\SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\Print\\Providers\\Client Side Rendering Print Provider\\Servers\\tessaly-srv\\Printers": {},
    "HKLM\\SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\Print\\Providers\\Client Side Rendering Print Provider\\Tessaly Cleanup": {},
    "HKLM\\SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\Print\\Providers\\LanMan Print Services\\Servers\\tessaly-srv": {},
    "HKLM\\System\\CurrentControlSet\\Control\\Print\\Environments\\Windows x64\\Drivers\\Version-3\\Tessaly Cleanup Driver": {},
    "HKLM\\System\\CurrentControlSet\\Control\\Print\\Environments\\Windows x64\\Drivers\\Version-2\\Tessaly Cleanup Driver": {},
    "HKLM\\System\\CurrentControlSet\\Control\\Print\\Environments\\Windows NT x86\\Drivers\\Version-3\\Tessaly Cleanup Driver": {},
    "HKU\\S-1-5-21-1004336348-1177238915-682003330-1002\\Printers\\DevModes2": {"Tessaly Cleanup": "theirs"},
    "HKU\\S-1-5-21-1004336348-1177238915-682003330-1002\\Printers\\Settings\\Printers\\Tessaly Cleanup A": {}}})");
  sysaccess::SystemAccess sys(this->sys());
  cleanup::SweepPrintRegistry(sys);

  const auto gone = [&](RootKey root, const std::wstring& key, const wchar_t* value = nullptr) {
    return value ? !ValueExists(root, key, value) : !KeyExists(root, key);
  };
  const std::wstring mru = L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\ComDlg32\\OpenSaveMRU\\";
  const std::wstring providers = L"SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\Print\\Providers\\";
  const std::wstring drivers = L"System\\CurrentControlSet\\Control\\Print\\Environments\\";
  const std::wstring fixed = L"S-1-5-21-0-0-0-1000\\";
  const std::wstring other = L"S-1-5-21-1004336348-1177238915-682003330-1002\\";
  EXPECT_TRUE(gone(RootKey::CurrentUser, L"Printers\\Settings\\Wizard", L"Driver Name"));
  EXPECT_FALSE(gone(RootKey::CurrentUser, L"Printers\\Settings\\Wizard", L"Tessaly Cleanup Other"));
  for (const wchar_t* set : {L"CurrentControlSet", L"ControlSet002", L"ControlSet003"}) {
    EXPECT_TRUE(gone(RootKey::LocalMachine, L"System\\" + std::wstring(set) + L"\\Control\\Print\\Watermark")) << set;
  }
  EXPECT_TRUE(gone(RootKey::LocalMachine, L"Software\\Microsoft\\Windows\\CurrentVersion\\Setup", L"Installation Sources"));
  EXPECT_FALSE(gone(RootKey::LocalMachine, L"Software\\Microsoft\\Windows\\CurrentVersion\\Setup", L"Tessaly Source"));
  EXPECT_TRUE(gone(RootKey::CurrentUser, mru + L"INF"));
  EXPECT_FALSE(gone(RootKey::CurrentUser, mru + L"Tessaly Cleanup"));
  // The fixed account's device-mode keys go whole.
  for (const wchar_t* key : {L"Printers\\DevModes2", L"Printers\\DevModePerUser",
                             L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\ComDlg\\INF"}) {
    EXPECT_TRUE(gone(RootKey::Users, fixed + key)) << key;
  }
  EXPECT_FALSE(gone(RootKey::LocalMachine, L"SOFTWARE\\PPML\\PostScript"));
  EXPECT_TRUE(gone(RootKey::LocalMachine, L"SOFTWARE\\PPML\\PostScript", L""));
  EXPECT_TRUE(gone(RootKey::LocalMachine, L"SOFTWARE\\PPML\\PostScript", L"Tessaly Cleanup"));
  for (const std::wstring hive : {L".DEFAULT\\", L"S-1-5-18\\", fixed.c_str()}) {
    const std::wstring printers = hive + L"Printers\\Settings\\Printers";
    EXPECT_FALSE(gone(RootKey::Users, printers)) << printers;
    EXPECT_TRUE(gone(RootKey::Users, printers + L"\\Tessaly Cleanup A")) << printers;
  }
  EXPECT_TRUE(gone(RootKey::Users, L".DEFAULT\\Printers\\Settings\\Printers\\Tessaly Cleanup B"));
  EXPECT_TRUE(gone(RootKey::CurrentUser, L"Printers\\Settings\\Printers\\Tessaly Cleanup A"));
  const std::pair<RootKey, const wchar_t*> devModes[] = {{RootKey::CurrentUser, L"Printers\\DevModes2"},
                                                        {RootKey::CurrentUser, L"Printers\\DevModePerUser"},
                                                        {RootKey::Users, L".DEFAULT\\Printers\\DevModes2"},
                                                        {RootKey::Users, L".DEFAULT\\Printers\\DevModePerUser"}};
  for (const auto& [root, key] : devModes) {
    EXPECT_TRUE(gone(root, key, L"Tessaly Cleanup")) << key;
  }
  EXPECT_FALSE(gone(RootKey::Users, L".DEFAULT\\Printers\\DevModes2")) << "only its values go";
  EXPECT_TRUE(gone(RootKey::LocalMachine, providers + L"Client Side Rendering Print Provider\\Servers\\tessaly-srv"));
  EXPECT_FALSE(gone(RootKey::LocalMachine, providers + L"Client Side Rendering Print Provider\\Servers"));
  EXPECT_FALSE(gone(RootKey::LocalMachine, providers + L"Client Side Rendering Print Provider\\Tessaly Cleanup"));
  EXPECT_TRUE(gone(RootKey::LocalMachine, providers + L"LanMan Print Services\\Servers\\tessaly-srv"));
  EXPECT_TRUE(gone(RootKey::LocalMachine, drivers + L"Windows x64\\Drivers\\Version-3\\Tessaly Cleanup Driver"));
  EXPECT_TRUE(gone(RootKey::LocalMachine, drivers + L"Windows NT x86\\Drivers\\Version-3\\Tessaly Cleanup Driver"));
  EXPECT_FALSE(gone(RootKey::LocalMachine, drivers + L"Windows x64\\Drivers\\Version-2\\Tessaly Cleanup Driver"));
  EXPECT_FALSE(gone(RootKey::Users, other + L"Printers\\DevModes2", L"Tessaly Cleanup"));
  EXPECT_FALSE(gone(RootKey::Users, other + L"Printers\\Settings\\Printers\\Tessaly Cleanup A"));
}

TEST_F(CleanupRegistry, EverySubKeyTreeGoesAndTheKeyStays) {
  machine().Seed(R"({"registry": {
    "HKEY_CURRENT_USER\\Software\\Tessaly Cleanup\\Sweep\\Alpha": {"v": "1"},
    "HKEY_CURRENT_USER\\Software\\Tessaly Cleanup\\Sweep\\Alpha\\Deep\\Deeper": {},
    "HKEY_CURRENT_USER\\Software\\Tessaly Cleanup\\Sweep\\beta": {},
    "HKEY_CURRENT_USER\\Software\\Tessaly Cleanup\\Sweep\\Gamma": {},
    "HKEY_CURRENT_USER\\Software\\Tessaly Cleanup\\Sweep": {"Kept": "value"},
    "HKEY_CURRENT_USER\\Software\\Tessaly Cleanup\\Beside": {}}})");
  auto key = sys().registry.OpenKey(RootKey::CurrentUser, L"Software\\Tessaly Cleanup\\Sweep", os::regaccess::kAllAccess);
  ASSERT_TRUE(key.ok()) << key.status;
  cleanup::DeleteAllSubKeys(std::move(key.value));
  auto after = sys().registry.OpenKey(RootKey::CurrentUser, L"Software\\Tessaly Cleanup\\Sweep", os::regaccess::kRead);
  ASSERT_TRUE(after.ok());
  const auto left = after.value->EnumKey(0, 260);
  EXPECT_EQ(left.status, os::error::kNoMoreItems) << "left: " << base::WideToUtf8(left.value);
  EXPECT_TRUE(ValueExists(RootKey::CurrentUser, L"Software\\Tessaly Cleanup\\Sweep", L"Kept"));
  EXPECT_TRUE(KeyExists(RootKey::CurrentUser, L"Software\\Tessaly Cleanup\\Beside"));
}

TEST_F(CleanupRegistry, ATreeDeletionStopsAtTheFirstSubKeyThatWillNotGo) {
  SKIP_ON_WINE("no key can be made to refuse deletion: a key whose access list denies everyone DELETE was deleted "
               "all the same when tried, so the seeder refuses protected keys; Wine's SHDeleteKeyW is "
               "RegDeleteTreeW, which also returns the first sub-key's error and goes no further");
  machine().Seed(R"({"registry": {
    "HKEY_CURRENT_USER\\Software\\Tessaly Cleanup\\Tree": {"Kept": "value"},
    "HKEY_CURRENT_USER\\Software\\Tessaly Cleanup\\Tree\\Alpha\\Deep": {},
    "HKEY_CURRENT_USER\\Software\\Tessaly Cleanup\\Tree\\Locked\\Inner": {},
    "HKEY_CURRENT_USER\\Software\\Tessaly Cleanup\\Tree\\Locked": {"v": "1"},
    "HKEY_CURRENT_USER\\Software\\Tessaly Cleanup\\Tree\\Omega": {}},
    "protectedKeys": ["HKEY_CURRENT_USER\\Software\\Tessaly Cleanup\\Tree\\Locked"]})");
  EXPECT_EQ(sys().registry.DeleteTree(RootKey::CurrentUser, L"Software\\Tessaly Cleanup\\Tree"),
            os::error::kAccessDenied);
  const std::wstring tree = L"Software\\Tessaly Cleanup\\Tree";
  EXPECT_FALSE(KeyExists(RootKey::CurrentUser, tree + L"\\Alpha")) << "listed before the refusal: gone";
  EXPECT_FALSE(KeyExists(RootKey::CurrentUser, tree + L"\\Locked\\Inner")) << "below the refusing key: gone";
  EXPECT_TRUE(ValueExists(RootKey::CurrentUser, tree + L"\\Locked", L"v"));
  EXPECT_TRUE(KeyExists(RootKey::CurrentUser, tree + L"\\Omega")) << "never reached";
  EXPECT_TRUE(ValueExists(RootKey::CurrentUser, tree, L"Kept"));
}

TEST_F(CleanupRegistry, EveryValueGoesUpToANameTooLongForTheBuffer) {
  // Names chosen so that the order they were written in is also their order
  // by name: the simulated machine lists values as written, Wine by name.
  const std::string fits(259, 'm');
  const std::string tooLong(260, 'n');
  machine().Seed(R"({"registry": {"HKEY_CURRENT_USER\\Software\\Tessaly Cleanup\\Values": {
    "": "default", "a": "1", ")" + fits + R"(": "2", ")" + tooLong + R"(": "3", "z": "4"},
    "HKEY_CURRENT_USER\\Software\\Tessaly Cleanup\\Values\\Sub": {"s": "kept"}}})");
  sysaccess::SystemAccess sys(this->sys());
  cleanup::DeleteAllValues(sys, RootKey::CurrentUser, L"Software\\Tessaly Cleanup\\Values");
  const wchar_t* key = L"Software\\Tessaly Cleanup\\Values";
  EXPECT_FALSE(ValueExists(RootKey::CurrentUser, key, L"")) << "the default value goes like the others";
  EXPECT_FALSE(ValueExists(RootKey::CurrentUser, key, L"a"));
  EXPECT_FALSE(ValueExists(RootKey::CurrentUser, key, std::wstring(259, L'm')));
  EXPECT_TRUE(ValueExists(RootKey::CurrentUser, key, std::wstring(260, L'n')));
  EXPECT_TRUE(ValueExists(RootKey::CurrentUser, key, L"z"));
  EXPECT_TRUE(ValueExists(RootKey::CurrentUser, L"Software\\Tessaly Cleanup\\Values\\Sub", L"s"));
}

}  // namespace
}  // namespace contract
