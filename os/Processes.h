#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "os/Status.h"

namespace os {

struct ProcessEntry {  // PROCESSENTRY32W
  std::uint32_t processId = 0;
  std::wstring exeFile;
};

class Processes {
 public:
  virtual ~Processes() = default;
  // CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS) walked to the end.
  virtual Result<std::vector<ProcessEntry>> Snapshot() = 0;
  // OpenProcess(PROCESS_TERMINATE) and TerminateProcess.
  [[nodiscard]] virtual Status Terminate(std::uint32_t processId, std::uint32_t exitCode) = 0;
};

}  // namespace os
