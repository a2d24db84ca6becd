// Runs: one printer of two deleted on a seeded prefix, checked on the
// screen and on the machine; and the dialog's refusal to close while a run
// still uses it.
#include "tools/e2e/Scenario.h"

namespace e2e {
namespace {

using Texts = std::vector<std::wstring>;

const std::wstring kPrinters = L"SYSTEM\\CurrentControlSet\\Control\\Print\\Printers\\";

bool RunControlsEnabled(TessalyUnderTest& program) {
  for (int id : {IDC_PRINTER_LIST, IDC_DELETE, IDOK, IDC_DELETE_ALL}) {
    if (!IsWindowEnabled(program.Control(id))) return false;
  }
  return true;
}

TEST_F(Scenario, DeletingOnePrinterOfTwoLeavesTheOtherAndListsTheDeletedOne) {
  Seed(kTwoOffices);
  Start();
  ASSERT_NE(OpenMainDialog(), nullptr) << program().failure;
  ASSERT_EQ(program().ItemTexts(IDC_PRINTER_LIST), (Texts{L" Office Color", L" Office Laser"}));
  program().ClickCheckBox(0);
  ASSERT_EQ(program().CheckStates(), (std::vector<int>{1, 0}));
  ClickCentre(program().Control(IDC_EXPAND));
  program().Screenshot(L"11-before-deletion");

  ClickCentre(program().Control(IDC_DELETE));
  // The run stops and starts the Spooler service: give it time.
  ASSERT_TRUE(WaitUntil([&] { return program().ItemTexts(IDC_PRINTER_LIST).size() == 1 && RunControlsEnabled(program()); },
                        90s))
      << "the run did not end; items: " << program().ItemTexts(IDC_PRINTER_LIST).size();
  program().Screenshot(L"12-after-deletion");

  // On the screen: the list refilled, the deleted printer listed by its bare
  // name, the box unchecked and every control usable again.
  EXPECT_EQ(program().ItemTexts(IDC_PRINTER_LIST), Texts{L" Office Laser"});
  EXPECT_EQ(program().CheckStates(), std::vector<int>{0});
  EXPECT_EQ(program().ItemTexts(IDC_DELETED_LIST), Texts{L"Office Color"});
  EXPECT_EQ(SendMessageW(program().Control(IDC_DELETE_ALL), BM_GETCHECK, 0, 0), BST_UNCHECKED);

  // On the machine: the printer, its driver and what was named after them
  // are gone; the other printer, its settings and its driver stay.
  const auto printers = InstalledPrinters();
  EXPECT_FALSE(Contains(printers, L"Office Color"));
  EXPECT_TRUE(Contains(printers, L"Office Laser"));
  EXPECT_FALSE(RegistryKeyExists(HKEY_LOCAL_MACHINE, kPrinters + L"Office Color"));
  EXPECT_TRUE(RegistryKeyExists(HKEY_LOCAL_MACHINE, kPrinters + L"Office Laser"));
  EXPECT_FALSE(RegistryKeyExists(HKEY_CURRENT_USER, L"Printers\\Settings\\Printers\\Office Color"));
  EXPECT_FALSE(RegistryValueExists(HKEY_CURRENT_USER, L"Printers\\Settings", L"Office Color"));
  EXPECT_TRUE(RegistryKeyExists(HKEY_CURRENT_USER, L"Printers\\Settings\\Printers\\Office Laser"));
  EXPECT_TRUE(RegistryValueExists(HKEY_CURRENT_USER, L"Printers\\Settings", L"Office Laser"));
  const auto drivers = InstalledDrivers(L"Windows x64");
  EXPECT_FALSE(Contains(drivers, L"Tessaly E2E Color"));
  EXPECT_TRUE(Contains(drivers, L"Tessaly E2E Laser"));
  EXPECT_FALSE(RegistryKeyExists(HKEY_USERS, L".DEFAULT\\Printers\\Settings\\Drivers\\Tessaly E2E Color"));
  EXPECT_FALSE(RegistryKeyExists(HKEY_CURRENT_USER, L"Software\\NVL\\Job Properties\\Driver\\E2ECOLR"));
  EXPECT_FALSE(FileExists(L"C:\\Tessaly E2E\\Temp\\E2ECOLR.wmk"));
  EXPECT_TRUE(RegistryKeyExists(HKEY_USERS, L".DEFAULT\\Printers\\Settings\\Drivers\\Tessaly E2E Laser"));
  EXPECT_TRUE(RegistryKeyExists(HKEY_CURRENT_USER, L"Software\\NVL\\Job Properties\\Driver\\E2ELASR"));
  EXPECT_TRUE(FileExists(L"C:\\Tessaly E2E\\Temp\\E2ELASR.wmk"));

  // A second run's line joins the first: the deleted list is never emptied.
  // Checking the last printer is checking every printer: first the hint.
  program().ClickCheckBox(0);
  ASSERT_TRUE(program().Answer(EnglishText(104), IDOK)) << program().failure;
  ClickCentre(program().Control(IDC_DELETE));
  ASSERT_TRUE(WaitUntil([&] { return program().ItemTexts(IDC_PRINTER_LIST).empty() && RunControlsEnabled(program()); },
                        90s));
  EXPECT_EQ(program().ItemTexts(IDC_DELETED_LIST), (Texts{L"Office Color", L"Office Laser"}));
  EXPECT_EQ(program().WaitForMessageBox(500ms), nullptr) << "an emptied list shows no message";
  EXPECT_TRUE(InstalledPrinters().empty());
}

TEST_F(Scenario, ClosingDuringARunWaitsUntilTheRunHasEnded) {
  // Two printers on one driver: deleting one asks whether the driver may go,
  // and the run waits for the answer on its worker thread.
  Seed(R"({
    "spooler": {
      "drivers": [{"name": "Tessaly E2E Shared", "dataFile": "E2ESHRD.PPD"}],
      "printers": [{"name": "Lobby North", "driver": "Tessaly E2E Shared"},
                   {"name": "Lobby South", "driver": "Tessaly E2E Shared"}]
    }
  })");
  Start();
  HWND dialog = OpenMainDialog();
  ASSERT_NE(dialog, nullptr) << program().failure;
  program().ClickCheckBox(0);
  ClickCentre(program().Control(IDC_DELETE));
  HWND question = program().WaitForMessageBox(30s);
  ASSERT_NE(question, nullptr) << "the run asked nothing";
  EXPECT_FALSE(RunControlsEnabled(program()));

