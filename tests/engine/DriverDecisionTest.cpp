// Which drivers go: sharing by driver name, sharing by data file, and what
// the user's answers decide.
#include "tests/engine/EngineFixture.h"

namespace engine {
namespace {

// Office and Annex share the driver Laser; Branch has its own driver built on
// the same data file; Reception has nothing in common with them.
constexpr const char* kSharing = R"({
  "base": "workstation",
  "registry": {
    "HKEY_CURRENT_USER\\Software\\NVL\\Job Properties\\Driver\\LASER": {},
    "HKEY_USERS\\.DEFAULT\\Printers\\Settings\\Drivers\\Laser": {}
  },
  "files": {"C:\\Users\\Admin\\AppData\\Local\\Temp\\LASER.wmk": {}},
  "spooler": {
    "drivers": [
      {"name": "Laser", "dataFile": "LASER.PPD"},
      {"name": "Laser Pro", "dataFile": "LASER.PPD"},
      {"name": "Inkjet", "dataFile": "INKJET.GPD"},
      {"name": "Mystery A"}, {"name": "Mystery B"}
    ],
    "printers": [
      {"name": "Office", "driver": "Laser"},
      {"name": "Annex", "driver": "Laser"},
      {"name": "Branch", "driver": "Laser Pro"},
      {"name": "Reception", "driver": "Inkjet"}
    ]
  }
})";

const wchar_t* kLaserAffectsLaser = L"Deleting driver: Laser will affect driver: Laser. Do you wish to continue?";
const wchar_t* kLaserAffectsLaserPro = L"Deleting driver: Laser will affect driver: Laser Pro. Do you wish to continue?";

using DriverDecisionTest = EngineFixture;

TEST_F(DriverDecisionTest, ACheckedPrinterWhoseDriverAnotherUsesAsksAndYesTakesTheOtherAlong) {
  Load(kSharing);
  dialog_.Check(L"Office");
  machine_->prompts().Answer(os::mb::kIdYes);
  machine_->prompts().Answer(os::mb::kIdYes);
  engine_->RunDeletion();
  ASSERT_EQ(Questions(), (std::vector<std::wstring>{kLaserAffectsLaser, kLaserAffectsLaserPro}));
  const auto& box = machine_->prompts().log()[0];
  EXPECT_EQ(box.caption, L"Tessaly");
  EXPECT_EQ(box.style, 0x114u);
  EXPECT_EQ(box.owner, 0u);
  EXPECT_EQ(dialog_.DeletedList(), (std::vector<std::wstring>{L"Annex", L"Branch", L"Office"}));
  EXPECT_FALSE(DriverExists(L"Laser"));
  EXPECT_FALSE(DriverExists(L"Laser Pro"));
  EXPECT_TRUE(PrinterExists(L"Reception"));
  EXPECT_FALSE(FileExists(L"C:\\Users\\Admin\\AppData\\Local\\Temp\\LASER.wmk"));
}

TEST_F(DriverDecisionTest, NoKeepsThePrinterAndItsDriverAndStopsTheQuestions) {
  Load(kSharing);
  dialog_.Check(L"Office");
  machine_->prompts().Answer(os::mb::kIdNo);
  engine_->RunDeletion();
  EXPECT_EQ(Questions(), std::vector<std::wstring>{kLaserAffectsLaser});
  EXPECT_TRUE(Effects({"spooler.DeletePrinter", "spooler.DeleteDriver"}).empty());
  EXPECT_EQ(Effects({"services.Start Spooler"}).size(), 1u);
  EXPECT_TRUE(PrinterExists(L"Office"));
}

TEST_F(DriverDecisionTest, ANoAfterAYesKeepsEveryPrinterTheYesHadBroughtIn) {
  // Left open how Yes and No combine for one printer: the No prevails. A
  // driver, its files or its keys never go while a printer that uses them stays.
  Load(kSharing);
  dialog_.Check(L"Office");
  machine_->prompts().Answer(os::mb::kIdYes);  // Annex
  machine_->prompts().Answer(os::mb::kIdNo);   // Branch
  engine_->RunDeletion();
  EXPECT_EQ(Questions().size(), 2u);
  EXPECT_TRUE(dialog_.DeletedList().empty());
  EXPECT_TRUE(PrinterExists(L"Office"));
  EXPECT_TRUE(PrinterExists(L"Annex"));
  EXPECT_TRUE(DriverExists(L"Laser"));
  EXPECT_TRUE(FileExists(L"C:\\Users\\Admin\\AppData\\Local\\Temp\\LASER.wmk"));
  EXPECT_TRUE(KeyExists(L"HKCU\\Software\\NVL\\Job Properties\\Driver\\LASER"));
}

