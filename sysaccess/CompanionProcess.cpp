#include <string>

#include "sysaccess/ServiceController.h"

namespace sysaccess {
namespace {

constexpr const wchar_t* kCompanionImage = L"Quellix.exe";

}  // namespace

bool TerminateCompanionProcess(SystemAccess& sys) {
  auto& processes = sys.os().processes;
  auto snapshot = processes.Snapshot();
  if (!snapshot.ok()) return false;
  for (const auto& process : snapshot.value) {
    // Exact and case-sensitive: a program that merely shares the name in
    // other letter case is someone else's.
    if (process.exeFile != kCompanionImage) continue;
    return processes.Terminate(process.processId, 0) == os::error::kSuccess;  // the first match only
  }
  return false;
}

}  // namespace sysaccess
