#include "screen/handsfree/hands_free.h"

#include <gtest/gtest.h>

namespace {

TEST(HandsFreeTimer, RunsOnlyInStealthModeWhileShownWithAnInterval) {
  struct Case {
    bool stealth, visible;
    int interval;
    HandsFreeTimer timer;
  };
  const HandsFreeTimer active{true, kHandsFreeActiveMs};
  for (const Case& c : {Case{true, true, 5, active}, Case{true, true, 30, active}, Case{true, true, 0, {}},
                        Case{true, false, 5, {}}, Case{false, true, 5, {}}, Case{false, false, 0, {}}}) {
    HandsFreeController controller;
    HandsFreeSituation situation{c.stealth, c.visible, c.interval};
    EXPECT_EQ(controller.Reset(true, situation), c.timer) << c.stealth << c.visible << c.interval;
    EXPECT_EQ(controller.Reset(false, situation), c.timer);
    // A tick stops a timer whose conditions no longer hold and starts nothing by itself.
    EXPECT_EQ(controller.Tick(situation, 1000), (HandsFreeStep{c.timer, false}));
  }
  EXPECT_EQ(kHandsFreeActiveMs, 1000u);
  EXPECT_EQ(kHandsFreePausedMs, 2000u);
  EXPECT_FALSE(HandsFreeController().paused());
}

}  // namespace
