// The plan is the run: over generated workstations, /plan changes nothing at
// all, and the real run that follows makes exactly the planned effects, item
// for item and in order, with the same outcomes and exit code. The machine's
// own journal is the oracle for what the run did.
#include <random>

#include "tests/console/ConsoleFixture.h"
#include "tests/soak/GeneratedWorkstation.h"

namespace console {
namespace {

constexpr int kWorkstations = 240;

// What the administrator asks for on a generated workstation: every printer,
// or some of them by name, now and then taking along the printers that share
// a driver, now and then quietly.
std::vector<std::wstring> Request(const soak::Workstation& w, unsigned seed) {
  std::mt19937 rng(seed ^ 0xC0DEu);
  const auto chance = [&](int percent) { return static_cast<int>(rng() % 100) < percent; };
  std::vector<std::wstring> arguments = {L"/all"};
  if (!chance(25)) {
    arguments = {L"/delete"};
    for (const auto& p : w.printers) {
      if (chance(50)) arguments.push_back(p.name);
    }
    if (arguments.size() == 1) arguments.push_back(w.printers[rng() % w.printers.size()].name);
    if (chance(50)) arguments.push_back(L"/shared:delete");
  }
  if (chance(30)) arguments.push_back(L"/quiet");
  return arguments;
}

using PlanEqualsRun = ConsoleFixture;

TEST_F(PlanEqualsRun, OnGeneratedWorkstationsThePlanChangesNothingAndIsExactlyWhatTheRunDoes) {
  int withQuestions = 0;
  int withEffects = 0;
  int allRuns = 0;
  for (unsigned seed = 1; seed <= kWorkstations; ++seed) {
    SCOPED_TRACE("workstation " + std::to_string(seed));
    const soak::Workstation w = soak::Generate(seed);
    const std::string image = w.machine->SaveImage();
    const std::vector<std::wstring> arguments = Request(w, seed);
    Load(image);
    const std::string before = machine_->SaveImage();

    const std::wstring planReport = ReportPath("plan-" + std::to_string(seed) + ".json");
    auto planArguments = arguments;
    planArguments.insert(planArguments.end(), {L"/plan", L"/report:" + planReport});
    const int planExit = Run(planArguments);
    ASSERT_TRUE(MachineEffects().empty()) << "the plan wrote to the machine: " << MachineEffects().front();
    ASSERT_EQ(machine_->SaveImage(), before) << image;

    const std::wstring runReport = ReportPath("run-" + std::to_string(seed) + ".json");
    auto runArguments = arguments;
    runArguments.insert(runArguments.end(), {L"/yes", L"/report:" + runReport});
    const int runExit = Run(runArguments);

    const auto plan = ReadReport(planReport);
    const auto run = ReadReport(runReport);
    const auto planned = ReportEffects(plan);
    const auto done = MachineEffects();
    ASSERT_EQ(planned, done) << image;
    ASSERT_EQ(ReportEffects(run), done) << "the run's report holds every effect";
    EXPECT_EQ(plan["printers"], run["printers"]) << image;
    EXPECT_EQ(plan["drivers"], run["drivers"]) << image;
    EXPECT_EQ(plan["answers"], run["answers"]) << image;
    EXPECT_EQ(planExit, runExit) << image;
    EXPECT_TRUE(machine_->prompts().log().empty()) << "no message box, ever";
    withQuestions += plan["answers"].empty() ? 0 : 1;
    withEffects += done.empty() ? 0 : 1;
    allRuns += arguments.front() == L"/all" ? 1 : 0;
  }
  // The generator reaches what the property is about.
  EXPECT_GT(withQuestions, kWorkstations / 20);
  EXPECT_GT(allRuns, kWorkstations / 10);
  EXPECT_EQ(withEffects, kWorkstations);
}

}  // namespace
}  // namespace console
