// The About picture: the committed file is what the generator draws, and
// the picture keeps the properties the window depends on.
#include <gtest/gtest.h>

#include <cstdint>
#include <fstream>
#include <iterator>
#include <vector>

#include "about/AboutLayout.h"
#include "about/art/AboutArtwork.h"

namespace about::art {
namespace {

TEST(AboutArtworkTest, TheCommittedBitmapIsExactlyWhatTheGeneratorDraws) {
  std::ifstream in(TESSALY_ABOUT_BITMAP, std::ios::binary);
  ASSERT_TRUE(in) << TESSALY_ABOUT_BITMAP;
  const std::vector<std::uint8_t> committed((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  const std::vector<std::uint8_t> drawn = EncodeBmp(DrawAboutPicture());
  ASSERT_EQ(committed.size(), drawn.size());
  EXPECT_TRUE(committed == drawn) << "run the about_art target and commit res/About.bmp";
}

TEST(AboutArtworkTest, TheCornersAreKeyColourAndTheTextStandsOnPlainBlack) {
  const Picture p = DrawAboutPicture();
  for (auto [x, y] : {std::pair{0, 0}, {p.width - 1, 0}, {0, p.height - 1}, {p.width - 1, p.height - 1}}) {
    EXPECT_EQ(p.At(x, y), 0xFF00FFu) << x << "," << y;
  }
  // The control paints black; a black rim of two pixels around it hides any
  // seam.
  for (int y = kTextControlRect.top - 2; y < kTextControlRect.bottom + 2; ++y) {
    for (int x = kTextControlRect.left - 2; x < kTextControlRect.right + 2; ++x) {
      ASSERT_EQ(p.At(x, y), 0u) << x << "," << y;
    }
  }
}

// Every pixel of the window that touches the cut-out is a dark outline
// pixel: no pink or light fringe can show around the shaped window.
TEST(AboutArtworkTest, TheOutlineIsDarkWhereverItMeetsTheKeyColour) {
  const Picture p = DrawAboutPicture();
  int edgePixels = 0;
  for (int y = 0; y < p.height; ++y) {
    for (int x = 0; x < p.width; ++x) {
      const std::uint32_t c = p.At(x, y);
      if (c == 0xFF00FF) continue;
      bool edge = x == 0 || y == 0 || x == p.width - 1 || y == p.height - 1;
      for (auto [dx, dy] : {std::pair{1, 0}, {-1, 0}, {0, 1}, {0, -1}}) {
        const int nx = x + dx, ny = y + dy;
        if (nx >= 0 && ny >= 0 && nx < p.width && ny < p.height && p.At(nx, ny) == 0xFF00FF) edge = true;
      }
      if (!edge) continue;
      ++edgePixels;
      const int r = c >> 16 & 0xFF, g = c >> 8 & 0xFF, b = c & 0xFF;
      ASSERT_LT(r + g + b, 3 * 100) << "light edge pixel at " << x << "," << y;
      ASSERT_LT(std::abs(r - g) + std::abs(g - b), 60) << "tinted edge pixel at " << x << "," << y;
    }
  }
  EXPECT_GT(edgePixels, 1000);
}

}  // namespace
}  // namespace about::art
