// Whole runs on a simulated office: what goes, what stays, in which order.
#include <new>

#include "tests/engine/EngineFixture.h"

namespace engine {
namespace {

constexpr const char* kOffice = R"({
  "base": "workstation",
  "registry": {
    "HKEY_CURRENT_USER\\Printers\\Settings\\Printers\\Office": {"DevMode": "x"},
    "HKEY_CURRENT_USER\\Printers\\Settings\\Printers\\Reception": {"DevMode": "y"},
    "HKEY_CURRENT_USER\\Printers\\Settings": {"Office": "x", "Reception": "y"},
    "HKEY_USERS\\.DEFAULT\\Printers\\Settings\\Printers\\Office": {},
    "HKEY_LOCAL_MACHINE\\Software\\NVL\\Quellix\\printers\\Office": {},
    "HKEY_CURRENT_USER\\Software\\NVL\\Job Properties\\LocalWaterMarkData\\Printers\\Office": {},
    "HKEY_USERS\\.DEFAULT\\Printers\\Settings\\Drivers\\Laser": {},
    "HKEY_USERS\\.DEFAULT\\Printers\\Settings\\Drivers\\Inkjet": {},
    "HKEY_CURRENT_USER\\Software\\NVL\\Job Properties\\Driver\\LASER": {"Copies": "1"},
    "HKEY_CURRENT_USER\\Software\\NVL\\Job Properties\\Driver\\INKJET": {"Copies": "2"},
    "HKEY_CURRENT_USER\\Printers\\Settings\\Wizard": {"Driver Name": "Laser"}
  },
  "files": {
    "C:\\Users\\Admin\\AppData\\Local\\Temp\\LASER.wmk": {"attributes": ["readonly"]},
    "C:\\Users\\Admin\\AppData\\Local\\Temp\\INKJET.wmk": {},
    "C:\\Windows\\system32\\spool\\drivers\\x64\\Maker_Laser_1\\laser.gpd": {},
    "C:\\Windows\\system32\\spool\\drivers\\x64\\Maker_Ink_2\\ink.gpd": {},
    "C:\\Windows\\system32\\spool\\drivers\\w32x86\\loose.dll": {}
  },
  "spooler": {
    "drivers": [
      {"name": "Laser", "dataFile": "LASER.PPD", "infPath": "C:\\Windows\\INF\\laser.inf"},
      {"name": "Inkjet", "dataFile": "INKJET.GPD"},
      {"name": "Spare", "environment": "Windows NT x86", "dataFile": "SPARE.PPD"}
    ],
    "printers": [
      {"name": "Office", "driver": "Laser", "hardwareId": "USBPRINT\\Maker-Laser.1", "media": ["Label"]},
      {"name": "Reception", "driver": "Inkjet", "hardwareId": "USBPRINT\\Maker-Ink&2", "media": ["Card"]}
    ],
    "forms": [{"name": "Label"}, {"name": "Card"}, {"name": "Envelope"}],
    "packages": ["C:\\Windows\\INF\\laser.inf"]
  },
  "processes": [{"pid": 4242, "name": "Quellix.exe"}, {"pid": 77, "name": "explorer.exe"}]
})";

using EngineRunTest = EngineFixture;

TEST_F(EngineRunTest, TheRoadOfOneDeletion) {
  Load(kOffice);
  dialog_.Check(L"Office");
  engine_->RunDeletion();

  EXPECT_TRUE(Questions().empty());
  EXPECT_EQ(dialog_.DeletedList(), std::vector<std::wstring>{L"Office"});
  EXPECT_TRUE(InOrder({
      "spooler.DeleteForm Label -> 0",
      "spooler.DeleteForm Envelope -> 0",
      "spooler.DeletePrinter Office -> 0",
      "registry.DeleteTree HKEY_CURRENT_USER\\Printers\\Settings\\Printers\\Office -> 0",
      "registry.DeleteValue HKEY_CURRENT_USER\\Printers\\Settings:Office -> 0",
      "services.Stop Spooler -> 0",
      "services.Start Spooler -> 0",
      "spooler.DeleteDriver Windows NT x86|Laser -> 1797",
      "spooler.DeleteDriver Windows x64|Laser -> 0",
      "spooler.DeleteDriverPackage Windows x64|C:\\Windows\\INF\\laser.inf -> 0",
      "files.Delete C:\\Users\\Admin\\AppData\\Local\\Temp\\LASER.wmk -> 0",
      "files.RemoveFolder C:\\Windows\\system32\\spool\\drivers\\x64\\Maker_Laser_1 -> 0",
      "registry.DeleteTree HKEY_USERS\\.DEFAULT\\Printers\\Settings\\Drivers\\Laser -> 0",
      "registry.DeleteTree HKEY_CURRENT_USER\\Software\\NVL\\Job Properties\\Driver\\LASER -> 0",
  }));
  EXPECT_EQ(Effects({"spooler.DeleteForm"}).size(), 2u) << "Card is named by Reception, which stays";

  EXPECT_FALSE(PrinterExists(L"Office"));
  EXPECT_FALSE(DriverExists(L"Laser"));
  EXPECT_FALSE(KeyExists(L"HKU\\.DEFAULT\\Printers\\Settings\\Printers\\Office"));
  EXPECT_FALSE(KeyExists(L"HKLM\\Software\\NVL\\Quellix\\printers\\Office"));
  // What belongs to the printer that stays is untouched.
  EXPECT_TRUE(PrinterExists(L"Reception"));
  EXPECT_TRUE(DriverExists(L"Inkjet"));
  EXPECT_TRUE(FormExists(L"Card"));
  EXPECT_TRUE(FileExists(L"C:\\Users\\Admin\\AppData\\Local\\Temp\\INKJET.wmk"));
  EXPECT_TRUE(FileExists(L"C:\\Windows\\system32\\spool\\drivers\\x64\\Maker_Ink_2\\ink.gpd"));
  EXPECT_TRUE(KeyExists(L"HKCU\\Software\\NVL\\Job Properties\\Driver\\INKJET"));
  EXPECT_TRUE(machine_->registry().GetValue(L"HKCU\\Printers\\Settings", L"Reception"));
  EXPECT_TRUE(KeyExists(L"HKCU\\Printers\\Settings\\Wizard")) << "only a delete-all run sweeps globally";
  EXPECT_EQ(engine_->companionTerminated(), 0);

  // The dialog refills after the run: Office is no longer listed.
  engine_->RefillPrinterList();
  EXPECT_EQ(dialog_.ItemTexts(), std::vector<std::wstring>{L" Reception"});
}

