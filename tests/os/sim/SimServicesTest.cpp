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

// Refusals, hangs and the stop order of dependents are proved through the
// Spooler's controller; what no other test reaches is kept here.
TEST(SimServicesTest, AStartStartsWhatTheServiceDependsOnAndAnUnansweredRequestEndsAfterThirtySeconds) {
  auto m = SimMachine::FromImage(R"({"services": [
    {"name": "Spooler", "state": "stopped"}, {"name": "Fax", "dependsOn": ["Spooler"], "state": "stopped"},
    {"name": "Scan", "dependsOn": ["Spooler"], "state": "stopped"},
    {"name": "Mute", "answerDelayMs": 45000}]})");
  EXPECT_EQ(OpenService(*m, L"Fax")->Start(), error::kSuccess);
  EXPECT_EQ(m->services().StateOf(L"Spooler"), svc::kRunning);
  EXPECT_EQ(OpenService(*m, L"Scan")->Start(), error::kSuccess) << "what it depends on runs already";
  const std::uint32_t before = m->clock().now();
  EXPECT_EQ(OpenService(*m, L"Mute")->Control(svc::kControlStop), error::kServiceRequestTimeout);
  EXPECT_EQ(m->clock().now() - before, 30'000u);
  EXPECT_EQ(m->services().StateOf(L"Mute"), svc::kRunning);
}

}  // namespace
}  // namespace os::sim
