#pragma once
// Virtual time: Sleep advances the tick count at once, so a ten-second wait
// costs no real time. The counter wraps like GetTickCount.
#include "os/Clock.h"
#include "os/sim/Gate.h"

namespace os::sim {

class SimClock final : public Clock {
 public:
  explicit SimClock(Gate& gate) : gate_(gate) {}
  std::uint32_t TickCount() override {
    gate_.Enter(Op::ClockTickCount, L"");
    return tick_;
  }
  void Sleep(std::uint32_t milliseconds) override {
    gate_.Enter(Op::ClockSleep, L"");
    tick_ += milliseconds;
    slept_ += milliseconds;
  }

  std::uint32_t now() const { return tick_; }
  void Set(std::uint32_t tick) { tick_ = tick; }
  void Advance(std::uint32_t ms) { tick_ += ms; }
  std::uint64_t totalSlept() const { return slept_; }

 private:
  Gate& gate_;
  std::uint32_t tick_ = 1'000'000;
  std::uint64_t slept_ = 0;
};

}  // namespace os::sim
