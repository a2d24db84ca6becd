// The scrolling text's behaviour over time and under the user's hand: the
// pause at creation, the pixel-per-tick scroll, the rests at the start and
// end positions, the wrap with its notification, user scrolling with its
// clamp, keys, wheel and the copies drawn on each paint.
#include <gtest/gtest.h>

#include <optional>
#include <vector>

#include "about/ScrollerModel.h"

namespace about {
namespace {

// The control's two timers on a virtual clock, a millisecond at a time:
// the scroll timer on every interval, then the pause timer when it is due,
// both driving AdvanceOnTimer as the window's WM_TIMER handler does.
class ClockedScroller {
 public:
  explicit ClockedScroller(int contentHeight) {
    state.bufferHeight = 124;
    state.contentHeight = contentHeight;
    state.paused = true;  // as created, with the pause timer started
    m_pauseDue = state.pauseDuration;
  }
  void RunUntil(int time) {
    while (m_now < time) {
      ++m_now;
      if (m_now % state.scrollInterval == 0) Apply(AdvanceOnTimer(state, false));
      if (m_now == m_pauseDue) Apply(AdvanceOnTimer(state, true));
    }
  }
  void UserScroll(int code) {
    if (ApplyUserScroll(state, code, 0).startPause) m_pauseDue = m_now + state.pauseDuration;
  }

  ScrollerState state;
  int notifications = 0;
  std::vector<int> pausesStartedAt;

