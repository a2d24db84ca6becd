// The sweep of printing data no single printer or driver owns.
#include "cleanup/GlobalRegistrySweep.h"

#include "tests/cleanup/CleanupScenario.h"

namespace cleanup::testing {
namespace {

using V = std::vector<std::wstring>;

class GlobalRegistrySweepTest : public CleanupScenario {};

// Something at every step of the sweep, a neighbour that must stay beside
// most of them, and another user's hive with the same kinds of entries.
constexpr const char* kEverything = R"({"base": "workstation", "registry": {
  "HKCU\\Printers\\Settings\\Wizard": {"Driver Name": "Laser", "Other": "keep"},
  "HKLM\\System\\CurrentControlSet\\Control\\Print\\Watermark\\Draft": {"Text": "DRAFT"},
  "HKLM\\System\\ControlSet002\\Control\\Print\\Watermark": {"Text": "x"},
  "HKLM\\System\\ControlSet003\\Control\\Print\\Watermark": {},
  "HKLM\\Software\\Microsoft\\Windows\\CurrentVersion\\Setup": {
      "Installation Sources": {"type": "REG_MULTI_SZ", "data": ["D:\\drivers"]}, "SourcePath": "D:\\"},
  "HKCU\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\ComDlg32\\OpenSaveMRU\\INF": {"a": "x.inf"},
  "HKCU\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\ComDlg32\\OpenSaveMRU\\txt": {"a": "x.txt"},
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
  "HKLM\\SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\Print\\Providers\\Client Side Rendering Print Provider\\Other": {},
  "HKLM\\System\\ControlSet001\\Control\\Print\\Environments\\Windows x64\\Drivers\\Version-3\\Laser": {},
  "HKLM\\System\\ControlSet001\\Control\\Print\\Environments\\Windows x64\\Drivers\\Version-4\\Laser": {},
  "HKLM\\System\\ControlSet001\\Control\\Print\\Environments\\Windows NT x86\\Drivers\\Version-3\\Laser": {},
  "HKLM\\System\\ControlSet002\\Control\\Print\\Environments\\Windows NT x86\\Drivers\\Version-3\\Laser": {},
  "HKLM\\SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\Print\\Providers\\LanMan Print Services\\Servers\\srv": {},
  "HKU\\S-1-5-21-1004336348-1177238915-682003330-1002\\Printers\\DevModes2": {"Laser": "theirs"},
  "HKU\\S-1-5-21-1004336348-1177238915-682003330-1002\\Printers\\Settings\\Printers\\Laser": {}}})";

TEST_F(GlobalRegistrySweepTest, TwentyThreeStepsRunInOrderAndStayOnTheirTargets) {
  Load(kEverything);
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

  // What the sweep empties stays as a key.
  for (const wchar_t* key : {L"HKLM\\SOFTWARE\\PPML\\PostScript", L"HKU\\.DEFAULT\\Printers\\Settings\\Printers",
                             L"HKU\\S-1-5-18\\Printers\\Settings\\Printers", L"HKCU\\Printers\\Settings\\Printers",
                             L"HKCU\\Printers\\DevModes2", L"HKU\\.DEFAULT\\Printers\\DevModePerUser",
                             L"HKLM\\System\\ControlSet001\\Control\\Print\\Environments\\Windows x64\\Drivers\\Version-3"}) {
    EXPECT_TRUE(KeyExists(key)) << key;
  }
  EXPECT_FALSE(KeyExists(L"HKU\\S-1-5-21-0-0-0-1000\\Printers\\DevModes2"));
  // Neighbours of the targets.
  EXPECT_TRUE(ValueExists(L"HKCU\\Printers\\Settings\\Wizard", L"Other"));
  EXPECT_TRUE(ValueExists(L"HKLM\\Software\\Microsoft\\Windows\\CurrentVersion\\Setup", L"SourcePath"));
  EXPECT_TRUE(KeyExists(L"HKCU\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\ComDlg32\\OpenSaveMRU\\txt"));
  EXPECT_TRUE(KeyExists(L"HKLM\\SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\Print\\Providers\\Client Side "
                        L"Rendering Print Provider\\Other"));
  EXPECT_TRUE(KeyExists(L"HKLM\\System\\ControlSet001\\Control\\Print\\Environments\\Windows x64\\Drivers\\Version-4\\Laser"));
  EXPECT_TRUE(KeyExists(L"HKLM\\System\\ControlSet002\\Control\\Print\\Environments\\Windows NT x86\\Drivers\\Version-3\\Laser"))
      << "the driver trees are swept in the current control set only";
  // Another user's hive is not the fixed account's.
  EXPECT_TRUE(ValueExists(L"HKU\\S-1-5-21-1004336348-1177238915-682003330-1002\\Printers\\DevModes2", L"Laser"));
  EXPECT_TRUE(KeyExists(L"HKU\\S-1-5-21-1004336348-1177238915-682003330-1002\\Printers\\Settings\\Printers\\Laser"));
}

