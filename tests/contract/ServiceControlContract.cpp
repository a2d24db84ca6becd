// The Spooler restart and the companion process: the same cases on the
// simulated machine and on Wine's real service manager and processes (where
// our own test service depends on the real "Spooler").
#include "sysaccess/ServiceController.h"
#include "tests/contract/ContractMachine.h"

namespace contract {
namespace {

using namespace sysaccess;
using os::svc::kRunning;
using os::svc::kStopped;

std::uint32_t StateOf(os::System sys, const wchar_t* name) {
  auto manager = sys.services.OpenManager(os::svc::kManagerAllAccess);
  if (!manager.ok()) return 0;
  auto service = manager.value->Open(name, os::svc::kServiceAllAccess);
  if (!service.ok()) return 0;
  auto state = service.value->QueryState();
  return state.ok() ? state.value : 0;
}

TEST_F(Contract, RestartingTheSpoolerStopsItsDependentsAndLeavesThemStopped) {
  machine().Seed(R"({"services": [
    {"name": "TessalyContractFax", "dependsOn": ["Spooler"]},
    {"name": "TessalyContractFaxMonitor", "dependsOn": ["TessalyContractFax"]},
    {"name": "TessalyContractIdle", "dependsOn": ["Spooler"], "state": "stopped"}]})");
  ASSERT_EQ(StateOf(sys(), L"TessalyContractFax"), kRunning);
  ASSERT_EQ(StateOf(sys(), L"TessalyContractFaxMonitor"), kRunning);
  SystemAccess sys(this->sys());
  RestartSpooler(sys);
  EXPECT_EQ(StateOf(this->sys(), L"Spooler"), kRunning);
  SKIP_ON_WINE("EnumDependentServicesW reports no dependents (its service manager does not implement it), so the "
               "dependents are never asked to stop");
  EXPECT_EQ(StateOf(this->sys(), L"TessalyContractFax"), kStopped);
  EXPECT_EQ(StateOf(this->sys(), L"TessalyContractFaxMonitor"), kStopped);
  EXPECT_EQ(StateOf(this->sys(), L"TessalyContractIdle"), kStopped);
}

TEST_F(Contract, AStoppedSpoolerIsStartedAgain) {
  SystemAccess sys(this->sys());
  sys.Services().StopServiceAndWait(L"Spooler");
  ASSERT_EQ(StateOf(this->sys(), L"Spooler"), kStopped);
  RestartSpooler(sys);
  EXPECT_EQ(StateOf(this->sys(), L"Spooler"), kRunning);
}

int Count(os::System sys, const wchar_t* exeFile) {
  int count = 0;
  for (const auto& p : sys.processes.Snapshot().value) count += p.exeFile == exeFile ? 1 : 0;
  return count;
}

TEST_F(Contract, OnlyTheFirstProcessNamedExactlyLikeTheCompanionIsEnded) {
  machine().Seed(R"({"processes": [{"pid": 9001, "name": "quellix.exe"}, {"pid": 9002, "name": "Quellix.exe"},
                                   {"pid": 9003, "name": "Quellix.exe"}]})");
  ASSERT_EQ(Count(sys(), L"Quellix.exe"), 2);
  ASSERT_EQ(Count(sys(), L"quellix.exe"), 1);
  SystemAccess sys(this->sys());
  EXPECT_TRUE(TerminateCompanionProcess(sys));
  // An ended process leaves the process list once it has wound down.
  for (int i = 0; i < 100 && Count(this->sys(), L"Quellix.exe") > 1; ++i) sys.os().clock.Sleep(50);
  EXPECT_EQ(Count(this->sys(), L"Quellix.exe"), 1);
  EXPECT_EQ(Count(this->sys(), L"quellix.exe"), 1) << "a name in other letter case is someone else's";
}

TEST_F(Contract, WithoutTheCompanionNothingIsEndedAndTheFlagIsZero) {
  machine().Seed(R"({"processes": [{"pid": 9004, "name": "QUELLIX.EXE"}]})");
  SystemAccess sys(this->sys());
  EXPECT_FALSE(TerminateCompanionProcess(sys));
  EXPECT_EQ(Count(this->sys(), L"QUELLIX.EXE"), 1);
}

}  // namespace
}  // namespace contract
