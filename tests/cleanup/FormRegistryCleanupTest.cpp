// A form's registry traces on the simulated machine: nothing beyond the form.
// Its value, then its key from Windows Vista on, and each step failing
// quietly when the other finds something: FormDeletionTest.
#include "cleanup/FormRegistryCleanup.h"

#include "tests/sysaccess/SimScenario.h"

namespace scenario {
namespace {

using FormRegistry = SimScenario;

// An empty name is the forms key's default value, and as a key path the
// forms key itself; a backslash would lead below another form's key.
TEST_F(FormRegistry, AnEmptyNameTouchesNothingAndABackslashedNameLosesOnlyItsValue) {
  Given(R"({"base": "workstation", "registry": {
    "HKLM\\SYSTEM\\CurrentControlSet\\Control\\Print\\Forms": {"": "default", "Label": "x", "A\\B": "x"},
    "HKLM\\SYSTEM\\CurrentControlSet\\Control\\Print\\Forms\\Label\\Tray": {"x": "1"},
    "HKLM\\SYSTEM\\CurrentControlSet\\Control\\Print\\Forms\\Envelope": {"x": "1"},
    "HKLM\\SYSTEM\\CurrentControlSet\\Control\\Print\\Forms\\A\\B": {"x": "1"}}})");
  const std::wstring forms = L"HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\Control\\Print\\Forms";
  cleanup::CleanFormRegistry(sys(), L"");
  cleanup::CleanFormRegistry(sys(), L"A\\B");
  EXPECT_EQ(Journal(), (Lines{L"registry.DeleteValue " + forms + L":A\\B -> 0"}));
  EXPECT_TRUE(ValueExists(forms, L""));
  EXPECT_TRUE(KeyExists(forms + L"\\A\\B"));
  EXPECT_TRUE(KeyExists(forms + L"\\Label") && KeyExists(forms + L"\\Envelope"));
}

}  // namespace
}  // namespace scenario
