#include "os/win32/ScopedHandle.h"
#include "os/win32/Win32System.h"

namespace os::win32 {
namespace {

class Win32Processes final : public Processes {
 public:
  Result<std::vector<ProcessEntry>> Snapshot() override {
    using R = Result<std::vector<ProcessEntry>>;
    ScopedSnapshot snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
    if (!snapshot) return R::Fail(GetLastError());
    // The record's size differs between 32-bit (556) and 64-bit (568) builds.
    PROCESSENTRY32W entry{};
    entry.dwSize = sizeof entry;
    std::vector<ProcessEntry> out;
    for (BOOL more = Process32FirstW(snapshot.get(), &entry); more; more = Process32NextW(snapshot.get(), &entry)) {
      out.push_back(ProcessEntry{entry.th32ProcessID, entry.szExeFile});
    }
    return R::Ok(std::move(out));
  }

  Status Terminate(std::uint32_t processId, std::uint32_t exitCode) override {
    ScopedKernelObject process(OpenProcess(PROCESS_TERMINATE, FALSE, processId));
    if (!process) return GetLastError();
    return TerminateProcess(process.get(), exitCode) ? error::kSuccess : GetLastError();
  }
};

}  // namespace

Processes& TheProcesses() {
  static Win32Processes processes;
  return processes;
}

}  // namespace os::win32
