#include "hotkeys/hook_dispatch.h"

#include <gtest/gtest.h>

#include <initializer_list>

namespace {

constexpr uint32_t kF9 = 0x78, kF10 = 0x79, kEsc = 27, kDelete = 46, kBackspace = 8;
constexpr uint32_t kLShift = 160, kRShift = 161, kLCtrl = 162, kRCtrl = 163, kLAlt = 164, kRAlt = 165;
constexpr uint32_t kRight = kKeyRightButton;

enum Event { Down, Up, ButtonDown, ButtonUp };
struct Step {
  Event event;
  uint32_t code;
  bool swallow;
  std::optional<PostedMessage> post;
};
Step Passes(Event event, uint32_t code) { return {event, code, false, std::nullopt}; }
Step Swallows(Event event, uint32_t code) { return {event, code, true, std::nullopt}; }
Step Fires(Event event, uint32_t code, HotkeyAction action) {
  return {event, code, true, PostedMessage{MsgHotkeyAction, static_cast<uint32_t>(action), 0}};
}
Step Records(Event event, uint32_t code, uint32_t modifiers, uint32_t key) {
  return {event, code, true, PostedMessage{MsgHotkeyCaptured, modifiers, key}};
}

// Feeds events the way the platform does: an event sees the modifier keys pressed before it,
// and a swallowed press or release never changes that state.
class Input {
 public:
  HookDispatcher hooks;

  void Run(std::initializer_list<Step> steps) {
    int index = 0;
    for (const Step& step : steps) {
      SCOPED_TRACE(::testing::Message() << "step " << index++ << ", code " << step.code);
      HookVerdict verdict = Feed(step.event, step.code);
      EXPECT_EQ(verdict.swallow, step.swallow);
      EXPECT_EQ(verdict.post, step.post);
    }
  }

