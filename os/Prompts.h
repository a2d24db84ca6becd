#pragma once
#include <cstdint>
#include <string_view>

namespace os {

using WindowId = std::uintptr_t;  // an HWND; 0 for no owner

namespace mb {
inline constexpr std::uint32_t kOk = 0x0;
inline constexpr std::uint32_t kOkCancel = 0x1;
inline constexpr std::uint32_t kYesNo = 0x4;
inline constexpr std::uint32_t kIconError = 0x10;
inline constexpr std::uint32_t kIconWarning = 0x30;
inline constexpr std::uint32_t kDefButton2 = 0x100;

inline constexpr int kIdOk = 1;
inline constexpr int kIdCancel = 2;
inline constexpr int kIdYes = 6;
inline constexpr int kIdNo = 7;
}  // namespace mb

class Prompts {
 public:
  virtual ~Prompts() = default;
  // MessageBoxW: the id of the button the user pressed, 0 on failure.
  virtual int Show(WindowId owner, std::wstring_view text, std::wstring_view caption, std::uint32_t style) = 0;
};

}  // namespace os
