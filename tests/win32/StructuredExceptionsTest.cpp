// The fault translator on a real system: a call that really faults in our own
// code arrives as a CSE carrying the fault's record and context, on a thread
// that installed the translator; elsewhere the call just runs. A fault inside
// the spooler, caught again and again, is FaultGuardTest's.
#include "tests/win32/RealSystem.h"

namespace os::win32 {
namespace {

TEST(StructuredExceptionsTest, AnAccessViolationInAGuardedCallBecomesACarriedException) {
  std::uint32_t code = 0;
  std::uint64_t address = 0;
  std::size_t contextSize = 0;
  bool installedBefore = true, ranUnguarded = false;
  std::thread worker([&] {
    installedBefore = TranslatorInstalledOnThisThread();
    CallTranslatingFaults([&] { ranUnguarded = true; });
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
  EXPECT_FALSE(installedBefore) << "a new thread starts without the translator";
  EXPECT_TRUE(ranUnguarded);
  EXPECT_EQ(code, kAccessViolation);
  EXPECT_NE(address, 0u);
  EXPECT_EQ(contextSize, sizeof(CONTEXT));
}

}  // namespace
}  // namespace os::win32
