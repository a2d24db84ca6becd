#pragma once
// Our stand-in for _set_se_translator, which mingw-w64 lacks. A vectored
// exception handler catches a fault (an access violation and its kin) that
// happens inside a guarded call on a thread that installed the translator,
// copies the exception record and context, and resumes the guarded call's
// caller as if the call had returned; the caller then throws a CSE built by
// TranslateStructuredException. Destructors of the frames between (the
// system library's) do not run, which is what a structured exception would
// have done to them anyway.
//
// The vectored handler runs before the frame-based handlers of the faulting
// library, so a fault that the library would have caught itself (pointer
// probing in parameter checks) also ends the guarded call. The program never
// hands the spooler bad pointers, so only real faults arrive here.
#include <windows.h>

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
// false when a fault ended the call; the capture holds it.
bool RunGuarded(void (*call)(void*), void* context, FaultCapture& capture);
}  // namespace detail

// Runs call(); a fault inside it arrives as a thrown CSE (only on a thread
// with the translator installed: elsewhere a fault ends the process, as on
// Windows).
template <class F>
void CallTranslatingFaults(F&& call) {
  if (!TranslatorInstalledOnThisThread()) {
    call();
    return;
  }
  auto capture = std::make_unique<detail::FaultCapture>();  // CONTEXT is large and 16-byte aligned
  const bool returned = detail::RunGuarded(
      [](void* f) { (*static_cast<std::remove_reference_t<F>*>(f))(); }, &call, *capture);
  if (returned) return;
  EXCEPTION_POINTERS pointers{&capture->record, &capture->context};
  TranslateStructuredException(capture->record.ExceptionCode, &pointers);
}

}  // namespace os::win32
