#include "about/RegionRuns.h"

#include <algorithm>

namespace about {

RectangleList::RectangleList() : m_block(new RunRect[kGrowthStep]), m_capacity(kGrowthStep) {}

void RectangleList::Append(const RunRect& rect) {
  if (m_size == m_capacity) {
    std::unique_ptr<RunRect[]> larger(new RunRect[m_capacity + kGrowthStep]);
    std::copy(m_block.get(), m_block.get() + m_size, larger.get());
    m_block = std::move(larger);
    m_capacity += kGrowthStep;
  }
  m_block[m_size++] = rect;
}

void CollectOpaqueRuns(int width, int height, std::uint32_t key, const PixelReader& pixel, RectangleList& runs) {
  for (int y = height - 1; y >= 0; --y) {
    bool open = false;
    int start = 0;
    for (int x = 0; x < width; ++x) {
      const bool opaque = pixel(x, y) != key;
      if (!open && opaque) {
        open = true;
        start = x;
      } else if (open && !opaque) {
        runs.Append(RunRect{start, y, x, y + 1});
        open = false;
      }
    }
    // A run that reaches the last column has no key pixel to end it.
    if (open) runs.Append(RunRect{start, y, width, y + 1});
  }
}

}  // namespace about