TEST_F(EngineRunTest, ACheckedItemThatMatchesNoPrinterDeletesNothingButTheRunStillRestartsTheSpooler) {
  Load(kOffice);
  dialog_.AddPrinterItem(L" Gone Since");
  dialog_.Check(L"Gone Since");
  engine_->RunDeletion();
  EXPECT_TRUE(Effects({"spooler.DeletePrinter", "spooler.DeleteDriver"}).empty());
  EXPECT_EQ(Effects({"services.Stop Spooler", "services.Start Spooler"}).size(), 2u);
  EXPECT_TRUE(dialog_.DeletedList().empty());

  // The same in a delete-all run still sweeps everything.
  machine_->gate().ClearJournal();
  dialog_.deleteAll = true;
  engine_->RunDeletion();
  EXPECT_TRUE(Effects({"spooler.DeletePrinter"}).empty());
  EXPECT_TRUE(InOrder({"spooler.DeleteDriver Windows NT x86|Spare -> 0",
                       "registry.DeleteValue HKEY_CURRENT_USER\\Printers\\Settings\\Wizard:Driver Name -> 0",
                       "processes.Terminate Quellix.exe (4242)"}));
}

TEST_F(EngineRunTest, ASpoolerThatFailsEveryDeletionLeavesEveryPrinterWithItsDataAndSaysSoOnce) {
  Load(kOffice);
  machine_->FailWith(os::sim::Op::SpoolerDeletePrinter, os::error::kAccessDenied);
  machine_->FailWith(os::sim::Op::SpoolerDeleteDriver, os::error::kAccessDenied);
  dialog_.CheckAll();
  dialog_.deleteAll = true;
  engine_->RunDeletion();

  // Every step still ran.
  EXPECT_TRUE(InOrder({"spooler.DeletePrinter Office -> 5", "spooler.DeletePrinter Reception -> 5",
                       "services.Start Spooler -> 0", "services.Start Spooler -> 0",
                       "processes.Terminate Quellix.exe (4242)", "files.Delete C:\\Windows\\system32\\spool\\drivers\\w32x86\\loose.dll"}));
  EXPECT_TRUE(dialog_.DeletedList().empty()) << "a printer that is still installed is not listed as deleted";
  ASSERT_EQ(Questions().size(), 1u);
  EXPECT_EQ(Questions()[0],
            L"The following Printers could not be deleted. They are still installed, and their settings and drivers "
            L"were kept.\n\n-> Office: Access is denied.\n-> Reception: Access is denied.\n");
  EXPECT_EQ(machine_->prompts().log()[0].caption, L"Tessaly");
  EXPECT_EQ(machine_->prompts().log()[0].owner, 0u);

  // A printer that stays keeps its settings, and its driver keeps its files
  // and keys (the global sweep, which asks no one, aside).
  EXPECT_TRUE(PrinterExists(L"Office"));
  EXPECT_TRUE(KeyExists(L"HKLM\\Software\\NVL\\Quellix\\printers\\Office"));
  EXPECT_TRUE(KeyExists(L"HKCU\\Software\\NVL\\Job Properties\\Driver\\LASER"));
  EXPECT_TRUE(FileExists(L"C:\\Users\\Admin\\AppData\\Local\\Temp\\LASER.wmk"));
  EXPECT_TRUE(FileExists(L"C:\\Windows\\system32\\spool\\drivers\\x64\\Maker_Laser_1\\laser.gpd"));
}

