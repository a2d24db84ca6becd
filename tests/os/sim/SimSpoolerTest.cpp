#include <gtest/gtest.h>

#include "os/sim/SimMachine.h"

namespace os::sim {
namespace {

constexpr const char* kOffice = R"({
  "base": "workstation",
  "files": {"C:\\Windows\\system32\\spool\\drivers\\x64\\3\\shared.dll": {}},
  "spooler": {
    "drivers": [
      {"name": "Laser", "environment": "Windows x64", "dataFile": "LASER.PPD", "infPath": "C:\\inf\\laser.inf",
       "files": ["C:\\Windows\\system32\\spool\\drivers\\x64\\3\\laser.dll",
                 "C:\\Windows\\system32\\spool\\drivers\\x64\\3\\shared.dll"]},
      {"name": "Ink", "environment": "Windows x64",
       "files": ["C:\\Windows\\system32\\spool\\drivers\\x64\\3\\shared.dll"]},
      {"name": "Laser", "environment": "Windows NT x86"}
    ],
    "printers": [{"name": "Office", "driver": "Ink", "media": ["Letter", "Label"], "hardwareId": "USBPRINT\\Maker-Model&A.1"}],
    "packages": ["C:\\inf\\laser.inf"]
  }
})";

class SimSpoolerTest : public ::testing::Test {
 protected:
  void SetUp() override { m_ = SimMachine::FromImage(kOffice); }
  void TearDown() override {
    if (HasFailure()) std::cerr << m_->Dump();
  }
  Spooler& spooler() { return m_->spooler(); }
  std::unique_ptr<SimMachine> m_;
};

TEST_F(SimSpoolerTest, DriverDeletionKnowsInUseUnknownAndSharedFiles) {
  EXPECT_EQ(spooler().DeleteDriver(L"Windows x64", L"Ink", spool::kDeleteUnusedFiles, 3), error::kPrinterDriverInUse);
  EXPECT_EQ(spooler().DeleteDriver(L"Windows x64", L"Nobody", 0, 3), error::kUnknownPrinterDriver);
  EXPECT_EQ(spooler().DeleteDriver(L"Windows 95", L"Laser", 0, 3), error::kUnknownPrinterEnvironment);
  EXPECT_EQ(spooler().DeleteDriver(L"Windows x64", L"Laser", spool::kDeleteUnusedFiles, 3), error::kSuccess);
  EXPECT_FALSE(m_->files().Exists(L"C:\\Windows\\system32\\spool\\drivers\\x64\\3\\laser.dll"));
  EXPECT_TRUE(m_->files().Exists(L"C:\\Windows\\system32\\spool\\drivers\\x64\\3\\shared.dll"))
      << "a file another driver still lists stays";
  EXPECT_FALSE(m_->registry().KeyExists(
      L"HKLM\\SYSTEM\\CurrentControlSet\\Control\\Print\\Environments\\Windows x64\\Drivers\\Version-3\\Laser"));
  EXPECT_TRUE(m_->registry().KeyExists(
      L"HKLM\\SYSTEM\\CurrentControlSet\\Control\\Print\\Environments\\Windows NT x86\\Drivers\\Version-3\\Laser"));
}

TEST_F(SimSpoolerTest, PrintersLiveInTheRegistryAsWindowsKeepsThem) {
  const std::wstring key = L"HKLM\\SYSTEM\\CurrentControlSet\\Control\\Print\\Printers\\Office";
  auto media = m_->registry().GetValue(key + L"\\DsDriver", L"printMediaSupported");
  ASSERT_TRUE(media);
  EXPECT_EQ(media->type, regtype::kMultiString);
  EXPECT_TRUE(m_->registry().GetValue(key + L"\\PnPData", L"HardwareID"));
  auto office = spooler().Open(L"OFFICE", spool::kPrinterAllAccess);
  ASSERT_TRUE(office.ok());
  EXPECT_EQ(office.value->Delete(), error::kSuccess);
  EXPECT_FALSE(m_->registry().KeyExists(key));
  EXPECT_EQ(office.value->Jobs(0, 10).status, error::kInvalidHandle);
}

TEST_F(SimSpoolerTest, WhileTheSpoolerIsStoppedNothingAnswersAndARestartRereadsTheRegistry) {
  auto scm = m_->services().OpenManager(svc::kManagerAllAccess);
  auto service = scm.value->Open(L"Spooler", svc::kServiceAllAccess);
  ASSERT_EQ(service.value->Control(svc::kControlStop), error::kSuccess);
  m_->clock().Sleep(1000);
  EXPECT_EQ(spooler().Printers(spool::kEnumLocal).status, error::kRpcServerUnavailable);
  EXPECT_EQ(spooler().DeleteDriver(L"Windows x64", L"Laser", 0, 3), error::kRpcServerUnavailable);
  // A sweep removed the driver's key behind the spooler's back.
  m_->registry().RemoveKey(
      L"HKLM\\SYSTEM\\CurrentControlSet\\Control\\Print\\Environments\\Windows x64\\Drivers\\Version-3\\Laser");
  ASSERT_EQ(service.value->Start(), error::kSuccess);
  m_->clock().Sleep(1000);
  ASSERT_TRUE(spooler().Drivers(L"Windows x64").ok());
  EXPECT_EQ(spooler().Drivers(L"Windows x64").value.size(), 1u);
}

TEST_F(SimSpoolerTest, PackageDeletionNeedsTheExportAndAnUnusedPackage) {
  EXPECT_EQ(spooler().DeleteDriverPackage(L"C:\\inf\\laser.inf", L"Windows x64"), error::kPrinterDriverPackageInUse);
  m_->spooler().SetPackageExport(false);
  m_->gate().ClearJournal();
  EXPECT_EQ(spooler().DeleteDriverPackage(L"C:\\inf\\laser.inf", L"Windows x64"), error::kProcNotFound);
  EXPECT_TRUE(m_->gate().journal().empty()) << "without the export nothing is called";
}

TEST_F(SimSpoolerTest, FormsDeleteOnlyWhenTheyAreNotBuiltIn) {
  m_->Apply(R"({"spooler": {"forms": [{"name": "Label"}]}})");
  EXPECT_TRUE(m_->registry().GetValue(SimSpooler::kFormsKey, L"Label"));
  auto office = spooler().Open(L"Office", spool::kPrinterAllAccess);
  EXPECT_EQ(office.value->RemoveForm(L"Letter"), error::kInvalidParameter);
  EXPECT_EQ(office.value->RemoveForm(L"Label"), error::kSuccess);
  EXPECT_EQ(office.value->RemoveForm(L"Label"), error::kInvalidFormName);
  EXPECT_FALSE(m_->registry().GetValue(SimSpooler::kFormsKey, L"Label"));
}

}  // namespace
}  // namespace os::sim
