// The About window's outline: runs of opaque pixels become rectangles, rows
// from the bottom up. The committed picture's own region is checked on a real system
// (tests/about/win32).
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "about/AboutLayout.h"
#include "about/RegionRuns.h"

namespace about {
namespace {

// A picture drawn as text: '#' an opaque pixel, '.' the key colour, 'n' a
// colour one step away from the key.
std::vector<RunRect> RunsOf(const std::vector<std::string>& rows) {
  RectangleList list;
  CollectOpaqueRuns(static_cast<int>(rows.front().size()), static_cast<int>(rows.size()), kKeyColour,
                    [&](int x, int y) -> std::uint32_t {
                      switch (rows[y][x]) {
                        case '.': return kKeyColour;
                        case 'n': return 0x00FE00FF;
                        default: return 0x00336699;
                      }
                    },
                    list);
  return std::vector<RunRect>(list.begin(), list.end());
}

TEST(RegionRunsTest, RowsAreScannedFromTheBottomUpAndEachRunOfNonKeyPixelsBecomesOneRectangle) {
  const std::vector<RunRect> expected = {
      {0, 2, 1, 3}, {2, 2, 3, 3}, {4, 2, 5, 3},  // bottom row first, left to right
      {1, 1, 5, 2},
      {0, 0, 2, 1}, {4, 0, 6, 1},  // ends in the last column: right is the width
  };
  EXPECT_EQ(RunsOf({"##..##", ".####.", "#.#.#."}), expected);
  // Only the exact key colour is left out.
  EXPECT_EQ(RunsOf({"n.n"}), (std::vector<RunRect>{{0, 0, 1, 1}, {2, 0, 3, 1}}));
  EXPECT_TRUE(RunsOf({"...", "..."}).empty());
}

TEST(RegionRunsTest, ARowWhoseOnlyOpaquePixelIsTheLastGivesOnePixelAndTheRowAboveNothing) {
  const auto runs = RunsOf({
      "....",  // y = 0: nothing
      "...#",  // y = 1
      "#...",  // y = 2
  });
  EXPECT_EQ(runs, (std::vector<RunRect>{{0, 2, 1, 3}, {3, 1, 4, 2}}));
}

}  // namespace
}  // namespace about
