// TessalyCmd on simulated workstations: listing, refusals with their exit
// codes, a plan that changes nothing and the run that then does exactly it.
#include "tests/console/ConsoleFixture.h"

namespace console {
namespace {

constexpr const char* kOffice = R"({
  "base": "workstation",
  "registry": {
    "HKEY_CURRENT_USER\\Printers\\Settings\\Printers\\Office": {"DevMode": "x"},
    "HKEY_CURRENT_USER\\Printers\\Settings": {"Office": "x", "Reception": "y"},
    "HKEY_CURRENT_USER\\Software\\NVL\\Job Properties\\Driver\\LASER": {"Copies": "1"}
  },
  "files": {
    "C:\\Users\\Admin\\AppData\\Local\\Temp\\LASER.wmk": {"attributes": ["readonly"]},
    "C:\\Windows\\system32\\spool\\drivers\\x64\\Maker_Laser_1\\laser.gpd": {}
  },
  "spooler": {
    "drivers": [
      {"name": "Laser", "dataFile": "LASER.PPD", "infPath": "C:\\Windows\\INF\\laser.inf"},
      {"name": "Inkjet", "dataFile": "INKJET.GPD"},
      {"name": "Twin", "dataFile": "LASER.PPD"}
    ],
    "printers": [
      {"name": "Office", "driver": "Laser", "hardwareId": "USBPRINT\\Maker-Laser.1", "media": ["Label"]},
      {"name": "Reception", "driver": "Inkjet"},
      {"name": "Annex", "driver": "Twin"},
      {"name": "\\\\print1\\Hall", "server": "\\\\print1", "driver": "Inkjet"}
    ],
    "forms": [{"name": "Label"}, {"name": "Envelope"}],
    "packages": ["C:\\Windows\\INF\\laser.inf"]
  }
})";

using TessalyCmd = ConsoleFixture;

TEST_F(TessalyCmd, ListsEveryPrinterTheDialogWouldWithKindDriverAndJobs) {
  Load(kOffice);
  ASSERT_EQ(Run({L"/list"}), 0);
  EXPECT_TRUE(out_.Printed(L"Office\tlocal\tLaser\t0 jobs"));
  EXPECT_TRUE(out_.Printed(L"\\\\print1\\Hall\tconnection to \\\\print1\tInkjet\t0 jobs"));
  EXPECT_EQ(out_.lines.size(), 4u);

  ASSERT_EQ(Run({L"-LIST", L"-JSON"}), 0);
  ASSERT_EQ(out_.lines.size(), 1u);
  const auto list = nlohmann::json::parse(base::WideToUtf8(out_.lines[0]));
  ASSERT_EQ(list.size(), 4u);
  bool sawConnection = false;
  for (const auto& p : list) {
    if (p["type"] == "connection") {
      sawConnection = true;
      EXPECT_EQ(p["server"], "\\\\print1");
      EXPECT_EQ(p["name"], "\\\\print1\\Hall");
    }
    EXPECT_EQ(p["jobs"], 0);
  }
  EXPECT_TRUE(sawConnection);
  EXPECT_TRUE(MachineEffects().empty());
}

TEST_F(TessalyCmd, RefusalsEndWithTheirExitCodesAndChangeNothing) {
  Load(kOffice);
  const std::string before = machine_->SaveImage();

  EXPECT_EQ(Run({L"/delete", L"office", L"/yes"}), 2) << "names are compared exactly";
  EXPECT_TRUE(out_.Complained(L"Unknown printer: office"));
  EXPECT_TRUE(out_.Complained(L"Office, Reception, Annex, \\\\print1\\Hall")) << "the known names are listed";

  EXPECT_EQ(Run({L"/delete", L"Office"}), 2);
  EXPECT_TRUE(out_.Complained(L"/yes"));
  EXPECT_TRUE(out_.Complained(L"/plan shows what would be done"));
  EXPECT_EQ(Run({L"/all"}), 2);

  const std::wstring report = ReportPath();
  EXPECT_EQ(Run({L"/all", L"/report:" + report}), 2) << "a refusal writes its report too";
  const auto r = ReadReport(report);
  EXPECT_EQ(r["mode"], "none");
  EXPECT_EQ(r["exitCode"], 2);
  ASSERT_EQ(r["errors"].size(), 1u);
  EXPECT_NE(r["errors"][0].get<std::string>().find("/yes"), std::string::npos);

  EXPECT_EQ(Run({L"/frobnicate"}), 2);
  EXPECT_TRUE(out_.Complained(L"TessalyCmd /?"));

  EXPECT_EQ(Run({L"/?"}), 0);
  EXPECT_TRUE(out_.Printed(L"Exit codes"));

  EXPECT_TRUE(MachineEffects().empty());
  EXPECT_EQ(machine_->SaveImage(), before);
}

