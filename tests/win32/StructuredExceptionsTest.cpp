// The fault translator on a real system: a call that really faults, inside
// the spooler and in our own code, arrives as a CSE on a thread that
// installed the translator, and the thread goes on afterwards.
#include <gtest/gtest.h>
#include <windows.h>
#include <winspool.h>

#include <thread>

#include "os/win32/StructuredExceptions.h"

namespace os::win32 {
namespace {

std::uint32_t FaultCodeOf(void (*call)()) {
  try {
    CallTranslatingFaults(call);
  } catch (const CSE& e) {
    return e.code();
  }
  return 0;
}

TEST(StructuredExceptionsTest, AnAccessViolationInAGuardedCallBecomesACarriedException) {
  std::uint32_t code = 0;
  std::uint64_t address = 0;
  std::size_t contextSize = 0;
  std::thread worker([&] {
    InstallTranslatorOnThisThread();
    try {
      CallTranslatingFaults([] {
        volatile int* nowhere = nullptr;
        *nowhere = 1;
      });
    } catch (const CSE& e) {
      code = e.code();
      address = e.record().exceptionAddress;
      contextSize = e.context().size();
    }
  });
  worker.join();
  EXPECT_EQ(code, kAccessViolation);
  EXPECT_NE(address, 0u);
  EXPECT_EQ(contextSize, sizeof(CONTEXT));
}

TEST(StructuredExceptionsTest, AFaultInsideTheSpoolerIsCaughtAndTheThreadGoesOn) {
  std::uint32_t first = 0, second = 0;
  DWORD printersAfterwards = 0xFFFFFFFF;
  std::thread worker([&] {
    InstallTranslatorOnThisThread();
    // A buffer pointer into nowhere with a generous size: the spooler writes
    // the printer list through it.
    const auto badBuffer = [] {
      DWORD needed = 0, returned = 0;
      EnumPrintersW(PRINTER_ENUM_LOCAL, nullptr, 2, reinterpret_cast<BYTE*>(16), 1 << 20, &needed, &returned);
    };
    first = FaultCodeOf(badBuffer);
    second = FaultCodeOf(badBuffer);
    DWORD needed = 0, returned = 0;
    EnumPrintersW(PRINTER_ENUM_LOCAL, nullptr, 2, nullptr, 0, &needed, &returned);
    printersAfterwards = needed;
  });
  worker.join();
  EXPECT_EQ(first, kAccessViolation);
  EXPECT_EQ(second, kAccessViolation) << "the guard works again after a fault";
  EXPECT_NE(printersAfterwards, 0xFFFFFFFFu);
}

TEST(StructuredExceptionsTest, WithoutATranslatorTheCallRunsUnguarded) {
  bool ran = false;
  std::thread worker([&] { CallTranslatingFaults([&] { ran = true; }); });
  worker.join();
  EXPECT_TRUE(ran);
  EXPECT_FALSE(TranslatorInstalledOnThisThread());
}

}  // namespace
}  // namespace os::win32
