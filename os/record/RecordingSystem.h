#pragma once
// The OS boundary with every write recorded: what a run deletes, stops,
// starts or ends, in order, with its status. In Perform mode each write is
// done and recorded with the system's answer (the run's effects, for its
// report). In Plan mode nothing is written: reads pass through to the real
// system, each write is recorded with the status the system would give, and
// later reads no longer show what a recorded write removed (a key, a value,
// a file, a printer, a driver, a form, a process), with service states
// advanced as the write would. So the engine, unchanged, walks the same path
// it would walk for real, and its recorded writes are the plan.
//
// What the boundary cannot tell is not predicted: a file held open by
// another program, a service that refuses or hangs, a key or process
// protected from this user, a driver's dependent files (not in
// DRIVER_INFO_2), a package's presence in the driver store.
#include <memory>
#include <string>
#include <vector>

#include "os/System.h"

namespace os::record {

struct Effect {
  std::wstring what;    // "registry.DeleteTree", "files.Delete", "spooler.DeletePrinter", ...
  std::wstring target;  // the key, value, path, printer, "environment|driver", service or process
  Status status = 0;
  // "<what> <target> -> <status>": the simulated machine's journal line for
  // the same effect.
  std::wstring Line() const;
};

enum class Mode { Perform, Plan };

struct PlanState;

class RecordingSystem {
 public:
  // Prompts, environment, clock and faults pass through unchanged.
  RecordingSystem(System& inner, Mode mode);
  ~RecordingSystem();
  RecordingSystem(const RecordingSystem&) = delete;
  RecordingSystem& operator=(const RecordingSystem&) = delete;

  System& system() { return *system_; }
  Mode mode() const;
  const std::vector<Effect>& effects() const;

 private:
  std::unique_ptr<PlanState> state_;
  std::unique_ptr<Registry> registry_;
  std::unique_ptr<Spooler> spooler_;
  std::unique_ptr<Services> services_;
  std::unique_ptr<Files> files_;
  std::unique_ptr<Processes> processes_;
  std::unique_ptr<System> system_;
};

}  // namespace os::record
