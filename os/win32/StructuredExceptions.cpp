#include "os/win32/StructuredExceptions.h"

#include <cstdlib>
#include <cstring>
#include <vector>

namespace os::win32 {
namespace {

thread_local bool t_installed = false;

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

// Whether the guard takes this exception. Unwind calls are not ours to act on
// (the guard only asked for dispatch calls, but a foreign unwinder may still
// pass by), and a thread without the translator keeps the usual way.
bool Takes(const EXCEPTION_RECORD& record) {
  if (record.ExceptionFlags & (EXCEPTION_UNWINDING | EXCEPTION_EXIT_UNWIND)) return false;
  return t_installed && IsFault(record.ExceptionCode);
}

// Taken before the unwind: it marks the record as unwinding and the context
// record is its scratch space.
void Capture(detail::FaultCapture& capture, const EXCEPTION_RECORD& record, const CONTEXT& context) {
  capture.record = record;
  capture.record.ExceptionRecord = nullptr;  // a nested record lives on the stack being unwound
  capture.context = context;
}

}  // namespace

#if defined(__x86_64__)

// Where RunGuarded keeps the capture: the first slot above the home area of
// its frame, whose address is the establisher frame (no frame register).
constexpr std::size_t kCaptureSlot = 32;

// The resume point inside RunGuarded: it returns false from there.
void RunGuardedResume() __asm__("tessaly_RunGuardedResume");

extern "C" __attribute__((used)) EXCEPTION_DISPOSITION GuardHandler(EXCEPTION_RECORD* record, void* frame,
                                                                    CONTEXT* context,
                                                                    DISPATCHER_CONTEXT* dispatch) __asm__(
    "tessaly_GuardHandler");

EXCEPTION_DISPOSITION GuardHandler(EXCEPTION_RECORD* record, void* frame, CONTEXT* context,
                                   DISPATCHER_CONTEXT* dispatch) {
  if (!Takes(*record)) return ExceptionContinueSearch;
  Capture(**reinterpret_cast<detail::FaultCapture**>(static_cast<char*>(frame) + kCaptureSlot), *record, *context);
  // Every frame between the fault and RunGuarded gets its unwind call (a
  // system library's __finally leaves its lock); the context comes back at
  // the resume point with RunGuarded's stack pointer and non-volatile
  // registers as they were at its call.
  RtlUnwindEx(frame, reinterpret_cast<void*>(&RunGuardedResume), record, nullptr, context, dispatch->HistoryTable);
  std::abort();  // the unwind does not come back
}

// The frame is laid out by hand so that its unwind data names GuardHandler as
// its exception handler and the capture sits at a known place in it.
__asm__(R"(
  .text
  .p2align 4
  .globl tessaly_RunGuarded
  .def tessaly_RunGuarded; .scl 2; .type 32; .endef
  .seh_proc tessaly_RunGuarded
tessaly_RunGuarded:
  subq $40, %rsp
  .seh_stackalloc 40
  .seh_endprologue
  .seh_handler tessaly_GuardHandler, @except
  movq %r8, 32(%rsp)        # the capture, at kCaptureSlot
  movq %rcx, %rax
  movq %rdx, %rcx
  call *%rax
  movl $1, %eax
.Lguard_leave:
  addq $40, %rsp
  ret
# The unwind lands here with RSP at the establisher frame.
tessaly_RunGuardedResume:
  xorl %eax, %eax
  jmp .Lguard_leave
  .seh_endproc
)");

#elif defined(__i386__)

// The exception registration RunGuarded links into the thread's handler
// chain, with what the handler needs after the system's two words.
struct GuardRegistration {
  EXCEPTION_REGISTRATION_RECORD* next;
  void* handler;
  detail::FaultCapture* capture;
  void* frameBase;  // RunGuarded's EBP, from which the resume rebuilds its frame
};

// Unwinds the registrations above ours and resumes RunGuarded, which removes
// its own registration and returns false.
[[noreturn]] void UnwindToGuard(GuardRegistration* registration, EXCEPTION_RECORD* record) __asm__(
    "tessaly_UnwindToGuard");

extern "C" __attribute__((used)) EXCEPTION_DISPOSITION GuardHandler(EXCEPTION_RECORD* record, void* frame,
                                                                    CONTEXT* context, void* dispatch) __asm__(
    "tessaly_GuardHandler");

EXCEPTION_DISPOSITION GuardHandler(EXCEPTION_RECORD* record, void* frame, CONTEXT* context, void* /*dispatch*/) {
  if (!Takes(*record)) return ExceptionContinueSearch;
  auto* registration = static_cast<GuardRegistration*>(frame);
  Capture(*registration->capture, *record, *context);
  UnwindToGuard(registration, record);
}

// RtlUnwind calls every handler registered above ours with the unwinding
// flag and unlinks it, then comes back to its caller (Windows ignores the
// target address here) with the non-volatile registers clobbered: only the
// stack is trusted afterwards. RunGuarded saves the caller's non-volatile
// registers below its EBP, so resuming rebuilds everything from EBP.
__asm__(R"(
  .text
  .p2align 4
  .globl tessaly_RunGuarded
  .def tessaly_RunGuarded; .scl 2; .type 32; .endef
tessaly_RunGuarded:
  .cfi_startproc
  pushl %ebp
  .cfi_def_cfa_offset 8
  .cfi_offset %ebp, -8
  movl %esp, %ebp
  .cfi_def_cfa_register %ebp
  pushl %ebx
  pushl %esi
  pushl %edi
  .cfi_offset %ebx, -12
  .cfi_offset %esi, -16
  .cfi_offset %edi, -20
  subl $16, %esp            # the GuardRegistration, at EBP-28
  movl %fs:0, %eax
  movl %eax, 0(%esp)
  movl $tessaly_GuardHandler, 4(%esp)
  movl 16(%ebp), %eax
  movl %eax, 8(%esp)
  movl %ebp, 12(%esp)
  movl %esp, %fs:0
  andl $-16, %esp           # the callee may assume GCC's 16-byte alignment
  subl $12, %esp
  pushl 12(%ebp)
  call *8(%ebp)
  movl $1, %eax
.Lguard_leave:
  movl -28(%ebp), %ecx      # unlink: the chain as it was before us
  movl %ecx, %fs:0
  leal -12(%ebp), %esp
  .cfi_remember_state
  popl %edi
  popl %esi
  popl %ebx
  popl %ebp
  .cfi_def_cfa %esp, 4
  ret
.Lguard_resume:
  .cfi_restore_state
  xorl %eax, %eax
  jmp .Lguard_leave
  .cfi_endproc

  .p2align 4
  .globl tessaly_UnwindToGuard
  .def tessaly_UnwindToGuard; .scl 2; .type 32; .endef
tessaly_UnwindToGuard:
  pushl $0
  pushl 12(%esp)
  pushl $.Lguard_unwound
  pushl 16(%esp)
  call *__imp__RtlUnwind@16
.Lguard_unwound:
  movl 4(%esp), %eax
  movl 12(%eax), %ebp
  jmp .Lguard_resume
)");

#else
#error "the fault guard knows the exception handling of x64 and x86 only"
#endif

void InstallTranslatorOnThisThread() { t_installed = true; }

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

}  // namespace os::win32
