// The registry keys of a deleted driver.
#include "cleanup/DriverRegistryCleanup.h"

#include "tests/cleanup/CleanupScenario.h"

namespace cleanup::testing {
namespace {

using V = std::vector<std::wstring>;

class DriverRegistryCleanupTest : public CleanupScenario {};

// Written out rather than built: the order is the point.
const V kLaserSteps = {
    L"registry.DeleteTree HKEY_USERS\\.DEFAULT\\Printers\\Settings\\Drivers\\Laser",
    L"registry.DeleteTree HKEY_CURRENT_USER\\Software\\NVL\\Job Properties\\Driver\\LASER",
    L"registry.DeleteTree HKEY_LOCAL_MACHINE\\System\\CurrentControlSet\\Control\\Print\\Environments\\Windows NT x86\\Drivers\\Version-3\\Laser",
    L"registry.DeleteTree HKEY_LOCAL_MACHINE\\System\\ControlSet001\\Control\\Print\\Environments\\Windows NT x86\\Drivers\\Version-3\\Laser",
    L"registry.DeleteTree HKEY_LOCAL_MACHINE\\System\\ControlSet002\\Control\\Print\\Environments\\Windows NT x86\\Drivers\\Version-3\\Laser",
    L"registry.DeleteTree HKEY_LOCAL_MACHINE\\System\\ControlSet003\\Control\\Print\\Environments\\Windows NT x86\\Drivers\\Version-3\\Laser",
    L"registry.DeleteTree HKEY_LOCAL_MACHINE\\System\\CurrentControlSet\\Control\\Print\\Environments\\Windows NT x86\\Drivers\\Version-2\\Laser",
    L"registry.DeleteTree HKEY_LOCAL_MACHINE\\System\\ControlSet001\\Control\\Print\\Environments\\Windows NT x86\\Drivers\\Version-2\\Laser",
    L"registry.DeleteTree HKEY_LOCAL_MACHINE\\System\\ControlSet002\\Control\\Print\\Environments\\Windows NT x86\\Drivers\\Version-2\\Laser",
    L"registry.DeleteTree HKEY_LOCAL_MACHINE\\System\\ControlSet003\\Control\\Print\\Environments\\Windows NT x86\\Drivers\\Version-2\\Laser",
    L"registry.DeleteTree HKEY_LOCAL_MACHINE\\System\\CurrentControlSet\\Control\\Print\\Environments\\Windows x64\\Drivers\\Version-3\\Laser",
    L"registry.DeleteTree HKEY_LOCAL_MACHINE\\System\\ControlSet001\\Control\\Print\\Environments\\Windows x64\\Drivers\\Version-3\\Laser",
    L"registry.DeleteTree HKEY_LOCAL_MACHINE\\System\\ControlSet002\\Control\\Print\\Environments\\Windows x64\\Drivers\\Version-3\\Laser",
    L"registry.DeleteTree HKEY_LOCAL_MACHINE\\System\\ControlSet003\\Control\\Print\\Environments\\Windows x64\\Drivers\\Version-3\\Laser",
};

// Laser for both environments in the current set (ControlSet001) and the
// 32-bit trees of 002 and 003, with its neighbour Laser Color beside it
// everywhere, and a 64-bit version-2 key that no step names.
// "extra" adds top-level members to the image.
std::string LaserInstalled(const std::string& extra = "") {
  return R"({"base": "workstation", )" + extra + R"("registry": {
  "HKU\\.DEFAULT\\Printers\\Settings\\Drivers\\Laser": {"x": "1"},
  "HKU\\.DEFAULT\\Printers\\Settings\\Drivers\\Laser Color": {},
  "HKCU\\Software\\NVL\\Job Properties\\Driver\\LASER": {"Copies": "2"},
  "HKCU\\Software\\NVL\\Job Properties\\Driver\\LASER\\Finishing": {},
  "HKCU\\Software\\NVL\\Job Properties\\Driver\\LASERC": {},
  "HKLM\\SYSTEM\\ControlSet001\\Control\\Print\\Environments\\Windows NT x86\\Drivers\\Version-3\\Laser": {},
  "HKLM\\SYSTEM\\ControlSet001\\Control\\Print\\Environments\\Windows NT x86\\Drivers\\Version-3\\Laser Color": {},
  "HKLM\\SYSTEM\\ControlSet002\\Control\\Print\\Environments\\Windows NT x86\\Drivers\\Version-3\\Laser": {},
  "HKLM\\SYSTEM\\ControlSet003\\Control\\Print\\Environments\\Windows NT x86\\Drivers\\Version-2\\Laser": {},
  "HKLM\\SYSTEM\\ControlSet003\\Control\\Print\\Environments\\Windows NT x86\\Drivers\\Version-2\\Laser Color": {},
  "HKLM\\SYSTEM\\ControlSet001\\Control\\Print\\Environments\\Windows x64\\Drivers\\Version-3\\Laser": {},
  "HKLM\\SYSTEM\\ControlSet001\\Control\\Print\\Environments\\Windows x64\\Drivers\\Version-3\\Laser\\Files": {},
  "HKLM\\SYSTEM\\ControlSet001\\Control\\Print\\Environments\\Windows x64\\Drivers\\Version-3\\Laser Color": {},
  "HKLM\\SYSTEM\\ControlSet001\\Control\\Print\\Environments\\Windows x64\\Drivers\\Version-2\\Laser": {}}})";
}

