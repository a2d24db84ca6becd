// A delete-all run on generated workstations: time and OS-boundary calls per
// printer, to show that the cost per printer stays flat as machines grow.
#include <benchmark/benchmark.h>

#include "bench/GeneratedOffice.h"
#include "engine/DeletionEngine.h"
#include "res/Texts.h"
#include "tests/engine/FakeDialog.h"

namespace {

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
  state.counters["printers"] = printers;
  state.counters["calls_per_printer"] = calls / printers;
  state.counters["time_per_printer"] =
      benchmark::Counter(static_cast<double>(printers), benchmark::Counter::kIsIterationInvariantRate |
                                                            benchmark::Counter::kInvert);
}

}  // namespace

BENCHMARK(DeleteAllRun)->Arg(100)->Arg(1000)->Arg(4000)->Unit(benchmark::kMillisecond)->Iterations(3);

BENCHMARK_MAIN();