 private:
  HookVerdict Feed(Event event, uint32_t code) {
    KeyTransition transition = (event == Down || event == ButtonDown) ? KeyTransition::Down : KeyTransition::Up;
    if (event == ButtonDown || event == ButtonUp) return hooks.OnButton(transition, code, sides_);
    HookVerdict verdict = hooks.OnKey(transition, code, sides_);
    if (!verdict.swallow) {
      if (transition == KeyTransition::Down) sides_ |= ModifierSideOf(code);
      else sides_ &= ~ModifierSideOf(code);
    }
    return verdict;
  }
  uint32_t sides_ = 0;
};

TEST(ModifierState, AKeyNeverCountsAsItsOwnModifier) {
  using namespace ModifierSide;
  EXPECT_EQ(ModifiersNow(LeftCtrl | RightAlt | LeftShift | RightWin), kModAll);
  EXPECT_EQ(ModifiersExcept(kRCtrl, RightCtrl), 0u);
  EXPECT_EQ(ModifiersExcept(kRCtrl, RightCtrl | LeftCtrl), kModCtrl);
  EXPECT_EQ(ModifiersExcept(kLAlt, LeftAlt | RightShift), kModShift);
  EXPECT_EQ(ModifiersExcept(92, LeftWin | RightWin), kModWin);
}

TEST(HotkeyMessage, TheActionTravelsAsItsNumberAndOtherValuesNameNone) {
  for (HotkeyAction action : {HotkeyAction::Scan, HotkeyAction::Snip, HotkeyAction::ToggleVisible,
                              HotkeyAction::ToggleMode, HotkeyAction::Quit}) {
    EXPECT_EQ(PostedHotkeyAction(static_cast<uint64_t>(action)), action);
  }
  EXPECT_EQ(PostedHotkeyAction(0), HotkeyAction::Scan);
  EXPECT_EQ(PostedHotkeyAction(4), HotkeyAction::Quit);
  EXPECT_FALSE(PostedHotkeyAction(5).has_value());
  EXPECT_FALSE(PostedHotkeyAction(static_cast<uint64_t>(-1)).has_value());
}

TEST(KeyDispatch, HeldHotkeyFiresOnceAndItsRepeatsAndReleaseAreSwallowed) {
  Input input;
  input.Run({Fires(Down, kF9, HotkeyAction::Scan), Swallows(Down, kF9), Swallows(Down, kF9), Swallows(Up, kF9),
             Fires(Down, kF9, HotkeyAction::Scan), Swallows(Up, kF9), Passes(Down, 'A'), Passes(Up, 'A'),
             Passes(Up, kF9)});
}

TEST(KeyDispatch, ModifiersMustMatchExactlyWhicheverSideIsHeld) {
  Input input;
  input.Run({Passes(Down, kLCtrl), Passes(Down, kRCtrl), Passes(Down, kLAlt),
             Fires(Down, 'C', HotkeyAction::ToggleMode), Swallows(Up, 'C'),
             Passes(Down, kLShift), Passes(Down, 'C'), Passes(Up, 'C'),  // Ctrl+Alt+Shift+C
             Passes(Down, kF9)});
  Input secondary;
  secondary.Run({Passes(Down, kRCtrl), Passes(Down, kRAlt), Fires(Down, 'H', HotkeyAction::ToggleVisible)});
}

TEST(KeyDispatch, RightAltAloneIsABindingAndBothItsEdgesAreSwallowed) {
  Input input;
  input.Run({Fires(Down, kRAlt, HotkeyAction::ToggleVisible), Swallows(Down, kRAlt), Swallows(Up, kRAlt),
             Passes(Down, kLAlt), Passes(Up, kLAlt)});
}

TEST(KeyDispatch, FirstActionInOrderWinsForADuplicatedBinding) {
  Input input;
  HotkeyTable table = DefaultHotkeyTable();
  table[HotkeySlot::QuitAlt] = {0, kF10};
  table[HotkeySlot::Snip] = {0, 'Q'};
  input.hooks.SetTable(table);
  input.Run({Fires(Down, kF10, HotkeyAction::Quit), Swallows(Up, kF10)});
  table[HotkeySlot::SnipAlt] = {0, kF10};
  input.hooks.SetTable(table);
  input.Run({Fires(Down, kF10, HotkeyAction::Snip)});
}

TEST(KeyDispatch, PausedHooksPassEverythingAndForgetAFiredKeyReleasedMeanwhile) {
  Input input;
  input.Run({Fires(Down, kF10, HotkeyAction::Snip)});
  input.hooks.SetPaused(true);  // the snip overlay opened before F10 came up
  input.hooks.SetCaptureSlot(HotkeySlot::Scan);
  input.Run({Passes(Up, kF10), Passes(Down, kF9), Passes(Up, kF9), Passes(ButtonDown, 4), Passes(ButtonUp, 4)});
  input.hooks.SetPaused(false);
  input.hooks.SetCaptureSlot(-1);
  input.Run({Fires(Down, kF10, HotkeyAction::Snip)});  // not taken for a repeat
}

TEST(KeyDispatch, WhileASnipIsOpenEscAndTheRightButtonEndItWhereverTheFocusIs) {
  // The overlay may not have the keyboard focus (a refused foreground switch): Esc and the right
  // button still end the snip, and neither edge reaches another program, even when the snip has
  // closed before the release.
  const PostedMessage endSnip{MsgEndSnip, 0, 0};
  Input input;
  input.hooks.SetPanelVisible(true);
  input.hooks.SetPaused(true);
  input.Run({{Down, kEsc, true, endSnip}, Swallows(Up, kEsc), {ButtonDown, kRight, true, endSnip},
             Swallows(ButtonUp, kRight), {Down, kEsc, true, endSnip}});
  input.hooks.SetPaused(false);
  input.Run({Swallows(Up, kEsc), Passes(Down, kEsc), Passes(Up, kEsc), Fires(ButtonDown, kRight, HotkeyAction::Scan)});
}

TEST(KeyDispatch, InStealthModeTheMenuKeyAndShiftF10AskForTheMenu) {
  constexpr uint32_t kApps = 0x5D;
  const PostedMessage menu{MsgStealthMenu, 0, 0};
  struct Case {
    const char* name;
    bool stealth;
    bool visible;
    bool asks;
  };
  for (const Case& c : {Case{"stealth, strip shown", true, true, true}, Case{"panel mode", false, true, false},
                        Case{"stealth, hidden", true, false, false}}) {
    SCOPED_TRACE(c.name);
    Input input;
    input.hooks.SetStealthMenu(c.stealth);
    input.hooks.SetPanelVisible(c.visible);
    if (c.asks) {
      input.Run({{Down, kApps, true, menu}, Swallows(Down, kApps), Swallows(Up, kApps), Passes(Down, kLShift),
                 {Down, kF10, true, menu}, Swallows(Up, kF10), Passes(Up, kLShift),
                 Passes(Down, kLCtrl), Passes(Down, kApps), Passes(Up, kApps)});  // Ctrl+menu key is not asked for
    } else {
      input.Run({Passes(Down, kApps), Passes(Up, kApps), Passes(Down, kLShift), Passes(Down, kF10), Passes(Up, kF10)});
    }
  }
  // A hotkey bound to the menu key keeps it.
  Input bound;
  HotkeyTable table = DefaultHotkeyTable();
  table[HotkeySlot::ScanAlt] = {0, kApps};
  bound.hooks.SetTable(table);
  bound.hooks.SetStealthMenu(true);
  bound.hooks.SetPanelVisible(true);
  bound.Run({Fires(Down, kApps, HotkeyAction::Scan)});
}

TEST(ButtonDispatch, RightClickScansOnlyWhileThePanelIsShown) {
  Input input;
  input.Run({Passes(ButtonDown, kRight), Passes(ButtonUp, kRight)});
  input.hooks.SetPanelVisible(true);
  input.Run({Fires(ButtonDown, kRight, HotkeyAction::Scan), Swallows(ButtonUp, kRight),
             Passes(ButtonDown, kKeyMiddleButton), Passes(ButtonUp, kKeyMiddleButton),
             Passes(Down, kLCtrl), Passes(ButtonDown, kRight)});  // Ctrl+Right Click is not bound
}

TEST(ButtonDispatch, WhileHiddenTheRightButtonOnlyShowsThePanel) {
  Input input;
  HotkeyTable table = DefaultHotkeyTable();
  table[HotkeySlot::SnipAlt] = {0, kKeySideButton1};
  table[HotkeySlot::ToggleVisibleAlt] = {kModShift, kRight};
  input.hooks.SetTable(table);
  input.Run({Passes(ButtonDown, kRight), Passes(ButtonUp, kRight),
             Fires(ButtonDown, kKeySideButton1, HotkeyAction::Snip), Swallows(ButtonUp, kKeySideButton1),
             Passes(Down, kRShift), Fires(ButtonDown, kRight, HotkeyAction::ToggleVisible),
             Swallows(ButtonUp, kRight)});
}

TEST(ButtonDispatch, PausedHooksForgetAFiredButton) {
  Input input;
  input.hooks.SetPanelVisible(true);
  input.Run({Fires(ButtonDown, kRight, HotkeyAction::Scan)});
  input.hooks.SetPaused(true);
  input.Run({Passes(ButtonUp, kRight)});
  input.hooks.SetPaused(false);
  input.hooks.SetPanelVisible(false);
  input.Run({Passes(ButtonDown, kRight), Passes(ButtonUp, kRight)});  // no stale release swallowed
}

TEST(Recording, KeysAreReportedInsteadOfFiredAndThePanelEndsTheRecording) {
  Input input;
  input.hooks.SetCaptureSlot(HotkeySlot::Snip);
  input.Run({Passes(Down, kLCtrl), Records(Down, kF9, kModCtrl, kF9)});
  EXPECT_EQ(input.hooks.captureSlot(), HotkeySlot::Snip);  // until the panel has the result
  input.hooks.SetCaptureSlot(-1);                           // the panel handled it
  input.Run({Swallows(Down, kF9), Swallows(Up, kF9), Passes(Up, kLCtrl), Fires(Down, kF9, HotkeyAction::Scan)});
}

TEST(Recording, UntilThePanelHandlesTheResultLaterPressesReachNoOneAndReportNothing) {
  Input input;
  input.hooks.SetCaptureSlot(HotkeySlot::Snip);
  // K is recorded; J, F9 (a hotkey) and right Alt (a hotkey) follow before the panel ran. None
  // fires, none reaches another program, and neither do their releases nor the release of K.
  input.Run({Records(Down, 'K', 0, 'K'), Swallows(Down, 'J'), Swallows(Down, kF9), Swallows(Down, kRAlt),
             Swallows(Up, 'K'), Swallows(Up, 'J'), Swallows(Down, kF9), Swallows(Up, kF9), Swallows(Up, kRAlt),
             Passes(Down, kLShift), Passes(Up, kLShift), Swallows(Down, kEsc), Swallows(ButtonDown, kRight)});
  input.hooks.SetCaptureSlot(-1);
  input.Run({Swallows(Up, kEsc), Swallows(ButtonUp, kRight), Passes(Down, 'J'), Passes(Up, 'J'),
             Fires(Down, kF9, HotkeyAction::Scan)});
  // A key held across the panel's handling repeats and is released unseen by other programs.
  input.hooks.SetCaptureSlot(HotkeySlot::Quit);
  input.Run({Records(Down, 'Q', 0, 'Q'), Swallows(Down, 'W')});
  input.hooks.SetCaptureSlot(-1);
  input.Run({Swallows(Down, 'W'), Swallows(Down, 'Q'), Swallows(Up, 'W'), Swallows(Up, 'Q'), Passes(Down, 'W')});
  // Recording the same slot again starts afresh.
  input.hooks.SetCaptureSlot(HotkeySlot::Quit);
  input.Run({Records(Down, 'Z', 0, 'Z')});
  input.hooks.SetCaptureSlot(HotkeySlot::Snip);
  input.Run({Records(Down, 'Y', 0, 'Y')});
}

TEST(Recording, EscCancelsAndDeleteClearsOnlyASecondary) {
  Input input;
  input.hooks.SetCaptureSlot(HotkeySlot::Quit);
  input.Run({Records(Down, kEsc, 0, 0), Swallows(Up, kEsc)});
  input.hooks.SetCaptureSlot(-1);
  input.Run({Passes(Down, kEsc)});
  input.hooks.SetCaptureSlot(HotkeySlot::Scan);
  input.Run({Records(Down, kDelete, 0, kDelete), Swallows(Up, kDelete)});
  input.hooks.SetCaptureSlot(HotkeySlot::ScanAlt);
  input.Run({Records(Down, kDelete, kCapturedClear, 0), Swallows(Up, kDelete)});
  input.hooks.SetCaptureSlot(HotkeySlot::QuitAlt);
  input.Run({Records(Down, kBackspace, kCapturedClear, 0), Swallows(Up, kBackspace)});
  input.hooks.SetCaptureSlot(HotkeySlot::QuitAlt);
  input.Run({Passes(Down, kLShift), Records(Down, kDelete, kModShift, kDelete)});
}

TEST(Recording, RightHandModifiers) {
  Input alone;  // pressed and released alone: a binding of its own, repeats included
  alone.hooks.SetCaptureSlot(HotkeySlot::ToggleVisible);
  alone.Run({Swallows(Down, kRAlt), Swallows(Down, kRAlt), Records(Up, kRAlt, 0, kRAlt)});
  // Pressed again before the panel took the result: not the show/hide hotkey, and not seen elsewhere.
  alone.Run({Swallows(Down, kRAlt), Swallows(Up, kRAlt)});
  alone.hooks.SetCaptureSlot(-1);
  alone.Run({Fires(Down, kRAlt, HotkeyAction::ToggleVisible), Swallows(Up, kRAlt)});
  // Held: the Alt of the next key, though its swallowed press never became key state; since other
  // programs never saw that press, they do not see its release either.
  Input held;
  held.hooks.SetCaptureSlot(HotkeySlot::Snip);
  held.Run({Swallows(Down, kRAlt), Records(Down, 'K', kModAlt, 'K'), Swallows(Up, 'K'), Swallows(Up, kRAlt)});
  Input heldLate;  // released only after the panel handled the result
  heldLate.hooks.SetCaptureSlot(HotkeySlot::Snip);
  heldLate.Run({Swallows(Down, kRAlt), Records(Down, 'K', kModAlt, 'K')});
  heldLate.hooks.SetCaptureSlot(-1);
  heldLate.Run({Swallows(Up, 'K'), Swallows(Up, kRAlt), Passes(Down, kLAlt), Passes(Up, kLAlt)});
  Input afterShift;  // with another modifier held it is an ordinary modifier
  afterShift.hooks.SetCaptureSlot(HotkeySlot::Snip);
  afterShift.Run({Passes(Down, kLShift), Passes(Down, kRCtrl), Records(Down, 'P', kModCtrl | kModShift, 'P')});
  Input interrupted;  // another modifier pressed meanwhile: nothing recorded on release
  interrupted.hooks.SetCaptureSlot(HotkeySlot::Snip);
  interrupted.Run({Swallows(Down, kRShift), Passes(Down, kLCtrl), Swallows(Up, kRShift)});
  EXPECT_EQ(interrupted.hooks.captureSlot(), HotkeySlot::Snip);
}

TEST(Recording, MouseButtonsAreRecordedWithTheModifiersHeldEvenWhileHidden) {
  Input input;
  input.hooks.SetCaptureSlot(HotkeySlot::SnipAlt);
  input.Run({Passes(Down, kLCtrl), Records(ButtonDown, kRight, kModCtrl, kRight), Swallows(ButtonUp, kRight)});
  EXPECT_EQ(input.hooks.captureSlot(), HotkeySlot::SnipAlt);
  input.Run({Swallows(ButtonDown, kKeyMiddleButton), Swallows(ButtonUp, kKeyMiddleButton)});  // no second result
  input.hooks.SetCaptureSlot(-1);
  input.Run({Passes(ButtonDown, kKeyMiddleButton), Passes(ButtonUp, kKeyMiddleButton)});
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
  input.Run({Fires(Down, kF9, HotkeyAction::Scan)});
  input.hooks.Reset();
  input.Run({Fires(Down, kF9, HotkeyAction::Scan)});  // the fired key is forgotten too
}

}  // namespace
