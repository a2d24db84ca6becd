#include "about/art/AboutArtwork.h"

#include <algorithm>
#include <cmath>
#include <functional>

#include "about/AboutLayout.h"

namespace about::art {
namespace {

// Shapes are signed distance functions in pixels (negative inside), sampled
// at pixel centres. Only sqrt, atan2, sin and cos of exact inputs are used,
// so a rebuild draws the same bytes.
using Distance = std::function<double(double x, double y)>;

struct Colour {
  double r, g, b;
};

constexpr Colour Rgb(int r, int g, int b) { return Colour{double(r), double(g), double(b)}; }

Colour Mix(const Colour& a, const Colour& b, double t) {
  return Colour{a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t};
}

constexpr double kPi = 3.14159265358979323846;

double Length(double x, double y) { return std::sqrt(x * x + y * y); }

Distance RoundedBox(double left, double top, double right, double bottom, double radius) {
  return [=](double x, double y) {
    const double qx = std::fabs(x - (left + right) / 2) - ((right - left) / 2 - radius);
    const double qy = std::fabs(y - (top + bottom) / 2) - ((bottom - top) / 2 - radius);
    return Length(std::max(qx, 0.0), std::max(qy, 0.0)) + std::min(std::max(qx, qy), 0.0) - radius;
  };
}

Distance Disc(double cx, double cy, double radius) {
  return [=](double x, double y) { return Length(x - cx, y - cy) - radius; };
}

// A stroke of the given half-width along a segment.
Distance Stroke(double ax, double ay, double bx, double by, double halfWidth) {
  return [=](double x, double y) {
    const double dx = bx - ax, dy = by - ay;
    const double t = std::clamp(((x - ax) * dx + (y - ay) * dy) / (dx * dx + dy * dy), 0.0, 1.0);
    return Length(x - ax - t * dx, y - ay - t * dy) - halfWidth;
  };
}

// A stroke along an elliptic arc (radius stretched horizontally by
// stretch). Angles in degrees, clockwise on the screen from the +x axis.
Distance ArcStroke(double cx, double cy, double radius, double stretch, double startDeg, double sweepDeg,
                   double halfWidth) {
  const double a0 = startDeg * kPi / 180, a1 = (startDeg + sweepDeg) * kPi / 180;
  const double e0x = cx + std::cos(a0) * radius * stretch, e0y = cy + std::sin(a0) * radius;
  const double e1x = cx + std::cos(a1) * radius * stretch, e1y = cy + std::sin(a1) * radius;
  return [=](double x, double y) {
    const double ux = (x - cx) / stretch, uy = y - cy;
    double angle = std::atan2(uy, ux) * 180 / kPi - startDeg;
    angle = std::fmod(angle + 720.0, 360.0);
    double d;
    if (angle <= sweepDeg) {
      d = std::fabs(Length(ux, uy) - radius);
    } else {
      d = std::min(Length(x - e0x, y - e0y), Length(x - e1x, y - e1y));
    }
    return d - halfWidth;
  };
}

Distance Union(std::vector<Distance> parts) {
  return [parts = std::move(parts)](double x, double y) {
    double d = 1e9;
    for (const auto& part : parts) d = std::min(d, part(x, y));
    return d;
  };
}

Distance Intersect(Distance a, Distance b) {
  return [=](double x, double y) { return std::max(a(x, y), b(x, y)); };
}

// Below the line y = limit (for cutting shapes off at an edge).
Distance Above(double limit) {
  return [=](double, double y) { return y - limit; };
}

double Coverage(double distance) { return std::clamp(0.5 - distance, 0.0, 1.0); }

class Canvas {
 public:
  Canvas(int width, int height, const Colour& ground)
      : m_width(width), m_height(height), m_pixels(static_cast<std::size_t>(width) * height, ground) {}

