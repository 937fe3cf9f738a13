#include "hotkeys/hook_dispatch.h"

#include <gtest/gtest.h>

namespace {

constexpr uint32_t kF9 = 0x78, kF10 = 0x79, kEsc = 27, kDelete = 46, kBackspace = 8;
constexpr uint32_t kLShift = 160, kRShift = 161, kLCtrl = 162, kRCtrl = 163, kLAlt = 164, kRAlt = 165;

PostedMessage Action(HotkeyAction action) { return {MsgHotkeyAction, static_cast<uint32_t>(action), 0}; }
PostedMessage Captured(uint32_t modifiers, uint32_t key) { return {MsgHotkeyCaptured, modifiers, key}; }

// Feeds events the way the platform does: the modifier state seen by an event is that of the
// keys pressed before it, and a swallowed press or release never changes that state.
class Input {
 public:
  HookDispatcher hooks;

  HookVerdict Down(uint32_t key) { return Key(KeyTransition::Down, key); }
  HookVerdict Up(uint32_t key) { return Key(KeyTransition::Up, key); }
  HookVerdict ButtonDown(uint32_t button) { return hooks.OnButton(KeyTransition::Down, button, sides_); }
  HookVerdict ButtonUp(uint32_t button) { return hooks.OnButton(KeyTransition::Up, button, sides_); }

