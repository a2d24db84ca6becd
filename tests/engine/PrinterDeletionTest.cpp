// One printer at a time: connections and their drivers, forms, and a printer
// the spooler keeps.
#include "tests/engine/EngineFixture.h"

namespace engine {
namespace {

constexpr const char* kWithConnection = R"({
  "base": "workstation",
  "files": {
    "C:\\Users\\Admin\\AppData\\Local\\Temp\\,,srv,lp.tmp": {},
    "C:\\Windows\\Temp\\,,srv,lp.tmp": {},
    "C:\\Windows\\Temp\\lp.tmp": {}
  },
  "spooler": {
    "drivers": [{"name": "Laser", "dataFile": "LASER.PPD"}],
    "printers": [
      {"name": "Office", "driver": "Laser", "media": ["Label"]},
      {"name": "\\\\srv\\lp", "server": "\\\\srv", "driver": "Laser"}
    ],
    "forms": [{"name": "Label"}, {"name": "Envelope"}, {"name": "Tray 2", "kind": "printer"}, {"name": "Letter", "kind": "builtin"}]
  }
})";

using PrinterDeletionTest = EngineFixture;

TEST_F(PrinterDeletionTest, AConnectionWhoseDriverStaysSaysSoOnceAndGoes) {
  Load(kWithConnection);
  dialog_.Check(L"\\\\srv\\lp");
  engine_->RunDeletion();
  ASSERT_EQ(Questions(), std::vector<std::wstring>{
                             L"Driver- Laser is being used by some other PNP Printer also,So only Printer- \\\\srv\\lp "
                             L"will be deleted and underlying Driver will remain."});
  EXPECT_EQ(machine_->prompts().log()[0].style, os::mb::kOk);
  EXPECT_FALSE(PrinterExists(L"\\\\srv\\lp"));
  EXPECT_TRUE(DriverExists(L"Laser"));
  EXPECT_FALSE(FileExists(L"C:\\Users\\Admin\\AppData\\Local\\Temp\\,,srv,lp.tmp"));
  EXPECT_FALSE(FileExists(L"C:\\Windows\\Temp\\,,srv,lp.tmp"));
  EXPECT_TRUE(FileExists(L"C:\\Windows\\Temp\\lp.tmp"));
  EXPECT_TRUE(Effects({"spooler.DeleteForm"}).empty()) << "a connection deletes no forms";
}

TEST_F(PrinterDeletionTest, AConnectionWhoseDriverGoesTooGivesNoNotice) {
  // Every printer of the driver checked, with the delete-all box or without.
  for (const bool deleteAll : {false, true}) {
    Load(kWithConnection);
    dialog_.CheckAll();
    dialog_.deleteAll = deleteAll;
    engine_->RunDeletion();
    EXPECT_TRUE(Questions().empty()) << deleteAll;
    EXPECT_TRUE(machine_->spooler().printers().empty());
  }
}

TEST_F(PrinterDeletionTest, TheLastLocalPrinterTakesEveryUserAndPrinterFormWithIt) {
  Load(kWithConnection);
  // The form list read at the start of the run came back empty, so only the
  // last printer's own listing finds the forms.
  machine_->Inject(os::sim::Injection{os::sim::Op::SpoolerForms, L"", os::error::kAccessDenied, false, 1});
  dialog_.Check(L"Office");
  engine_->RunDeletion();
  EXPECT_TRUE(InOrder({"spooler.DeleteForm Label -> 0", "spooler.DeleteForm Envelope -> 0",
                       "spooler.DeleteForm Tray 2", "spooler.DeletePrinter Office -> 0"}));
  EXPECT_TRUE(FormExists(L"Letter")) << "built-in forms are never listed, never deleted";
  EXPECT_FALSE(FormExists(L"Label"));
}

