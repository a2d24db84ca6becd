// The sweep of printing data no single printer or driver owns.
#include "cleanup/GlobalRegistrySweep.h"

#include "tests/sysaccess/SimScenario.h"

namespace scenario {
namespace {

using namespace cleanup;
using V = Lines;
using GlobalRegistrySweepTest = SimScenario;

// Something at every step of the sweep, a driver key in a control set the
// driver steps do not sweep, and another user's hive with the same kinds of
// entries: the journal shows that those two are never reached.
constexpr const char* kEverything = R"({"base": "workstation", "registry": {
  "HKCU\\Printers\\Settings\\Wizard": {"Driver Name": "Laser", "Other": "keep"},
  "HKLM\\System\\CurrentControlSet\\Control\\Print\\Watermark\\Draft": {"Text": "DRAFT"},
  "HKLM\\System\\ControlSet002\\Control\\Print\\Watermark": {"Text": "x"},
  "HKLM\\System\\ControlSet003\\Control\\Print\\Watermark": {},
  "HKLM\\Software\\Microsoft\\Windows\\CurrentVersion\\Setup": {
      "Installation Sources": {"type": "REG_MULTI_SZ", "data": ["D:\\drivers"]}, "SourcePath": "D:\\"},
  "HKCU\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\ComDlg32\\OpenSaveMRU\\INF": {"a": "x.inf"},
  "HKU\\S-1-5-21-0-0-0-1000\\Printers\\DevModes2": {"Laser": "dm"},
  "HKU\\S-1-5-21-0-0-0-1000\\Printers\\DevModePerUser": {"Laser": "dm"},
  "HKU\\S-1-5-21-0-0-0-1000\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\ComDlg\\INF": {},
  "HKU\\S-1-5-21-0-0-0-1000\\Printers\\Settings\\Printers\\Laser": {},
  "HKLM\\SOFTWARE\\PPML\\PostScript": {"": "default", "Laser": "1"},
  "HKU\\.DEFAULT\\Printers\\Settings\\Printers\\Office": {},
  "HKU\\.DEFAULT\\Printers\\Settings\\Printers\\Laser\\Sub": {},
  "HKU\\S-1-5-18\\Printers\\Settings\\Printers\\Laser": {},
  "HKCU\\Printers\\Settings\\Printers\\Laser": {},
  "HKCU\\Printers\\DevModes2": {"Laser": "dm"},
  "HKCU\\Printers\\DevModePerUser": {"Laser": "dm"},
  "HKU\\.DEFAULT\\Printers\\DevModes2": {"Laser": "dm"},
  "HKU\\.DEFAULT\\Printers\\DevModePerUser": {"Laser": "dm"},
  "HKLM\\SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\Print\\Providers\\Client Side Rendering Print Provider\\Servers\\srv": {},
  "HKLM\\System\\ControlSet001\\Control\\Print\\Environments\\Windows x64\\Drivers\\Version-3\\Laser": {},
  "HKLM\\System\\ControlSet001\\Control\\Print\\Environments\\Windows NT x86\\Drivers\\Version-3\\Laser": {},
  "HKLM\\System\\ControlSet002\\Control\\Print\\Environments\\Windows NT x86\\Drivers\\Version-3\\Laser": {},
  "HKLM\\SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\Print\\Providers\\LanMan Print Services\\Servers\\srv": {},
  "HKU\\S-1-5-21-1004336348-1177238915-682003330-1002\\Printers\\DevModes2": {"Laser": "theirs"},
  "HKU\\S-1-5-21-1004336348-1177238915-682003330-1002\\Printers\\Settings\\Printers\\Laser": {}}})";

TEST_F(GlobalRegistrySweepTest, TwentyThreeStepsRunInOrderAndStayOnTheirTargets) {
  Given(kEverything);
  SweepPrintRegistry(sys());
  const std::wstring providers = L"HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\Print\\Providers\\";
  const std::wstring environments = L"HKEY_LOCAL_MACHINE\\System\\CurrentControlSet\\Control\\Print\\Environments\\";
  EXPECT_EQ(Journal(), (V{
      L"registry.DeleteValue HKEY_CURRENT_USER\\Printers\\Settings\\Wizard:Driver Name -> 0",
      L"registry.DeleteTree HKEY_LOCAL_MACHINE\\System\\CurrentControlSet\\Control\\Print\\Watermark -> 0",
      L"registry.DeleteTree HKEY_LOCAL_MACHINE\\System\\ControlSet001\\Control\\Print\\Watermark -> 2",
      L"registry.DeleteTree HKEY_LOCAL_MACHINE\\System\\ControlSet002\\Control\\Print\\Watermark -> 0",
      L"registry.DeleteTree HKEY_LOCAL_MACHINE\\System\\ControlSet003\\Control\\Print\\Watermark -> 0",
      L"registry.DeleteValue HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\CurrentVersion\\Setup:Installation Sources -> 0",
      L"registry.DeleteTree HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\ComDlg32\\OpenSaveMRU\\INF -> 0",
      L"registry.DeleteTree HKEY_USERS\\S-1-5-21-0-0-0-1000\\Printers\\DevModes2 -> 0",
      L"registry.DeleteTree HKEY_USERS\\S-1-5-21-0-0-0-1000\\Printers\\DevModePerUser -> 0",
      L"registry.DeleteTree HKEY_USERS\\S-1-5-21-0-0-0-1000\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\ComDlg\\INF -> 0",
      L"registry.DeleteValue HKEY_LOCAL_MACHINE\\SOFTWARE\\PPML\\PostScript: -> 0",
      L"registry.DeleteValue HKEY_LOCAL_MACHINE\\SOFTWARE\\PPML\\PostScript:Laser -> 0",
      L"registry.DeleteTree HKEY_USERS\\.Default\\Printers\\Settings\\Printers\\Laser -> 0",
      L"registry.DeleteTree HKEY_USERS\\.Default\\Printers\\Settings\\Printers\\Office -> 0",
      L"registry.DeleteTree HKEY_USERS\\S-1-5-18\\Printers\\Settings\\Printers\\Laser -> 0",
      L"registry.DeleteTree HKEY_USERS\\S-1-5-21-0-0-0-1000\\Printers\\Settings\\Printers\\Laser -> 0",
      L"registry.DeleteTree HKEY_CURRENT_USER\\Printers\\Settings\\Printers\\Laser -> 0",
      L"registry.DeleteValue HKEY_CURRENT_USER\\Printers\\DevModes2:Laser -> 0",
      L"registry.DeleteValue HKEY_CURRENT_USER\\Printers\\DevModePerUser:Laser -> 0",
      L"registry.DeleteValue HKEY_USERS\\.DEFAULT\\Printers\\DevModes2:Laser -> 0",
      L"registry.DeleteValue HKEY_USERS\\.DEFAULT\\Printers\\DevModePerUser:Laser -> 0",
      L"registry.DeleteTree " + providers + L"Client Side Rendering Print Provider\\Servers\\srv -> 0",
      L"registry.DeleteTree " + environments + L"Windows x64\\Drivers\\Version-3\\Laser -> 0",
      L"registry.DeleteTree " + environments + L"Windows NT x86\\Drivers\\Version-3\\Laser -> 0",
      L"registry.DeleteTree " + providers + L"LanMan Print Services\\Servers\\srv -> 0",
  }));

}

