#include <string>

#include "sysaccess/ServiceController.h"

namespace sysaccess {
namespace {

constexpr const wchar_t* kCompanionImage = L"Quellix.exe";

}  // namespace

void TerminateCompanionProcess(SystemAccess& sys, std::int32_t& flag) {
  flag = 0;
  auto& processes = sys.os().processes;
  auto snapshot = processes.Snapshot();
  if (!snapshot.ok()) return;
  for (const auto& process : snapshot.value) {
    // Exact and case-sensitive: a program that merely shares the name in
    // other letter case is someone else's.
    if (process.exeFile != kCompanionImage) continue;
    flag = processes.Terminate(process.processId, 0) == os::error::kSuccess ? 1 : 0;
    return;  // the first match only
  }
}

}  // namespace sysaccess
