#include "screen/handsfree/hands_free.h"

HandsFreeTimer HandsFreeController::TimerFor(const HandsFreeSituation& situation) const {
  if (!situation.stealth || !situation.visible || situation.intervalSeconds <= 0) return {};
  return {true, paused_ ? kHandsFreePausedMs : kHandsFreeActiveMs};
}

HandsFreeTimer HandsFreeController::Reset(bool reset, const HandsFreeSituation& situation) {
  if (reset) paused_ = false;
  return TimerFor(situation);
}

HandsFreeStep HandsFreeController::Tick(const HandsFreeSituation& situation, uint64_t) {
  // Watching the screen comes with the thumbnails; until then a tick only keeps the timer honest.
  return HandsFreeStep{TimerFor(situation), false};
}
