// GetTickCount64 for every Windows the program promises. The -posix
// runtime (libwinpthread, beneath std::thread and std::mutex) imports it for
// its timed waits, and Windows XP and Server 2003 do not export it: a missing
// import stops a program before its first line, with a box about an entry
// point that cannot be found. This file defines the import's address slot
// itself; linked as an object of each program, ahead of the import library,
// it takes the function off the import table. The system's own function is
// then looked up at run time, and where there is none, GetTickCount stands in,
// widened to 64 bits.
#include <windows.h>

#include <atomic>
#include <cstdint>

#include "os/win32/TickCount64.h"

namespace {

using TickCount64Function = ULONGLONG(WINAPI*)();

std::atomic<TickCount64Function> g_system{nullptr};
std::atomic<bool> g_lookedUp{false};
// The last widened tick handed out; 0 until the first.
std::atomic<std::uint64_t> g_widened{0};

}  // namespace

namespace os::win32 {

// The 64-bit count moves by the signed distance of the 32-bit tick from the
// last one, so a wrap after 49.7 days carries into the high half. A step
// back is a thread that read the tick a moment before another stored it; it
// is answered but not stored.
unsigned long long WidenedTickCount() {
  const DWORD now = GetTickCount();
  std::uint64_t seen = g_widened.load();
  for (;;) {
    const std::uint64_t value =
        seen == 0 ? now
                  : seen + static_cast<std::uint64_t>(static_cast<std::int64_t>(
                               static_cast<std::int32_t>(now - static_cast<DWORD>(seen))));
    if (seen != 0 && value <= seen) return value;
    if (g_widened.compare_exchange_weak(seen, value)) return value;
  }
}

}  // namespace os::win32

namespace {

ULONGLONG WINAPI TickCount64() {
  if (!g_lookedUp.load(std::memory_order_acquire)) {
    // Two threads may both look: they find the same address.
    g_system.store(reinterpret_cast<TickCount64Function>(reinterpret_cast<void*>(
                       GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "GetTickCount64"))),
                   std::memory_order_relaxed);
    g_lookedUp.store(true, std::memory_order_release);
  }
  if (TickCount64Function system = g_system.load(std::memory_order_relaxed)) return system();
  return os::win32::WidenedTickCount();
}

}  // namespace

// The slot's name as the import library spells it: x86 decorates the
// stdcall name with an underscore and the size of its arguments.
#if defined(__i386__)
#define TESSALY_TICKCOUNT64_SLOT "__imp__GetTickCount64@0"
#else
#define TESSALY_TICKCOUNT64_SLOT "__imp_GetTickCount64"
#endif
extern "C" {
extern TickCount64Function const tessalyTickCount64Slot __asm__(TESSALY_TICKCOUNT64_SLOT);
TickCount64Function const tessalyTickCount64Slot = TickCount64;
}