  // A shape with an outline of the given width inside its edge.
  void Fill(const Distance& shape, const std::function<Colour(double x, double y)>& fill, double outline = 0,
            const Colour& outlineColour = Rgb(0, 0, 0)) {
    ForEach([&](double x, double y, Colour& pixel) {
      const double d = shape(x, y);
      if (d > 1) return;
      if (outline > 0) pixel = Mix(pixel, outlineColour, Coverage(d));
      pixel = Mix(pixel, fill(x, y), Coverage(d + outline));
    });
  }
  void Fill(const Distance& shape, const Colour& colour, double outline = 0,
            const Colour& outlineColour = Rgb(0, 0, 0)) {
    Fill(shape, [&](double, double) { return colour; }, outline, outlineColour);
  }
  // Darkens (amount > 0) or lightens (amount < 0) a band along the inside of
  // a shape's edge, inset pixels in (to spare its outline), fading out over
  // width pixels.
  void Shade(const Distance& shape, double inset, const Distance& limit, double width, double amount) {
    ForEach([&](double x, double y, Colour& pixel) {
      const double d = shape(x, y) + inset;
      if (d > 0 || d < -width - 1) return;
      const double t = Coverage(limit(x, y)) * (1 - std::clamp(-d / width, 0.0, 1.0));
      pixel = Mix(pixel, amount > 0 ? Rgb(0, 0, 0) : Rgb(255, 255, 255), t * std::fabs(amount));
    });
  }

  const Colour& At(int x, int y) const { return m_pixels[static_cast<std::size_t>(y) * m_width + x]; }

 private:
  template <class Visit>
  void ForEach(Visit&& visit) {
    for (int y = 0; y < m_height; ++y) {
      for (int x = 0; x < m_width; ++x) visit(x + 0.5, y + 0.5, m_pixels[static_cast<std::size_t>(y) * m_width + x]);
    }
  }