TEST_F(DriverRegistryCleanupTest, FourteenStepsRunInOrderAndTakeOnlyTheDriversKeys) {
  Load(LaserInstalled());
  CleanDriverRegistry(sys(), L"Laser", L"LASER");
  EXPECT_EQ(Attempts(), kLaserSteps);
  const wchar_t* env = L"HKLM\\SYSTEM\\ControlSet001\\Control\\Print\\Environments\\";
  EXPECT_FALSE(KeyExists(L"HKU\\.DEFAULT\\Printers\\Settings\\Drivers\\Laser"));
  EXPECT_FALSE(KeyExists(L"HKCU\\Software\\NVL\\Job Properties\\Driver\\LASER"));
  EXPECT_FALSE(KeyExists(std::wstring(env) + L"Windows NT x86\\Drivers\\Version-3\\Laser"));
  EXPECT_FALSE(KeyExists(std::wstring(env) + L"Windows x64\\Drivers\\Version-3\\Laser"));
  EXPECT_FALSE(KeyExists(L"HKLM\\SYSTEM\\ControlSet002\\Control\\Print\\Environments\\Windows NT x86\\Drivers\\Version-3\\Laser"));
  EXPECT_FALSE(KeyExists(L"HKLM\\SYSTEM\\ControlSet003\\Control\\Print\\Environments\\Windows NT x86\\Drivers\\Version-2\\Laser"));

  EXPECT_TRUE(KeyExists(L"HKU\\.DEFAULT\\Printers\\Settings\\Drivers\\Laser Color"));
  EXPECT_TRUE(KeyExists(L"HKCU\\Software\\NVL\\Job Properties\\Driver\\LASERC"));
  EXPECT_TRUE(KeyExists(std::wstring(env) + L"Windows NT x86\\Drivers\\Version-3\\Laser Color"));
  EXPECT_TRUE(KeyExists(std::wstring(env) + L"Windows x64\\Drivers\\Version-3\\Laser Color"));
  EXPECT_TRUE(KeyExists(L"HKLM\\SYSTEM\\ControlSet003\\Control\\Print\\Environments\\Windows NT x86\\Drivers\\Version-2\\Laser Color"));
  EXPECT_TRUE(KeyExists(std::wstring(env) + L"Windows x64\\Drivers\\Version-2\\Laser"))
      << "there is no 64-bit version-2 step";
}

TEST_F(DriverRegistryCleanupTest, ADriverOnlyFor32BitWindowsLosesKeysInTheFirstEightControlSetStepsOnly) {
  Load(R"({"base": "workstation", "registry": {
    "HKLM\\SYSTEM\\ControlSet001\\Control\\Print\\Environments\\Windows NT x86\\Drivers\\Version-3\\Laser": {},
    "HKLM\\SYSTEM\\ControlSet002\\Control\\Print\\Environments\\Windows NT x86\\Drivers\\Version-3\\Laser": {},
    "HKLM\\SYSTEM\\ControlSet003\\Control\\Print\\Environments\\Windows NT x86\\Drivers\\Version-3\\Laser": {},
    "HKLM\\SYSTEM\\ControlSet001\\Control\\Print\\Environments\\Windows NT x86\\Drivers\\Version-2\\Laser": {},
    "HKLM\\SYSTEM\\ControlSet002\\Control\\Print\\Environments\\Windows NT x86\\Drivers\\Version-2\\Laser": {},
    "HKLM\\SYSTEM\\ControlSet003\\Control\\Print\\Environments\\Windows NT x86\\Drivers\\Version-2\\Laser": {}}})");
  CleanDriverRegistry(sys(), L"Laser", L"LASER");
  ASSERT_EQ(Journal().size(), 14u);
  auto result = [&](size_t step) { return Journal()[step - 1].substr(Journal()[step - 1].rfind(L" -> ") + 4); };
  // The current set is ControlSet001 here: its key goes with step 3 (and 7),
  // and step 4 (and 8) finds nothing left.
  const V expected = {L"2", L"2", L"0", L"2", L"0", L"0", L"0", L"2", L"0", L"0", L"2", L"2", L"2", L"2"};
  for (size_t step = 1; step <= 14; ++step) EXPECT_EQ(result(step), expected[step - 1]) << "step " << step;
  machine().registry().ForEachKey([&](const std::wstring& path, const os::sim::SimKey&) {
    EXPECT_EQ(path.find(L"\\Laser"), std::wstring::npos) << path;
  });
}

TEST_F(DriverRegistryCleanupTest, AKeyThatCannotBeDeletedDoesNotStopTheOtherSteps) {
  Load(LaserInstalled(R"("protectedKeys": ["HKCU\\Software\\NVL\\Job Properties\\Driver\\LASER\\Finishing"], )"));
  CleanDriverRegistry(sys(), L"Laser", L"LASER");
  EXPECT_EQ(Attempts(), kLaserSteps);
  EXPECT_TRUE(Journal()[1].ends_with(L" -> 5"));
  EXPECT_TRUE(KeyExists(L"HKCU\\Software\\NVL\\Job Properties\\Driver\\LASER\\Finishing"));
  EXPECT_FALSE(KeyExists(L"HKLM\\SYSTEM\\ControlSet001\\Control\\Print\\Environments\\Windows x64\\Drivers\\Version-3\\Laser"));
}

}  // namespace
}  // namespace cleanup::testing