TEST_F(TessalyCmd, QueuedJobsOnAnyListedPrinterRefuseTheRunWithFour) {
  std::string image = kOffice;
  image.replace(image.find(R"({"name": "Reception", "driver": "Inkjet"})"),
                std::string(R"({"name": "Reception", "driver": "Inkjet"})").size(),
                R"({"name": "Reception", "driver": "Inkjet", "jobs": [7, 8]})");
  Load(image);
  // Reception is not chosen: the dialog's rule covers every listed printer.
  EXPECT_EQ(Run({L"/delete", L"Office", L"/yes"}), 4);
  EXPECT_TRUE(out_.Complained(L"Reception"));
  EXPECT_TRUE(MachineEffects().empty());
  EXPECT_TRUE(PrinterStillThere(L"Office"));
  ASSERT_EQ(Run({L"/list"}), 0);
  EXPECT_TRUE(out_.Printed(L"Reception\tlocal\tInkjet\t2 jobs"));
  ASSERT_EQ(Run({L"/list", L"/json"}), 0);
  EXPECT_TRUE(out_.Printed(L"\"jobs\": 2"));
}

TEST_F(TessalyCmd, WithoutTheRightToLockTheServiceDatabaseNothingRunsAndItEndsWithThree) {
  std::string image = kOffice;
  image.insert(image.rfind('}'), R"(, "serviceDatabase": {"lockDenied": true})");
  Load(image);
  const std::wstring report = ReportPath();
  EXPECT_EQ(Run({L"/all", L"/yes", L"/report:" + report}), 3);
  EXPECT_TRUE(out_.Complained(L"Not permitted"));
  EXPECT_EQ(Run({L"/list"}), 3);
  EXPECT_TRUE(MachineEffects().empty());
  EXPECT_TRUE(machine_->prompts().log().empty()) << "no message box, ever";
  const auto r = ReadReport(report);
  EXPECT_EQ(r["exitCode"], 3);
  EXPECT_EQ(r["mode"], "none");
}

TEST_F(TessalyCmd, APlanChangesNothingAndTheRunThenDoesExactlyIt) {
  Load(kOffice);
  const std::string before = machine_->SaveImage();
  const std::wstring planReport = ReportPath("plan.json");
  ASSERT_EQ(Run({L"/delete", L"Office", L"\\\\print1\\Hall", L"/plan", L"/report:" + planReport}), 0);
  EXPECT_TRUE(MachineEffects().empty());
  EXPECT_EQ(machine_->SaveImage(), before);
  EXPECT_TRUE(out_.Printed(L"Would delete printer \\\\print1\\Hall"));
  EXPECT_TRUE(out_.Printed(L"nothing was changed"));
  EXPECT_TRUE(out_.Printed(L"  delete connection \\\\print1\\Hall"));
  // Office's data file is also Annex's: asked and answered No, so Office stays.
  EXPECT_TRUE(out_.Printed(L"Question: "));
  EXPECT_TRUE(out_.Printed(L"Kept printer Office: answer No"));
  const auto plan = ReadReport(planReport);
  EXPECT_EQ(plan["mode"], "plan");
  EXPECT_EQ(plan["answers"][0]["answer"], "No");

  const std::wstring runReport = ReportPath("run.json");
  ASSERT_EQ(Run({L"/delete", L"Office", L"\\\\print1\\Hall", L"/yes", L"/report:" + runReport}), 0);
  EXPECT_FALSE(out_.Printed(L"Plan, in order:"));
  const auto run = ReadReport(runReport);
  EXPECT_EQ(ReportEffects(run), ReportEffects(plan));
  EXPECT_EQ(ReportEffects(run), MachineEffects());
  EXPECT_FALSE(ReportEffects(run).empty());
  EXPECT_TRUE(PrinterStillThere(L"Office"));
  EXPECT_FALSE(PrinterStillThere(L"\\\\print1\\Hall"));
  EXPECT_TRUE(machine_->prompts().log().empty()) << "no message box, ever";
}

