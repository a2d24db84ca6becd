#include "os/win32/StructuredExceptions.h"

#include <cstring>
#include <vector>

namespace os::win32 {
namespace {

struct GuardFrame {
  void* jump[5];  // __builtin_setjmp's buffer
  detail::FaultCapture* capture;
  GuardFrame* previous;
#if defined(__i386__)
  void* sehChain;  // x86 keeps the frame-handler chain in the TEB; it must be restored
#endif
};

thread_local bool t_installed = false;
thread_local GuardFrame* t_top = nullptr;

bool IsFault(DWORD code) {
  switch (code) {
    case EXCEPTION_ACCESS_VIOLATION:
    case EXCEPTION_IN_PAGE_ERROR:
    case EXCEPTION_ILLEGAL_INSTRUCTION:
    case EXCEPTION_PRIV_INSTRUCTION:
    case EXCEPTION_INT_DIVIDE_BY_ZERO:
    case EXCEPTION_INT_OVERFLOW:
    case EXCEPTION_ARRAY_BOUNDS_EXCEEDED:
    case EXCEPTION_DATATYPE_MISALIGNMENT:
    case EXCEPTION_FLT_DIVIDE_BY_ZERO:
    case EXCEPTION_FLT_INVALID_OPERATION:
    case EXCEPTION_FLT_OVERFLOW:
    case EXCEPTION_FLT_UNDERFLOW:
    case EXCEPTION_FLT_STACK_CHECK:
    case EXCEPTION_FLT_DENORMAL_OPERAND:
    case EXCEPTION_FLT_INEXACT_RESULT:
      return true;
    default:
      // Breakpoints, C++ exceptions, RPC exceptions and debug output are
      // not faults: they go their usual way.
      return false;
  }
}

LONG CALLBACK FaultHandler(EXCEPTION_POINTERS* info) {
  GuardFrame* frame = t_installed ? t_top : nullptr;
  if (!frame || !IsFault(info->ExceptionRecord->ExceptionCode)) return EXCEPTION_CONTINUE_SEARCH;
  frame->capture->record = *info->ExceptionRecord;
  frame->capture->record.ExceptionRecord = nullptr;  // the chain lives on the abandoned stack
  frame->capture->context = *info->ContextRecord;
  __builtin_longjmp(frame->jump, 1);
}

}  // namespace

void InstallTranslatorOnThisThread() {
  static PVOID handler = AddVectoredExceptionHandler(1, FaultHandler);
  (void)handler;
  t_installed = true;
  t_top = nullptr;
}

bool TranslatorInstalledOnThisThread() { return t_installed; }

void TranslateStructuredException(unsigned /*code*/, EXCEPTION_POINTERS* pointers) {
  // The record carries the code; the argument is not needed.
  const EXCEPTION_RECORD& r = *pointers->ExceptionRecord;
  ExceptionRecord record;
  record.exceptionCode = r.ExceptionCode;
  record.exceptionFlags = r.ExceptionFlags;
  record.exceptionAddress = reinterpret_cast<std::uintptr_t>(r.ExceptionAddress);
  record.numberParameters = r.NumberParameters;
  for (DWORD i = 0; i < r.NumberParameters && i < record.exceptionInformation.size(); ++i) {
    record.exceptionInformation[i] = r.ExceptionInformation[i];
  }
  std::vector<std::uint8_t> context(sizeof(CONTEXT));
  std::memcpy(context.data(), pointers->ContextRecord, sizeof(CONTEXT));
  throw CSE(record, std::move(context));
}

namespace detail {

// noinline: the setjmp buffer must belong to this frame, which stays live
// while the guarded call runs.
__attribute__((noinline)) bool RunGuarded(void (*call)(void*), void* context, FaultCapture& capture) {
  GuardFrame frame{};
  frame.capture = &capture;
  frame.previous = t_top;
#if defined(__i386__)
  frame.sehChain = reinterpret_cast<NT_TIB*>(NtCurrentTeb())->ExceptionList;
#endif
  if (__builtin_setjmp(frame.jump)) {
#if defined(__i386__)
    reinterpret_cast<NT_TIB*>(NtCurrentTeb())->ExceptionList =
        static_cast<EXCEPTION_REGISTRATION_RECORD*>(frame.sehChain);
#endif
    t_top = frame.previous;
    return false;
  }
  t_top = &frame;
  call(context);
  t_top = frame.previous;
  return true;
}

}  // namespace detail
}  // namespace os::win32
