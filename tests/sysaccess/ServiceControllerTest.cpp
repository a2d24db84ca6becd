// Stopping and starting services on the simulated machine, whose services
// pass through their pending states on a virtual clock: a ten-second wait
// costs no real time, and the clock tells how long a wait took.
#include "sysaccess/ServiceController.h"

#include "tests/sysaccess/SimScenario.h"

namespace scenario {
namespace {

using namespace sysaccess;
using os::svc::kRunning;
using os::svc::kStopped;

class ServiceControl : public SimScenario {
 protected:
  std::uint32_t StateOf(const wchar_t* name) { return machine().services().StateOf(name); }
  std::uint64_t Slept() { return machine().clock().totalSlept(); }
};

// A wait that gave up at the limit: 10 000 ms, and at most one last pause.
::testing::AssertionResult EndedAtTheLimit(std::uint64_t waitedMs) {
  if (waitedMs > 10'000 && waitedMs <= 10'200) return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure() << "waited " << waitedMs << " ms";
}

TEST_F(ServiceControl, TheLimitHoldsAcrossAWrapOfTheTickCounter) {
  // 49.7 days of uptime: the counter wraps to 0 two seconds into the wait.
  Given(R"({"base": "workstation", "windows": {"tickCount": 4294965296},
    "services": [{"name": "Spooler", "state": "stopped", "hangsStarting": true}]})");
  sys().Services().StartServiceAndWait(L"Spooler");
  EXPECT_TRUE(EndedAtTheLimit(Slept()));
  EXPECT_LT(machine().clock().now(), 10'000u) << "the counter did wrap";
  EXPECT_EQ(StateOf(L"Spooler"), os::svc::kStartPending);
}

TEST_F(ServiceControl, ARefusedRequestAFailedStatusQueryOrAnUnknownServiceEndsTheWaitAtOnce) {
  Given(R"({"base": "workstation", "services": [
    {"name": "Spooler", "stopError": 1061},
    {"name": "Broken", "state": "stopped", "startError": 1058},
    {"name": "Mute"}]})");
  machine().FailWith(os::sim::Op::ServicesQueryState, 6, L"Mute");
  RestartSpooler(sys());
  sys().Services().StartServiceAndWait(L"Broken");
  sys().Services().StopServiceAndWait(L"Mute");
  sys().Services().StopServiceAndWait(L"NoSuchService");
  EXPECT_EQ(Slept(), 0u);
  EXPECT_EQ(EffectsOn(L"services."), (Lines{L"services.Stop Spooler -> 1061", L"services.Start Broken -> 1058"}));
  EXPECT_EQ(StateOf(L"Spooler"), kRunning);
  EXPECT_EQ(StateOf(L"Broken"), kStopped);
}

TEST_F(ServiceControl, AnAcceptedRequestTheServiceIgnoresIsPolledUntilTheLimitAndNotRepeated) {
  Given(R"({"base": "workstation", "services": [{"name": "Deaf", "state": "stopped"}]})");
  // The request is answered with success and nothing happens.
  machine().FailWith(os::sim::Op::ServicesControl, 0, L"Spooler");
  machine().FailWith(os::sim::Op::ServicesStart, 0, L"Deaf");
  sys().Services().StopServiceAndWait(L"Spooler");
  const std::uint64_t stopWait = Slept();
  sys().Services().StartServiceAndWait(L"Deaf");
  EXPECT_TRUE(EndedAtTheLimit(stopWait));
  EXPECT_TRUE(EndedAtTheLimit(Slept() - stopWait));
  EXPECT_EQ(machine().gate().calls(os::sim::Op::ServicesControl), 1u);
  EXPECT_EQ(machine().gate().calls(os::sim::Op::ServicesStart), 1u);
  EXPECT_EQ(StateOf(L"Spooler"), kRunning);
  EXPECT_EQ(StateOf(L"Deaf"), kStopped);
}

TEST_F(ServiceControl, AServiceManagerThatCouldNotBeOpenedIsNotAskedAgainAndNothingRuns) {
  Given(R"({"base": "workstation"})");
  machine().Inject(os::sim::Injection{os::sim::Op::ServicesOpenManager, L"", 5, false, 1});  // the first open only
  RestartSpooler(sys());
  RestartSpooler(sys());
  EXPECT_EQ(machine().gate().calls(os::sim::Op::ServicesOpenManager), 1u);
  EXPECT_EQ(EffectsOn(L"services."), Lines{});
}

TEST_F(ServiceControl, ASlowStoppingDependentIsWaitedForOnce) {
  // FaxMonitor is still stopping when its wait ends; Fax then refuses (1051)
  // and is not waited for, and neither is FaxMonitor again.
  Given(R"({"base": "workstation", "services": [
    {"name": "Fax", "dependsOn": ["Spooler"]},
    {"name": "FaxMonitor", "dependsOn": ["Fax"], "hangsStopping": true}]})");
  sys().Services().StopServiceAndWait(L"Spooler");
  EXPECT_TRUE(EndedAtTheLimit(Slept()));
  EXPECT_EQ(EffectsOn(L"services."), (Lines{L"services.Stop FaxMonitor -> 0", L"services.Stop Fax -> 1051",
                                            L"services.Stop Spooler -> 1051"}));
}

TEST_F(ServiceControl, ASpoolerThatAnswersSlowlyIsWaitedForAfterItAnswersAndRunsAgainOnTheWayOut) {
  // ControlService and StartServiceW each block 25 s; the stop then takes
  // 15 s more, longer than the wait.
  Given(R"({"base": "workstation", "services": [
    {"name": "Spooler", "answerDelayMs": 25000, "stopDelayMs": 15000, "startDelayMs": 500}]})");
  auto& clock = machine().clock();
  const std::uint32_t begun = clock.now();
  std::uint32_t stopped = 0;
  {
    const SpoolerLeftRunning guard(sys());
    RestartSpooler(sys());
    stopped = clock.now();
    // One blocking call, then the whole wait: not cut short by the call.
    EXPECT_GT(stopped - begun, 25'000u + 10'000u);
    EXPECT_LE(stopped - begun, 25'000u + 10'200u);
    EXPECT_EQ(StateOf(L"Spooler"), os::svc::kStopPending) << "still stopping: not started yet";
  }
  EXPECT_EQ(StateOf(L"Spooler"), kRunning);
  // What was left of the stop (under 5 s), one blocking start, its 500 ms.
  EXPECT_LE(clock.now() - stopped, 5'000u + 25'000u + 500u + 100u);
  EXPECT_EQ(EffectsOn(L"services."), (Lines{L"services.Stop Spooler -> 0", L"services.Start Spooler -> 0"}));
}

}  // namespace
}  // namespace scenario
