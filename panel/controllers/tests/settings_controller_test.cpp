#include "panel/controllers/settings_controller.h"

#include <gtest/gtest.h>

#include <vector>

#include "panel/controllers/tests/fake_timers.h"
#include "panel/panel_rules.h"
#include "panel/window/panel_controls.h"
#include "settings/tests/fake_ini_file.h"

namespace {

struct SettingsControllerTest : ::testing::Test {
  SettingsEvents Events() {
    SettingsEvents events;
    events.settingChanged = [this](SettingChange change) { changes.push_back(change); };
    events.recordingChanged = [this](int slot) { recorded.push_back(slot); };
    events.repaint = [this] { ++repaints; };
    return events;
  }

  FakeTimers timers;
  FakeIniFile file;
  uint64_t now = 10000;
  std::vector<SettingChange> changes;
  std::vector<int> recorded;
  int repaints = 0;
  SettingsController settings{timers, &file, [this] { return now; }, Events()};
};

TEST_F(SettingsControllerTest, ASetterSavesItsKeyAndSlidesThePillOnTimerSix) {
  settings.Command(control_id::FirstSection + 3, kPanelLogicalWidth);  // the Stealth section
  file.writes.clear();
  settings.Command(133, kPanelLogicalWidth);  // hands-free 10 seconds
  EXPECT_EQ(settings.settings().handsFreeSeconds, 10);
  EXPECT_EQ(file.writes, (std::vector<FakeIniFile::Write>{{L"Stealth", L"HandsFreeSec", L"10"}}));
  EXPECT_EQ(changes, std::vector<SettingChange>{SettingChange::HandsFree});
  EXPECT_EQ(timers.running, (std::map<unsigned, unsigned>{{panel_timer::Animation, 16}}));

  now += 100;
  settings.AnimationTick();
  EXPECT_TRUE(timers.Runs(panel_timer::Animation));
  now += kAnimationMs;
  const int before = repaints;
  settings.AnimationTick();
  EXPECT_FALSE(timers.Runs(panel_timer::Animation));
  EXPECT_EQ(repaints, before + 1);  // the pill's last position is drawn
}

TEST_F(SettingsControllerTest, ARecordingEndsWhenThePanelLeavesThePageOrGoesAway) {
  settings.Command(control_id::FirstSection + 4, kPanelLogicalWidth);  // the Hotkeys section
  settings.Command(140, kPanelLogicalWidth);  // record the scan binding
  EXPECT_EQ(settings.state().captureSlot, 0);
  settings.CancelRecording();
  EXPECT_EQ(settings.state().captureSlot, -1);
  settings.Command(141, kPanelLogicalWidth);
  settings.Shutdown();
  EXPECT_EQ(settings.state().captureSlot, -1);
  EXPECT_EQ(recorded, (std::vector<int>{0, -1, 1, -1}));
  EXPECT_TRUE(timers.running.empty());
}

TEST_F(SettingsControllerTest, TheMenusHandsFreeSwitchSavesTheInterval) {
  settings.SetHandsFree(5);
  EXPECT_EQ(settings.settings().handsFreeSeconds, 5);
  EXPECT_EQ(file.writes, (std::vector<FakeIniFile::Write>{{L"Stealth", L"HandsFreeSec", L"5"}}));
  EXPECT_EQ(changes, std::vector<SettingChange>{SettingChange::HandsFree});
}

}  // namespace
