#pragma once
// The About picture, drawn by program so that it can be regenerated and
// checked: a printer with a printed sheet on a key-colour ground. The outline
// is hard-edged on purpose: every pixel that is not exactly the key colour
// belongs to the window, so anti-aliasing against the key colour would leave
// a pink fringe around the window.
#include <cstdint>
#include <vector>

namespace about::art {

// Top-down rows of 0x00RRGGBB pixels, kAboutBitmapWidth x kAboutBitmapHeight.
struct Picture {
  int width = 0;
  int height = 0;
  std::vector<std::uint32_t> pixels;
  std::uint32_t At(int x, int y) const { return pixels[static_cast<std::size_t>(y) * width + x]; }
};

Picture DrawAboutPicture();

// The picture as a 24-bit bottom-up .bmp file, as the resource compiler
// takes it.
std::vector<std::uint8_t> EncodeBmp(const Picture& picture);

}  // namespace about::art