 private:
  HookVerdict Key(KeyTransition transition, uint32_t key) {
    HookVerdict verdict = hooks.OnKey(transition, key, sides_);
    if (!verdict.swallow) {
      if (transition == KeyTransition::Down) sides_ |= ModifierSideOf(key);
      else sides_ &= ~ModifierSideOf(key);
    }
    return verdict;
  }
  uint32_t sides_ = 0;
};

void ExpectPass(const HookVerdict& verdict) {
  EXPECT_FALSE(verdict.swallow);
  EXPECT_FALSE(verdict.post.has_value());
}
void ExpectSwallowedQuietly(const HookVerdict& verdict) {
  EXPECT_TRUE(verdict.swallow);
  EXPECT_FALSE(verdict.post.has_value());
}
void ExpectSwallowedPosting(const HookVerdict& verdict, PostedMessage message) {
  EXPECT_TRUE(verdict.swallow);
  ASSERT_TRUE(verdict.post.has_value());
  EXPECT_EQ(*verdict.post, message);
}

TEST(ModifierState, AKeyNeverCountsAsItsOwnModifier) {
  using namespace ModifierSide;
  EXPECT_EQ(ModifiersNow(LeftCtrl | RightAlt | LeftShift | RightWin), kModAll);
  EXPECT_EQ(ModifiersExcept(kRCtrl, RightCtrl), 0u);
  EXPECT_EQ(ModifiersExcept(kRCtrl, RightCtrl | LeftCtrl), kModCtrl);
  EXPECT_EQ(ModifiersExcept(kLAlt, LeftAlt | RightShift), kModShift);
  EXPECT_EQ(ModifiersExcept(92, LeftWin | RightWin), kModWin);
  EXPECT_EQ(ModifiersExcept('C', LeftCtrl | RightCtrl), kModCtrl);
}

TEST(KeyDispatch, HeldHotkeyFiresOnceAndItsRepeatsAndReleaseAreSwallowed) {
  Input input;
  ExpectSwallowedPosting(input.Down(kF9), Action(HotkeyAction::Scan));
  for (int repeat = 0; repeat < 3; ++repeat) ExpectSwallowedQuietly(input.Down(kF9));
  ExpectSwallowedQuietly(input.Up(kF9));
  ExpectSwallowedPosting(input.Down(kF9), Action(HotkeyAction::Scan));  // a new press fires again
  ExpectSwallowedQuietly(input.Up(kF9));
  ExpectPass(input.Down('A'));
  ExpectPass(input.Up('A'));
  ExpectPass(input.Up(kF9));  // a release nobody fired passes
}

TEST(KeyDispatch, ModifiersMustMatchExactlyWhicheverSideIsHeld) {
  Input input;
  ExpectPass(input.Down(kLCtrl));
  ExpectPass(input.Down(kRCtrl));
  ExpectPass(input.Down(kLAlt));
  ExpectSwallowedPosting(input.Down('C'), Action(HotkeyAction::ToggleMode));
  ExpectSwallowedQuietly(input.Up('C'));
  ExpectPass(input.Down(kLShift));
  ExpectPass(input.Down('C'));  // Ctrl+Alt+Shift+C is not Ctrl+Alt+C
  ExpectPass(input.Up('C'));
  ExpectPass(input.Down(kF9));  // F9 with modifiers held is not F9
}

TEST(KeyDispatch, SecondaryBindingFiresItsAction) {
  Input input;
  input.Down(kRCtrl);
  input.Down(kRAlt);  // with Ctrl held this is not the Right Alt binding
  ExpectSwallowedPosting(input.Down('H'), Action(HotkeyAction::ToggleVisible));
}

TEST(KeyDispatch, RightAltAloneIsABindingAndBothItsEdgesAreSwallowed) {
  Input input;
  ExpectSwallowedPosting(input.Down(kRAlt), Action(HotkeyAction::ToggleVisible));
  ExpectSwallowedQuietly(input.Down(kRAlt));
  ExpectSwallowedQuietly(input.Up(kRAlt));
  ExpectPass(input.Down(kLAlt));  // left Alt is another key
  ExpectPass(input.Up(kLAlt));
}

TEST(KeyDispatch, FirstActionInOrderWinsForADuplicatedBinding) {
  Input input;
  HotkeyTable table = DefaultHotkeyTable();
  table[HotkeySlot::QuitAlt] = {0, kF10};
  table[HotkeySlot::Snip] = {0, 'Q'};
  input.hooks.SetTable(table);
  ExpectSwallowedPosting(input.Down(kF10), Action(HotkeyAction::Quit));
  input.Up(kF10);
  table[HotkeySlot::SnipAlt] = {0, kF10};
  input.hooks.SetTable(table);
  ExpectSwallowedPosting(input.Down(kF10), Action(HotkeyAction::Snip));
}

TEST(KeyDispatch, PausedHooksPassEverythingAndForgetAFiredKeyReleasedMeanwhile) {
  Input input;
  ExpectSwallowedPosting(input.Down(kF10), Action(HotkeyAction::Snip));
  input.hooks.SetPaused(true);  // the snip overlay opened before F10 came up
  ExpectPass(input.Up(kF10));
  ExpectPass(input.Down(kF9));
  ExpectPass(input.Up(kF9));
  input.hooks.SetPaused(false);
  ExpectSwallowedPosting(input.Down(kF10), Action(HotkeyAction::Snip));  // not taken for a repeat
}

TEST(ButtonDispatch, RightClickScansOnlyWhileThePanelIsShown) {
  Input input;
  input.hooks.SetPanelVisible(false);
  ExpectPass(input.ButtonDown(kKeyRightButton));
  ExpectPass(input.ButtonUp(kKeyRightButton));
  input.hooks.SetPanelVisible(true);
  ExpectSwallowedPosting(input.ButtonDown(kKeyRightButton), Action(HotkeyAction::Scan));
  ExpectSwallowedQuietly(input.ButtonUp(kKeyRightButton));
  ExpectPass(input.ButtonDown(kKeyMiddleButton));
  ExpectPass(input.ButtonUp(kKeyMiddleButton));
  input.Down(kLCtrl);
  ExpectPass(input.ButtonDown(kKeyRightButton));  // Ctrl+Right Click is not bound
}

TEST(ButtonDispatch, WhileHiddenTheRightButtonStillShowsThePanel) {
  Input input;
  HotkeyTable table = DefaultHotkeyTable();
  table[HotkeySlot::SnipAlt] = {0, kKeySideButton1};
  table[HotkeySlot::ToggleVisibleAlt] = {kModShift, kKeyRightButton};
  input.hooks.SetTable(table);
  input.hooks.SetPanelVisible(false);
  ExpectPass(input.ButtonDown(kKeyRightButton));  // Scan's right click stays with other programs
  input.ButtonUp(kKeyRightButton);
  ExpectSwallowedPosting(input.ButtonDown(kKeySideButton1), Action(HotkeyAction::Snip));
  ExpectSwallowedQuietly(input.ButtonUp(kKeySideButton1));
  input.Down(kRShift);
  ExpectSwallowedPosting(input.ButtonDown(kKeyRightButton), Action(HotkeyAction::ToggleVisible));
  ExpectSwallowedQuietly(input.ButtonUp(kKeyRightButton));
}

TEST(ButtonDispatch, PausedHooksPassButtonsAndForgetAFiredOne) {
  Input input;
  input.hooks.SetPanelVisible(true);
  ExpectSwallowedPosting(input.ButtonDown(kKeyRightButton), Action(HotkeyAction::Scan));
  input.hooks.SetPaused(true);
  ExpectPass(input.ButtonUp(kKeyRightButton));
  ExpectPass(input.ButtonDown(kKeyRightButton));
  input.hooks.SetPaused(false);
  input.hooks.SetPanelVisible(false);
  ExpectPass(input.ButtonDown(kKeyRightButton));
  ExpectPass(input.ButtonUp(kKeyRightButton));  // no stale fired button swallows this release
}

TEST(Recording, KeysAreReportedInsteadOfFiredAndRecordingEndsWithTheResult) {
  Input input;
  input.hooks.SetCaptureSlot(HotkeySlot::Snip);
  ExpectPass(input.Down(kLCtrl));  // a modifier alone: still waiting
  ExpectSwallowedPosting(input.Down(kF9), Captured(kModCtrl, kF9));
  EXPECT_EQ(input.hooks.captureSlot(), -1);
  ExpectSwallowedQuietly(input.Down(kF9));  // repeats until the panel has handled the result
  ExpectSwallowedQuietly(input.Up(kF9));
  ExpectPass(input.Up(kLCtrl));
  ExpectSwallowedPosting(input.Down(kF9), Action(HotkeyAction::Scan));
}

TEST(Recording, EscCancelsAndItsReleaseIsSwallowed) {
  Input input;
  input.hooks.SetCaptureSlot(HotkeySlot::Quit);
  ExpectSwallowedPosting(input.Down(kEsc), Captured(0, 0));
  ExpectSwallowedQuietly(input.Up(kEsc));
  ExpectPass(input.Down(kEsc));
}

TEST(Recording, DeleteClearsASecondaryButIsAKeyForAPrimary) {
  Input input;
  input.hooks.SetCaptureSlot(HotkeySlot::Scan);
  ExpectSwallowedPosting(input.Down(kDelete), Captured(0, kDelete));
  ExpectSwallowedQuietly(input.Up(kDelete));
  input.hooks.SetCaptureSlot(HotkeySlot::ScanAlt);
  ExpectSwallowedPosting(input.Down(kDelete), Captured(kCapturedClear, 0));
  ExpectSwallowedQuietly(input.Up(kDelete));
  input.hooks.SetCaptureSlot(HotkeySlot::QuitAlt);
  ExpectSwallowedPosting(input.Down(kBackspace), Captured(kCapturedClear, 0));
  input.Up(kBackspace);
  input.hooks.SetCaptureSlot(HotkeySlot::QuitAlt);
  input.Down(kLShift);
  ExpectSwallowedPosting(input.Down(kDelete), Captured(kModShift, kDelete));
}

TEST(Recording, RightAltPressedAndReleasedAloneBecomesABinding) {
  Input input;
  input.hooks.SetCaptureSlot(HotkeySlot::ToggleVisible);
  ExpectSwallowedQuietly(input.Down(kRAlt));
  ExpectSwallowedQuietly(input.Down(kRAlt));  // auto-repeat keeps waiting
  ExpectSwallowedPosting(input.Up(kRAlt), Captured(0, kRAlt));
  EXPECT_EQ(input.hooks.captureSlot(), -1);
}

TEST(Recording, RightAltHeldIsTheAltOfTheNextKey) {
  Input input;
  input.hooks.SetCaptureSlot(HotkeySlot::Snip);
  ExpectSwallowedQuietly(input.Down(kRAlt));
  ExpectSwallowedPosting(input.Down('K'), Captured(kModAlt, 'K'));
  ExpectSwallowedQuietly(input.Up('K'));
  ExpectPass(input.Up(kRAlt));
}

TEST(Recording, RightModifierWithAnotherModifierHeldWaitsForTheRealKey) {
  Input input;
  input.hooks.SetCaptureSlot(HotkeySlot::Snip);
  ExpectPass(input.Down(kLShift));
  ExpectPass(input.Down(kRCtrl));  // Shift already held: an ordinary modifier
  ExpectSwallowedPosting(input.Down('P'), Captured(kModCtrl | kModShift, 'P'));
}

TEST(Recording, RightShiftReleasedWhileAnotherModifierIsHeldRecordsNothing) {
  Input input;
  input.hooks.SetCaptureSlot(HotkeySlot::Snip);
  ExpectSwallowedQuietly(input.Down(kRShift));
  ExpectPass(input.Down(kLCtrl));  // a modifier: clears the waiting right Shift
  ExpectPass(input.Up(kRShift));
  EXPECT_EQ(input.hooks.captureSlot(), HotkeySlot::Snip);
}

TEST(Recording, MouseButtonsAreRecordedWithTheModifiersHeld) {
  Input input;
  input.hooks.SetPanelVisible(false);
  input.hooks.SetCaptureSlot(HotkeySlot::SnipAlt);
  input.Down(kLCtrl);
  ExpectSwallowedPosting(input.ButtonDown(kKeyRightButton), Captured(kModCtrl, kKeyRightButton));
  ExpectSwallowedQuietly(input.ButtonUp(kKeyRightButton));
  EXPECT_EQ(input.hooks.captureSlot(), -1);
}

TEST(Recording, PausedHooksRecordNothing) {
  Input input;
  input.hooks.SetCaptureSlot(HotkeySlot::Snip);
  input.hooks.SetPaused(true);
  ExpectPass(input.Down('K'));
  ExpectPass(input.ButtonDown(kKeyMiddleButton));
}

TEST(HookState, InvalidCaptureSlotMeansNormalDispatchAndResetClearsEverything) {
  Input input;
  input.hooks.SetCaptureSlot(10);
  EXPECT_EQ(input.hooks.captureSlot(), -1);
  input.hooks.SetPanelVisible(true);
  input.hooks.SetPaused(true);
  input.hooks.SetCaptureSlot(3);
  input.hooks.Reset();
  EXPECT_FALSE(input.hooks.panelVisible());
  EXPECT_FALSE(input.hooks.paused());
  EXPECT_EQ(input.hooks.captureSlot(), -1);
  ExpectSwallowedPosting(input.Down(kF9), Action(HotkeyAction::Scan));
  input.hooks.Reset();
  ExpectSwallowedPosting(input.Down(kF9), Action(HotkeyAction::Scan));  // fired key forgotten too
}

}  // namespace
