#include "panel/settings_page/settings_page.h"

#include <gtest/gtest.h>

#include <set>

#include "settings/tests/fake_ini_file.h"
#include "hotkeys/hook_dispatch.h"
#include "panel/window/panel_controls.h"

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
  SettingsState state;
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
  EXPECT_EQ(Click(cid::FirstSection + 0),
            (SettingsEffects{.repaint = true, .relayout = true, .captureChanged = true, .accountOpened = true}));
  EXPECT_EQ(state.captureSlot, -1);
  EXPECT_EQ(page.openSection(), 0);
  // Opening the account section asks for the sign-in field's focus; the sign-in steps belong to
  // the page but are the panel's to run.
  EXPECT_TRUE(Click(cid::FirstSection + 1).accountOpened == false);
  EXPECT_TRUE(Click(cid::FirstSection + 0).accountOpened);
  for (int id : {cid::SendCode, cid::SignInBack}) {
    EXPECT_TRUE(SettingsPage::Handles(id)) << id;
    EXPECT_EQ(Click(id), SettingsEffects{}) << id;
  }
  for (int id : {cid::FirstSegment, cid::LastSegment, cid::LiveAnswersOff, cid::LiveAnswersOn}) {
    EXPECT_TRUE(SettingsPage::Handles(id)) << id;
  }
  for (int id : {cid::Close, cid::Scan, cid::Settings, cid::RefreshAccount, cid::SignOut, 153}) {
    EXPECT_FALSE(SettingsPage::Handles(id)) << id;
  }
  EXPECT_EQ(state.settings, UiSettings{});
  EXPECT_TRUE(file.writes.empty());
}

TEST_F(SettingsPageTest, LayoutShowsTheOpenSectionsControlsOnly) {
  struct Case {
    const char* what;
    int open;  // the section to open, -1 for none
    bool shown;
    AccountArea account;
    std::set<int> visible;  // beyond the five headers (when shown)
  };
  std::set<int> general = {127, 128, 129, 130, 151, 152}, style = {123, 124, 125, 126};
  std::set<int> stealth, hotkeys;
  for (int id = 131; id <= 139; ++id) stealth.insert(id);
  for (int id = cid::FirstHotkey; id <= cid::ResetHotkeys; ++id) hotkeys.insert(id);
  const std::set<int> signIn = {cid::SignInField, cid::SendCode}, code = {cid::SignInField, cid::SendCode, cid::SignInBack};
  const std::set<int> signedIn = {cid::RefreshAccount, cid::SignOut};
  for (const Case& c : {
           Case{"general", 1, true, AccountArea::SignInEmail, general},
           Case{"style", 2, true, AccountArea::SignInEmail, style},
           Case{"stealth", 3, true, AccountArea::SignInEmail, stealth},
           Case{"hotkeys", 4, true, AccountArea::SignInEmail, hotkeys},
           Case{"none open", -1, true, AccountArea::SignedIn, {}},
           Case{"account, local key", 0, true, AccountArea::LocalKey, {}},
           Case{"account, e-mail stage", 0, true, AccountArea::SignInEmail, signIn},
           Case{"account, code stage", 0, true, AccountArea::SignInCode, code},
           Case{"account, signed in", 0, true, AccountArea::SignedIn, signedIn},
           Case{"account, first run", 0, true, AccountArea::FirstRun, {cid::OpenConfigFile, cid::ReloadConfig}},
           Case{"another page", 4, false, AccountArea::SignedIn, {}},
       }) {
    SCOPED_TRACE(c.what);
    SettingsPage fresh;
    if (c.open != 1) fresh.Command(cid::FirstSection + (c.open < 0 ? 1 : c.open), state, store);
    ASSERT_EQ(fresh.openSection(), c.open);
    std::set<int> placed, visible;
    for (const ControlPlacement& placement : fresh.Layout(388, c.shown, c.account)) {
      EXPECT_TRUE(placed.insert(placement.id).second) << placement.id;
      bool header = placement.id >= cid::FirstSection && placement.id < cid::FirstSection + 5;
      if (header) {
        EXPECT_EQ(placement.shown, c.shown);
        RectF expected = SectionHeaderRect(388, placement.id - cid::FirstSection, c.open);
        EXPECT_FLOAT_EQ(placement.rect.y, expected.y);
        EXPECT_FLOAT_EQ(placement.rect.height, 28);
      } else if (placement.shown) {
        visible.insert(placement.id);
        // What shows lies inside its section's card.
        int section = placement.id <= cid::ReloadConfig ? 0 : RowOfSegment(placement.id) < 0 ? 4
                      : SegmentedRowTable()[RowOfSegment(placement.id)].section;
        RectF card = SectionRect(388, section, c.open);
        EXPECT_GE(placement.rect.y, card.y + 28) << placement.id;
        EXPECT_LE(placement.rect.y + placement.rect.height, card.y + card.height) << placement.id;
        EXPECT_LE(placement.rect.x + placement.rect.width, card.x + card.width) << placement.id;
      }
    }
    EXPECT_EQ(visible, c.visible);
    // Every control from the section headers to the last hotkey row.
    EXPECT_EQ(placed.size(), static_cast<size_t>(kLastControlId - cid::FirstSection + 1));
  }
}