  // Escape and the close box while the worker waits: the dialog stays.
  const RECT caption = ScreenRect(dialog);
  ClickAt(POINT{caption.left + 60, caption.top + 8});  // activates the dialog
  PressKey(VK_ESCAPE);
  PostMessageW(dialog, WM_SYSCOMMAND, SC_CLOSE, 0);
  PostMessageW(dialog, WM_CLOSE, 0, 0);
  EXPECT_FALSE(program().Ended(1500ms)) << "the dialog closed under its worker";
  EXPECT_TRUE(IsShown(dialog));
  EXPECT_FALSE(RunControlsEnabled(program()));

  const std::wstring asked = program().MessageText(question);
  EXPECT_EQ(asked, L"Deleting driver: Tessaly E2E Shared will affect driver: Tessaly E2E Shared. Do you wish to continue?");
  ASSERT_TRUE(program().Answer(asked, IDNO, L"13-closing-during-run")) << program().failure;
  ASSERT_TRUE(WaitUntil([&] { return RunControlsEnabled(program()); }, 90s)) << "the run did not end";
  EXPECT_EQ(InstalledPrinters().size(), 2u) << "No keeps the printer whose driver another one uses";

  // After the run the same request closes the dialog.
  PressKey(VK_ESCAPE);
  EXPECT_TRUE(program().Ended()) << "Escape after the run must close the dialog";
}

}  // namespace
}  // namespace e2e
