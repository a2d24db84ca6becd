#include "about/Placement.h"

namespace about {

Point PlaceWindow(std::uint32_t style, int width, int height, int fullScreenWidth, int fullScreenHeight,
                  const Bounds& parentWindow, Point current) {
  if (style & kCentreOnScreen) return Point{(fullScreenWidth - width) / 2, (fullScreenHeight - height) / 2};
  if (style & kCentreOnParent) {
    return Point{parentWindow.left + (parentWindow.right - parentWindow.left - width) / 2,
                 parentWindow.top + (parentWindow.bottom - parentWindow.top - height) / 2};
  }
  return current;
}

}  // namespace about
