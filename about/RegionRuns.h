#pragma once
// The window outline of the About picture as rectangles: one rectangle per
// horizontal run of pixels that differ from the key colour. Portable: the
// Windows side reads the pixels with GetPixel and merges the rectangles into
// a region.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>

namespace about {

// Right and bottom are exclusive, as for a Windows RECT.
struct RunRect {
  int left;
  int top;
  int right;
  int bottom;
  bool operator==(const RunRect&) const = default;
};

// The rectangles in the order they were found. The block grows by a fixed
// step so that a picture with a few hundred runs needs only a handful of
// reallocations and no more memory than a step beyond what it uses.
class RectangleList {
 public:
  static constexpr std::size_t kGrowthStep = 40;

  RectangleList();
  void Append(const RunRect& rect);
  std::size_t Size() const { return m_size; }
  std::size_t Capacity() const { return m_capacity; }
  const RunRect& operator[](std::size_t index) const { return m_block[index]; }
  const RunRect* begin() const { return m_block.get(); }
  const RunRect* end() const { return m_block.get() + m_size; }

 private:
  std::unique_ptr<RunRect[]> m_block;
  std::size_t m_size = 0;
  std::size_t m_capacity = 0;
};

// A pixel's colour as a COLORREF (0x00BBGGRR).
using PixelReader = std::function<std::uint32_t(int x, int y)>;

// Scans the rows from the bottom one up, each from left to right, and
// appends one rectangle per run of pixels whose colour is not exactly key.
void CollectOpaqueRuns(int width, int height, std::uint32_t key, const PixelReader& pixel, RectangleList& runs);

}  // namespace about
