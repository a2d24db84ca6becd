// The spooler's write side: the same cases on the simulated machine and on
// Wine, each gap of Wine's spooler named where it stops a case.
#include <algorithm>

#include "engine/FormDeletion.h"
#include "sysaccess/SpoolerDeletions.h"
#include "sysaccess/SpoolerInventory.h"
#include "tests/contract/ContractMachine.h"

namespace contract {
namespace {

using namespace sysaccess;

// Wine lists printers in the alphabetical order of their keys.
constexpr const char* kDeletion = R"({
  "spooler": {
    "drivers": [{"name": "Tessaly Deletion Driver", "environment": "Windows x64",
                 "driverPath": "tessaly-deletion.dll", "dataFile": "TESSDEL.PPD", "configFile": "tessaly-deletion.dll"},
                {"name": "Tessaly Deletion Spare", "environment": "Windows x64",
                 "driverPath": "tessaly-spare.dll", "dataFile": "TESSSPARE.PPD", "configFile": "tessaly-spare.dll"}],
    "printers": [{"name": "Tessaly Deletion Doomed", "driver": "Tessaly Deletion Driver"},
                 {"name": "Tessaly Deletion Stays", "driver": "Tessaly Deletion Driver"}]
  }
})";

std::vector<std::wstring> OurPrinters(SystemAccess& sys) {
  std::vector<std::wstring> names;
  for (const auto& p : EnumeratePrinters(sys)) {
    if (p.printerName.rfind(L"Tessaly Deletion", 0) == 0) names.push_back(p.printerName);
  }
  return names;
}

TEST_F(Contract, APrinterIsDeletedByNameAndTheOthersStay) {
  machine().Seed(kDeletion);
  SystemAccess sys(this->sys());
  EXPECT_EQ(DeletePrinterByName(sys, L"Tessaly Deletion Doomed"), 0u);
  EXPECT_EQ(DeletePrinterByName(sys, L"Tessaly Deletion No Such Printer"), os::error::kInvalidPrinterName)
      << "a printer that cannot be opened is not reported as deleted";
  EXPECT_EQ(OurPrinters(sys), std::vector<std::wstring>{L"Tessaly Deletion Stays"});
  EXPECT_EQ(sys.os().spooler.Open(L"Tessaly Deletion Doomed", os::spool::kPrinterAllAccess).status,
            os::error::kInvalidPrinterName);
}

TEST_F(Contract, APrinterWithQueuedJobsIsOnlyMarkedForDeletion) {
  SKIP_ON_WINE("no job can be held on a queue in the test prefix: the seeder cannot queue one");
  machine().Seed(kDeletion);
  machine().Seed(R"({"spooler": {"printers": [{"name": "Tessaly Deletion Busy", "driver": "Tessaly Deletion Spare",
                                               "jobs": [3]}]}})");
  SystemAccess sys(this->sys());
  auto printer = sys.os().spooler.Open(L"Tessaly Deletion Busy", os::spool::kPrinterAllAccess);
  ASSERT_TRUE(printer.ok()) << printer.status;
  EXPECT_EQ(printer.value->Delete(), 0u);
  const auto listed = sys.os().spooler.Printers(os::spool::kEnumLocal);
  ASSERT_TRUE(listed.ok());
  const auto busy = std::find_if(listed.value.begin(), listed.value.end(),
                                 [](const os::PrinterInfo& p) { return p.printerName == L"Tessaly Deletion Busy"; });
  ASSERT_NE(busy, listed.value.end()) << "still listed until its jobs are done";
  EXPECT_EQ(busy->status & os::spool::kStatusPendingDeletion, os::spool::kStatusPendingDeletion);
  EXPECT_EQ(DeleteDriverEverywhere(sys, L"Tessaly Deletion Spare").status, os::error::kPrinterDriverInUse);
}

