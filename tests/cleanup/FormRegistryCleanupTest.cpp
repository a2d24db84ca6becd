// A form's registry traces on the simulated machine: nothing beyond the form.
// Its value, then its key from Windows Vista on, and each step failing
// quietly when the other finds something: FormDeletion in SpoolerDeletionsTest.
#include "cleanup/FormRegistryCleanup.h"

#include "tests/sysaccess/SimScenario.h"

namespace scenario {
namespace {

const std::wstring kForms = L"HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\Control\\Print\\Forms";

class FormRegistry : public SimScenario {
 protected:
  void SetUp() override {
    Given(R"({"base": "workstation", "registry": {
      "HKLM\\SYSTEM\\CurrentControlSet\\Control\\Print\\Forms": {"": "default", "Label": "x", "A\\B": "x"},
      "HKLM\\SYSTEM\\CurrentControlSet\\Control\\Print\\Forms\\Label\\Tray": {"x": "1"},
      "HKLM\\SYSTEM\\CurrentControlSet\\Control\\Print\\Forms\\Envelope": {"x": "1"},
      "HKLM\\SYSTEM\\CurrentControlSet\\Control\\Print\\Forms\\A\\B": {"x": "1"}}})");
  }
  bool Key(const std::wstring& sub) { return KeyExists(kForms + L"\\" + sub); }
  bool Value(const std::wstring& name) { return ValueExists(kForms, name); }
};

// An empty name is the forms key's default value, and as a key path the
// forms key itself; a backslash would lead below another form's key.
TEST_F(FormRegistry, AnEmptyNameTouchesNothingAndABackslashedNameLosesOnlyItsValue) {
  cleanup::CleanFormRegistry(sys(), L"");
  cleanup::CleanFormRegistry(sys(), L"A\\B");
  EXPECT_EQ(Journal(), (Lines{L"registry.DeleteValue " + kForms + L":A\\B -> 0"}));
  EXPECT_TRUE(Value(L""));
  EXPECT_TRUE(Key(L"A\\B"));
  EXPECT_TRUE(Key(L"Label") && Key(L"Envelope"));
}

}  // namespace
}  // namespace scenario
