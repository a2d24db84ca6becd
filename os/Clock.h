#pragma once
#include <cstdint>

namespace os {

class Clock {
 public:
  virtual ~Clock() = default;
  virtual std::uint32_t TickCount() = 0;  // GetTickCount: milliseconds, wraps after 49.7 days
  virtual void Sleep(std::uint32_t milliseconds) = 0;
};

}  // namespace os