TEST_F(TessalyCmd, SharedDeleteAnswersYesAndTakesThePrinterThatSharesTheDataFile) {
  Load(kOffice);
  const std::wstring report = ReportPath();
  ASSERT_EQ(Run({L"/delete", L"Office", L"\\\\print1\\Hall", L"/shared:delete", L"/yes", L"/quiet", L"/report:" + report}), 0);
  EXPECT_FALSE(PrinterStillThere(L"Office"));
  EXPECT_FALSE(PrinterStillThere(L"Annex"));
  EXPECT_TRUE(PrinterStillThere(L"Reception"));
  // Quiet: the summary alone. Hall's driver stays for Reception.
  ASSERT_EQ(out_.lines.size(), 1u);
  EXPECT_EQ(out_.lines[0], L"Done: 3 printer(s) deleted, 0 kept, 2 driver(s) deleted, 0 failure(s).");
  const auto r = ReadReport(report);
  EXPECT_EQ(r["answers"][0]["kind"], "question");
  EXPECT_EQ(r["answers"][0]["answer"], "Yes");
  EXPECT_TRUE(Holds(r["printers"], {{"name", "Annex"}, {"deleted", true}, {"chosen", false}})) << "brought in";
  EXPECT_TRUE(Holds(r["drivers"], {{"name", "Inkjet"}, {"outcome", "kept: used by a printer that stays"}})) << r["drivers"].dump();
}

TEST_F(TessalyCmd, DeleteAllWithNoPrinterStillDeletesEveryDriverAndSweeps) {
  Load(R"({"base": "workstation",
           "registry": {"HKEY_CURRENT_USER\\Printers\\Settings\\Wizard": {"Driver Name": "Lonely"}},
           "spooler": {"drivers": [{"name": "Lonely", "dataFile": "LONELY.PPD"}]}})");
  ASSERT_EQ(Run({L"/list"}), 0);
  EXPECT_TRUE(out_.Printed(L"No printers are installed."));
  ASSERT_EQ(Run({L"/all", L"/plan"}), 0);
  EXPECT_TRUE(out_.Printed(L"  delete driver Windows NT x86|Lonely (not installed)")) << "not a failure";
  EXPECT_TRUE(out_.Printed(L"  delete registry key HKEY_LOCAL_MACHINE\\System\\ControlSet001\\Control\\Print\\Watermark (not there)"));
  ASSERT_EQ(Run({L"/all", L"/yes"}), 0);
  const auto effects = MachineEffects();
  EXPECT_NE(std::find(effects.begin(), effects.end(), "spooler.DeleteDriver Windows x64|Lonely -> 0"), effects.end());
  EXPECT_TRUE(out_.Printed(L"Driver Lonely (Windows x64): deleted"));
}

TEST_F(TessalyCmd, ADriverTwoChosenPrintersShareCountsOnceAsDeleted) {
  Load(R"({"base": "workstation", "spooler": {"drivers": [{"name": "Laser", "dataFile": "LASER.PPD"}],
    "printers": [{"name": "Back", "driver": "Laser"}, {"name": "Front", "driver": "Laser"}]}})");
  // The second printer's attempt finds the driver gone (1797): it was deleted.
  ASSERT_EQ(Run({L"/delete", L"Back", L"Front", L"/plan"}), 0);
  EXPECT_TRUE(out_.Printed(L"Driver Laser (Windows x64): would be deleted"));
  ASSERT_EQ(Run({L"/delete", L"Back", L"Front", L"/yes"}), 0);
  EXPECT_TRUE(out_.Printed(L"Driver Laser (Windows x64): deleted"));
  EXPECT_TRUE(out_.Printed(L"Done: 2 printer(s) deleted, 0 kept, 1 driver(s) deleted, 0 failure(s)."));
}

