// The spooler's write side on the simulated machine: which calls reach the
// spooler, in which order, and what stays when the spooler refuses or faults.
#include "sysaccess/SpoolerDeletions.h"

#include "tests/sysaccess/SimScenario.h"

namespace scenario {
namespace {

using namespace sysaccess;

class DriverDeletion : public SimScenario {};

TEST_F(DriverDeletion, BothEnvironmentsInOrderEachFollowedByItsPackageFromThePathReadFirst) {
  Given(R"({"base": "workstation", "spooler": {
    "drivers": [{"name": "Laser", "environment": "Windows NT x86", "infPath": "C:\\inf\\laser.inf"},
                {"name": "Laser", "environment": "Windows x64", "infPath": "C:\\inf\\laser.inf",
                 "files": ["C:\\Windows\\system32\\spool\\drivers\\x64\\3\\laser.dll"]}],
    "packages": ["C:\\inf\\laser.inf"]}})");
  EXPECT_EQ(DeleteDriverEverywhere(sys(), L"Laser").status, 0u);
  // The x86 deletion leaves the package used by the x64 driver: its refusal
  // is not the driver's status, and the x64 round deletes it, with the INF
  // path read before the x64 deletion took the driver's key away.
  EXPECT_EQ(EffectsOn(L"spooler."), (Lines{
                                         L"spooler.DeleteDriver Windows NT x86|Laser -> 0",
                                         L"spooler.DeleteDriverPackage Windows NT x86|C:\\inf\\laser.inf -> 3015",
                                         L"spooler.DeleteDriver Windows x64|Laser -> 0",
                                         L"spooler.DeleteDriverPackage Windows x64|C:\\inf\\laser.inf -> 0",
                                     }));
  EXPECT_TRUE(machine().spooler().drivers().empty());
  EXPECT_TRUE(machine().spooler().packages().empty());
  EXPECT_FALSE(machine().files().Exists(L"C:\\Windows\\system32\\spool\\drivers\\x64\\3\\laser.dll"))
      << "deleted with DPD_DELETE_UNUSED_FILES";
}

TEST_F(DriverDeletion, OnWindowsXpNoInfPathIsReadAndNoPackageIsTried) {
  // The export is made present so that a package call would show.
  Given(R"({"base": "xp-workstation", "windows": {"driverPackageExport": true},
    "spooler": {"drivers": [{"name": "Laser", "environment": "Windows NT x86", "infPath": "C:\\inf\\laser.inf"}],
                "packages": ["C:\\inf\\laser.inf"]}})");
  EXPECT_EQ(DeleteDriverEverywhere(sys(), L"Laser").status, 0u);
  EXPECT_EQ(machine().gate().calls(os::sim::Op::RegistryOpenKey), 0u) << "no INF path (nor architecture) is read";
  EXPECT_EQ(machine().gate().calls(os::sim::Op::SpoolerDeleteDriverPackage), 0u);
  // A 32-bit XP spooler does not know "Windows x64" at all: no driver there.
  EXPECT_EQ(EffectsOn(L"spooler."), (Lines{L"spooler.DeleteDriver Windows NT x86|Laser -> 0",
                                           L"spooler.DeleteDriver Windows x64|Laser -> 1805"}));
  EXPECT_EQ(machine().spooler().packages().size(), 1u);
}

TEST_F(DriverDeletion, ASpoolerThatRefusesTheUnusedFilesFlagStillLosesTheDriverWithoutIt) {
  Given(R"({"base": "workstation", "spooler": {"drivers": [{"name": "Laser"}, {"name": "Ink"}],
    "printers": [{"name": "Office", "driver": "Ink"}]}})");
  machine().FailWith(os::sim::Op::SpoolerDeleteDriver, os::error::kInvalidParameter, L"Windows x64|Laser", 1);
  const auto withoutFlag = DeleteDriverEverywhere(sys(), L"Laser");
  EXPECT_EQ(withoutFlag.status, 0u);
  EXPECT_FALSE(withoutFlag.keptSomewhere);
  EXPECT_TRUE(machine().spooler().drivers().size() == 1) << "only Ink, in use, is left";
  // A refusal that leaves open whether the driver is still there (an invalid
  // parameter again, or no reason at all): the spooler's list decides.
  for (const os::Status ambiguous : {os::error::kInvalidParameter, os::error::kUnidentifiedError}) {
    machine().gate().ClearInjections();
    machine().FailWith(os::sim::Op::SpoolerDeleteDriver, ambiguous);
    const auto laser = DeleteDriverEverywhere(sys(), L"Laser");
    EXPECT_EQ(laser.status, 0u) << "not listed in either environment";
    EXPECT_FALSE(laser.keptSomewhere);
    const auto ink = DeleteDriverEverywhere(sys(), L"Ink");
    EXPECT_EQ(ink.status, ambiguous) << "still listed for Windows x64";
    EXPECT_TRUE(ink.keptSomewhere);
  }
}