 private:
  void Apply(const TickEffects& effects) {
    if (effects.killPauseTimer) m_pauseDue = -1;
    if (effects.notifyParent) ++notifications;
    if (effects.startPause) {
      pausesStartedAt.push_back(m_now);
      m_pauseDue = m_now + state.pauseDuration;
    }
  }
  int m_now = 0;
  int m_pauseDue = -1;
};

// The first tick of the 80 ms scroll timer after time t.
int FirstTickAfter(int t) { return (t / 80 + 1) * 80; }

TEST(ScrollerTimeTest, OneSecondsRestThenAPixelPerTickWithRestsAtTheEndPositionAndAfterTheWrap) {
  // 400 pixels of content in a 124-pixel control: the end reaches the bottom
  // edge at offset -276, the content has left at -401.
  ClockedScroller s(400);
  s.RunUntil(999);
  EXPECT_EQ(s.state.scrollOffset, 0);
  s.RunUntil(1000);  // the pause timer's own tick already moves
  EXPECT_EQ(s.state.scrollOffset, -1);
  EXPECT_FALSE(s.state.paused);
  const int endReached = FirstTickAfter(1000) + 274 * 80;  // from -1 to -276
  s.RunUntil(endReached);
  EXPECT_EQ(s.state.scrollOffset, -276);
  EXPECT_TRUE(s.state.paused);
  ASSERT_EQ(s.pausesStartedAt, std::vector<int>{endReached});

  s.RunUntil(endReached + 999);
  EXPECT_EQ(s.state.scrollOffset, -276) << "the last lines stay readable for the pause duration";
  s.RunUntil(endReached + 1000);
  EXPECT_EQ(s.state.scrollOffset, -277);

  // On to -400, then the next step wraps to the start and notifies once.
  const int wrapped = FirstTickAfter(endReached + 1000) + 123 * 80;
  s.RunUntil(wrapped - 1);
  EXPECT_EQ(s.state.scrollOffset, -400);
  EXPECT_EQ(s.notifications, 0);
  s.RunUntil(wrapped);
  EXPECT_EQ(s.state.scrollOffset, 0);
  EXPECT_EQ(s.notifications, 1);
  s.RunUntil(wrapped + 999);
  EXPECT_EQ(s.state.scrollOffset, 0);
  s.RunUntil(FirstTickAfter(wrapped + 1000));
  EXPECT_EQ(s.state.scrollOffset, -2);
  EXPECT_EQ(s.pausesStartedAt.size(), 2u) << "the rests keep their full length cycle after cycle";
}

TEST(ScrollerUserTest, EachCodeMovesTheOffsetWithinTheClamp) {
  // Standing at -100; the offset after the code, or none when nothing moved.
  const auto after = [](int code, int thumb, int contentHeight) -> std::optional<int> {
    ScrollerState state;
    state.bufferHeight = 124;
    state.contentHeight = contentHeight;
    state.scrollOffset = -100;
    state.paused = false;
    const UserScrollEffects effects = ApplyUserScroll(state, code, thumb);
    EXPECT_TRUE(effects.startPause && state.paused) << code;
    return effects.moved ? std::optional<int>(state.scrollOffset) : std::nullopt;
  };
  // 400 pixels of content: between -276 (the end at the bottom edge) and 0.
  EXPECT_EQ(after(kLineUp, 0, 400), -92);
  EXPECT_EQ(after(kLineDown, 0, 400), -108);
  EXPECT_EQ(after(kPageUp, 0, 400), 0);  // -100 + 124, clamped
  EXPECT_EQ(after(kPageDown, 0, 400), -224);
  EXPECT_EQ(after(kThumbPosition, 250, 400), -250);
  EXPECT_EQ(after(kThumbTrack, 999, 400), -276);
  EXPECT_EQ(after(kTop, 0, 400), 0);
  EXPECT_EQ(after(kBottom, 0, 400), -276);
  EXPECT_EQ(after(kEndScroll, 0, 400), std::nullopt);
  EXPECT_EQ(after(42, 0, 400), std::nullopt);
  // Content shorter than the control: the lower bound (124 - 50 = 74) is
  // positive and wins over the upper one, also for an offset above 0.
  EXPECT_EQ(after(kPageUp, 0, 50), 74);  // -100 + 124
  EXPECT_EQ(after(kTop, 0, 50), 74);
}

TEST(ScrollerUserTest, TheWheelGivesOneMoreLineScrollThanWholeUnitsAndOnlyArrowAndPageKeysScroll) {
  EXPECT_EQ(WheelToLineScrolls(-240).code, kLineDown);
  EXPECT_EQ(WheelToLineScrolls(-240).count, 3);  // 24 pixels
  EXPECT_EQ(WheelToLineScrolls(120).code, kLineUp);
  EXPECT_EQ(WheelToLineScrolls(120).count, 2);  // one notch: 16 pixels
  EXPECT_EQ(WheelToLineScrolls(30).count, 1);   // a fine wheel still moves
  EXPECT_EQ(WheelToLineScrolls(-119).count, 1);

  EXPECT_EQ(ScrollCodeForKey(kKeyUp), kLineUp);
  EXPECT_EQ(ScrollCodeForKey(kKeyDown), kLineDown);
  EXPECT_EQ(ScrollCodeForKey(kKeyPageUp), kPageUp);
  EXPECT_EQ(ScrollCodeForKey(kKeyPageDown), kPageDown);
  for (int other : {0x24, 0x23, 0x0D}) EXPECT_FALSE(ScrollCodeForKey(other).has_value()) << other;  // Home, End, Enter
}

TEST(ScrollerPaintTest, CopiesFollowEachOtherTenPixelsApartUntilTheBottomIsPassed) {
  const auto tops = [](int offset, int bufferHeight, int textHeight) {
    std::vector<int> found;
    DrawCopies(offset, bufferHeight, true, [&](int top) {
      found.push_back(top);
      return textHeight;
    });
    return found;
  };
  // A 35-pixel text in 124 pixels: copies every 45 pixels from 5 down.
  EXPECT_EQ(tops(0, 124, 35), (std::vector<int>{5, 50, 95}));
  // Scrolled up by 40: the first copy is partly out at the top.
  EXPECT_EQ(tops(-40, 124, 35), (std::vector<int>{-35, 10, 55, 100}));
  // A copy below the bottom is still drawn once (nothing shows of it).
  EXPECT_EQ(tops(200, 124, 35), (std::vector<int>{205}));
  // An empty text cannot loop for ever.
  EXPECT_EQ(tops(0, 30, 0), (std::vector<int>{5, 15, 25}));
}

}  // namespace
}  // namespace about
