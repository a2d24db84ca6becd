// The recording decorator on its own: in Plan mode a write is recorded with
// the answer the system would give and changes nothing, and later reads see
// the machine as the write would have left it; in Perform mode the write is
// done and recorded with the system's own answer.
#include <gtest/gtest.h>

#include "base/Utf.h"
#include "os/record/RecordingSystem.h"
#include "os/sim/SimMachine.h"

namespace os::record {
namespace {

constexpr const char* kMachine = R"({
  "base": "workstation",
  "registry": {
    "HKEY_CURRENT_USER\\Printers\\Settings\\Printers\\A": {"DevMode": "x"},
    "HKEY_CURRENT_USER\\Printers\\Settings\\Printers\\B": {"DevMode": "y"},
    "HKEY_CURRENT_USER\\Printers\\Settings": {"A": "x", "B": "y"}
  },
  "files": {
    "C:\\Drivers\\Maker\\one.gpd": {},
    "C:\\Drivers\\Maker\\two.gpd": {"attributes": ["readonly"]},
    "C:\\Temp\\held.tmp": {"locked": true}
  },
  "spooler": {
    "drivers": [{"name": "Laser"}],
    "printers": [{"name": "Office", "driver": "Laser"}]
  },
  "services": [{"name": "Fax", "displayName": "Fax", "state": "running", "dependsOn": ["Spooler"]}]
})";

class RecordingSystemTest : public ::testing::Test {
 protected:
  void SetUp() override {
    machine_ = sim::SimMachine::FromImage(kMachine, "recording");
    inner_ = std::make_unique<System>(machine_->system());
    machine_->gate().ClearJournal();
    before_ = machine_->SaveImage();
  }
  std::vector<std::wstring> Lines(const RecordingSystem& r) const {
    std::vector<std::wstring> out;
    for (const auto& e : r.effects()) out.push_back(e.Line());
    return out;
  }
  std::vector<std::wstring> SubKeys(System& system, const wchar_t* path) {
    std::vector<std::wstring> names;
    auto key = system.registry.OpenKey(RootKey::CurrentUser, path, regaccess::kRead);
    if (!key.ok()) return names;
    for (std::uint32_t i = 0;; ++i) {
      auto name = key.value->EnumKey(i, 256);
      if (!name.ok()) return names;
      names.push_back(name.value);
    }
  }

  std::unique_ptr<sim::SimMachine> machine_;
  std::unique_ptr<System> inner_;
  std::string before_;
};