TEST_F(DriverDecisionTest, APrinterThatStaysKeepsTheHardwareFolderAndTemporaryFilesItShares) {
  // Hall and Lobby are two printers of one model on different drivers: the
  // same hardware folder and, here, the same directory-service driver name.
  Load(R"({"base": "workstation",
    "registry": {
      "HKLM\\SYSTEM\\CurrentControlSet\\Control\\Print\\Printers\\Hall\\PnPData": {"HardwareID": "LPTENUM\\Maker-Model"},
      "HKLM\\SYSTEM\\CurrentControlSet\\Control\\Print\\Printers\\Lobby\\PnPData": {"HardwareID": "USBPRINT\\maker-model"},
      "HKLM\\SYSTEM\\CurrentControlSet\\Control\\Print\\Printers\\Mystery A\\DsSpooler": {"driverName": "Maker DS"},
      "HKLM\\SYSTEM\\CurrentControlSet\\Control\\Print\\Printers\\Mystery B\\DsSpooler": {"driverName": "Maker DS"}},
    "files": {
      "C:\\Windows\\system32\\spool\\drivers\\x64\\Maker_Model\\model.gpd": {},
      "C:\\Users\\Admin\\AppData\\Local\\Temp\\Maker DS.tmp": {}},
    "spooler": {"drivers": [{"name": "Mystery A"}, {"name": "Mystery B"}],
      "printers": [{"name": "Hall", "driver": "Mystery A"}, {"name": "Lobby", "driver": "Mystery B"}]}})");
  dialog_.Check(L"Hall");
  engine_->RunDeletion();
  EXPECT_FALSE(DriverExists(L"Mystery A"));
  EXPECT_TRUE(FileExists(L"C:\\Windows\\system32\\spool\\drivers\\x64\\Maker_Model\\model.gpd"));
  EXPECT_TRUE(FileExists(L"C:\\Users\\Admin\\AppData\\Local\\Temp\\Maker DS.tmp"));
}

TEST_F(DriverDecisionTest, OnA32BitXpTheUnknownX64EnvironmentKeepsNothingBack) {
  // The spooler answers 1805 for "Windows x64": it holds no such driver, so
  // the driver is gone and its files and keys follow it.
  Load(R"({"base": "xp-workstation",
    "registry": {"HKCU\\Software\\NVL\\Job Properties\\Driver\\LASER": {}},
    "files": {"C:\\Documents and Settings\\Admin\\Local Settings\\Temp\\LASER.wmk": {}},
    "spooler": {"drivers": [{"name": "Laser", "environment": "Windows NT x86", "dataFile": "LASER.PPD"}],
                "printers": [{"name": "Office", "driver": "Laser"}]}})");
  dialog_.Check(L"Office");
  engine_->RunDeletion();
  EXPECT_FALSE(DriverExists(L"Laser", L"Windows NT x86"));
  EXPECT_FALSE(FileExists(L"C:\\Documents and Settings\\Admin\\Local Settings\\Temp\\LASER.wmk"));
  EXPECT_FALSE(KeyExists(L"HKCU\\Software\\NVL\\Job Properties\\Driver\\LASER"));
}

TEST_F(DriverDecisionTest, ADriverTheSpoolerKeepsKeepsItsFilesAndKeys) {
  Load(kSharing);
  machine_->FailWith(os::sim::Op::SpoolerDeleteDriver, os::error::kPrinterDriverInUse, L"Windows x64|Inkjet");
  machine_->Apply(R"({"registry": {"HKEY_CURRENT_USER\\Software\\NVL\\Job Properties\\Driver\\INKJET": {}},
                      "files": {"C:\\Users\\Admin\\AppData\\Local\\Temp\\INKJET.wmk": {}}})");
  dialog_.Check(L"Reception");
  engine_->RunDeletion();
  EXPECT_FALSE(PrinterExists(L"Reception"));
  EXPECT_TRUE(DriverExists(L"Inkjet"));
  EXPECT_TRUE(FileExists(L"C:\\Users\\Admin\\AppData\\Local\\Temp\\INKJET.wmk"));
  EXPECT_TRUE(KeyExists(L"HKCU\\Software\\NVL\\Job Properties\\Driver\\INKJET"));
}

TEST_F(DriverDecisionTest, DriverNamesDifferingOnlyInCaseAreDifferentDrivers) {
  // No data file recorded, so only the names can tie the two together.
  Load(R"({"base": "workstation", "spooler": {"drivers": [{"name": "laser"}, {"name": "LASER"}],
           "printers": [{"name": "One", "driver": "laser"}, {"name": "Two", "driver": "LASER"}]}})");
  dialog_.Check(L"One");
  engine_->RunDeletion();
  EXPECT_TRUE(Questions().empty());
  // The engine tries to delete "laser"; the spooler, which ignores case,
  // refuses because "LASER" is in use, and the driver stays.
  EXPECT_EQ(Effects({"spooler.DeleteDriver Windows x64|laser"}),
            std::vector<std::string>{"spooler.DeleteDriver Windows x64|laser -> 3001"});
}

