// The scrolling text's behaviour over time and under the user's hand: the
// pause at creation, the pixel-per-tick scroll, the rests at the start and
// end positions, the wrap with its notification, user scrolling with its
// clamp, keys, wheel and the copies drawn on each paint.
#include <gtest/gtest.h>

#include <climits>
#include <vector>

#include "about/ScrollerModel.h"

namespace about {
namespace {

// The control's timers on a virtual clock: the scroll timer every scroll
// interval, the pause timer once when started, both driving AdvanceOnTimer
// as the window's WM_TIMER handler does.
class ClockedScroller {
 public:
  ClockedScroller(int bufferHeight, int contentHeight, bool wrap = true) {
    state.bufferWidth = 198;
    state.bufferHeight = bufferHeight;
    state.contentHeight = contentHeight;
    state.wrap = wrap;
    // As created: paused, scroll timer running, pause timer started.
    state.paused = true;
    m_nextScroll = state.scrollInterval;
    StartPause();
  }

  void RunUntil(int time) {
    for (;;) {
      const int pauseDue = m_pauseRunning ? m_pauseDue : INT_MAX;
      const int next = std::min(m_nextScroll, pauseDue);
      if (next > time) break;
      m_now = next;
      const bool fromPause = next == pauseDue && next != m_nextScroll;
      if (!fromPause) m_nextScroll += state.scrollInterval;
      Apply(AdvanceOnTimer(state, fromPause));
    }
    m_now = time;
  }

  void UserScroll(int code, int thumb = 0) {
    const UserScrollEffects effects = ApplyUserScroll(state, code, thumb);
    if (effects.startPause) StartPause();
  }

  ScrollerState state;
  int notifications = 0;
  std::vector<int> pausesStartedAt;

 private:
  void StartPause() {
    m_pauseRunning = true;
    m_pauseDue = m_now + state.pauseDuration;
  }
  void Apply(const TickEffects& effects) {
    if (effects.killPauseTimer) m_pauseRunning = false;
    if (effects.notifyParent) ++notifications;
    if (effects.startPause) {
      pausesStartedAt.push_back(m_now);
      StartPause();
    }
  }

