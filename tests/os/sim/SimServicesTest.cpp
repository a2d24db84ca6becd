#include <gtest/gtest.h>

#include "os/sim/SimMachine.h"

namespace os::sim {
namespace {

std::unique_ptr<ServiceHandle> OpenService(SimMachine& m, const wchar_t* name) {
  auto scm = m.services().OpenManager(svc::kManagerAllAccess);
  auto service = scm.value->Open(name, svc::kServiceAllAccess);
  EXPECT_TRUE(service.ok()) << service.status;
  return std::move(service.value);
}

TEST(SimServicesTest, AServiceWithRunningDependentsRefusesToStop) {
  auto m = SimMachine::FromImage(R"({"services": [
    {"name": "Spooler"},
    {"name": "Fax", "dependsOn": ["Spooler"]},
    {"name": "FaxMonitor", "dependsOn": ["Fax"]},
    {"name": "Idle", "dependsOn": ["Spooler"], "state": "stopped"}]})");
  auto spooler = OpenService(*m, L"Spooler");
  EXPECT_EQ(spooler->Control(svc::kControlStop), error::kDependentServicesRunning);
  const auto active = spooler->EnumDependents(svc::kActive);
  ASSERT_TRUE(active.ok());
  // Dependents of dependents too, in the order they must be stopped, and
  // only active ones.
  ASSERT_EQ(active.value.size(), 2u);
  EXPECT_EQ(active.value[0].serviceName, L"FaxMonitor");
  EXPECT_EQ(active.value[1].serviceName, L"Fax");
  // Starting a service starts what it depends on.
  EXPECT_EQ(OpenService(*m, L"Fax")->Control(svc::kControlStop), error::kDependentServicesRunning);
  EXPECT_EQ(OpenService(*m, L"FaxMonitor")->Control(svc::kControlStop), error::kSuccess);
  EXPECT_EQ(OpenService(*m, L"Fax")->Control(svc::kControlStop), error::kSuccess);
  EXPECT_EQ(spooler->Control(svc::kControlStop), error::kSuccess);
  EXPECT_EQ(OpenService(*m, L"FaxMonitor")->Start(), error::kSuccess);
  EXPECT_EQ(m->services().StateOf(L"Spooler"), svc::kRunning);
}

TEST(SimServicesTest, AHungOrRefusingServiceKeepsItsState) {
  auto m = SimMachine::FromImage(R"({"services": [
    {"name": "Stuck", "hangsStopping": true}, {"name": "Deaf", "stopError": 1061},
    {"name": "Broken", "state": "stopped", "startError": 1058},
    {"name": "Mute", "answerDelayMs": 45000}]})");
  auto stuck = OpenService(*m, L"Stuck");
  EXPECT_EQ(stuck->Control(svc::kControlStop), error::kSuccess);
  m->clock().Sleep(3'600'000);
  EXPECT_EQ(stuck->QueryState().value, svc::kStopPending);
  EXPECT_EQ(OpenService(*m, L"Deaf")->Control(svc::kControlStop), 1061u);
  EXPECT_EQ(m->services().StateOf(L"Deaf"), svc::kRunning);
  EXPECT_EQ(OpenService(*m, L"Broken")->Start(), 1058u);
  EXPECT_EQ(m->services().StateOf(L"Broken"), svc::kStopped);
  // The service manager waits 30 s for an answer, then gives up.
  const std::uint32_t before = m->clock().now();
  EXPECT_EQ(OpenService(*m, L"Mute")->Control(svc::kControlStop), error::kServiceRequestTimeout);
  EXPECT_EQ(m->clock().now() - before, 30'000u);
  EXPECT_EQ(m->services().StateOf(L"Mute"), svc::kRunning);
}

}  // namespace
}  // namespace os::sim
