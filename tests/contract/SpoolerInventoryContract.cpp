// The spooler's read side: the same cases on the simulated machine and on Wine.
#include <algorithm>

#include "sysaccess/SpoolerInventory.h"
#include "tests/contract/ContractMachine.h"

namespace contract {
namespace {

using namespace sysaccess;

// Wine lists printers in the alphabetical order of their keys whatever order
// they were added in, so the names are added in that order here.
constexpr const char* kTwoPrinters = R"({
  "spooler": {
    "drivers": [{"name": "Tessaly Contract Driver", "environment": "Windows x64",
                 "driverPath": "tessaly-contract.dll", "dataFile": "TESSALY.PPD", "configFile": "tessaly-contract.dll"}],
    "printers": [
      {"name": "Tessaly Contract A", "driver": "Tessaly Contract Driver"},
      {"name": "Tessaly Contract B", "driver": "Tessaly Contract Driver", "share": "ContractB"}
    ]
  }
})";

std::vector<PrinterRecord> Ours(std::vector<PrinterRecord> all) {
  std::erase_if(all, [](const PrinterRecord& r) { return r.printerName.rfind(L"Tessaly Contract", 0) != 0; });
  return all;
}

TEST_F(Contract, TwoLocalPrintersAreListedInTheSpoolersOrderWithTheirDriverAndNoJobsOrUserForms) {
  machine().Seed(kTwoPrinters);
  SystemAccess sys(this->sys());
  const auto printers = Ours(EnumeratePrinters(sys));
  ASSERT_EQ(printers.size(), 2u);
  EXPECT_EQ(printers[0].printerName, L"Tessaly Contract A");
  EXPECT_EQ(printers[1].printerName, L"Tessaly Contract B");
  for (const auto& p : printers) {
    EXPECT_TRUE(p.IsLocal()) << "a local printer has no server name";
    EXPECT_EQ(p.driverName, L"Tessaly Contract Driver");
    EXPECT_EQ(p.selected + p.deleteDriver + p.processed, 0);
    EXPECT_TRUE(p.dataFileStem.empty() && p.dsDriverName.empty() && p.pnpFolderName.empty());
  }
  EXPECT_EQ(printers[0].shareName, L"");

  // Drivers are listed per environment.
  auto has = [](const std::vector<DriverRecord>& list, const wchar_t* name) {
    return std::any_of(list.begin(), list.end(), [&](const DriverRecord& d) { return d.driverName == name; });
  };
  const auto x64 = EnumerateDrivers(sys, L"Windows x64");
  EXPECT_TRUE(has(x64, L"Tessaly Contract Driver"));
  for (const auto& d : x64) EXPECT_EQ(d.environment, L"Windows x64");
  EXPECT_FALSE(has(EnumerateDrivers(sys, L"Windows NT x86"), L"Tessaly Contract Driver"));

  // Both machines carry only built-in forms here, and they are left out.
  EXPECT_TRUE(EnumerateForms(sys, L"Tessaly Contract A").empty());
  EXPECT_TRUE(EnumerateForms(sys, L"Tessaly Contract No Such Printer").empty());

  EXPECT_FALSE(PrinterHasJobs(sys, L"Tessaly Contract No Such Printer"));
  EXPECT_FALSE(PrinterHasJobs(sys, L"Tessaly Contract A"));
  EXPECT_EQ(sys.os().spooler.Open(L"Tessaly Contract No Such Printer", os::spool::kPrinterAllAccess).status,
            os::error::kInvalidPrinterName);

  SKIP_ON_WINE("AddPrinterW keeps no share name for a printer on the FILE: port");
  EXPECT_EQ(printers[1].shareName, L"ContractB");
}

TEST_F(Contract, UserFormsAreListedDeletableInTheSpoolersOrder) {
  SKIP_ON_WINE("AddFormW reports success but the form is never listed by EnumFormsW");
  machine().Seed(kTwoPrinters);
  machine().Seed(R"({"spooler": {"forms": [{"name": "Tessaly Label"}, {"name": "Tessaly Card"}]}})");
  SystemAccess sys(this->sys());
  const auto forms = EnumerateForms(sys, L"Tessaly Contract A");
  ASSERT_EQ(forms.size(), 2u);
  EXPECT_EQ(forms[0].formName, L"Tessaly Label");
  EXPECT_EQ(forms[1].formName, L"Tessaly Card");
  EXPECT_EQ(forms[0].deletable, 1);
  EXPECT_EQ(forms[0].flags, os::spool::kFormUser);
}

TEST_F(Contract, AQueuedJobIsSeen) {
  SKIP_ON_WINE("EnumJobsW always reports an empty queue, even right after a job was queued");
  machine().Seed(R"({"spooler": {"drivers": [{"name": "Tessaly Contract Driver"}],
                     "printers": [{"name": "Tessaly Contract Busy", "driver": "Tessaly Contract Driver", "jobs": 12}]}})");
  SystemAccess sys(this->sys());
  EXPECT_TRUE(PrinterHasJobs(sys, L"Tessaly Contract Busy"));
}

}  // namespace
}  // namespace contract