TEST_F(GlobalRegistrySweepTest, EmptyOrMissingKeysAreOpenedAtMostAndNothingIsDeletedBelowThem) {
  Load(R"({"base": "workstation", "registry": {
    "HKCU\\Printers\\Settings\\Printers": {},
    "HKCU\\Printers\\DevModes2": {},
    "HKLM\\SOFTWARE\\PPML\\PostScript": {}}})");
  SweepPrintRegistry(sys());
  // Only the key-tree steps leave a trace, each finding nothing.
  for (const auto& line : Journal()) {
    EXPECT_TRUE(line.starts_with(L"registry.DeleteTree ") && line.ends_with(L" -> 2")) << line;
  }
  EXPECT_EQ(Journal().size(), 8u);
  EXPECT_TRUE(KeyExists(L"HKCU\\Printers\\Settings\\Printers"));
  EXPECT_TRUE(KeyExists(L"HKCU\\Printers\\DevModes2"));
  EXPECT_TRUE(KeyExists(L"HKLM\\SOFTWARE\\PPML\\PostScript"));
  EXPECT_GE(machine().gate().calls("Registry.EnumKey"), 1u) << "the empty sub-key step did enumerate";
  EXPECT_GE(machine().gate().calls("Registry.EnumValue"), 2u) << "both empty value steps did enumerate";
}

TEST_F(GlobalRegistrySweepTest, AKeyThatRefusesFullAccessIsSkippedAndTheSweepGoesOn) {
  Load(R"({"base": "workstation", "registry": {
    "HKCU\\Printers\\Settings\\Wizard": {"Driver Name": "Laser"},
    "HKCU\\Printers\\DevModes2": {"Laser": "dm"},
    "HKCU\\Printers\\Settings\\Printers\\Laser": {},
    "HKLM\\SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\Print\\Providers\\LanMan Print Services\\Servers\\srv": {},
    "HKU\\.DEFAULT\\Printers\\DevModes2": {"Laser": "dm"}},
    "protectedKeys": ["HKCU\\Printers\\Settings\\Wizard", "HKCU\\Printers\\DevModes2",
                      "HKCU\\Printers\\Settings\\Printers"]})");
  SweepPrintRegistry(sys());
  EXPECT_TRUE(EffectsOn(L"Wizard").empty());
  EXPECT_TRUE(EffectsOn(L"HKEY_CURRENT_USER\\Printers\\DevModes2").empty());
  EXPECT_TRUE(EffectsOn(L"HKEY_CURRENT_USER\\Printers\\Settings\\Printers").empty());
  EXPECT_TRUE(ValueExists(L"HKCU\\Printers\\Settings\\Wizard", L"Driver Name"));
  EXPECT_TRUE(ValueExists(L"HKCU\\Printers\\DevModes2", L"Laser"));
  EXPECT_TRUE(KeyExists(L"HKCU\\Printers\\Settings\\Printers\\Laser")) << "its own key was not protected";
  EXPECT_FALSE(ValueExists(L"HKU\\.DEFAULT\\Printers\\DevModes2", L"Laser"));
  EXPECT_FALSE(KeyExists(L"HKLM\\SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\Print\\Providers\\LanMan Print Services\\Servers\\srv"));
}