// Empty keys, and keys that refuse full access, beside two entries the sweep
// takes: nothing is deleted below the empty keys, nothing is tried below the
// refusing ones.
TEST_F(GlobalRegistrySweepTest, EmptyKeysAreOnlyEnumeratedRefusingKeysAreSkippedAndTheSweepGoesOn) {
  Given(R"({"base": "workstation", "registry": {
    "HKCU\\Printers\\Settings\\Printers": {},
    "HKLM\\SOFTWARE\\PPML\\PostScript": {},
    "HKCU\\Printers\\Settings\\Wizard": {"Driver Name": "Laser"},
    "HKCU\\Printers\\DevModes2": {"Laser": "dm"},
    "HKU\\S-1-5-18\\Printers\\Settings\\Printers\\Laser": {},
    "HKU\\.DEFAULT\\Printers\\DevModes2": {"Laser": "dm"},
    "HKLM\\SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\Print\\Providers\\LanMan Print Services\\Servers\\srv": {}},
    "protectedKeys": ["HKCU\\Printers\\Settings\\Wizard", "HKCU\\Printers\\DevModes2",
                      "HKU\\S-1-5-18\\Printers\\Settings\\Printers"]})");
  SweepPrintRegistry(sys());
  // Besides the two entries, only the key-tree steps leave a trace, each
  // finding nothing.
  EXPECT_EQ(EffectsOn(L" -> 0"),
            (V{L"registry.DeleteValue HKEY_USERS\\.DEFAULT\\Printers\\DevModes2:Laser -> 0",
               L"registry.DeleteTree HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\Print\\"
               L"Providers\\LanMan Print Services\\Servers\\srv -> 0"}));
  EXPECT_EQ(EffectsOn(L"registry.DeleteTree ").size(), 9u);
  EXPECT_EQ(Journal().size(), 10u);
}

// ---- the two sweep routines ------------------------------------------------

// A key whose enumeration a test scripts, logging what is done with it.
class ScriptedKey final : public os::RegistryKey {
 public:
  ScriptedKey(std::vector<std::wstring> subKeys, V& log) : subKeys_(std::move(subKeys)), log_(log) {}
  ~ScriptedKey() override { log_.push_back(L"close"); }
  os::Result<std::unique_ptr<os::RegistryKey>> OpenSubKey(std::wstring_view, std::uint32_t) override {
    return os::Result<std::unique_ptr<os::RegistryKey>>::Fail(os::error::kAccessDenied);
  }
  os::Result<os::RegistryValue> QueryValue(std::wstring_view) override {
    return os::Result<os::RegistryValue>::Fail(os::error::kFileNotFound);
  }
  os::Result<std::wstring> EnumKey(std::uint32_t index, std::uint32_t maxChars) override {
    log_.push_back(L"enum " + std::to_wstring(index));
    if (index >= subKeys_.size()) return os::Result<std::wstring>::Fail(os::error::kNoMoreItems);
    if (subKeys_[index].size() + 1 > maxChars) return os::Result<std::wstring>::Fail(os::error::kMoreData);
    return os::Result<std::wstring>::Ok(subKeys_[index]);
  }
  os::Result<std::wstring> EnumValue(std::uint32_t, std::uint32_t) override {
    return os::Result<std::wstring>::Fail(os::error::kNoMoreItems);
  }
  os::Status DeleteValue(std::wstring_view) override { return os::error::kAccessDenied; }
  os::Status DeleteTree(std::wstring_view subKey) override {
    log_.push_back(L"delete " + std::wstring(subKey));
    return subKey == L"Locked" ? os::error::kAccessDenied : os::error::kSuccess;
  }

 private:
  std::vector<std::wstring> subKeys_;
  V& log_;
};

}  // namespace
}  // namespace scenario
