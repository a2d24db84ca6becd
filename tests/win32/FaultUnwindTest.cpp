// The fault guard on the real system: a fault arrives as a CSE carrying its
// record and context, the frames between the guard and the fault get their
// termination handlers run (a lock a system library took in a __try/__finally
// is released), a fault that a frame below the guard handles itself never
// reaches the guard, and guards nest and go on working after a fault. That
// the spooler answers after a fault inside it is FaultGuardTest's.
//
// The frames standing for a system library's __try/__finally and
// __try/__except are written in assembly with a scope table for the system's
// own __C_specific_handler, which is exactly what such a library's compiler
// emits; GCC cannot emit them itself.
#include <windows.h>

#include <atomic>
#include <chrono>
#include <future>
#include <memory>
#include <stdexcept>

#include "tests/win32/RealSystem.h"

#if defined(__x86_64__)
extern "C" {
// Enters lock, runs call(arg), leaves lock; the leaving is also the
// termination handler of the call, as in a __try/__finally.
void tessaly_test_HoldingLock(void (*call)(void*), void* arg, CRITICAL_SECTION* lock);
// 1 when call(arg) returned, 0 when its fault was handled by this frame's own
// __except.
int tessaly_test_HandlingFaults(void (*call)(void*), void* arg);

std::atomic<int> tessaly_test_abnormalReleases{0};

// Called by __C_specific_handler while the unwind passes HoldingLock's frame;
// the lock sits in the frame's first slot above the home area.
void tessaly_test_ReleaseOnUnwind(BOOLEAN abnormal, void* frame) {
  if (abnormal) ++tessaly_test_abnormalReleases;
  LeaveCriticalSection(*reinterpret_cast<CRITICAL_SECTION**>(static_cast<char*>(frame) + 32));
}

LONG tessaly_test_AcceptFaults(EXCEPTION_POINTERS* pointers, void* /*frame*/) {
  return pointers->ExceptionRecord->ExceptionCode == EXCEPTION_ACCESS_VIOLATION ? EXCEPTION_EXECUTE_HANDLER
                                                                                 : EXCEPTION_CONTINUE_SEARCH;
}
}

__asm__(R"(
  .text
  .p2align 4
  .globl tessaly_test_HoldingLock
  .def tessaly_test_HoldingLock; .scl 2; .type 32; .endef
  .seh_proc tessaly_test_HoldingLock
tessaly_test_HoldingLock:
  pushq %rsi
  .seh_pushreg %rsi
  pushq %rdi
  .seh_pushreg %rdi
  subq $40, %rsp
  .seh_stackalloc 40
  .seh_endprologue
  movq %rcx, %rsi
  movq %rdx, %rdi
  movq %r8, 32(%rsp)
  movq %r8, %rcx
  call *__imp_EnterCriticalSection(%rip)
.Lheld_begin:
  movq %rdi, %rcx
  call *%rsi
  nop
.Lheld_end:
  movq 32(%rsp), %rcx
  call *__imp_LeaveCriticalSection(%rip)
  addq $40, %rsp
  popq %rdi
  popq %rsi
  ret
  .seh_handler __C_specific_handler, @except, @unwind
  .seh_handlerdata
  .long 1
  .rva .Lheld_begin, .Lheld_end, tessaly_test_ReleaseOnUnwind
  .long 0
  .text
  .seh_endproc

  .p2align 4
  .globl tessaly_test_HandlingFaults
  .def tessaly_test_HandlingFaults; .scl 2; .type 32; .endef
  .seh_proc tessaly_test_HandlingFaults
tessaly_test_HandlingFaults:
  subq $40, %rsp
  .seh_stackalloc 40
  .seh_endprologue
  movq %rcx, %rax
  movq %rdx, %rcx
.Ltry_begin:
  call *%rax
  nop
.Ltry_end:
  movl $1, %eax
  addq $40, %rsp
  ret
.Lhandled:
  xorl %eax, %eax
  addq $40, %rsp
  ret
  .seh_handler __C_specific_handler, @except
  .seh_handlerdata
  .long 1
  .rva .Ltry_begin, .Ltry_end, tessaly_test_AcceptFaults, .Lhandled
  .text
  .seh_endproc
)");
#endif

