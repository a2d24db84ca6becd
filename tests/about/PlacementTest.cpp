// Where the About window stands for each centring bit.
#include <gtest/gtest.h>

#include "about/Placement.h"

namespace about {
namespace {

const Bounds kParent{100, 50, 397, 385};  // a 297 x 335 dialog
const Point kCurrent{7, 9};

TEST(PlacementTest, TheAboutWindowIsCentredOnTheFullScreenClientAreaTruncatingTowardZero) {
  EXPECT_EQ(PlaceWindow(kAboutWindowStyle, 448, 464, 1280, 1004, kParent, kCurrent), (Point{416, 270}));
  EXPECT_EQ(PlaceWindow(kAboutWindowStyle, 448, 464, 1023, 745, kParent, kCurrent), (Point{287, 140}));
  // A screen smaller than the picture: -1 / 2 is 0 and -3 / 2 is -1, not -1
  // and -2.
  EXPECT_EQ(PlaceWindow(kCentreOnScreen, 448, 464, 400, 300, kParent, kCurrent), (Point{-24, -82}));
  EXPECT_EQ(PlaceWindow(kCentreOnScreen, 448, 464, 447, 461, kParent, kCurrent), (Point{0, -1}));
}

TEST(PlacementTest, CentringOnTheParentAppliesOnlyWithoutScreenCentring) {
  EXPECT_EQ(PlaceWindow(kCentreOnParent, 100, 80, 1280, 1004, kParent, kCurrent), (Point{100 + 98, 50 + 127}));
  EXPECT_EQ(PlaceWindow(kCentreOnParent | kCentreOnScreen, 100, 80, 1280, 1004, kParent, kCurrent), (Point{590, 462}));
  EXPECT_EQ(PlaceWindow(kShowWindow | kCloseOnInput, 100, 80, 1280, 1004, kParent, kCurrent), kCurrent);
}

}  // namespace
}  // namespace about
