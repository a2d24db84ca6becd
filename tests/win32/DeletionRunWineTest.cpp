// One whole deletion run through the real Win32 implementation, on a seeded
// Wine prefix: a printer with its driver, registry data and files, and a
// second printer with a driver of its own that stays. Message boxes are recorded, never shown: the run
// is not expected to ask anything, and a box on screen would stop the test.
#include <algorithm>

#include "engine/DeletionEngine.h"
#include "res/Texts.h"
#include "sysaccess/SpoolerInventory.h"
#include "tests/engine/FakeDialog.h"
#include "tests/win32/RealSystem.h"

namespace realsystem {
namespace {

class RecordedPrompts final : public os::Prompts {
 public:
  int Show(os::WindowId, std::wstring_view text, std::wstring_view, std::uint32_t) override {
    shown.emplace_back(text);
    return os::mb::kIdNo;
  }
  std::vector<std::wstring> shown;
};

constexpr const char* kOffice = R"({
  "registry": {
    "HKEY_CURRENT_USER\\Printers\\Settings\\Printers\\Tessaly Run Doomed": {"DevMode": "x"},
    "HKEY_CURRENT_USER\\Printers\\Settings\\Printers\\Tessaly Run Stays": {"DevMode": "y"},
    "HKEY_CURRENT_USER\\Printers\\Settings": {"Tessaly Run Doomed": "x", "Tessaly Run Stays": "y"},
    "HKEY_LOCAL_MACHINE\\Software\\NVL\\Quellix\\printers\\Tessaly Run Doomed": {"Jobs": "1"},
    "HKEY_LOCAL_MACHINE\\Software\\NVL\\Quellix\\printers\\Tessaly Run Stays": {"Jobs": "2"},
    "HKEY_CURRENT_USER\\Software\\NVL\\Job Properties\\LocalWaterMarkData\\Printers\\Tessaly Run Doomed": {},
    "HKEY_USERS\\.DEFAULT\\Printers\\Settings\\Drivers\\Tessaly Run Driver": {},
    "HKEY_USERS\\.DEFAULT\\Printers\\Settings\\Drivers\\Tessaly Run Other": {},
    "HKEY_CURRENT_USER\\Software\\NVL\\Job Properties\\Driver\\TRUNDRV": {"Copies": "1"},
    "HKEY_CURRENT_USER\\Software\\NVL\\Job Properties\\Driver\\TRUNOTHER": {"Copies": "2"},
    "HKEY_CURRENT_USER\\Environment": {"Temp": "C:\\Tessaly Run\\Temp"}
  },
  "files": {
    "C:\\Tessaly Run\\Temp\\TRUNDRV.wmk": {"attributes": ["readonly"]},
    "C:\\Tessaly Run\\Temp\\TRUNOTHER.wmk": {}
  },
  "spooler": {
    "drivers": [{"name": "Tessaly Run Driver", "dataFile": "TRUNDRV.PPD"},
                {"name": "Tessaly Run Other", "dataFile": "TRUNOTHER.PPD"}],
    "printers": [{"name": "Tessaly Run Doomed", "driver": "Tessaly Run Driver"},
                 {"name": "Tessaly Run Stays", "driver": "Tessaly Run Other"}]
  }
})";

class DeletionRunWineTest : public SeededPrefix {
 protected:
  void SetUp() override {
    if (!RunningOnWine()) GTEST_SKIP() << "Not Wine: a run restarts this machine's Spooler service";
    Seed(kOffice);
  }
  os::System System() {
    os::System real = os::win32::MakeSystem();
    return os::System{real.registry, real.spooler, real.services, real.files, real.processes,
                      real.environment, real.clock, prompts_, real.faults};
  }

  RecordedPrompts prompts_;
};

