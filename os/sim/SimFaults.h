#pragma once
#include "os/Faults.h"
#include "os/sim/Gate.h"

namespace os::sim {

// A simulated fault is thrown as a CSE only on a thread that installed the
// translator, as on Windows; elsewhere it ends the process.
class SimFaults final : public Faults {
 public:
  void InstallTranslatorOnThisThread() override { SetTranslatorInstalledOnThisThread(true); }
};

}  // namespace os::sim
