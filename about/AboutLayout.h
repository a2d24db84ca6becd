#pragma once
// The About picture and where the text sits in it, shared by the window and
// by the generator of the picture.
#include <cstdint>

#include "about/Placement.h"

namespace about {

inline constexpr int kAboutBitmapId = 135;
inline constexpr int kAboutBitmapWidth = 448;
inline constexpr int kAboutBitmapHeight = 464;
// COLORREF of the pixels outside the outline: pure magenta.
inline constexpr std::uint32_t kKeyColour = 0x00FF00FF;
// The scrolling text control, in the window's client coordinates.
inline constexpr Bounds kTextControlRect{142, 310, 340, 434};

}  // namespace about