TEST_F(RecordingSystemTest, PlannedKeyAndValueDeletionsAreHiddenFromLaterReadsOnly) {
  RecordingSystem plan(*inner_, Mode::Plan);
  System& s = plan.system();
  EXPECT_EQ(s.registry.DeleteTree(RootKey::CurrentUser, L"Printers\\Settings\\Printers\\A"), error::kSuccess);
  EXPECT_EQ(SubKeys(s, L"Printers\\Settings\\Printers"), std::vector<std::wstring>{L"B"});
  EXPECT_EQ(s.registry.DeleteTree(RootKey::CurrentUser, L"printers\\settings\\printers\\a"), error::kFileNotFound)
      << "a key planned gone is gone, whatever the case of its name";
  EXPECT_EQ(s.registry.OpenKey(RootKey::CurrentUser, L"Printers\\Settings\\Printers\\A", regaccess::kRead).status,
            error::kFileNotFound);

  auto settings = s.registry.OpenKey(RootKey::CurrentUser, L"Printers\\Settings", regaccess::kAllAccess);
  ASSERT_TRUE(settings.ok());
  EXPECT_EQ(settings.value->DeleteValue(L"A"), error::kSuccess);
  EXPECT_EQ(settings.value->QueryValue(L"A").status, error::kFileNotFound);
  EXPECT_EQ(settings.value->QueryValue(L"B").status, error::kSuccess);
  const auto first = settings.value->EnumValue(0, 256);
  ASSERT_EQ(first.status, error::kSuccess);
  EXPECT_EQ(first.value, L"B");
  auto readOnly = s.registry.OpenKey(RootKey::CurrentUser, L"Printers\\Settings", regaccess::kRead);
  EXPECT_EQ(readOnly.value->DeleteValue(L"B"), error::kAccessDenied) << "as a key opened for reading answers";

  // A handle that listed its sub-keys before a deletion lists them anew after it.
  auto printers = s.registry.OpenKey(RootKey::CurrentUser, L"Printers\\Settings\\Printers", regaccess::kAllAccess);
  ASSERT_TRUE(printers.ok());
  const auto listed = printers.value->EnumKey(0, 256);
  ASSERT_EQ(listed.status, error::kSuccess);
  EXPECT_EQ(listed.value, L"B");
  EXPECT_EQ(printers.value->DeleteTree(L"B"), error::kSuccess);
  EXPECT_EQ(printers.value->EnumKey(0, 256).status, error::kNoMoreItems);
  EXPECT_EQ(settings.value->DeleteValue(L"B"), error::kSuccess);
  EXPECT_EQ(settings.value->EnumValue(0, 256).status, error::kNoMoreItems);

  EXPECT_EQ(SubKeys(*inner_, L"Printers\\Settings\\Printers"), (std::vector<std::wstring>{L"A", L"B"}));
  EXPECT_EQ(machine_->SaveImage(), before_);
  EXPECT_TRUE(machine_->gate().journal().empty());
}

TEST_F(RecordingSystemTest, AFolderIsPlannedRemovableOnlyOnceItsFilesArePlannedGone) {
  RecordingSystem plan(*inner_, Mode::Plan);
  Files& files = plan.system().files;
  EXPECT_EQ(files.RemoveFolder(L"C:\\Drivers\\Maker"), error::kDirNotEmpty);
  EXPECT_EQ(files.Delete(L"C:\\Drivers\\Maker\\one.gpd"), error::kSuccess);
  EXPECT_EQ(files.Delete(L"C:\\Drivers\\Maker\\two.gpd"), error::kAccessDenied) << "read-only";
  EXPECT_EQ(files.SetAttributes(L"C:\\Drivers\\Maker\\two.gpd", attr::kNormal), error::kSuccess);
  EXPECT_EQ(files.GetAttributes(L"C:\\Drivers\\Maker\\two.gpd").value, attr::kNormal);
  EXPECT_EQ(files.Delete(L"C:\\Drivers\\Maker\\two.gpd"), error::kSuccess);
  EXPECT_EQ(files.Find(L"C:\\Drivers\\Maker\\*.gpd").status, error::kFileNotFound);
  EXPECT_EQ(files.RemoveFolder(L"C:\\Drivers\\Maker"), error::kSuccess);
  EXPECT_EQ(files.GetAttributes(L"C:\\Drivers\\Maker\\one.gpd").status, error::kPathNotFound);
  EXPECT_EQ(Lines(plan), (std::vector<std::wstring>{
                             L"files.RemoveFolder C:\\Drivers\\Maker -> 145",
                             L"files.Delete C:\\Drivers\\Maker\\one.gpd -> 0",
                             L"files.Delete C:\\Drivers\\Maker\\two.gpd -> 5",
                             L"files.SetAttributes C:\\Drivers\\Maker\\two.gpd -> 0",
                             L"files.Delete C:\\Drivers\\Maker\\two.gpd -> 0",
                             L"files.RemoveFolder C:\\Drivers\\Maker -> 0",
                         }));
  EXPECT_EQ(machine_->SaveImage(), before_);
}

