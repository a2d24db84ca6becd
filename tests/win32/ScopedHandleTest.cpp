// The handle owner on a real system: the error of a failed call must reach
// its caller even when the call's clean-up closes handles on the way out.
#include <gtest/gtest.h>
#include <windows.h>

#include "os/win32/ScopedHandle.h"

namespace {

TEST(ScopedHandleTest, ClosingLeavesTheLastErrorToTheCaller) {
  const HANDLE event = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  ASSERT_NE(event, nullptr);
  os::win32::ScopedKernelObject owner(event);
  // Closed behind the owner's back, so that the owner's own close fails and
  // sets an error of its own.
  CloseHandle(event);
  SetLastError(ERROR_FILE_NOT_FOUND);
  owner.reset();
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
}

}  // namespace
