// A delete-all run on generated workstations: time and OS-boundary calls per
// printer, to show that the cost per printer stays flat as machines grow.
#include <benchmark/benchmark.h>

#include "bench/GeneratedOffice.h"
#include "console/CommandLine.h"
#include "engine/DeletionEngine.h"
#include "res/Texts.h"
#include "tests/engine/FakeDialog.h"

namespace {

// The figures of one benchmark, per printer: OS-boundary calls and time.
void ReportPerPrinter(benchmark::State& state, int printers, double calls) {
  state.counters["printers"] = printers;
  state.counters["calls_per_printer"] = calls / printers;
  state.counters["time_per_printer"] =
      benchmark::Counter(static_cast<double>(printers), benchmark::Counter::kIsIterationInvariantRate |
                                                            benchmark::Counter::kInvert);
}

void DeleteAllRun(benchmark::State& state) {
  const int printers = static_cast<int>(state.range(0));
  double calls = 0;
  for (auto _ : state) {
    state.PauseTiming();
    auto machine = bench::GenerateOffice(printers);
    sysaccess::SystemAccess sys(machine->system());
    engine::FakeDialog dialog;
    res::EnglishTexts texts;
    engine::DeletionEngine engine(sys, dialog, texts);
    engine.RefillPrinterList();
    dialog.CheckAll();
    dialog.deleteAll = true;
    machine->gate().ResetCounts();
    machine->gate().ClearJournal();
    state.ResumeTiming();

    engine.RunDeletion();

    state.PauseTiming();
    calls = static_cast<double>(machine->gate().calls());
    if (!machine->spooler().printers().empty() || !machine->spooler().drivers().empty()) {
      state.SkipWithError("the run left printers or drivers behind");
    }
    machine.reset();
    state.ResumeTiming();
  }
  ReportPerPrinter(state, printers, calls);
}

// The same delete-all run planned through TessalyCmd's logic: the plan
// reads the machine as the recorded writes would leave it, which costs
// lookups the real run does not make.
void DeleteAllPlan(benchmark::State& state) {
  class Quiet final : public console::Output {
   public:
    void Line(const std::wstring&) override {}
    void Error(const std::wstring&) override {}
  } out;
  const int printers = static_cast<int>(state.range(0));
  double calls = 0;
  for (auto _ : state) {
    state.PauseTiming();
    auto machine = bench::GenerateOffice(printers);
    os::System system = machine->system();
    const console::Host host{L"bench", L"BENCH", [] { return std::string(); }};
    machine->gate().ClearJournal();
    state.ResumeTiming();

    const int code = console::RunCommandLine({L"/all", L"/plan", L"/quiet"}, system, out, host);

    state.PauseTiming();
    if (code != 0) state.SkipWithError("the plan did not end with 0");
    if (machine->spooler().printers().size() != static_cast<std::size_t>(printers)) {
      state.SkipWithError("the plan changed the machine");
    }
    calls = static_cast<double>(machine->gate().calls());
    machine.reset();
    state.ResumeTiming();
  }
  ReportPerPrinter(state, printers, calls);
}

}  // namespace

BENCHMARK(DeleteAllPlan)->Arg(100)->Arg(1000)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(DeleteAllRun)->Arg(100)->Arg(1000)->Arg(4000)->Unit(benchmark::kMillisecond)->Iterations(3);

BENCHMARK_MAIN();
