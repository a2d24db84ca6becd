#pragma once
// The real implementation of the OS boundary: one process-wide instance per
// area, thin calls into the Win32 API.
#include "os/System.h"

namespace os::win32 {

System MakeSystem();

Registry& TheRegistry();
Spooler& TheSpooler();
Services& TheServices();
Files& TheFiles();
Processes& TheProcesses();
Environment& TheEnvironment();
Clock& TheClock();
Prompts& ThePrompts();
Faults& TheFaults();

}  // namespace os::win32
