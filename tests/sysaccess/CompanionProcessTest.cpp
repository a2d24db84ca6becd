// Ending the companion job-monitoring process on the simulated machine when
// it refuses. Which process is ended, and "no companion, flag 0", are
// ServiceControlContract's.
#include "sysaccess/ServiceController.h"
#include "tests/sysaccess/SimScenario.h"

namespace scenario {
namespace {

using namespace sysaccess;

class CompanionProcess : public SimScenario {
 protected:
  std::vector<std::uint32_t> Running() {
    std::vector<std::uint32_t> ids;
    for (const auto& p : machine().processes().processes()) ids.push_back(p.processId);
    return ids;
  }
};

TEST_F(CompanionProcess, AProcessThatRefusesToEndOrAFailedSnapshotGivesZeroAndNoOtherMatchIsTried) {
  Given(R"({"base": "workstation", "processes": [
    {"pid": 430, "name": "Quellix.exe", "protected": true}, {"pid": 440, "name": "Quellix.exe"}]})");
  EXPECT_FALSE(TerminateCompanionProcess(sys()));
  EXPECT_EQ(EffectsOn(L"processes."), (Lines{L"processes.Terminate Quellix.exe (430) exit 0 -> 5"}));

  machine().FailWith(os::sim::Op::ProcessesSnapshot, 8);
  EXPECT_FALSE(TerminateCompanionProcess(sys()));
  EXPECT_EQ(Running().size(), 2u);
}

}  // namespace
}  // namespace scenario
