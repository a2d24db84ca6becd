// The recording decorator on its own, where the plan-equals-run property
// does not reach: a folder is planned removable only once every file in it
// is planned gone, a read-only one after its attributes were planned away.
#include <gtest/gtest.h>

#include "os/record/RecordingSystem.h"
#include "os/sim/SimMachine.h"

namespace os::record {
namespace {

class RecordingSystemTest : public ::testing::Test {
 protected:
  void SetUp() override {
    machine_ = sim::SimMachine::FromImage(R"({"base": "workstation", "files": {
      "C:\\Drivers\\Maker\\one.gpd": {}, "C:\\Drivers\\Maker\\two.gpd": {"attributes": ["readonly"]}},
      "registry": {"HKEY_CURRENT_USER\\Printers\\Settings\\Printers\\Office\\Tray": {"x": "1"}}})",
                                          "recording");
    inner_ = std::make_unique<System>(machine_->system());
    before_ = machine_->SaveImage();
  }
  std::vector<std::wstring> Lines(const RecordingSystem& r) const {
    std::vector<std::wstring> out;
    for (const auto& e : r.effects()) out.push_back(e.Line());
    return out;
  }

  std::unique_ptr<sim::SimMachine> machine_;
  std::unique_ptr<System> inner_;
  std::string before_;
};

TEST_F(RecordingSystemTest, AFolderIsPlannedRemovableOnlyOnceItsFilesArePlannedGone) {
  RecordingSystem plan(*inner_, Mode::Plan);
  Files& files = plan.system().files;
  EXPECT_EQ(files.RemoveFolder(L"C:\\Drivers\\Maker"), error::kDirNotEmpty);
  EXPECT_EQ(files.Delete(L"C:\\Drivers\\Maker\\one.gpd"), error::kSuccess);
  EXPECT_EQ(files.Find(L"C:\\Drivers\\Maker\\*.gpd").value.size(), 1u) << "one.gpd is gone from later searches";
  EXPECT_EQ(files.Delete(L"C:\\Drivers\\Maker\\two.gpd"), error::kAccessDenied) << "read-only";
  EXPECT_EQ(files.SetAttributes(L"C:\\Drivers\\Maker\\two.gpd", attr::kNormal), error::kSuccess);
  EXPECT_EQ(files.GetAttributes(L"C:\\Drivers\\Maker\\two.gpd").value, attr::kNormal);
  EXPECT_EQ(files.Delete(L"C:\\Drivers\\Maker\\two.gpd"), error::kSuccess);
  EXPECT_EQ(files.Find(L"C:\\Drivers\\Maker\\*.gpd").status, error::kFileNotFound);
  EXPECT_EQ(files.RemoveFolder(L"C:\\Drivers\\Maker"), error::kSuccess);
  EXPECT_EQ(files.GetAttributes(L"C:\\Drivers\\Maker\\one.gpd").status, error::kPathNotFound);
  EXPECT_EQ(files.Find(L"C:\\Drivers\\Maker\\*").status, error::kPathNotFound);
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

TEST_F(RecordingSystemTest, AKeyPlannedGoneTakesItsSubKeysAlong) {
  RecordingSystem plan(*inner_, Mode::Plan);
  Registry& registry = plan.system().registry;
  EXPECT_EQ(registry.DeleteTree(RootKey::CurrentUser, L"Printers\\Settings\\Printers\\Office"), error::kSuccess);
  EXPECT_EQ(registry.OpenKey(RootKey::CurrentUser, L"Printers\\Settings\\Printers\\Office\\Tray", regaccess::kRead).status,
            error::kFileNotFound);
  EXPECT_TRUE(registry.OpenKey(RootKey::CurrentUser, L"Printers\\Settings\\Printers", regaccess::kRead).ok());
  EXPECT_EQ(machine_->SaveImage(), before_);
}

TEST_F(RecordingSystemTest, APlannedDriverDeletionTakesOnlyTheFilesNoOtherDriverNames) {
  machine_->Apply(R"({"spooler": {"drivers": [
    {"name": "Laser", "driverPath": "C:\\Drivers\\Maker\\one.gpd", "dataFile": "C:\\Drivers\\Maker\\two.gpd"},
    {"name": "Ink", "dataFile": "C:\\Drivers\\Maker\\two.gpd"}]}})");
  RecordingSystem plan(*inner_, Mode::Plan);
  EXPECT_EQ(plan.system().spooler.DeleteDriver(L"Windows x64", L"Laser", spool::kDeleteUnusedFiles, 3), error::kSuccess);
  EXPECT_EQ(plan.system().files.GetAttributes(L"C:\\Drivers\\Maker\\one.gpd").status, error::kFileNotFound);
  EXPECT_TRUE(plan.system().files.GetAttributes(L"C:\\Drivers\\Maker\\two.gpd").ok()) << "Ink names it too";
}

}  // namespace
}  // namespace os::record
