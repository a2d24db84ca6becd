#pragma once
// The real implementation of the OS boundary: one process-wide instance per
// area, thin calls into the Win32 API.
#include <windows.h>

#include "os/System.h"

namespace os::win32 {

System MakeSystem();

// The predefined key a root stands for (HKEY_LOCAL_MACHINE, ...).
HKEY RootHandle(RootKey root);

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
