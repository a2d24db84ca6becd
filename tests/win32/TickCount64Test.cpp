// GetTickCount64 without importing it: the program's own stand-in answers
// with the system's function where there is one (Wine, Vista and later) and
// with GetTickCount widened to 64 bits where there is none (XP).
#include <windows.h>

#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <vector>

#include "os/win32/TickCount64.h"

namespace {

// Distance on the 32-bit tick's circle: a wrap between the reads is no error.
std::uint32_t Apart(std::uint32_t a, std::uint32_t b) { return a - b < b - a ? a - b : b - a; }

TEST(TickCount64Test, TheStandInAnswersWhatTheSystemsTickCountSays) {
  const std::uint32_t before = GetTickCount();
  const ULONGLONG through = GetTickCount64();  // through the program's own import slot
  const unsigned long long widened = os::win32::WidenedTickCount();
  EXPECT_LT(Apart(static_cast<std::uint32_t>(through), before), 1000u);
  EXPECT_LT(Apart(static_cast<std::uint32_t>(widened), before), 1000u);
}

TEST(TickCount64Test, TheWidenedCountNeverGoesBackOnAnyThread) {
  std::atomic<bool> wentBack{false};
  std::vector<std::thread> threads;
  for (int t = 0; t < 4; ++t) {
    threads.emplace_back([&] {
      unsigned long long last = os::win32::WidenedTickCount();
      for (int i = 0; i < 20000; ++i) {
        const unsigned long long now = os::win32::WidenedTickCount();
        // Another thread may have stored a tick this one read a moment
        // later; a step back of more than a tick's resolution is a fault.
        if (now + 64 < last) wentBack = true;
        if (now > last) last = now;
        if (i % 1000 == 0) Sleep(1);
      }
    });
  }
  for (auto& thread : threads) thread.join();
  EXPECT_FALSE(wentBack);
}

}  // namespace
