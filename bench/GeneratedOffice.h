#pragma once
// A generated workstation of any size for the benchmarks: a quarter of the
// printers are connections, one driver serves eight printers, one user form
// exists per ten printers, and twenty Temp files lie about per printer, a few
// of which the cleanup targets.
#include <memory>
#include <string>

#include "os/sim/SimMachine.h"

namespace bench {

std::unique_ptr<os::sim::SimMachine> GenerateOffice(int printers);

}  // namespace bench
