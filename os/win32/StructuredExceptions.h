#pragma once
// Our stand-in for _set_se_translator, which mingw-w64 lacks. A fault (an
// access violation and its kin) inside a guarded call, on a thread that
// installed the translator, arrives at the caller as a thrown CSE built by
// TranslateStructuredException from the fault's record and context.
//
// The guard is a frame-based handler, as a compiler's __try/__except is: the
// system dispatches the fault to the frames between it and the guard first,
// so a fault a system library handles itself (pointer probing in its
// parameter checks) never reaches the guard. Once the guard takes a fault it
// unwinds those frames before resuming its caller:
// - x64: RunGuarded's unwind data names its handler, which unwinds with
//   RtlUnwindEx. Every frame in between gets its unwind call: a system
//   library's termination handlers (__finally) run, so a lock it took is
//   released. GCC's own C++ frames are unwound by the same tables, but its
//   personality routine acts only on its own C++ throws and passes over a
//   fault, so their destructors do not run.
// - x86: RunGuarded links a registration into the thread's handler chain
//   (FS:[0]); its handler unwinds with RtlUnwind, which gives every
//   registration above ours (a system library's __try/__finally, its
//   dispatcher frames) its unwind call and unlinks it. GCC's C++ frames on
//   x86 keep no registration, their unwind tables are DWARF, which the system
//   does not read: they are stepped over and their destructors do not run.
//   A C++ exception must not leave RunGuarded there, as the DWARF unwinder
//   would leave our registration linked into a dead frame; it is carried
//   across the guard and thrown again on this side.
// So a guarded call must not hold a C++ lock of ours in its own frames.
#include <windows.h>

#include <exception>
#include <memory>
#include <type_traits>

#include "os/Faults.h"

namespace os::win32 {

void InstallTranslatorOnThisThread();
bool TranslatorInstalledOnThisThread();

// Copies the record and context into a CSE and throws it.
[[noreturn]] void TranslateStructuredException(unsigned code, EXCEPTION_POINTERS* pointers);

namespace detail {
struct FaultCapture {
  EXCEPTION_RECORD record;
  CONTEXT context;
};
// false when a fault ended the call; the capture holds it. Written in
// assembly: its frame layout is what its handler relies on.
bool RunGuarded(void (*call)(void*), void* context, FaultCapture& capture) __asm__("tessaly_RunGuarded");
}  // namespace detail

// Runs call(); a fault inside it arrives as a thrown CSE (only on a thread
// with the translator installed: elsewhere a fault goes its usual way and
// ends the process unless something handles it, as on Windows).
template <class F>
void CallTranslatingFaults(F&& call) {
  if (!TranslatorInstalledOnThisThread()) {
    call();
    return;
  }
  auto capture = std::make_unique<detail::FaultCapture>();  // CONTEXT is large and 16-byte aligned
#if defined(__i386__)
  struct Carried {
    std::remove_reference_t<F>* call;
    std::exception_ptr thrown;
  } carried{&call, nullptr};
  const bool returned = detail::RunGuarded(
      [](void* c) {
        auto& carried = *static_cast<Carried*>(c);
        try {
          (*carried.call)();
        } catch (...) {
          carried.thrown = std::current_exception();
        }
      },
      &carried, *capture);
  if (carried.thrown) std::rethrow_exception(carried.thrown);
#else
  const bool returned = detail::RunGuarded(
      [](void* f) { (*static_cast<std::remove_reference_t<F>*>(f))(); }, &call, *capture);
#endif
  if (returned) return;
  EXCEPTION_POINTERS pointers{&capture->record, &capture->context};
  TranslateStructuredException(capture->record.ExceptionCode, &pointers);
}

}  // namespace os::win32
