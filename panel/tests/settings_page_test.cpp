#include "panel/settings_page.h"

#include <gtest/gtest.h>

#include <set>

#include "app/settings/tests/fake_ini_file.h"
#include "hotkeys/hook_dispatch.h"
#include "panel/panel_controls.h"

namespace {

namespace cid = control_id;
constexpr uint32_t kF9 = 0x78;

class SettingsPageTest : public ::testing::Test {
 protected:
  SettingsEffects Click(int id) { return page.Command(id, state, store); }
  SettingsEffects Captured(uint32_t wParam, uint32_t lParam) {
    return page.HotkeyCaptured(state, store, wParam, lParam);
  }

  FakeIniFile file;
  UiSettingsStore store{&file};
  PanelState state;
  SettingsPage page;
};

TEST_F(SettingsPageTest, RecordingResultsAndWhatTheyAskOfThePanel) {
  const SettingsEffects recordingChanged{.repaint = true, .captureChanged = true};
  const SettingsEffects bindingsChanged{.repaint = true, .captureChanged = true, .bindingsChanged = true};
  HotkeyTable expected = DefaultHotkeyTable();
  struct Case {
    const char* what;
    int slot;
    uint32_t wParam, lParam;
    const wchar_t* status;
    bool error;
    bool saved;
  };
  for (const Case& c : {
           Case{"new binding", HotkeySlot::Snip, kModCtrl, 'K', L"Saved", false, true},
           Case{"held by another slot", HotkeySlot::SnipAlt, 0, kF9, L"Already assigned", true, false},
           Case{"secondary cleared", HotkeySlot::ScanAlt, kCapturedClear, 0, L"Cleared", false, true},
           Case{"Esc", HotkeySlot::Quit, 0, 0, L"", false, false},
           Case{"late result, nothing recorded", -1, kModCtrl, 'J', L"", false, false},
       }) {
    SCOPED_TRACE(c.what);
    file.writes.clear();
    if (c.slot >= 0) {
      EXPECT_EQ(Click(cid::FirstHotkey + c.slot), recordingChanged);
      EXPECT_EQ(state.captureSlot, c.slot);
    }
    EXPECT_EQ(Captured(c.wParam, c.lParam), c.saved ? bindingsChanged : recordingChanged);
    EXPECT_EQ(state.captureSlot, -1);  // recording ends whatever the result
    EXPECT_EQ(state.hotkeyStatus, c.status);
    EXPECT_EQ(state.hotkeyStatusError, c.error);
    EXPECT_EQ(file.writes.size(), c.saved ? 10u : 0u);
    if (c.saved) expected[c.slot] = c.wParam == kCapturedClear ? Hotkey{} : Hotkey{c.wParam, c.lParam};
    EXPECT_EQ(state.settings.hotkeys, expected);
  }

  file.writes.clear();
  Click(cid::FirstHotkey + HotkeySlot::ToggleMode);
  EXPECT_EQ(Click(cid::ResetHotkeys), bindingsChanged);
  EXPECT_EQ(state.captureSlot, -1);
  EXPECT_EQ(state.settings.hotkeys, DefaultHotkeyTable());
  EXPECT_EQ(state.hotkeyStatus, L"Defaults restored");
  EXPECT_EQ(file.writes.size(), 10u);
}

TEST_F(SettingsPageTest, HotkeyRowsToggleAndOtherPagesCancel) {
  Click(cid::FirstHotkey + 2);
  state.hotkeyStatus = L"Saved";
  Click(cid::FirstHotkey + 7);  // another row moves the recording and clears the status
  EXPECT_EQ(state.captureSlot, 7);
  EXPECT_EQ(state.hotkeyStatus, L"");
  Click(cid::FirstHotkey + 7);  // the same row again cancels
  EXPECT_EQ(state.captureSlot, -1);
  Click(cid::FirstHotkey + 3);
  state.hotkeyStatus = L"Already assigned";
  state.hotkeyStatusError = true;
  EXPECT_EQ(page.CancelRecording(state), (SettingsEffects{.repaint = true, .captureChanged = true}));
  EXPECT_EQ(state.captureSlot, -1);
  EXPECT_EQ(state.hotkeyStatus, L"");
  EXPECT_FALSE(state.hotkeyStatusError);
}

TEST_F(SettingsPageTest, OneSectionOpenAtATimeAndClosingHotkeysEndsARecording) {
  EXPECT_EQ(page.openSection(), 1);  // general, at start
  const SettingsEffects moved{.repaint = true, .relayout = true};
  EXPECT_EQ(Click(cid::FirstSection + 3), moved);
  EXPECT_EQ(page.openSection(), 3);
  EXPECT_EQ(Click(cid::FirstSection + 3), moved);
  EXPECT_EQ(page.openSection(), -1);
  Click(cid::FirstSection + SettingsPage::kHotkeysSection);
  Click(cid::FirstHotkey + 4);
  EXPECT_EQ(Click(cid::FirstSection + 0), (SettingsEffects{.repaint = true, .relayout = true, .captureChanged = true}));
  EXPECT_EQ(state.captureSlot, -1);
  EXPECT_EQ(page.openSection(), 0);
  // Setters and sign-in steps belong to the page but change nothing yet.
  for (int id : {cid::SendCode, cid::SignInBack, cid::FirstSegment, cid::LastSegment}) {
    EXPECT_TRUE(SettingsPage::Handles(id)) << id;
    EXPECT_EQ(Click(id), SettingsEffects{}) << id;
  }
  for (int id : {cid::Close, cid::Scan, cid::Settings, cid::RefreshAccount, cid::SignOut, 151}) {
    EXPECT_FALSE(SettingsPage::Handles(id)) << id;
  }
  EXPECT_EQ(state.settings, UiSettings{});
  EXPECT_TRUE(file.writes.empty());
}

TEST_F(SettingsPageTest, LayoutPlacesEveryControlOfThePageOnce) {
  for (bool shown : {true, false}) {
    std::set<int> placed;
    for (const ControlPlacement& placement : page.Layout(388, shown)) {
      EXPECT_TRUE(placed.insert(placement.id).second) << placement.id;
      bool header = placement.id >= cid::FirstSection && placement.id < cid::FirstSection + 5;
      EXPECT_EQ(placement.shown, header && shown) << placement.id;
      if (header) {
        LogicalRect expected = SectionHeaderRect(388, placement.id - cid::FirstSection, page.openSection());
        EXPECT_FLOAT_EQ(placement.rect.y, expected.y);
        EXPECT_FLOAT_EQ(placement.rect.width, expected.width);
      }
    }
    // Every control from the section headers to the last hotkey row, less the two unused IDs.
    EXPECT_EQ(placed.size(), static_cast<size_t>(kLastControlId - cid::FirstSection + 1 - 2));
    EXPECT_FALSE(placed.count(120) || placed.count(122));
  }
}

TEST_F(SettingsPageTest, AnimationsRunTheirCourseAndHoverClears) {
  page.StartAnimation(4, {10, 0, 40, 20}, {90, 0, 60, 20}, 1000);
  page.StartAnimation(9, {0, 0, 1, 1}, {1, 1, 1, 1}, 1000);  // no such slot
  EXPECT_TRUE(page.animations()[4].active);
  EXPECT_TRUE(page.AnimationTick(1100));
  EXPECT_FALSE(page.AnimationTick(1000 + kAnimationMs));
  EXPECT_FALSE(page.animations()[4].active);
  EXPECT_FALSE(page.ClearHover());
}

TEST(MainControls, WhatEachPageShows) {
  struct Case {
    PanelPage page;
    bool answerShown;
    std::set<int> shown;
  };
  const std::set<int> always = {cid::Close, cid::Hide, cid::SwitchToStealth, cid::Settings, cid::FooterStealth};
  auto with = [&](std::initializer_list<int> more) {
    std::set<int> ids = always;
    ids.insert(more);
    return ids;
  };
  for (const Case& c : {Case{PanelPage::Answer, false, with({cid::Snip, cid::Scan, cid::Ask})},
                        Case{PanelPage::Answer, true, with({cid::Snip, cid::Scan, cid::Ask, cid::Explanation})},
                        Case{PanelPage::Question, false, with({cid::Snip, cid::Scan, cid::Ask, cid::QuestionBox, cid::Send})},
                        Case{PanelPage::Settings, false, always}}) {
    std::set<int> shown, placed;
    for (const ControlPlacement& placement : MainControlPlacements(388, 486, c.page, true, c.answerShown)) {
      placed.insert(placement.id);
      if (placement.shown) shown.insert(placement.id);
    }
    EXPECT_EQ(shown, c.shown) << static_cast<int>(c.page);
    EXPECT_EQ(placed.size(), 11u);  // every control outside the settings page, on every page
  }
  // The explanation button is the header of the explanation card, wherever the card is.
  for (bool explanationShown : {true, false}) {
    for (const ControlPlacement& placement : MainControlPlacements(388, 486, PanelPage::Answer, explanationShown, true)) {
      if (placement.id != cid::Explanation) continue;
      EXPECT_FLOAT_EQ(placement.rect.y, AnswerPageCards(388, 486, explanationShown).explanationHeader.y);
    }
  }
}

}  // namespace
