#pragma once
// Where the About window stands, from its style bits. Portable: the Windows
// side supplies the full-screen client size and the parent's rectangle.
#include <cstdint>

namespace about {

// Bits of the About window's style word.
inline constexpr std::uint32_t kShowWindow = 0x01;        // plain SW_SHOW when AnimateWindow exists
inline constexpr std::uint32_t kHideBeforeClose = 0x02;   // SW_HIDE before DestroyWindow, same condition
inline constexpr std::uint32_t kDropShadow = 0x04;        // CS_DROPSHADOW on the class
inline constexpr std::uint32_t kCentreOnScreen = 0x08;
inline constexpr std::uint32_t kCentreOnParent = 0x10;
inline constexpr std::uint32_t kCloseOnInput = 0x20;      // any key or mouse-button press closes it
inline constexpr std::uint32_t kAboutWindowStyle = kShowWindow | kHideBeforeClose | kCentreOnScreen | kCloseOnInput;

struct Point {
  int x;
  int y;
  bool operator==(const Point&) const = default;
};

struct Bounds {
  int left;
  int top;
  int right;
  int bottom;
};

// The position for a window of width x height. Centring on the screen uses
// the full-screen client area, so a screen smaller than the window gives a
// negative position; the divisions truncate toward zero. Without either
// centring bit the current position stays.
Point PlaceWindow(std::uint32_t style, int width, int height, int fullScreenWidth, int fullScreenHeight,
                  const Bounds& parentWindow, Point current);

}  // namespace about
