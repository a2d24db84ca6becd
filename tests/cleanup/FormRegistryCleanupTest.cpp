// A form's registry traces on the simulated machine: its value always, its
// key from Windows Vista on, and nothing beyond the form.
#include "cleanup/FormRegistryCleanup.h"

#include "tests/sysaccess/SimScenario.h"

namespace scenario {
namespace {

const std::wstring kForms = L"HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\Control\\Print\\Forms";

class FormRegistry : public SimScenario {
 protected:
  void GivenWindows(const std::string& base) {
    Given(R"({"base": ")" + base + R"(", "registry": {
      "HKLM\\SYSTEM\\CurrentControlSet\\Control\\Print\\Forms": {"": "default", "Label": "x", "Card": "x", "A\\B": "x"},
      "HKLM\\SYSTEM\\CurrentControlSet\\Control\\Print\\Forms\\Label\\Tray": {"x": "1"},
      "HKLM\\SYSTEM\\CurrentControlSet\\Control\\Print\\Forms\\Envelope": {"x": "1"},
      "HKLM\\SYSTEM\\CurrentControlSet\\Control\\Print\\Forms\\A\\B": {"x": "1"}}})");
  }
  bool Key(const std::wstring& sub) { return machine().registry().KeyExists(kForms + L"\\" + sub); }
  bool Value(const std::wstring& name) { return machine().registry().GetValue(kForms, name).has_value(); }
};

TEST_F(FormRegistry, FromVistaOnTheValueAndThenTheKeyTreeGo) {
  GivenWindows("workstation");
  cleanup::CleanFormRegistry(sys(), L"Label");
  EXPECT_EQ(machine().gate().journal(), (Lines{L"registry.DeleteValue " + kForms + L":Label -> 0",
                                               L"registry.DeleteTree " + kForms + L"\\Label -> 0"}));
  EXPECT_FALSE(Value(L"Label"));
  EXPECT_FALSE(Key(L"Label"));
  EXPECT_TRUE(Value(L"Card"));
  EXPECT_TRUE(Key(L"Envelope"));
}

TEST_F(FormRegistry, AFormWithOnlyOneOfTheTwoLosesThatOneQuietly) {
  GivenWindows("workstation");
  cleanup::CleanFormRegistry(sys(), L"Card");
  cleanup::CleanFormRegistry(sys(), L"Envelope");
  EXPECT_EQ(machine().gate().journal(), (Lines{L"registry.DeleteValue " + kForms + L":Card -> 0",
                                               L"registry.DeleteTree " + kForms + L"\\Card -> 2",
                                               L"registry.DeleteValue " + kForms + L":Envelope -> 2",
                                               L"registry.DeleteTree " + kForms + L"\\Envelope -> 0"}));
  EXPECT_FALSE(Value(L"Card"));
  EXPECT_FALSE(Key(L"Envelope"));
}

TEST_F(FormRegistry, BeforeVistaOnlyTheValueGoes) {
  GivenWindows("xp-workstation");
  cleanup::CleanFormRegistry(sys(), L"Label");
  EXPECT_FALSE(Value(L"Label"));
  EXPECT_TRUE(Key(L"Label\\Tray"));
  EXPECT_EQ(machine().gate().calls("Registry.DeleteTree"), 0u);
}

TEST_F(FormRegistry, AnEmptyNameTouchesNothing) {
  GivenWindows("workstation");
  machine().gate().ResetCounts();
  cleanup::CleanFormRegistry(sys(), L"");
  EXPECT_EQ(machine().gate().calls(), 0u);
  EXPECT_TRUE(Value(L"")) << "the default value of the forms key";
  EXPECT_TRUE(Key(L"Label") && Key(L"Envelope"));
}

TEST_F(FormRegistry, ANameWithABackslashLosesItsValueButNoKeyBelowAnotherForm) {
  GivenWindows("workstation");
  cleanup::CleanFormRegistry(sys(), L"A\\B");
  EXPECT_FALSE(Value(L"A\\B"));
  EXPECT_TRUE(Key(L"A\\B"));
  EXPECT_EQ(machine().gate().calls("Registry.DeleteTree"), 0u);
}

TEST_F(FormRegistry, AMissingFormsKeyIsNoError) {
  Given(R"({"base": "workstation"})");
  machine().registry().RemoveKey(kForms);
  cleanup::CleanFormRegistry(sys(), L"Label");
  EXPECT_EQ(Journal(L"registry.DeleteValue"), Lines{}) << "no handle, no value deletion";
  EXPECT_EQ(Journal(L"registry.DeleteTree"), (Lines{L"registry.DeleteTree " + kForms + L"\\Label -> 2"}));
}

}  // namespace
}  // namespace scenario