  int m_width;
  int m_height;
  std::vector<Colour> m_pixels;
};

std::function<Colour(double, double)> Vertical(double top, const Colour& upper, double bottom, const Colour& lower) {
  return [=](double, double y) { return Mix(upper, lower, std::clamp((y - top) / (bottom - top), 0.0, 1.0)); };
}

// "Tessaly" in strokes, font units: x-height 30, cap height 42, baseline
// at y = 0. Round letters are stretched a little so they do not look
// narrow beside the T.
Distance Title(double left, double baseline, double scale, double halfWidth) {
  const double w = 3;  // stroke half-width in font units, for the end points
  std::vector<Distance> strokes;
  auto at = [&](double x, double y) { return std::pair<double, double>{left + x * scale, baseline + y * scale}; };
  auto line = [&](double x0, double y0, double x1, double y1) {
    const auto [ax, ay] = at(x0, y0);
    const auto [bx, by] = at(x1, y1);
    strokes.push_back(Stroke(ax, ay, bx, by, halfWidth));
  };
  auto arc = [&](double cx, double cy, double r, double stretch, double start, double sweep) {
    const auto [x, y] = at(cx, cy);
    strokes.push_back(ArcStroke(x, y, r * scale, stretch, start, sweep, halfWidth));
  };
  double pen = 0;
  // T
  line(pen + w, -39, pen + 34 - w, -39);
  line(pen + 17, -39, pen + 17, -w);
  pen += 34 + 1;  // the e tucks under the bar
  // e: open between the bar's right end and the lower right
  arc(pen + 15, -15, 12, 1.0, 40, 320);
  line(pen + 3, -15, pen + 27, -15);
  pen += 30 + 5;
  // s, twice: an upper bowl open to the lower right, a lower bowl open to
  // the upper left
  for (int i = 0; i < 2; ++i) {
    arc(pen + 10.5, -21, 6, 1.25, 90, 240);
    arc(pen + 10.5, -9, 6, 1.25, 270, 240);
    pen += 21 + 5;
  }
  // a: a bowl and its stem
  arc(pen + 13.5, -15, 12, 1.0, 0, 360);
  line(pen + 25.5, -27, pen + 25.5, -w);
  pen += 28.5 + 5;
  // l
  line(pen + w, -42 + w, pen + w, -w);
  pen += 6 + 5;
  // y
  line(pen + w, -27, pen + 15.5, -w);
  line(pen + 28, -27, pen + 9.25, 9);
  return Union(std::move(strokes));
}

double TitleWidth(double scale) { return (34 + 1 + 30 + 5 + 2 * (21 + 5) + 28.5 + 5 + 6 + 5 + 31) * scale; }

Colour Ink(std::uint32_t rgb) { return Rgb(int(rgb >> 16 & 0xFF), int(rgb >> 8 & 0xFF), int(rgb & 0xFF)); }

}  // namespace

Picture DrawAboutPicture() {
  const Colour outline = Rgb(38, 44, 52);
  Canvas canvas(kAboutBitmapWidth, kAboutBitmapHeight, outline);

  // Silhouette: sheet, lid, body, feet. It decides which pixels belong to
  // the window; everything is drawn inside it.
  const Distance sheetBox = RoundedBox(104, 6, 344, 200, 3);
  // The sheet's top right corner is folded over.
  const Distance foldCut = [](double x, double y) { return (x - y - 308) / std::sqrt(2.0); };
  const Distance sheet = Intersect(Intersect(sheetBox, foldCut), Above(152));
  const Distance lid = RoundedBox(52, 132, 396, 214, 18);
  const Distance body = RoundedBox(12, 196, 436, 450, 24);
  const Distance leftFoot = RoundedBox(44, 440, 104, 463, 5);
  const Distance rightFoot = RoundedBox(344, 440, 404, 463, 5);
  const Distance silhouette = Union({sheet, lid, body, leftFoot, rightFoot});

  const Colour frame = Rgb(30, 34, 40);
  canvas.Fill(leftFoot, Rgb(70, 76, 86), 2, outline);
  canvas.Fill(rightFoot, Rgb(70, 76, 86), 2, outline);
  canvas.Fill(body, Vertical(196, Rgb(230, 234, 239), 450, Rgb(178, 186, 197)), 2.5, outline);
  canvas.Shade(body, 2.5, Above(232), 6, -0.55);  // light falls on the top edge
  canvas.Fill(lid, Vertical(132, Rgb(243, 245, 248), 214, Rgb(208, 214, 222)), 2.5, outline);
  canvas.Shade(lid, 2.5, Above(150), 5, -0.6);
  // The lid's lower edge stands out from the body as a ledge.
  canvas.Fill(Intersect(body, RoundedBox(52, 212, 396, 222, 4)), Rgb(196, 203, 212));

  // Paper feed slot, and the printed sheet going into it.
  canvas.Fill(RoundedBox(92, 146, 356, 160, 7), Rgb(34, 38, 45));
  canvas.Fill(sheet, Vertical(6, Rgb(255, 255, 255), 152, Rgb(236, 239, 243)), 2, outline);
  const Distance fold = [](double x, double y) {
    return std::max({314 - x, y - 36, (x - y - 308) / std::sqrt(2.0)});
  };
  canvas.Fill(fold, Rgb(214, 220, 228), 2, outline);

  const double scale = 0.8;
  const double titleLeft = 224 - TitleWidth(scale) / 2;
  canvas.Fill(Title(titleLeft, 62, scale, 2.6), Ink(0x1D3F86));
  const Colour printed = Rgb(186, 195, 208);
  const double lines[][3] = {{126, 322, 84}, {126, 310, 98}, {126, 318, 112}, {126, 262, 126}};
  for (const auto& l : lines) canvas.Fill(Stroke(l[0], l[2], l[1], l[2], 2.5), printed);

  // Output slot with its tray lip, and the accent stripe.
  canvas.Fill(RoundedBox(60, 232, 388, 246, 7), Rgb(40, 45, 53));
  canvas.Fill(RoundedBox(48, 250, 400, 258, 4), Rgb(210, 216, 224), 1, Rgb(150, 158, 170));
  const Distance insideBodyOutline = [&](double x, double y) { return body(x, y) + 2.5; };
  canvas.Fill(Intersect(insideBodyOutline, RoundedBox(0, 272, 448, 279, 0)), Vertical(272, Rgb(70, 132, 236), 279, Rgb(36, 92, 196)));

  // The display the text scrolls in: a bezel and a black screen a little
  // larger than the text control, so no seam shows around it.
  canvas.Fill(RoundedBox(128, 296, 354, 444, 12), frame);
  canvas.Shade(RoundedBox(128, 296, 354, 444, 12), 0, [](double, double y) { return 440 - y; }, 3, -0.18);
  canvas.Fill(RoundedBox(138, 306, 344, 438, 3), Rgb(0, 0, 0));

  // Left panel: power button with its symbol, LED, two keys.
  canvas.Fill(Disc(72, 334, 19), Vertical(315, Rgb(96, 103, 114), 353, Rgb(50, 55, 64)), 2, outline);
  canvas.Fill(ArcStroke(72, 336, 8, 1.0, 300, 300, 1.6), Rgb(120, 214, 150));
  canvas.Fill(Stroke(72, 322, 72, 333, 1.6), Rgb(120, 214, 150));
  canvas.Fill(Disc(112, 334, 4.5), Rgb(80, 214, 120), 1, Rgb(30, 90, 50));
  canvas.Fill(RoundedBox(40, 380, 104, 398, 9), Rgb(150, 158, 170), 1.5, Rgb(90, 98, 110));
  canvas.Fill(RoundedBox(40, 408, 104, 426, 9), Rgb(150, 158, 170), 1.5, Rgb(90, 98, 110));

  // Right panel: a grille.
  for (int i = 0; i < 8; ++i) {
    const double y = 318 + i * 15;
    canvas.Fill(Stroke(372, y, 416, y, 2.2), Rgb(120, 128, 140));
  }

  Picture picture;
  picture.width = kAboutBitmapWidth;
  picture.height = kAboutBitmapHeight;
  picture.pixels.resize(static_cast<std::size_t>(picture.width) * picture.height);
  for (int y = 0; y < picture.height; ++y) {
    for (int x = 0; x < picture.width; ++x) {
      std::uint32_t rgb = 0xFF00FF;
      if (silhouette(x + 0.5, y + 0.5) < 0) {
        const Colour& c = canvas.At(x, y);
        auto channel = [](double v) { return static_cast<std::uint32_t>(std::lround(std::clamp(v, 0.0, 255.0))); };
        rgb = channel(c.r) << 16 | channel(c.g) << 8 | channel(c.b);
        // Never the key colour inside the outline, or the window would get
        // a hole.
        if (rgb == 0xFF00FF) rgb = 0xFE00FF;
      }
      picture.pixels[static_cast<std::size_t>(y) * picture.width + x] = rgb;
    }
  }
  return picture;
}

std::vector<std::uint8_t> EncodeBmp(const Picture& picture) {
  const std::uint32_t rowBytes = (static_cast<std::uint32_t>(picture.width) * 3 + 3) & ~3u;
  const std::uint32_t pixelBytes = rowBytes * static_cast<std::uint32_t>(picture.height);
  const std::uint32_t offset = 14 + 40;
  std::vector<std::uint8_t> file;
  file.reserve(offset + pixelBytes);
  auto u16 = [&](std::uint32_t v) {
    file.push_back(static_cast<std::uint8_t>(v));
    file.push_back(static_cast<std::uint8_t>(v >> 8));
  };
  auto u32 = [&](std::uint32_t v) {
    u16(v & 0xFFFF);
    u16(v >> 16);
  };
  // BITMAPFILEHEADER
  u16(0x4D42);  // "BM"
  u32(offset + pixelBytes);
  u32(0);
  u32(offset);
  // BITMAPINFOHEADER
  u32(40);
  u32(static_cast<std::uint32_t>(picture.width));
  u32(static_cast<std::uint32_t>(picture.height));  // positive: rows bottom-up
  u16(1);
  u16(24);
  u32(0);  // BI_RGB
  u32(pixelBytes);
  u32(2835);  // 72 dpi
  u32(2835);
  u32(0);
  u32(0);
  for (int y = picture.height - 1; y >= 0; --y) {
    for (int x = 0; x < picture.width; ++x) {
      const std::uint32_t rgb = picture.At(x, y);
      file.push_back(static_cast<std::uint8_t>(rgb));        // blue
      file.push_back(static_cast<std::uint8_t>(rgb >> 8));   // green
      file.push_back(static_cast<std::uint8_t>(rgb >> 16));  // red
    }
    for (std::uint32_t pad = static_cast<std::uint32_t>(picture.width) * 3; pad < rowBytes; ++pad) file.push_back(0);
  }
  return file;
}

}  // namespace about::art