TEST_F(TessalyCmd, ADriverTheSpoolerKeepsEndsWithOneAndIsNotTakenAsNotInstalled) {
  Load(R"({"base": "workstation", "spooler": {"drivers": [{"name": "Laser", "dataFile": "LASER.PPD"}],
    "printers": [{"name": "Back", "driver": "Laser"}]}})");
  machine_->FailWith(os::sim::Op::SpoolerDeleteDriver, 3001, L"Windows x64|Laser");
  EXPECT_EQ(Run({L"/delete", L"Back", L"/yes"}), 1);
  EXPECT_TRUE(out_.Complained(L"Driver Laser (Windows x64): kept: the spooler refused (3001 "));
}

TEST_F(TessalyCmd, APrinterTheSpoolerKeepsEndsWithOneAndIsReported) {
  Load(kOffice);
  machine_->FailWith(os::sim::Op::SpoolerDeletePrinter, 5, L"Reception");
  const std::wstring report = ReportPath();
  EXPECT_EQ(Run({L"/delete", L"Reception", L"/yes", L"/quiet", L"/report:" + report}), 1);
  EXPECT_TRUE(out_.Complained(L"Kept printer Reception: the spooler refused (5"));
  EXPECT_TRUE(out_.Complained(L"could not be deleted")) << "the end-of-run warning, even with /quiet";
  const auto r = ReadReport(report);
  EXPECT_EQ(r["exitCode"], 1);
  EXPECT_TRUE(Holds(r["printers"], {{"name", "Reception"}, {"status", 5}, {"deleted", false}}));
  EXPECT_TRUE(machine_->prompts().log().empty()) << "the end-of-run notice is an error line, not a box";
  // Envelope went before the spooler refused Reception; Office still names Label.
  EXPECT_TRUE(Holds(r["forms"], {{"name", "Envelope"}, {"outcome", "deleted"}}));
  EXPECT_TRUE(Holds(r["forms"], {{"name", "Label"}, {"outcome", "kept: named by a printer that stays"}}));
  EXPECT_TRUE(r["drivers"].empty()) << "no printer went, so no driver was tried or kept for it: " << r["drivers"].dump();
}

TEST_F(TessalyCmd, ALeftoverTheSystemRefusesToDeleteEndsWithOneAndIsNamed) {
  Load(kOffice);
  const std::wstring wmk = L"C:\\Users\\Admin\\AppData\\Local\\Temp\\LASER.wmk";
  machine_->FailWith(os::sim::Op::FilesDelete, 32, wmk);
  const std::wstring report = ReportPath();
  EXPECT_EQ(Run({L"/all", L"/yes", L"/quiet", L"/report:" + report}), 1);
  EXPECT_TRUE(out_.Complained(L"Failed: delete file " + wmk + L" (32 "));
  EXPECT_TRUE(out_.Printed(L"1 failure(s)."));
  const auto r = ReadReport(report);
  EXPECT_EQ(r["exitCode"], 1);
  EXPECT_TRUE(Holds(r["files"], {{"status", 32}, {"action", "delete"}}));
  for (const auto& f : r["files"]) {
    if (f["status"] == 32) {
      EXPECT_NE(f["message"], "") << "the system's text for the status";
    }
  }
}

TEST_F(TessalyCmd, AReportThatCannotBeWrittenIsAnErrorWithOneAndTheRunStillRuns) {
  Load(kOffice);
  const std::wstring report = ReportPath("no-such-folder/deeper/report.json");
  EXPECT_EQ(Run({L"/delete", L"Reception", L"/yes", L"/report:" + report}), 1);
  EXPECT_TRUE(out_.Complained(L"could not be written"));
  EXPECT_FALSE(PrinterStillThere(L"Reception"));
}

