// The registry keys of a deleted driver: the order of the steps and what
// each finds. Which neighbours stay on a real registry is the contract
// suite's (CleanupRegistryContract).
#include "cleanup/DriverRegistryCleanup.h"

#include "tests/sysaccess/SimScenario.h"

namespace scenario {
namespace {

using namespace cleanup;
using DriverRegistryCleanupTest = SimScenario;

const std::wstring kSystemTree = L"registry.DeleteTree HKEY_LOCAL_MACHINE\\System\\";

// A driver only for 32-bit Windows, in the current control set (which is
// ControlSet001 here) and in the numbered copies; its job properties cannot
// all be deleted.
TEST_F(DriverRegistryCleanupTest, FourteenStepsRunInOrderWhateverEachFinds) {
  Given(R"({"base": "workstation", "protectedKeys": ["HKCU\\Software\\NVL\\Job Properties\\Driver\\LASER\\Finishing"],
    "registry": {
    "HKU\\.DEFAULT\\Printers\\Settings\\Drivers\\Laser": {"x": "1"},
    "HKCU\\Software\\NVL\\Job Properties\\Driver\\LASER\\Finishing": {},
    "HKLM\\SYSTEM\\ControlSet001\\Control\\Print\\Environments\\Windows NT x86\\Drivers\\Version-3\\Laser": {},
    "HKLM\\SYSTEM\\ControlSet002\\Control\\Print\\Environments\\Windows NT x86\\Drivers\\Version-3\\Laser": {},
    "HKLM\\SYSTEM\\ControlSet003\\Control\\Print\\Environments\\Windows NT x86\\Drivers\\Version-3\\Laser": {},
    "HKLM\\SYSTEM\\ControlSet001\\Control\\Print\\Environments\\Windows NT x86\\Drivers\\Version-2\\Laser": {},
    "HKLM\\SYSTEM\\ControlSet002\\Control\\Print\\Environments\\Windows NT x86\\Drivers\\Version-2\\Laser": {},
    "HKLM\\SYSTEM\\ControlSet003\\Control\\Print\\Environments\\Windows NT x86\\Drivers\\Version-2\\Laser\\Files": {}}})");
  CleanDriverRegistry(sys(), L"Laser", L"LASER");
  // Written out rather than built: the order is the point.
  EXPECT_EQ(Journal(), (Lines{
      L"registry.DeleteTree HKEY_USERS\\.DEFAULT\\Printers\\Settings\\Drivers\\Laser -> 0",
      L"registry.DeleteTree HKEY_CURRENT_USER\\Software\\NVL\\Job Properties\\Driver\\LASER -> 5",
      kSystemTree + L"CurrentControlSet\\Control\\Print\\Environments\\Windows NT x86\\Drivers\\Version-3\\Laser -> 0",
      kSystemTree + L"ControlSet001\\Control\\Print\\Environments\\Windows NT x86\\Drivers\\Version-3\\Laser -> 2",
      kSystemTree + L"ControlSet002\\Control\\Print\\Environments\\Windows NT x86\\Drivers\\Version-3\\Laser -> 0",
      kSystemTree + L"ControlSet003\\Control\\Print\\Environments\\Windows NT x86\\Drivers\\Version-3\\Laser -> 0",
      kSystemTree + L"CurrentControlSet\\Control\\Print\\Environments\\Windows NT x86\\Drivers\\Version-2\\Laser -> 0",
      kSystemTree + L"ControlSet001\\Control\\Print\\Environments\\Windows NT x86\\Drivers\\Version-2\\Laser -> 2",
      kSystemTree + L"ControlSet002\\Control\\Print\\Environments\\Windows NT x86\\Drivers\\Version-2\\Laser -> 0",
      kSystemTree + L"ControlSet003\\Control\\Print\\Environments\\Windows NT x86\\Drivers\\Version-2\\Laser -> 0",
      kSystemTree + L"CurrentControlSet\\Control\\Print\\Environments\\Windows x64\\Drivers\\Version-3\\Laser -> 2",
      kSystemTree + L"ControlSet001\\Control\\Print\\Environments\\Windows x64\\Drivers\\Version-3\\Laser -> 2",
      kSystemTree + L"ControlSet002\\Control\\Print\\Environments\\Windows x64\\Drivers\\Version-3\\Laser -> 2",
      kSystemTree + L"ControlSet003\\Control\\Print\\Environments\\Windows x64\\Drivers\\Version-3\\Laser -> 2",
  }));
  machine().registry().ForEachKey([&](const std::wstring& path, const os::sim::SimKey&) {
    EXPECT_EQ(path.find(L"\\Laser"), std::wstring::npos) << path;
  });
  EXPECT_TRUE(KeyExists(L"HKCU\\Software\\NVL\\Job Properties\\Driver\\LASER\\Finishing"));
}

}  // namespace
}  // namespace scenario
