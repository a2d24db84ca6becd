// The About window's outline: runs of opaque pixels become rectangles, rows
// from the bottom up, and the list that holds them keeps every rectangle as
// it grows.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "about/AboutLayout.h"
#include "about/RegionRuns.h"
#include "about/art/AboutArtwork.h"

namespace about {
namespace {

constexpr std::uint32_t kOpaque = 0x00336699;

// A picture drawn as text: '#' an opaque pixel, '.' the key colour, 'n' a
// colour one step away from the key.
std::vector<RunRect> RunsOf(const std::vector<std::string>& rows) {
  const int height = static_cast<int>(rows.size());
  const int width = static_cast<int>(rows.front().size());
  RectangleList list;
  CollectOpaqueRuns(width, height, kKeyColour,
                    [&](int x, int y) -> std::uint32_t {
                      switch (rows[y][x]) {
                        case '.': return kKeyColour;
                        case 'n': return 0x00FE00FF;
                        default: return kOpaque;
                      }
                    },
                    list);
  return std::vector<RunRect>(list.begin(), list.end());
}

TEST(RegionRunsTest, RowsAreScannedFromTheBottomUpAndEachRunBecomesOneRectangle) {
  const auto runs = RunsOf({
      "##..##",  // y = 0
      ".####.",  // y = 1
      "#.#.#.",  // y = 2
  });
  const std::vector<RunRect> expected = {
      {0, 2, 1, 3}, {2, 2, 3, 3}, {4, 2, 5, 3},  // bottom row first, left to right
      {1, 1, 5, 2},
      {0, 0, 2, 1}, {4, 0, 6, 1},  // ends in the last column: right is the width
  };
  EXPECT_EQ(runs, expected);
}

TEST(RegionRunsTest, ARowWhoseOnlyOpaquePixelIsTheLastGivesOnePixelAndTheRowAboveNothing) {
  const auto runs = RunsOf({
      "....",  // y = 0: nothing
      "...#",  // y = 1
      "#...",  // y = 2
  });
  const std::vector<RunRect> expected = {{0, 2, 1, 3}, {3, 1, 4, 2}};
  EXPECT_EQ(runs, expected);
}

TEST(RegionRunsTest, OnlyTheExactKeyColourIsLeftOut) {
  EXPECT_EQ(RunsOf({"n.n"}), (std::vector<RunRect>{{0, 0, 1, 1}, {2, 0, 3, 1}}));
  EXPECT_EQ(RunsOf({"###"}), (std::vector<RunRect>{{0, 0, 3, 1}}));
  EXPECT_TRUE(RunsOf({"...", "..."}).empty());
}

TEST(RegionRunsTest, TheListGrowsByFortyAndKeepsEveryRectangleInOrder) {
  RectangleList list;
  EXPECT_EQ(list.Capacity(), 40u);
  for (int i = 0; i < 85; ++i) {
    list.Append(RunRect{i, i, i + 1, i + 1});
    EXPECT_EQ(list.Capacity(), (list.Size() + 39) / 40 * 40) << "after " << list.Size();
  }
  ASSERT_EQ(list.Size(), 85u);
  for (int i = 0; i < 85; ++i) EXPECT_EQ(list[static_cast<std::size_t>(i)], (RunRect{i, i, i + 1, i + 1}));
}

// The committed picture's outline: its runs cover exactly its opaque
// pixels, and the text control lies wholly inside the window.
TEST(RegionRunsTest, TheAboutPictureGivesAFewHundredRunsThatCoverExactlyItsOpaquePixels) {
  const art::Picture picture = art::DrawAboutPicture();
  RectangleList runs;
  // The picture holds 0x00RRGGBB; magenta reads the same as a COLORREF.
  CollectOpaqueRuns(picture.width, picture.height, kKeyColour,
                    [&](int x, int y) { return picture.At(x, y); }, runs);
  EXPECT_GE(runs.Size(), 100u);
  EXPECT_LE(runs.Size(), 1000u);

  std::vector<int> covered(static_cast<std::size_t>(picture.width * picture.height), 0);
  int previousTop = picture.height;
  for (const RunRect& r : runs) {
    EXPECT_LE(r.top, previousTop) << "rows go from the bottom up";
    previousTop = r.top;
    for (int x = r.left; x < r.right; ++x) ++covered[static_cast<std::size_t>(r.top * picture.width + x)];
  }
  int mismatches = 0;
  for (int y = 0; y < picture.height; ++y) {
    for (int x = 0; x < picture.width; ++x) {
      const int expected = picture.At(x, y) == kKeyColour ? 0 : 1;
      if (covered[static_cast<std::size_t>(y * picture.width + x)] != expected) ++mismatches;
    }
  }
  EXPECT_EQ(mismatches, 0);

  for (int y = kTextControlRect.top; y < kTextControlRect.bottom; ++y) {
    for (int x = kTextControlRect.left; x < kTextControlRect.right; ++x) {
      ASSERT_EQ(covered[static_cast<std::size_t>(y * picture.width + x)], 1) << x << "," << y;
    }
  }
}

}  // namespace
}  // namespace about