TEST_F(DriverDeletion, WithoutThePackageExportOnlyThePackageDeletionIsMissing) {
  Given(R"({"base": "workstation", "windows": {"driverPackageExport": false},
    "spooler": {"drivers": [{"name": "Laser", "infPath": "C:\\inf\\laser.inf"}], "packages": ["C:\\inf\\laser.inf"]}})");
  EXPECT_EQ(DeleteDriverEverywhere(sys(), L"Laser").status, 0u);
  EXPECT_EQ(EffectsOn(L"spooler."), (Lines{L"spooler.DeleteDriver Windows NT x86|Laser -> 1797",
                                           L"spooler.DeleteDriver Windows x64|Laser -> 0"}));
  EXPECT_EQ(machine().spooler().packages().size(), 1u);
}

TEST_F(DriverDeletion, AFaultEndsOneEnvironmentAndTheOtherIsStillTried) {
  Given(R"({"base": "workstation", "spooler": {
    "drivers": [{"name": "Laser", "environment": "Windows NT x86"}, {"name": "Laser"}],
    "packages": []}})");
  machine().FaultOn(os::sim::Op::SpoolerDeleteDriver, L"Windows NT x86|Laser");
  std::uint32_t firstFaulted = 0, lastFaulted = 0;
  OnWorkerThread([&] { firstFaulted = DeleteDriverEverywhere(sys(), L"Laser").status; });
  EXPECT_EQ(firstFaulted, 0u) << "the x64 round succeeded after the x86 fault";
  EXPECT_EQ(machine().spooler().drivers().size(), 1u) << "only the x86 driver stays";

  machine().gate().ClearInjections();
  machine().FaultOn(os::sim::Op::SpoolerDeleteDriver, L"Windows x64|Laser");
  OnWorkerThread([&] { lastFaulted = DeleteDriverEverywhere(sys(), L"Laser").status; });
  EXPECT_EQ(lastFaulted, os::kAccessViolation);
  EXPECT_TRUE(machine().spooler().drivers().empty());
}

class PrinterDeletion : public SimScenario {};

constexpr const char* kOffice = R"({"base": "workstation", "spooler": {
  "drivers": [{"name": "Ink"}],
  "printers": [{"name": "Office", "driver": "Ink"}, {"name": "Hall", "driver": "Ink"},
               {"name": "\\\\print01\\Lobby", "server": "\\\\print01", "driver": "Ink"}]}})";

TEST_F(PrinterDeletion, AFaultGivesItsCodeTheHandleIsClosedAndTheRunGoesOn) {
  Given(kOffice);
  machine().FaultOn(os::sim::Op::SpoolerDeletePrinter, L"Office");
  std::uint32_t faulted = 1, next = 1;
  int handlesAfterFault = -1;
  OnWorkerThread([&] {
    faulted = DeletePrinterByName(sys(), L"Office");
    handlesAfterFault = machine().spooler().openPrinterHandles();
    next = DeletePrinterByName(sys(), L"Hall");
  });
  EXPECT_EQ(faulted, os::kAccessViolation);
  EXPECT_EQ(handlesAfterFault, 0);
  EXPECT_EQ(next, 0u);
  EXPECT_NE(machine().spooler().FindPrinter(L"Office"), nullptr);
  EXPECT_EQ(machine().spooler().FindPrinter(L"Hall"), nullptr);
  EXPECT_EQ(Journal(),
            (Lines{L"FAULT Spooler.DeletePrinter Office", L"spooler.DeletePrinter Hall -> 0"}));
}

}  // namespace
}  // namespace scenario