TEST_F(SettingsPageTest, SettersWriteTheirOneKeyAndSlideThePill) {
  struct Case {
    int id;
    const wchar_t *section, *key, *value;
    SettingChange change;
    int slot;
    int from, to;  // segment indexes
  };
  using enum SettingChange;
  // From the defaults: dark, glass on, fast, vision off, hands-free off, 6 px, left.
  for (const Case& c : {
           Case{124, L"Panel", L"GlassStyle", L"Light", Theme, 0, 0, 1},
           Case{125, L"Panel", L"LiquidGlass", L"0", LiquidGlass, 1, 1, 0},
           Case{128, L"Panel", L"Quality", L"Deep", Quality, 2, 0, 1},
           Case{130, L"Panel", L"MathMode", L"1", VisionOnScan, 3, 0, 1},
           Case{133, L"Stealth", L"HandsFreeSec", L"10", HandsFree, 4, 0, 2},
           Case{134, L"Stealth", L"HandsFreeSec", L"30", HandsFree, 4, 0, 3},
           Case{135, L"Stealth", L"StripWidth", L"2", StripWidth, 5, 2, 0},
           Case{139, L"Stealth", L"Side", L"Right", StripSide, 6, 0, 1},
           Case{152, L"Panel", L"LiveAnswers", L"1", LiveAnswers, 7, 0, 1},
       }) {
    SCOPED_TRACE(c.id);
    SettingsState fresh;
    SettingsPage settingsPage;
    settingsPage.Command(cid::FirstSection + SegmentedRowTable()[c.slot].section, fresh, store);
    const int open = settingsPage.openSection();
    file.writes.clear();
    SettingsEffects effects = settingsPage.Command(c.id, fresh, store, 388);
    EXPECT_EQ(effects.changed, c.change);
    EXPECT_TRUE(effects.repaint);
    ASSERT_TRUE(effects.pill.has_value());
    const RectF from = SegmentRect(388, c.slot, open, c.from), to = SegmentRect(388, c.slot, open, c.to);
    EXPECT_EQ(*effects.pill, (PillMove{c.slot, from.x, from.width, to.x, to.width}));
    EXPECT_EQ(file.writes, (std::vector<FakeIniFile::Write>{{c.section, c.key, c.value}}));
    EXPECT_EQ(SelectedSegment(c.slot, fresh.settings), c.to);

    // The same segment again: no write, no animation, no change.
    file.writes.clear();
    EXPECT_EQ(settingsPage.Command(c.id, fresh, store, 388), SettingsEffects{});
    EXPECT_TRUE(file.writes.empty());

    // The pill slides over 210 ms with a quartic ease-out: 0, 105 and 210 ms in.
    settingsPage.StartAnimation(c.slot, from, to, 5000);
    const AnimationSlot& slot = settingsPage.animations()[c.slot];
    float x = 0, width = 0;
    CurrentPill(slot, 5000, x, width);
    EXPECT_FLOAT_EQ(x, from.x);
    CurrentPill(slot, 5105, x, width);
    EXPECT_NEAR(x, from.x + (to.x - from.x) * (1 - 1.0f / 16), 1e-3);
    EXPECT_NEAR(width, from.width + (to.width - from.width) * (1 - 1.0f / 16), 1e-3);
    CurrentPill(slot, 5210, x, width);
    EXPECT_FLOAT_EQ(x, to.x);
    EXPECT_FALSE(settingsPage.AnimationTick(5210));
  }
  // The selected segments of the defaults write nothing either.
  file.writes.clear();
  for (int id : {123, 126, 127, 129, 131, 137, 138, 151}) EXPECT_EQ(Click(id), SettingsEffects{}) << id;
  EXPECT_TRUE(file.writes.empty());
}

// In hosted mode Live answers does not apply: its segments change nothing, and its row's hint
// says why; the summary names it only where it applies.
TEST_F(SettingsPageTest, LiveAnswersIsLockedInHostedMode) {
  SettingsState hosted;
  hosted.localKeyMode = false;
  EXPECT_EQ(page.Command(cid::LiveAnswersOn, hosted, store, 388), SettingsEffects{});
  EXPECT_FALSE(hosted.settings.liveAnswers);
  EXPECT_TRUE(file.writes.empty());

  std::array<bool, kHoverRows> hover{};
  hover[6] = true;
  EXPECT_EQ(HintLine(kGeneralSection, hover, 0, L"Dark mode", false), kLiveAnswersHostedTip);
  EXPECT_EQ(HintLine(kGeneralSection, hover, 0, L"Dark mode", true), L"Shows the answer word by word as it is written");
  EXPECT_EQ(HintLine(kGeneralSection, {}, cid::LiveAnswersOn, L"Dark mode", true),
            L"Shows the answer word by word as it is written");

  UiSettings on;
  on.liveAnswers = true;
  EXPECT_EQ(SectionSummary(kGeneralSection, on, true), L"Fast \u00B7 Live");
  EXPECT_EQ(SectionSummary(kGeneralSection, on, false), L"Fast");
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