  int m_now = 0;
  int m_nextScroll = 0;
  bool m_pauseRunning = false;
  int m_pauseDue = 0;
};

TEST(ScrollerTimeTest, TheTextStandsStillForASecondThenRisesOnePixelPerTick) {
  ClockedScroller s(124, 400);
  s.RunUntil(999);
  EXPECT_EQ(s.state.scrollOffset, 0);
  EXPECT_TRUE(s.state.paused);
  s.RunUntil(1000);  // the pause timer's own tick already moves
  EXPECT_EQ(s.state.scrollOffset, -1);
  EXPECT_FALSE(s.state.paused);
  s.RunUntil(1000 + 10 * 80);
  EXPECT_EQ(s.state.scrollOffset, -11);
  EXPECT_EQ(s.notifications, 0);
}

// The first tick of the 80 ms scroll timer after time t.
int FirstTickAfter(int t) { return (t / 80 + 1) * 80; }

TEST(ScrollerTimeTest, TheScrollingRestsWhereTheEndReachesTheBottomEdgeAndAgainAtTheStartAfterTheWrap) {
  // 400 pixels of content in a 124-pixel control: the end reaches the bottom
  // edge at offset -276, the content has left at -401.
  ClockedScroller s(124, 400);
  s.RunUntil(1000);
  ASSERT_EQ(s.state.scrollOffset, -1);
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
  EXPECT_TRUE(s.state.paused);
  s.RunUntil(wrapped + 999);
  EXPECT_EQ(s.state.scrollOffset, 0);
  s.RunUntil(FirstTickAfter(wrapped + 1000));
  EXPECT_EQ(s.state.scrollOffset, -2);
  // The rests keep their full length cycle after cycle.
  EXPECT_EQ(s.state.pauseDuration, 1000);
  EXPECT_EQ(s.pausesStartedAt.size(), 2u);
}

TEST(ScrollerTimeTest, ShortContentRestsOnlyAtTheStartOfEachCycle) {
  // 50 pixels of content in 124: no end position; wrap after 51 steps.
  ClockedScroller s(124, 50);
  s.RunUntil(1000 + 50 * 80);
  EXPECT_EQ(s.state.scrollOffset, 0);
  EXPECT_EQ(s.notifications, 1);
  EXPECT_EQ(s.pausesStartedAt.size(), 1u);
}

TEST(ScrollerTimeTest, WithoutWrapTheTextEntersAgainFromTheBottomEdgeAndRestsAtTheStart) {
  ClockedScroller s(124, 50, /*wrap=*/false);
  s.RunUntil(1000 + 50 * 80);
  EXPECT_EQ(s.state.scrollOffset, 124);
  EXPECT_EQ(s.notifications, 1);
  EXPECT_FALSE(s.state.paused);
  const int atStart = 1000 + 50 * 80 + 124 * 80;
  s.RunUntil(atStart);
  EXPECT_EQ(s.state.scrollOffset, 0);
  EXPECT_TRUE(s.state.paused);
}

TEST(ScrollerTimeTest, UserScrollingRestsTheAutomaticScrollFromTheLastAction) {
  ClockedScroller s(124, 400);
  s.RunUntil(3000);
  const int before = s.state.scrollOffset;
  s.UserScroll(kLineDown);
  EXPECT_EQ(s.state.scrollOffset, before - 8);
  s.RunUntil(3500);
  s.UserScroll(kEndScroll);  // moves nothing, but restarts the rest
  EXPECT_EQ(s.state.scrollOffset, before - 8);
  s.RunUntil(4499);
  EXPECT_EQ(s.state.scrollOffset, before - 8);
  s.RunUntil(4500);
  EXPECT_EQ(s.state.scrollOffset, before - 9);
}

TEST(ScrollerTimeTest, APauseNoLongerThanTheIntervalDoesNotRestForTheUser) {
  ClockedScroller s(124, 400);
  s.state.pauseDuration = s.state.scrollInterval;
  s.RunUntil(2000);
  s.state.paused = false;
  const UserScrollEffects effects = ApplyUserScroll(s.state, kLineDown, 0);
  EXPECT_FALSE(effects.startPause);
  EXPECT_FALSE(s.state.paused);
  EXPECT_TRUE(effects.moved);
}

// User scrolling: content of 400 in a control of 124, standing at -100.
struct UserScrollCase {
  int code;
  int thumb;
  int expectedOffset;
  bool moved;
};

class UserScrollTableTest : public testing::TestWithParam<UserScrollCase> {};

TEST_P(UserScrollTableTest, EachCodeMovesTheOffsetWithinTheClamp) {
  ScrollerState state;
  state.bufferHeight = 124;
  state.contentHeight = 400;
  state.scrollOffset = -100;
  state.paused = false;
  const UserScrollEffects effects = ApplyUserScroll(state, GetParam().code, GetParam().thumb);
  EXPECT_EQ(state.scrollOffset, GetParam().expectedOffset);
  EXPECT_EQ(effects.moved, GetParam().moved);
  EXPECT_TRUE(effects.startPause);
  EXPECT_TRUE(state.paused);
}

INSTANTIATE_TEST_SUITE_P(Codes, UserScrollTableTest,
                         testing::Values(UserScrollCase{kLineUp, 0, -92, true},
                                         UserScrollCase{kLineDown, 0, -108, true},
                                         UserScrollCase{kPageUp, 0, 0, true},       // -100 + 124, clamped to 0
                                         UserScrollCase{kPageDown, 0, -224, true},
                                         UserScrollCase{kThumbPosition, 250, -250, true},
                                         UserScrollCase{kThumbTrack, 999, -276, true},  // past the end: clamped
                                         UserScrollCase{kTop, 0, 0, true},
                                         UserScrollCase{kBottom, 0, -276, true},
                                         UserScrollCase{kEndScroll, 0, -100, false},
                                         UserScrollCase{42, 0, -100, false}));

TEST(ScrollerClampTest, ContentShorterThanTheControlIsMovedToTheBottomEdge) {
  // The lower bound (124 - 50 = 74) is positive and wins over the upper one.
  ScrollerState state;
  state.bufferHeight = 124;
  state.contentHeight = 50;
  ApplyUserScroll(state, kLineUp, 0);
  EXPECT_EQ(state.scrollOffset, 74);
  ApplyUserScroll(state, kTop, 0);
  EXPECT_EQ(state.scrollOffset, 74);
}

TEST(ScrollerInputTest, TheWheelPostsOneMoreLineScrollThanWholeUnits) {
  EXPECT_EQ(WheelToLineScrolls(-240).code, kLineDown);
  EXPECT_EQ(WheelToLineScrolls(-240).count, 3);  // 24 pixels
  EXPECT_EQ(WheelToLineScrolls(120).code, kLineUp);
  EXPECT_EQ(WheelToLineScrolls(120).count, 2);  // one notch: 16 pixels
  EXPECT_EQ(WheelToLineScrolls(30).count, 1);   // a fine wheel still moves
  EXPECT_EQ(WheelToLineScrolls(-119).count, 1);
  EXPECT_EQ(WheelToLineScrolls(0).code, kLineDown);
}

TEST(ScrollerInputTest, ArrowAndPageKeysScrollAndNoOtherKeyDoes) {
  EXPECT_EQ(ScrollCodeForKey(kKeyUp), kLineUp);
  EXPECT_EQ(ScrollCodeForKey(kKeyDown), kLineDown);
  EXPECT_EQ(ScrollCodeForKey(kKeyPageUp), kPageUp);
  EXPECT_EQ(ScrollCodeForKey(kKeyPageDown), kPageDown);
  EXPECT_FALSE(ScrollCodeForKey(0x24).has_value());  // VK_HOME
  EXPECT_FALSE(ScrollCodeForKey(0x23).has_value());  // VK_END
  EXPECT_FALSE(ScrollCodeForKey(0x0D).has_value());  // VK_RETURN
}

std::vector<int> CopyTops(int offset, int bufferHeight, bool wrap, int textHeight) {
  std::vector<int> tops;
  DrawCopies(offset, bufferHeight, wrap, [&](int top) {
    tops.push_back(top);
    return textHeight;
  });
  return tops;
}

TEST(ScrollerPaintTest, CopiesFollowEachOtherTenPixelsApartUntilTheBottomIsPassed) {
  // A 35-pixel text in 124 pixels: copies every 45 pixels from 5 down.
  EXPECT_EQ(CopyTops(0, 124, true, 35), (std::vector<int>{5, 50, 95}));
  // Scrolled up by 40: the first copy is partly out at the top.
  EXPECT_EQ(CopyTops(-40, 124, true, 35), (std::vector<int>{-35, 10, 55, 100}));
  // Without wrap, one copy whatever the room.
  EXPECT_EQ(CopyTops(0, 124, false, 35), (std::vector<int>{5}));
  // A copy below the bottom is still drawn once (nothing shows of it).
  EXPECT_EQ(CopyTops(200, 124, true, 35), (std::vector<int>{205}));
  // An empty text cannot loop for ever.
  EXPECT_EQ(CopyTops(0, 30, true, 0), (std::vector<int>{5, 15, 25}));
}

TEST(ScrollerPaintTest, AfterTheWrapTheFirstCopyStandsFivePixelsFromTheTop) {
  ScrollerState state;
  state.bufferHeight = 124;
  state.contentHeight = 300;
  state.paused = false;
  state.scrollOffset = -300;
  const TickEffects effects = AdvanceOnTimer(state, false);
  EXPECT_TRUE(effects.notifyParent);
  EXPECT_TRUE(effects.invalidate);
  EXPECT_EQ(CopyTops(state.scrollOffset, 124, true, 285).front(), 5);
}

}  // namespace
}  // namespace about