TEST_F(DriverDecisionTest, WhatAPrinterThatStaysUsesIsKeptEvenWhereItsDataFileCannotBeRead) {
  // Annex stays on a driver built on the same data file as Office's. Its data
  // file comes from a connection's cached data, which is missing, or from a
  // registry read that fails: the files named after data files stay.
  const auto twoLasers = [](const std::string& annex) {
    return R"({"base": "workstation",
      "registry": {"HKEY_CURRENT_USER\\Software\\NVL\\Job Properties\\Driver\\LASER": {}},
      "files": {"C:\\Users\\Admin\\AppData\\Local\\Temp\\LASER.wmk": {}},
      "spooler": {
        "drivers": [{"name": "Laser", "dataFile": "LASER.PPD"}, {"name": "Laser Copy", "dataFile": "LASER.PPD"}],
        "printers": [{"name": "Office", "driver": "Laser"}, )" + annex + R"(]}})";
  };
  const auto laserKept = [&] {
    EXPECT_FALSE(DriverExists(L"Laser"));
    EXPECT_TRUE(FileExists(L"C:\\Users\\Admin\\AppData\\Local\\Temp\\LASER.wmk"));
    EXPECT_TRUE(KeyExists(L"HKCU\\Software\\NVL\\Job Properties\\Driver\\LASER"));
  };
  Load(twoLasers(R"({"name": "\\\\srv\\Annex", "server": "\\\\srv", "driver": "Laser Copy"})"));
  dialog_.Check(L"Office");
  engine_->RunDeletion();
  laserKept();

  // A chosen connection asks nothing about the data file: the local printer
  // that stays protects it all the same.
  Load(R"({"base": "workstation",
    "registry": {"HKEY_CURRENT_USER\\Software\\NVL\\Job Properties\\Driver\\LASER": {}},
    "files": {"C:\\Users\\Admin\\AppData\\Local\\Temp\\LASER.wmk": {}},
    "spooler": {
      "drivers": [{"name": "Laser", "dataFile": "LASER.PPD"}, {"name": "Laser Copy", "dataFile": "LASER.PPD"}],
      "printers": [{"name": "\\\\srv\\lp", "server": "\\\\srv", "driver": "Laser"},
                   {"name": "Annex", "driver": "Laser Copy"}]}})");
  dialog_.Check(L"\\\\srv\\lp");
  engine_->RunDeletion();
  laserKept();

  // Both chosen, so nobody is asked; the spooler keeps Annex, whose data file
  // Office's driver shared.
  Load(twoLasers(R"({"name": "Annex", "driver": "Laser Copy"})"));
  machine_->FailWith(os::sim::Op::SpoolerDeletePrinter, os::error::kAccessDenied, L"Annex");
  dialog_.Check(L"Office");
  dialog_.Check(L"Annex");
  engine_->RunDeletion();
  EXPECT_TRUE(Questions().size() == 1 && Questions()[0].find(L"could not be deleted") != std::wstring::npos);
  laserKept();

  Load(twoLasers(R"({"name": "Annex", "driver": "Laser Copy"})"));
  machine_->FailWith(os::sim::Op::RegistryQueryValue, os::error::kInvalidHandle,
                     L"HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\Control\\Print\\Environments\\Windows x64\\"
                     L"Drivers\\Version-3\\Laser Copy:Data File");
  dialog_.Check(L"Office");
  engine_->RunDeletion();
  EXPECT_TRUE(Questions().empty()) << "nothing known to share: nothing to ask";
  laserKept();

  // A staying connection's data file is known from the local copy of its
  // driver (its server, as the spooler reports it, "\\srv", leads to no
  // cached data): it is INK, so LASER's files were Office's alone and go.
  Load(R"({"base": "workstation",
    "files": {"C:\\Users\\Admin\\AppData\\Local\\Temp\\LASER.wmk": {}, "C:\\Users\\Admin\\AppData\\Local\\Temp\\INK.wmk": {}},
    "spooler": {"drivers": [{"name": "Laser", "dataFile": "LASER.PPD"}, {"name": "Inkjet", "dataFile": "INK.GPD"}],
      "printers": [{"name": "Office", "driver": "Laser"}, {"name": "\\\\srv\\Annex", "server": "\\\\srv", "driver": "Inkjet"}]}})");
  dialog_.Check(L"Office");
  engine_->RunDeletion();
  EXPECT_FALSE(FileExists(L"C:\\Users\\Admin\\AppData\\Local\\Temp\\LASER.wmk"));
  EXPECT_TRUE(FileExists(L"C:\\Users\\Admin\\AppData\\Local\\Temp\\INK.wmk"));
}

}  // namespace
}  // namespace engine