TEST_F(EngineRunTest, TheSpoolerRunsAgainAfterARunHoweverTheRunEnded) {
  // A spooler slower to stop than the stop wait: the start that follows finds
  // it still stopping and gives up, so the run itself starts it once stopped.
  Load(R"({"base": "workstation", "services": [{"name": "Spooler", "stopDelayMs": 15000}],
    "spooler": {"drivers": [{"name": "Laser"}], "printers": [{"name": "Office", "driver": "Laser"}]}})");
  dialog_.Check(L"Office");
  engine_->RunDeletion();
  EXPECT_EQ(machine_->services().StateOf(L"Spooler"), os::svc::kRunning);
  EXPECT_EQ(Effects({"services.Start Spooler"}), (std::vector<std::string>{"services.Start Spooler -> 0"}));

  // A fault in the start itself, outside any guarded call, breaks the run off
  // with the Spooler stopped; it is started on the way out all the same.
  Load(kOffice);
  machine_->FaultOn(os::sim::Op::ServicesStart, L"Spooler", 1);
  dialog_.Check(L"Office");
  OnWorkerThread([&] { engine_->RunDeletion(); });
  EXPECT_EQ(machine_->services().StateOf(L"Spooler"), os::svc::kRunning);
  EXPECT_FALSE(PrinterExists(L"Office"));
  EXPECT_TRUE(engine_->printersNotDeleted().empty()) << "the printer went before the run broke off";

  // A spooler that was stopped before the run is not started by it.
  Load(R"({"base": "workstation", "services": [{"name": "Spooler", "state": "stopped", "startError": 1058}]})");
  engine_->RunDeletion();
  EXPECT_EQ(machine_->gate().calls(os::sim::Op::ServicesStart), 1u) << "only the restart's own attempt";
}

TEST_F(EngineRunTest, ARunBrokenOffBeforeThePrintersWentReportsEveryCheckedPrinterAsStillInstalled) {
  // Branch's driver is built on Office's data file, so checking Office asks.
  Load(R"({"base": "workstation", "spooler": {
    "drivers": [{"name": "Laser", "dataFile": "LASER.PPD"}, {"name": "Laser Pro", "dataFile": "LASER.PPD"},
                {"name": "Inkjet", "dataFile": "INKJET.GPD"}],
    "printers": [{"name": "Office", "driver": "Laser"}, {"name": "Branch", "driver": "Laser Pro"},
                 {"name": "Reception", "driver": "Inkjet"}]}})");
  dialog_.Check(L"Office");
  dialog_.Check(L"Reception");
  // The first question cannot even be shown: memory ran out.
  machine_->prompts().SetResponder([](const os::sim::PromptRecord& box) -> int {
    if (box.text.find(L"Deleting driver") != std::wstring::npos) throw std::bad_alloc();
    return os::mb::kIdOk;
  });
  engine_->RunDeletion();
  EXPECT_TRUE(Effects({"spooler.DeletePrinter"}).empty());
  EXPECT_TRUE(PrinterExists(L"Office"));
  ASSERT_EQ(Questions().size(), 1u) << "the question never showed";
  EXPECT_EQ(Questions()[0],
            L"The following Printers could not be deleted. They are still installed, and their settings and drivers "
            L"were kept.\n\n-> Office: Not enough memory resources are available to process this command.\n"
            L"-> Reception: Not enough memory resources are available to process this command.\n");
  EXPECT_EQ(machine_->services().StateOf(L"Spooler"), os::svc::kRunning);
}

TEST_F(EngineRunTest, APrinterWhoseDeletionBrokeOffBeforeTheSpoolerAnsweredIsReportedStillInstalled) {
  // The connection's driver stays with Office, so deleting it first shows a
  // notice; memory runs out showing it.
  Load(R"({"base": "workstation", "spooler": {"drivers": [{"name": "Laser"}, {"name": "Inkjet"}],
    "printers": [{"name": "\\\\srv\\lp", "server": "\\\\srv", "driver": "Laser"},
                 {"name": "Office", "driver": "Laser"}, {"name": "Reception", "driver": "Inkjet"}]}})");
  dialog_.Check(L"\\\\srv\\lp");
  dialog_.Check(L"Reception");
  machine_->prompts().SetResponder([](const os::sim::PromptRecord& box) -> int {
    if (box.text.find(L"could not be deleted") == std::wstring::npos) throw std::bad_alloc();
    return os::mb::kIdOk;
  });
  engine_->RunDeletion();
  // The spooler lists local printers first: Reception went before.
  EXPECT_TRUE(PrinterExists(L"\\\\srv\\lp"));
  EXPECT_FALSE(PrinterExists(L"Reception"));
  ASSERT_EQ(engine_->printersNotDeleted().size(), 1u);
  EXPECT_EQ(engine_->printersNotDeleted()[0].printerName, L"\\\\srv\\lp");
  EXPECT_EQ(engine_->printersNotDeleted()[0].status, os::error::kNotEnoughMemory);
}

}  // namespace
}  // namespace engine