namespace realsystem {
namespace {

using os::win32::CallTranslatingFaults;

void WriteIntoNowhere(void*) {
  volatile int* nowhere = nullptr;
  *nowhere = 1;
}

#if defined(__x86_64__)

using namespace std::chrono_literals;

// Runs work on a thread of its own and waits at most limit for it. A call
// that hangs leaves its thread behind and fails the case instead of hanging
// the suite, so whatever work touches must be owned by the thread.
template <class F>
bool CompletesWithin(std::chrono::milliseconds limit, F work) {
  auto done = std::make_shared<std::promise<void>>();
  auto finished = done->get_future();
  std::thread([done, work = std::move(work)]() mutable {
    work();
    done->set_value();
  }).detach();
  return finished.wait_for(limit) == std::future_status::ready;
}

void SpoolerIntoNowhere(void*) { EnumPrintersIntoNowhere(); }

TEST(FaultUnwindTest, ALockTakenInAFinallyFrameBetweenTheGuardAndTheFaultIsReleased) {
  struct Case {
    const char* name;
    void (*fault)(void*);
  };
  for (const Case& c : {Case{"a write through null", WriteIntoNowhere},
                        Case{"the spooler writing into nowhere", SpoolerIntoNowhere}}) {
    SCOPED_TRACE(c.name);
    // Left allocated when a case fails: a thread may still be waiting on it.
    auto* lock = new CRITICAL_SECTION;
    InitializeCriticalSection(lock);
    const int releasesBefore = tessaly_test_abnormalReleases;
    std::uint32_t code = 0;
    OnWorkerThread([&] {
      try {
        CallTranslatingFaults([&] { tessaly_test_HoldingLock(c.fault, nullptr, lock); });
      } catch (const os::CSE& e) {
        code = e.code();
      }
    });
    EXPECT_EQ(code, os::kAccessViolation);
    EXPECT_EQ(tessaly_test_abnormalReleases - releasesBefore, 1) << "the termination handler ran once, abnormally";
    const bool taken = CompletesWithin(3s, [lock] {
      EnterCriticalSection(lock);
      LeaveCriticalSection(lock);
    });
    EXPECT_TRUE(taken) << "another thread could not take the lock the faulting frame held";
    if (!taken) continue;
    DeleteCriticalSection(lock);
    delete lock;
  }
}

TEST(FaultUnwindTest, AFaultAFrameBelowTheGuardHandlesItselfNeverReachesTheGuard) {
  int ownVerdict = -1;
  bool returned = false, translated = false;
  OnWorkerThread([&] {
    try {
      CallTranslatingFaults([&] { ownVerdict = tessaly_test_HandlingFaults(SpoolerIntoNowhere, nullptr); });
      returned = true;
    } catch (const os::CSE&) {
      translated = true;
    }
  });
  EXPECT_EQ(ownVerdict, 0) << "the frame's own __except took the fault";
  EXPECT_TRUE(returned);
  EXPECT_FALSE(translated);
}

TEST(FaultUnwindTest, OnAThreadWithoutTheTranslatorAFaultPassesTheGuardToTheFramesAbove) {
  // The guard itself, as if the thread had installed the translator, on a
  // thread that has not: its handler lets the fault go on to the frame above.
  int ownVerdict = -1;
  std::thread bare([&] {
    ownVerdict = tessaly_test_HandlingFaults(
        [](void*) {
          os::win32::detail::FaultCapture capture{};
          os::win32::detail::RunGuarded(WriteIntoNowhere, nullptr, capture);
        },
        nullptr);
  });
  bare.join();
  EXPECT_EQ(ownVerdict, 0);
}

#else

// The frames that stand for a system library's __try/__finally and
// __try/__except carry x64 unwind data; an x86 library registers its frames
// on FS:[0] instead, which these cases do not build.
TEST(FaultUnwindTest, SystemLibraryFramesBetweenTheGuardAndTheFault) {
  GTEST_SKIP() << "x86: the system-library frames of these cases are written for x64 unwinding only";
}

#endif  // __x86_64__

TEST(FaultUnwindTest, GuardsNestAndLetCxxExceptionsThrough) {
  std::uint32_t inner = 0;
  std::uint64_t innerAddress = 0;
  std::size_t innerContextSize = 0;
  bool outerReturned = false, passedThrough = false, stillGuards = false;
  OnWorkerThread([&] {
    CallTranslatingFaults([&] {
      try {
        CallTranslatingFaults([] { WriteIntoNowhere(nullptr); });
      } catch (const os::CSE& e) {
        inner = e.code();
        innerAddress = e.record().exceptionAddress;
        innerContextSize = e.context().size();
      }
    });
    outerReturned = true;
    try {
      CallTranslatingFaults([] { throw std::runtime_error("through"); });
    } catch (const std::runtime_error&) {
      passedThrough = true;
    }
    try {
      CallTranslatingFaults([] { WriteIntoNowhere(nullptr); });
    } catch (const os::CSE& e) {
      stillGuards = e.code() == os::kAccessViolation;
    }
  });
  EXPECT_EQ(inner, os::kAccessViolation) << "the inner guard catches";
  EXPECT_NE(innerAddress, 0u) << "the CSE carries the fault's record";
  EXPECT_EQ(innerContextSize, sizeof(CONTEXT)) << "and its context";
  EXPECT_TRUE(outerReturned) << "the outer guarded call returns normally";
  EXPECT_TRUE(passedThrough);
  EXPECT_TRUE(stillGuards) << "a C++ exception through the guard leaves it working";
}

TEST(FaultUnwindTest, CxxCleanupsOfOurOwnFramesBetweenTheGuardAndTheFault) {
  bool released = false;
  std::uint32_t code = 0;
  OnWorkerThread([&] {
    struct Releases {
      bool& released;
      ~Releases() { released = true; }
    };
    try {
      CallTranslatingFaults([&] {
        Releases guard{released};
        WriteIntoNowhere(nullptr);
      });
    } catch (const os::CSE& e) {
      code = e.code();
    }
  });
  ASSERT_EQ(code, os::kAccessViolation);
  if (!released) {
    GTEST_SKIP() << "GCC's personality routine passes over exceptions that are not its own C++ throws, so a "
                    "destructor in a GCC-compiled frame between the guard and the fault is not run; guarded calls "
                    "must hold no C++ lock of ours";
  }
}

}  // namespace
}  // namespace realsystem
