// The registry keys of a deleted driver where one of them will not go. Which
// keys go and which neighbours stay on a real registry is the contract
// suite's (CleanupRegistryContract).
#include "cleanup/DriverRegistryCleanup.h"

#include "tests/sysaccess/SimScenario.h"

namespace scenario {
namespace {

using namespace cleanup;
using DriverRegistryCleanupTest = SimScenario;

// A driver only for 32-bit Windows, in the numbered control sets; its job
// properties cannot all be deleted, and the steps after them still run.
TEST_F(DriverRegistryCleanupTest, AJobPropertiesKeyThatWillNotGoEndsNoOtherStep) {
  Given(R"({"base": "workstation", "protectedKeys": ["HKCU\\Software\\NVL\\Job Properties\\Driver\\LASER\\Finishing"],
    "registry": {
    "HKU\\.DEFAULT\\Printers\\Settings\\Drivers\\Laser": {"x": "1"},
    "HKCU\\Software\\NVL\\Job Properties\\Driver\\LASER\\Finishing": {},
    "HKLM\\SYSTEM\\ControlSet002\\Control\\Print\\Environments\\Windows NT x86\\Drivers\\Version-3\\Laser": {},
    "HKLM\\SYSTEM\\ControlSet003\\Control\\Print\\Environments\\Windows NT x86\\Drivers\\Version-2\\Laser\\Files": {}}})");
  CleanDriverRegistry(sys(), L"Laser", L"LASER");
  EXPECT_EQ(EffectsOn(L"Job Properties"),
            Lines{L"registry.DeleteTree HKEY_CURRENT_USER\\Software\\NVL\\Job Properties\\Driver\\LASER -> 5"});
  machine().registry().ForEachKey([&](const std::wstring& path, const os::sim::SimKey&) {
    EXPECT_EQ(path.find(L"\\Laser"), std::wstring::npos) << path;
  });
  EXPECT_TRUE(KeyExists(L"HKCU\\Software\\NVL\\Job Properties\\Driver\\LASER\\Finishing"));
}

}  // namespace
}  // namespace scenario