TEST_F(TessalyCmd, TheDriverKeptForAConnectionIsANoticeLineAndAReportEntryNotABox) {
  Load(kOffice);
  const std::wstring report = ReportPath();
  // Hall's driver is Reception's too, and Reception stays.
  ASSERT_EQ(Run({L"/delete", L"\\\\print1\\Hall", L"/yes", L"/report:" + report}), 0);
  EXPECT_TRUE(out_.Printed(L"Notice: "));
  EXPECT_TRUE(out_.errors.empty());
  EXPECT_TRUE(machine_->prompts().log().empty());
  const auto r = ReadReport(report);
  ASSERT_EQ(r["answers"].size(), 1u);
  EXPECT_EQ(r["answers"][0]["kind"], "notice");
  EXPECT_EQ(r["answers"][0]["answer"], "OK");
  EXPECT_NE(r["answers"][0]["text"].get<std::string>().find("Inkjet"), std::string::npos);
  EXPECT_TRUE(Holds(r["drivers"], {{"name", "Inkjet"}, {"outcome", "kept: used by a printer that stays"}})) << r["drivers"].dump();
  // No local printer went, so no form was tried; Office, which stays, names Label.
  EXPECT_TRUE(Holds(r["forms"], {{"name", "Label"}, {"outcome", "kept: named by a printer that stays"}}));
  EXPECT_TRUE(Holds(r["forms"], {{"name", "Envelope"}, {"outcome", "not tried: no local printer was deleted"}}));
}

TEST_F(TessalyCmd, TheReportHoldsTheRequestEveryPrinterDriverFormAndEffect) {
  Load(kOffice);
  const std::wstring report = ReportPath();
  ASSERT_EQ(Run({L"-all", L"-yes", L"-report:" + report}), 0);
  const auto r = ReadReport(report);
  EXPECT_EQ(r["tool"], "TessalyCmd");
  EXPECT_EQ(r["version"], "3.3.0.21");
  EXPECT_EQ(r["machine"], "WORKSTATION");
  EXPECT_EQ(r["started"], "2026-12-07T11:00:00Z");
  EXPECT_EQ(r["ended"], "2026-12-07T11:00:00Z");
  EXPECT_EQ(r["request"]["command"], "all");
  EXPECT_EQ(r["request"]["arguments"].size(), 3u);
  EXPECT_EQ(r["mode"], "run");
  EXPECT_EQ(r["exitCode"], 0);

  ASSERT_EQ(r["printers"].size(), 4u);
  for (const auto& p : r["printers"]) {
    EXPECT_TRUE(p["deleted"].get<bool>()) << p.dump();
    EXPECT_EQ(p["outcome"], "deleted");
    if (p["type"] == "connection") EXPECT_EQ(p["server"], "\\\\print1");
    else EXPECT_FALSE(p.contains("server")) << p.dump();
  }
  for (const char* driver : {"Laser", "Twin"}) {
    EXPECT_TRUE(Holds(r["drivers"], {{"name", driver}, {"environment", "Windows x64"}, {"outcome", "deleted"}})) << driver;
  }
  for (const char* form : {"Label", "Envelope"}) EXPECT_TRUE(Holds(r["forms"], {{"name", form}, {"outcome", "deleted"}}));

  // Every effect is in exactly one of the grouped lists, with its status.
  std::size_t grouped = 0;
  for (const char* list : {"formDeletions", "files", "registry", "services", "processes", "spooler"}) {
    grouped += r[list].size();
    for (const auto& item : r[list]) {
      EXPECT_TRUE(item["status"] == 0 || item.contains("message")) << item.dump();
    }
  }
  EXPECT_EQ(grouped, r["effects"].size());
  std::vector<std::string> spoolerRestarts;
  for (const auto& s : r["services"]) {
    if (s["target"] == "Spooler") spoolerRestarts.push_back(s["action"].get<std::string>() + " " + std::to_string(s["status"].get<int>()));
  }
  EXPECT_EQ(spoolerRestarts, (std::vector<std::string>{"stop 0", "start 0", "stop 0", "start 0"}))
      << "after the printers, and again after every driver went";
  bool laserWatermark = false;
  for (const auto& f : r["files"]) {
    laserWatermark = laserWatermark || (f["action"] == "delete" && f["target"].get<std::string>().find("LASER.wmk") != std::string::npos && f["status"] == 0);
  }
  EXPECT_TRUE(laserWatermark);
}

}  // namespace
}  // namespace console
