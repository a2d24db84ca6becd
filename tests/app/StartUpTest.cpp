// Start-up on the simulated machine: who may start, what a refused user
// sees, and the order of the lock, the language choice and the dialog.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "app/StartUp.h"
#include "os/sim/SimMachine.h"

namespace app {
namespace {

class RecordingShell final : public StartUpShell {
 public:
  explicit RecordingShell(os::sim::SimMachine& machine) : machine_(machine) {}
  bool LoadAndInstall(const std::wstring& path) override {
    events.push_back(L"load " + path);
    return false;
  }
  void RunMainDialog() override {
    events.push_back(L"dialog, locks held: " + std::to_wstring(machine_.services().database().locksHeld));
  }
  std::vector<std::wstring> events;

 private:
  os::sim::SimMachine& machine_;
};

std::unique_ptr<os::sim::SimMachine> Workstation(const std::string& database) {
  return os::sim::SimMachine::FromImage(R"({"base": "workstation", "windows": {"languageAbbreviation": "DEU"},
                                           "serviceDatabase": )" + database + "}");
}

TEST(StartUpTest, AnAdministratorGetsTheDialogOnlyAfterTheLockIsReleased) {
  // Another process's lock counts as success without taking one of ours.
  for (const auto& [database, locksTaken] : {std::pair{"{}", 1}, {R"({"lockedByOther": true})", 0}}) {
    SCOPED_TRACE(database);
    auto m = Workstation(database);
    RecordingShell shell(*m);
    os::System system = m->system();
    EXPECT_FALSE(RunStartUp(system, shell));
    EXPECT_EQ(shell.events, (std::vector<std::wstring>{L"load C:\\Program Files\\Tessaly\\TessalyDEU.dll",
                                                       L"dialog, locks held: 0"}));
    EXPECT_TRUE(m->prompts().log().empty());
    EXPECT_EQ(m->services().database().locksTaken, locksTaken);
  }
}

TEST(StartUpTest, AUserWhoMayNotLockTheServiceDatabaseIsRefusedInEnglish) {
  // The manager refused, the lock refused, or the call failed for another
  // reason than a lock held elsewhere (1726: RPC_S_CALL_FAILED).
  for (const auto& [database, lockError] :
       {std::pair{R"({"managerAccessDenied": true})", 0}, {R"({"lockDenied": true})", 0}, {"{}", 1726}}) {
    SCOPED_TRACE(database);
    auto m = Workstation(database);
    if (lockError) m->FailWith(os::sim::Op::ServicesLockDatabase, static_cast<os::Status>(lockError));
    RecordingShell shell(*m);
    os::System system = m->system();
    EXPECT_FALSE(RunStartUp(system, shell));
    // No dialog, and no language module: the refusal is fixed English text.
    EXPECT_TRUE(shell.events.empty());
    ASSERT_EQ(m->prompts().log().size(), 1u);
    const auto& box = m->prompts().log().front();
    EXPECT_EQ(box.owner, 0u);
    EXPECT_EQ(box.text,
              L"You do not have sufficient security privileges to Uninstall Printers. Please contact your site "
              L"administrator, or logout and log in again as an administrator and try again...");
    EXPECT_EQ(box.caption, L"Error");
    EXPECT_EQ(box.style, 0x10u);
    EXPECT_EQ(m->services().database().locksHeld, 0);
    EXPECT_EQ(m->gate().calls(os::sim::Op::FilesOpenText), 0u);
  }
}

}  // namespace
}  // namespace app
