// Forms deleted through a printer on the simulated machine, each right after
// its registry traces.
#include "engine/FormDeletion.h"

#include "tests/sysaccess/SimScenario.h"

namespace scenario {
namespace {

using sysaccess::FormRecord;

class FormDeletion : public SimScenario {
 protected:
  void GivenForms(const std::string& version) {
    Given(R"({"base": "workstation", "windows": {"version": ")" + version + R"("},
      "registry": {"HKLM\\SYSTEM\\CurrentControlSet\\Control\\Print\\Forms\\Tray": {"x": "1"},
                   "HKLM\\SYSTEM\\CurrentControlSet\\Control\\Print\\Forms\\Kept": {"x": "1"}},
      "spooler": {"drivers": [{"name": "Ink"}], "printers": [{"name": "Office", "driver": "Ink"}],
                  "forms": [{"name": "Label"}, {"name": "Kept"}, {"name": "Tray", "kind": "printer"}]}})");
  }
  bool FormKey(const wchar_t* name) { return KeyExists(std::wstring(os::sim::SimSpooler::kFormsKey) + L"\\" + name); }
  bool FormValue(const wchar_t* name) { return ValueExists(os::sim::SimSpooler::kFormsKey, name); }
  Lines SpoolerForms() {
    Lines out;
    for (const auto& f : machine().spooler().forms()) out.push_back(f.name);
    return out;
  }
};

const std::vector<FormRecord> kTable = {
    {L"Label", os::spool::kFormUser, 1},
    {L"Kept", os::spool::kFormUser, 0},    // a printer that stays names it
    {L"Letter", os::spool::kFormBuiltin, 1},
    {L"Tray", os::spool::kFormPrinter, 1},
};

TEST_F(FormDeletion, UnusedFormsLoseTheirRegistryTracesRightBeforeTheSpoolerDeletesThem) {
  GivenForms("6.1.7601");
  engine::DeleteUnusedForms(sys(), L"Office", kTable);
  // Label has a value only, Tray (a printer form) a key only: each loses
  // what it has, and the other step fails quietly.
  const std::wstring forms = L"HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\Control\\Print\\Forms";
  EXPECT_EQ(Journal(), (Lines{
                           L"registry.DeleteValue " + forms + L":Label -> 0",
                           L"registry.DeleteTree " + forms + L"\\Label -> 2",
                           L"spooler.DeleteForm Label -> 0",
                           L"registry.DeleteValue " + forms + L":Tray -> 2",
                           L"registry.DeleteTree " + forms + L"\\Tray -> 0",
                           L"spooler.DeleteForm Tray -> 0",
                       }));
  EXPECT_EQ(SpoolerForms(), (Lines{L"Letter", L"Legal", L"Executive", L"A4", L"A5", L"Kept"}));
  EXPECT_EQ(machine().spooler().openPrinterHandles(), 0);
}

TEST_F(FormDeletion, EveryFormOfTheListGoesWithoutCondition) {
  GivenForms("5.1.2600");
  engine::DeleteEveryForm(sys(), L"Office", {{L"Label", os::spool::kFormUser, 1}, {L"Kept", os::spool::kFormUser, 0}});
  EXPECT_EQ(SpoolerForms(), (Lines{L"Letter", L"Legal", L"Executive", L"A4", L"A5", L"Tray"}));
  EXPECT_FALSE(FormValue(L"Label"));
  EXPECT_FALSE(FormValue(L"Kept"));
  EXPECT_TRUE(FormKey(L"Kept")) << "before Windows Vista forms have no keys to delete";
  EXPECT_EQ(machine().gate().calls(os::sim::Op::RegistryDeleteTree), 0u);
}

TEST_F(FormDeletion, APrinterThatCannotBeOpenedStillHasTheRegistryTracesCleaned) {
  GivenForms("6.1.7601");
  engine::DeleteUnusedForms(sys(), L"Nobody", kTable);
  EXPECT_EQ(EffectsOn(L"spooler."), Lines{}) << "nothing reaches the spooler without a handle";
  EXPECT_FALSE(FormValue(L"Label"));
  EXPECT_FALSE(FormKey(L"Tray"));
  EXPECT_EQ(SpoolerForms(), (Lines{L"Letter", L"Legal", L"Executive", L"A4", L"A5", L"Label", L"Kept", L"Tray"}));
}

}  // namespace
}  // namespace scenario