TEST_F(GlobalRegistrySweepTest, ASubKeyThatCannotGoDoesNotKeepTheOthers) {
  Load(R"({"base": "workstation", "registry": {
    "HKCU\\Printers\\Settings\\Printers\\A": {},
    "HKCU\\Printers\\Settings\\Printers\\B\\Locked": {},
    "HKCU\\Printers\\Settings\\Printers\\C": {}},
    "protectedKeys": ["HKCU\\Printers\\Settings\\Printers\\B\\Locked"]})");
  auto key = sys().os().registry.OpenKey(os::RootKey::CurrentUser, L"Printers\\Settings\\Printers", os::regaccess::kAllAccess);
  ASSERT_TRUE(key.ok());
  DeleteAllSubKeys(std::move(key.value));
  EXPECT_EQ(Journal(), (V{
                           L"registry.DeleteTree HKEY_CURRENT_USER\\Printers\\Settings\\Printers\\A -> 0",
                           L"registry.DeleteTree HKEY_CURRENT_USER\\Printers\\Settings\\Printers\\B -> 5",
                           L"registry.DeleteTree HKEY_CURRENT_USER\\Printers\\Settings\\Printers\\C -> 0",
                       }));
  EXPECT_TRUE(KeyExists(L"HKCU\\Printers\\Settings\\Printers\\B\\Locked"));
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
  os::Status QueryValue(std::wstring_view, os::RegistryValue&) override { return os::error::kFileNotFound; }
  os::Status EnumKey(std::uint32_t index, std::wstring& name, std::uint32_t maxChars) override {
    log_.push_back(L"enum " + std::to_wstring(index));
    if (index >= subKeys_.size()) return os::error::kNoMoreItems;
    if (subKeys_[index].size() + 1 > maxChars) return os::error::kMoreData;
    name = subKeys_[index];
    return os::error::kSuccess;
  }
  os::Status EnumValue(std::uint32_t, std::wstring&, std::uint32_t) override { return os::error::kNoMoreItems; }
  os::Status DeleteValue(std::wstring_view) override { return os::error::kAccessDenied; }
  os::Status DeleteTree(std::wstring_view subKey) override {
    log_.push_back(L"delete " + std::wstring(subKey));
    return os::error::kSuccess;
  }

 private:
  std::vector<std::wstring> subKeys_;
  V& log_;
};

TEST(DeleteAllSubKeysTest, CollectsEveryNameFirstStopsAtTheFirstRefusalAndClosesLast) {
  const std::wstring longest(259, L'b');
  V log;
  // An empty name is what no real key has; acting on it would empty the open
  // key itself.
  DeleteAllSubKeys(std::make_unique<ScriptedKey>(V{L"A", L"", longest, std::wstring(260, L'x'), L"C"}, log));
  EXPECT_EQ(log, (V{L"enum 0", L"enum 1", L"enum 2", L"enum 3", L"delete A", L"delete " + longest, L"close"}));
}

TEST_F(GlobalRegistrySweepTest, AValueNameOf260CharactersEndsTheValueEnumeration) {
  const std::string fits(259, 'm');
  const std::string tooLong(260, 'n');
  Load(R"({"base": "workstation", "registry": {"HKCU\\Printers\\DevModes2": {"a": "1", ")" + fits + R"(": "2", ")" +
       tooLong + R"(": "3", "z": "4"}}})");
  DeleteAllValues(sys(), os::RootKey::CurrentUser, L"Printers\\DevModes2");
  const std::wstring key = L"HKCU\\Printers\\DevModes2";
  EXPECT_FALSE(ValueExists(key, L"a"));
  EXPECT_FALSE(ValueExists(key, std::wstring(259, L'm')));
  EXPECT_TRUE(ValueExists(key, std::wstring(260, L'n')));
  EXPECT_TRUE(ValueExists(key, L"z")) << "values after the long name in enumeration order stay";
  EXPECT_TRUE(KeyExists(key));
}

TEST_F(GlobalRegistrySweepTest, EveryValueIsDeletedThroughAFreshHandleOfItsOwn) {
  Load(R"({"base": "workstation", "registry": {"HKLM\\SOFTWARE\\PPML\\PostScript": {"": "d", "a": "1", "b": "2"}}})");
  DeleteAllValues(sys(), os::RootKey::LocalMachine, L"SOFTWARE\\PPML\\PostScript");
  EXPECT_EQ(machine().gate().calls("Registry.OpenKey"), 4u) << "one handle to enumerate, one per value";
  EXPECT_EQ(machine().gate().calls("Registry.EnumValue"), 4u) << "three names and the end";
  EXPECT_EQ(Attempts(), (V{L"registry.DeleteValue HKEY_LOCAL_MACHINE\\SOFTWARE\\PPML\\PostScript:",
                           L"registry.DeleteValue HKEY_LOCAL_MACHINE\\SOFTWARE\\PPML\\PostScript:a",
                           L"registry.DeleteValue HKEY_LOCAL_MACHINE\\SOFTWARE\\PPML\\PostScript:b"}));
  EXPECT_TRUE(KeyExists(L"HKLM\\SOFTWARE\\PPML\\PostScript"));
}

}  // namespace
}  // namespace cleanup::testing
