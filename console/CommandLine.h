#pragma once
// The whole console program above the Windows main: the command line, the
// permission check, the printer list, the run or its plan, progress, the
// report and the exit code. Portable: the simulated machine runs it natively.
#include <functional>
#include <string>
#include <vector>

#include "console/Output.h"
#include "os/System.h"

namespace console {

// What only the Windows main knows.
struct Host {
  std::wstring toolVersion;
  std::wstring machineName;
  std::function<std::string()> utcNow;  // ISO 8601, e.g. "2026-12-07T11:30:00Z"
};

// arguments: after the program's own name. Returns the exit code.
int RunCommandLine(const std::vector<std::wstring>& arguments, os::System& system, Output& out, const Host& host);

}  // namespace console