TEST_F(RecordingSystemTest, PlannedServiceRequestsSettleAtOnceAndHonourDependents) {
  RecordingSystem plan(*inner_, Mode::Plan);
  auto manager = plan.system().services.OpenManager(svc::kManagerAllAccess);
  ASSERT_TRUE(manager.ok());
  auto spooler = manager.value->Open(L"Spooler", svc::kServiceAllAccess);
  auto fax = manager.value->Open(L"Fax", svc::kServiceAllAccess);
  ASSERT_TRUE(spooler.ok() && fax.ok());
  EXPECT_EQ(spooler.value->Control(svc::kControlStop), error::kDependentServicesRunning);
  EXPECT_EQ(fax.value->Control(svc::kControlStop), error::kSuccess);
  EXPECT_EQ(fax.value->QueryState().value, svc::kStopped);
  EXPECT_EQ(spooler.value->Control(svc::kControlStop), error::kSuccess);
  EXPECT_EQ(spooler.value->QueryState().value, svc::kStopped);
  // With the Spooler planned stopped, the spooler answers as a stopped one does.
  EXPECT_EQ(plan.system().spooler.Printers(spool::kEnumLocal).status, error::kRpcServerUnavailable);
  EXPECT_EQ(spooler.value->Start(), error::kSuccess);
  EXPECT_EQ(spooler.value->Start(), error::kServiceAlreadyRunning);
  EXPECT_EQ(machine_->services().StateOf(L"Spooler"), svc::kRunning);
  EXPECT_EQ(machine_->services().StateOf(L"Fax"), svc::kRunning);
}

TEST_F(RecordingSystemTest, APlannedPrinterDeletionFreesItsDriverAndTakesItsKey) {
  RecordingSystem plan(*inner_, Mode::Plan);
  Spooler& spooler = plan.system().spooler;
  EXPECT_EQ(spooler.DeleteDriver(L"Windows x64", L"Laser", 0, 0), error::kPrinterDriverInUse);
  auto office = spooler.Open(L"Office", spool::kPrinterAllAccess);
  ASSERT_TRUE(office.ok());
  EXPECT_EQ(office.value->Delete(), error::kSuccess);
  EXPECT_TRUE(spooler.Printers(spool::kEnumLocal).value.empty());
  EXPECT_EQ(plan.system()
                .registry.OpenKey(RootKey::LocalMachine, L"SYSTEM\\ControlSet001\\Control\\Print\\Printers\\Office",
                                  regaccess::kRead)
                .status,
            error::kFileNotFound)
      << "the spooler's own key goes with it, under either name of the control set";
  EXPECT_EQ(spooler.DeleteDriver(L"Windows x64", L"Laser", 0, 0), error::kSuccess);
  EXPECT_EQ(spooler.DeleteDriver(L"Windows x64", L"Laser", 0, 0), error::kUnknownPrinterDriver);
  EXPECT_EQ(spooler.DeleteDriver(L"Windows Nowhere", L"Laser", 0, 0), error::kUnknownPrinterEnvironment);
  EXPECT_NE(machine_->spooler().FindPrinter(L"Office"), nullptr);
  EXPECT_EQ(machine_->SaveImage(), before_);
}

TEST_F(RecordingSystemTest, PerformModeDoesTheWriteAndRecordsWhatTheSystemAnswered) {
  RecordingSystem run(*inner_, Mode::Perform);
  Files& files = run.system().files;
  EXPECT_EQ(files.Delete(L"C:\\Temp\\held.tmp"), error::kSharingViolation);
  EXPECT_EQ(files.Delete(L"C:\\Drivers\\Maker\\one.gpd"), error::kSuccess);
  EXPECT_FALSE(machine_->files().Exists(L"C:\\Drivers\\Maker\\one.gpd"));
  EXPECT_EQ(Lines(run), (std::vector<std::wstring>{L"files.Delete C:\\Temp\\held.tmp -> 32",
                                                  L"files.Delete C:\\Drivers\\Maker\\one.gpd -> 0"}));
  std::vector<std::wstring> journal(machine_->gate().journal().begin(), machine_->gate().journal().end());
  EXPECT_EQ(journal, Lines(run)) << "the same words as the machine's own journal";
}

}  // namespace
}  // namespace os::record
