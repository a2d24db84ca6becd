#pragma once
// What the program's GetTickCount64 falls back to on a Windows without one
// (XP, Server 2003): GetTickCount widened to 64 bits. Compiled into each
// program (TickCount64.cpp), not into a library, so that it replaces the
// runtime's import.
namespace os::win32 {

unsigned long long WidenedTickCount();

}  // namespace os::win32