TEST_F(PrinterDeletionTest, APrinterTheSpoolerKeepsKeepsItsSettingsAndProtectsItsForms) {
  // Anchor, which stays, is listed first and so is the printer the run reads
  // the forms through.
  const auto stuckThenLater = [&](const char* anchor) {
    Load(std::string(R"({"base": "workstation",
      "registry": {"HKEY_CURRENT_USER\\Printers\\Settings\\Printers\\Stuck": {"DevMode": "x"}},
      "spooler": {"drivers": [{"name": "Laser", "dataFile": "LASER.PPD"}, {"name": "Inkjet", "dataFile": "INK.GPD"},
                              {"name": "Plain"}],
                  "printers": [)") + anchor + R"({"name": "Stuck", "driver": "Laser", "media": ["Card"]},
                               {"name": "Later", "driver": "Inkjet"}],
                  "forms": [{"name": "Card"}]}})");
    machine_->FailWith(os::sim::Op::SpoolerDeletePrinter, os::error::kAccessDenied, L"Stuck");
    dialog_.Check(L"Stuck");
    dialog_.Check(L"Later");
  };
  stuckThenLater("");
  // The run's form list is empty, so the first printer tries nothing and the
  // second, seeing itself as the last local printer, would take every form.
  machine_->Inject(os::sim::Injection{os::sim::Op::SpoolerForms, L"", os::error::kAccessDenied, false, 1});
  engine_->RunDeletion();
  EXPECT_TRUE(PrinterExists(L"Stuck"));
  EXPECT_TRUE(KeyExists(L"HKCU\\Printers\\Settings\\Printers\\Stuck"));
  EXPECT_TRUE(DriverExists(L"Laser"));
  EXPECT_FALSE(PrinterExists(L"Later"));
  EXPECT_TRUE(FormExists(L"Card")) << "Stuck is still installed, so Later is not the last local printer";
  EXPECT_EQ(dialog_.DeletedList(), std::vector<std::wstring>{L"Later"});
  EXPECT_EQ(engine_->printersNotDeleted().size(), 1u);

  // Card is on the run's list, but Stuck's handle for the forms is refused:
  // Card is still to be tried when Stuck turns out to stay, and must no
  // longer be when Later deletes the forms still to try.
  stuckThenLater(R"({"name": "Anchor", "driver": "Plain"}, )");
  machine_->FailWith(os::sim::Op::SpoolerOpen, os::error::kAccessDenied, L"Stuck", 1);
  engine_->RunDeletion();
  EXPECT_FALSE(PrinterExists(L"Later"));
  EXPECT_TRUE(FormExists(L"Card"));
  EXPECT_EQ(Effects({"registry.DeleteValue HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\Control\\Print\\Forms:Card"}).size(), 1u)
      << "Card was tried once, through Stuck";
}

TEST_F(PrinterDeletionTest, APrinterAJobReachedAfterTheJobCheckIsNotReportedDeleted) {
  Load(R"({"base": "workstation",
    "registry": {"HKEY_CURRENT_USER\\Printers\\Settings\\Printers\\Busy": {"DevMode": "x"}},
    "spooler": {"drivers": [{"name": "Laser", "dataFile": "LASER.PPD"}],
                "printers": [{"name": "Busy", "driver": "Laser"}]}})");
  dialog_.CheckAll();
  // The job check found nothing; a job arrives before the deletion.
  machine_->spooler().FindPrinter(L"Busy")->jobs = {12};
  engine_->RunDeletion();
  EXPECT_TRUE(InOrder({"spooler.DeletePrinter Busy -> 0"})) << "the spooler answered success";
  EXPECT_TRUE(dialog_.DeletedList().empty());
  ASSERT_EQ(engine_->printersNotDeleted().size(), 1u);
  EXPECT_EQ(engine_->printersNotDeleted()[0].status, os::error::kPrinterHasJobsQueued);
  EXPECT_TRUE(KeyExists(L"HKCU\\Printers\\Settings\\Printers\\Busy")) << "its settings stay while it is listed";
  EXPECT_TRUE(DriverExists(L"Laser"));
  machine_->spooler().FinishJobs(L"Busy");
  EXPECT_FALSE(PrinterExists(L"Busy")) << "the spooler's own deletion, once the job is done";
}

}  // namespace
}  // namespace engine
