// The sweep of printing data no single printer or driver owns.
#include "cleanup/GlobalRegistrySweep.h"

#include "tests/sysaccess/SimScenario.h"

namespace scenario {
namespace {

using namespace cleanup;
using V = Lines;
using GlobalRegistrySweepTest = SimScenario;

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

}  // namespace
}  // namespace scenario