TEST_F(DeletionRunWineTest, OnePrinterGoesWithItsDriverAndDataAndTheOtherStaysWithItsOwn) {
  sysaccess::SystemAccess sys(System());
  engine::FakeDialog dialog;
  res::EnglishTexts texts;
  engine::DeletionEngine engine(sys, dialog, texts);
  ASSERT_EQ(engine.RefillPrinterList(), 0);
  dialog.Check(L"Tessaly Run Doomed");
  engine.RunDeletion();

  EXPECT_TRUE(prompts_.shown.empty()) << "no question, no failure to report";
  EXPECT_EQ(dialog.DeletedList(), std::vector<std::wstring>{L"Tessaly Run Doomed"});
  std::vector<std::wstring> names;
  for (const auto& p : sysaccess::EnumeratePrinters(sys)) names.push_back(p.printerName);
  EXPECT_EQ(std::count(names.begin(), names.end(), L"Tessaly Run Doomed"), 0);
  EXPECT_EQ(std::count(names.begin(), names.end(), L"Tessaly Run Stays"), 1);

  // Exactly the deleted printer's registry data is gone.
  using os::RootKey;
  EXPECT_FALSE(KeyExists(RootKey::CurrentUser, L"Printers\\Settings\\Printers\\Tessaly Run Doomed"));
  EXPECT_FALSE(ValueExists(RootKey::CurrentUser, L"Printers\\Settings", L"Tessaly Run Doomed"));
  EXPECT_FALSE(KeyExists(RootKey::LocalMachine, L"Software\\NVL\\Quellix\\printers\\Tessaly Run Doomed"));
  EXPECT_FALSE(KeyExists(RootKey::CurrentUser,
                         L"Software\\NVL\\Job Properties\\LocalWaterMarkData\\Printers\\Tessaly Run Doomed"));
  EXPECT_TRUE(KeyExists(RootKey::CurrentUser, L"Printers\\Settings\\Printers\\Tessaly Run Stays"));
  EXPECT_TRUE(ValueExists(RootKey::CurrentUser, L"Printers\\Settings", L"Tessaly Run Stays"));
  EXPECT_TRUE(KeyExists(RootKey::LocalMachine, L"Software\\NVL\\Quellix\\printers\\Tessaly Run Stays"));

  // The Spooler runs again after the restart.
  auto scm = sys.os().services.OpenManager(os::svc::kManagerAllAccess);
  ASSERT_TRUE(scm.ok());
  auto spooler = scm.value->Open(L"Spooler", os::svc::kServiceAllAccess);
  ASSERT_TRUE(spooler.ok());
  EXPECT_EQ(spooler.value->QueryState().value, os::svc::kRunning);

  // The printer's driver went too, with its files and keys (Wine refuses the
  // unused-files flag with 87, and the driver goes on the retry without it);
  // the driver of the printer that stays keeps everything.
  std::vector<std::wstring> drivers;
  for (const auto& d : sysaccess::EnumerateDrivers(sys, L"Windows x64")) drivers.push_back(d.driverName);
  EXPECT_EQ(std::count(drivers.begin(), drivers.end(), L"Tessaly Run Driver"), 0);
  EXPECT_EQ(std::count(drivers.begin(), drivers.end(), L"Tessaly Run Other"), 1);
  EXPECT_FALSE(KeyExists(RootKey::Users, L".DEFAULT\\Printers\\Settings\\Drivers\\Tessaly Run Driver"));
  EXPECT_FALSE(KeyExists(RootKey::CurrentUser, L"Software\\NVL\\Job Properties\\Driver\\TRUNDRV"));
  EXPECT_FALSE(FileExists(L"C:\\Tessaly Run\\Temp\\TRUNDRV.wmk"));
  EXPECT_TRUE(KeyExists(RootKey::Users, L".DEFAULT\\Printers\\Settings\\Drivers\\Tessaly Run Other"));
  EXPECT_TRUE(KeyExists(RootKey::CurrentUser, L"Software\\NVL\\Job Properties\\Driver\\TRUNOTHER"));
  EXPECT_TRUE(FileExists(L"C:\\Tessaly Run\\Temp\\TRUNOTHER.wmk"));
}

}  // namespace
}  // namespace realsystem
