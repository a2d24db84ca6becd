#pragma once
// One end-to-end scenario: the machine state it seeds (undone afterwards, the
// suite shares one Wine prefix) and the program it drives.
#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <string>

#include "os/image/MachineImage.h"
#include "tools/e2e/Machine.h"
#include "tools/e2e/TessalyUnderTest.h"
#include "tools/seed/Seeder.h"

namespace e2e {

// Two printers on two drivers of their own, with what the spooler leaves
// behind in the registry and the Temp folder.
inline constexpr char kTwoOffices[] = R"({
  "spooler": {
    "drivers": [
      {"name": "Tessaly E2E Laser", "driverPath": "E2ELASR.DLL", "dataFile": "E2ELASR.PPD", "configFile": "E2ELASRUI.DLL"},
      {"name": "Tessaly E2E Color", "driverPath": "E2ECOLR.DLL", "dataFile": "E2ECOLR.PPD", "configFile": "E2ECOLRUI.DLL"}
    ],
    "printers": [
      {"name": "Office Laser", "driver": "Tessaly E2E Laser"},
      {"name": "Office Color", "driver": "Tessaly E2E Color"}
    ]
  },
  "registry": {
    "HKEY_CURRENT_USER\\Printers\\Settings": {"Office Color": "tray 2", "Office Laser": "tray 1"},
    "HKEY_CURRENT_USER\\Printers\\Settings\\Printers\\Office Color": {"Duplex": "long edge"},
    "HKEY_CURRENT_USER\\Printers\\Settings\\Printers\\Office Laser": {"Duplex": "none"},
    "HKEY_USERS\\.DEFAULT\\Printers\\Settings\\Drivers\\Tessaly E2E Laser": {},
    "HKEY_USERS\\.DEFAULT\\Printers\\Settings\\Drivers\\Tessaly E2E Color": {},
    "HKEY_CURRENT_USER\\Software\\NVL\\Job Properties\\Driver\\E2ELASR": {"Copies": "1"},
    "HKEY_CURRENT_USER\\Software\\NVL\\Job Properties\\Driver\\E2ECOLR": {"Copies": "2"},
    "HKEY_CURRENT_USER\\Environment": {"Temp": "C:\\Tessaly E2E\\Temp"}
  },
  "files": {
    "C:\\Tessaly E2E\\Temp\\E2ELASR.wmk": {},
    "C:\\Tessaly E2E\\Temp\\E2ECOLR.wmk": {"attributes": ["readonly"]}
  }
})";

class Scenario : public ::testing::Test {
 protected:
  void TearDown() override {
    // What the screen showed when a scenario failed.
    if (HasFailure() && program_) program_->Screenshot(L"failed-" + TestName());
    program_.reset();
  }

  void Seed(const char* json) { seeder_.Apply(os::image::ParseMachineImage(json, TestNameNarrow())); }

  // Starts Tessaly.exe; the scenario then drives it through program().
  TessalyUnderTest& Start() {
    program_ = std::make_unique<TessalyUnderTest>();
    return *program_;
  }
  TessalyUnderTest& Start(const std::wstring& exe) {
    program_ = std::make_unique<TessalyUnderTest>(exe);
    return *program_;
  }
  TessalyUnderTest& program() { return *program_; }

  // Answers the start-up question with OK and waits for the dialog.
  HWND OpenMainDialog() {
    if (!program().Answer(EnglishText(1010), IDOK)) return nullptr;
    return program().WaitForMainDialog();
  }

  static std::string TestNameNarrow() { return ::testing::UnitTest::GetInstance()->current_test_info()->name(); }
  static std::wstring TestName() {
    const std::string n = TestNameNarrow();
    return std::wstring(n.begin(), n.end());
  }

 private:
  seed::Seeder seeder_{true};  // declared first: undone after the program has ended
  std::unique_ptr<TessalyUnderTest> program_;
};

}  // namespace e2e