TEST_F(Contract, ADriverDeletionTakesTheVersionAndTheFilesItIsAskedFor) {
  SKIP_ON_WINE("DeletePrinterDriverExW refuses any non-zero delete flag with error 87, "
               "DPD_DELETE_SPECIFIC_VERSION and DPD_DELETE_ALL_FILES among them");
  machine().Seed(R"({"spooler": {"drivers": [
    {"name": "Tessaly Versions", "version": 2, "files": ["C:\\tessaly-drv\\v2.dll", "C:\\tessaly-drv\\common.dll"]},
    {"name": "Tessaly Versions", "version": 3, "files": ["C:\\tessaly-drv\\v3.dll", "C:\\tessaly-drv\\common.dll"]},
    {"name": "Tessaly Loner", "files": ["C:\\tessaly-drv\\loner.dll", "C:\\tessaly-drv\\pair.ppd"]},
    {"name": "Tessaly Neighbour", "files": ["C:\\tessaly-drv\\pair.ppd"]}]}})");
  auto& spooler = sys().spooler;
  const auto versionsListed = [&] {
    std::vector<std::uint32_t> versions;
    for (const auto& d : spooler.Drivers(L"Windows x64").value) {
      if (d.name == L"Tessaly Versions") versions.push_back(d.version);
    }
    return versions;
  };
  const auto fileThere = [&](const wchar_t* path) { return sys().files.GetAttributes(path).ok(); };
  using namespace os::spool;

  EXPECT_EQ(spooler.DeleteDriver(L"Windows x64", L"Tessaly Versions", kDeleteSpecificVersion | kDeleteUnusedFiles, 2), 0u);
  EXPECT_EQ(versionsListed(), std::vector<std::uint32_t>{3});
  EXPECT_FALSE(fileThere(L"C:\\tessaly-drv\\v2.dll"));
  EXPECT_TRUE(fileThere(L"C:\\tessaly-drv\\common.dll")) << "version 3 still uses it";
  EXPECT_EQ(spooler.DeleteDriver(L"Windows x64", L"Tessaly Versions", kDeleteSpecificVersion, 2),
            os::error::kUnknownPrinterDriver);

  EXPECT_EQ(spooler.DeleteDriver(L"Windows x64", L"Tessaly Loner", kDeleteAllFiles, 0), os::error::kPrinterDriverInUse)
      << "a file another driver needs keeps the whole driver";
  EXPECT_TRUE(fileThere(L"C:\\tessaly-drv\\loner.dll"));

  EXPECT_EQ(spooler.DeleteDriver(L"Windows x64", L"Tessaly Versions", 0, 2), 0u)
      << "without DPD_DELETE_SPECIFIC_VERSION every version goes, whatever the version number";
  EXPECT_TRUE(versionsListed().empty());
  EXPECT_TRUE(fileThere(L"C:\\tessaly-drv\\v3.dll")) << "no file flag: the files stay";
}

TEST_F(Contract, AnUnknownConnectionIsRefusedWithItsErrorCode) {
  SKIP_ON_WINE("DeletePrinterConnectionW does nothing and reports success");
  SystemAccess sys(this->sys());
  EXPECT_EQ(DeletePrinterConnectionByName(sys, L"\\\\tessaly-nowhere\\Lobby"), os::error::kInvalidPrinterName);
}

// The registry part of a form deletion needs no form in the spooler: its
// traces go right before the spooler is asked, and stay for forms that are
// kept (still named by a printer, or built in).
TEST_F(Contract, UnusedFormsLoseTheirRegistryTracesAndKeptFormsKeepThem) {
  machine().Seed(kDeletion);
  machine().Seed(R"({"registry": {
    "HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\Control\\Print\\Forms": {
      "Tessaly Contract Label": "x", "Tessaly Contract Kept": "x", "Tessaly Contract Builtin": "x"},
    "HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\Control\\Print\\Forms\\Tessaly Contract Label\\Tray": {"x": "1"},
    "HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\Control\\Print\\Forms\\Tessaly Contract Kept": {"x": "1"}}})");
  SystemAccess sys(this->sys());
  engine::DeleteUnusedForms(sys, L"Tessaly Deletion Doomed",
                            {{L"Tessaly Contract Label", os::spool::kFormUser, 1},
                             {L"Tessaly Contract Kept", os::spool::kFormUser, 0},
                             {L"Tessaly Contract Builtin", os::spool::kFormBuiltin, 1}});
  const std::wstring forms = L"SYSTEM\\CurrentControlSet\\Control\\Print\\Forms";
  auto& registry = sys.os().registry;
  auto hasValue = [&](const wchar_t* name) {
    auto key = registry.OpenKey(os::RootKey::LocalMachine, forms, os::regaccess::kRead);
    return key.ok() && key.value->QueryValue(name).ok();
  };
  auto hasKey = [&](const wchar_t* name) {
    return registry.OpenKey(os::RootKey::LocalMachine, forms + L"\\" + name, os::regaccess::kRead).ok();
  };
  EXPECT_FALSE(hasValue(L"Tessaly Contract Label"));
  EXPECT_FALSE(hasKey(L"Tessaly Contract Label"));
  EXPECT_TRUE(hasValue(L"Tessaly Contract Kept"));
  EXPECT_TRUE(hasKey(L"Tessaly Contract Kept"));
  EXPECT_TRUE(hasValue(L"Tessaly Contract Builtin"));
}

}  // namespace
}  // namespace contract
