#pragma once
// What the scrolling text control decides, apart from the drawing and the
// system calls: the automatic scroll step with its wrap and pauses, user
// scrolling with its clamp, the keys and the wheel. Portable; the numbers
// of the scroll codes and keys are those of the Windows headers.
#include <optional>

namespace about {

inline constexpr int kScrollTimerId = 1;
inline constexpr int kPauseTimerId = 2;

inline constexpr int kTextMargin = 5;     // left and right of the text, and above the first copy
inline constexpr int kCopyGap = 10;       // between one copy of the text and the next
inline constexpr int kContentExtra = 15;  // added to the measured heights
inline constexpr int kLineStep = 8;
inline constexpr int kWheelUnit = 120;

// WM_VSCROLL codes.
enum ScrollCode : int {
  kLineUp = 0,
  kLineDown = 1,
  kPageUp = 2,
  kPageDown = 3,
  kThumbPosition = 4,
  kThumbTrack = 5,
  kTop = 6,
  kBottom = 7,
  kEndScroll = 8,
};

// Virtual-key codes the control answers.
inline constexpr int kKeyPageUp = 0x21;    // VK_PRIOR
inline constexpr int kKeyPageDown = 0x22;  // VK_NEXT
inline constexpr int kKeyUp = 0x26;        // VK_UP
inline constexpr int kKeyDown = 0x28;      // VK_DOWN

struct ScrollerState {
  bool paused = true;
  int bufferWidth = 0;
  int bufferHeight = 0;
  int contentHeight = 0;
  // Where the content's top stands relative to the control's top: 0 shows
  // the start, negative values later parts.
  int scrollOffset = 0;
  bool wrap = true;
  int scrollInterval = 80;   // ms
  int pauseDuration = 1000;  // ms
};

// What the control must do after a timer tick.
struct TickEffects {
  bool killPauseTimer = false;
  bool notifyParent = false;  // the content has scrolled out and starts again
  bool startPause = false;    // start the pause timer with the pause duration
  bool invalidate = false;
};

// One tick of the scroll timer or of the pause timer. At the start position
// and where the content's end reaches the bottom edge the scrolling rests
// for the pause duration, so that the first and the last lines can be read.
TickEffects AdvanceOnTimer(ScrollerState& state, bool fromPauseTimer);

// The offset after a user scroll, kept between the position that puts the
// content's end at the bottom edge and 0. The lower bound is tested first:
// when the content is shorter than the control that bound is positive, so a
// scroll that ends below it moves the content to the bottom edge, and one
// that ends above it moves the content back to the top.
int ClampOffset(int offset, int bufferHeight, int contentHeight);

struct UserScrollEffects {
  bool startPause = false;  // rest the automatic scrolling for the pause duration
  bool moved = false;       // offset set: update the scroll bar and repaint
};

// A WM_VSCROLL from the scroll bar, the keys or the wheel.
UserScrollEffects ApplyUserScroll(ScrollerState& state, int code, int thumbPosition);

// The scroll code a key stands for; none for the keys the control ignores.
std::optional<int> ScrollCodeForKey(int virtualKey);

// The line scrolls one wheel message stands for: one more than the whole
// wheel units, so even a small delta moves the text.
struct WheelScroll {
  int code;
  int count;
};
WheelScroll WheelToLineScrolls(int wheelDelta);

// Draws the copies of the text from the offset down: draw(top) draws one
// copy and answers its height. At least one copy; with wrap, more follow
// until the bottom of the control is passed.
template <class Draw>
void DrawCopies(int scrollOffset, int bufferHeight, bool wrap, Draw&& draw) {
  int y = scrollOffset + kTextMargin;
  do {
    const int height = draw(y);
    y += height + kCopyGap;
  } while (y < bufferHeight && wrap);
}

}  // namespace about
