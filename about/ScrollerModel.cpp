#include "about/ScrollerModel.h"

#include <cstdlib>

namespace about {

TickEffects AdvanceOnTimer(ScrollerState& state, bool fromPauseTimer) {
  TickEffects effects;
  if (fromPauseTimer) {
    state.paused = false;
    effects.killPauseTimer = true;
  }
  if (state.paused) return effects;

  --state.scrollOffset;
  if (state.scrollOffset + state.contentHeight < 0) {
    // Without wrap the text enters again from the bottom edge.
    state.scrollOffset = state.wrap ? 0 : state.bufferHeight;
    effects.notifyParent = true;
  }
  const bool atStart = state.scrollOffset == 0;
  const bool endAtBottom =
      state.bufferHeight < state.contentHeight && state.scrollOffset + state.contentHeight == state.bufferHeight;
  if (atStart || endAtBottom) {
    state.paused = true;
    effects.startPause = true;
  }
  effects.invalidate = true;
  return effects;
}

int ClampOffset(int offset, int bufferHeight, int contentHeight) {
  const int lowest = bufferHeight - contentHeight;
  if (offset < lowest) return lowest;
  if (offset > 0) return 0;
  return offset;
}

UserScrollEffects ApplyUserScroll(ScrollerState& state, int code, int thumbPosition) {
  UserScrollEffects effects;
  // Every code, the end of a drag included, restarts the rest, so the text
  // stays where the user left it for a while.
  if (state.pauseDuration > state.scrollInterval) {
    state.paused = true;
    effects.startPause = true;
  }
  int offset = state.scrollOffset;
  switch (code) {
    case kLineUp: offset += kLineStep; break;
    case kLineDown: offset -= kLineStep; break;
    case kPageUp: offset += state.bufferHeight; break;
    case kPageDown: offset -= state.bufferHeight; break;
    case kThumbPosition:
    case kThumbTrack: offset = -thumbPosition; break;
    case kTop: offset = 0; break;
    case kBottom: offset = state.bufferHeight - state.contentHeight; break;
    default: return effects;
  }
  state.scrollOffset = ClampOffset(offset, state.bufferHeight, state.contentHeight);
  effects.moved = true;
  return effects;
}

std::optional<int> ScrollCodeForKey(int virtualKey) {
  switch (virtualKey) {
    case kKeyUp: return kLineUp;
    case kKeyDown: return kLineDown;
    case kKeyPageUp: return kPageUp;
    case kKeyPageDown: return kPageDown;
    default: return std::nullopt;
  }
}

WheelScroll WheelToLineScrolls(int wheelDelta) {
  return WheelScroll{wheelDelta > 0 ? kLineUp : kLineDown, std::abs(wheelDelta) / kWheelUnit + 1};
}

}  // namespace about
