// The About picture: the committed file is what the generator draws. The
// window's shape cut from it is checked on a real system (tests/about/win32).
#include <gtest/gtest.h>

#include <cstdint>
#include <fstream>
#include <iterator>
#include <vector>

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

}  // namespace
}  // namespace about::art
