#include "hotkeys/hotkey_editor.h"

#include <gtest/gtest.h>

#include <string>

#include "hotkeys/hook_dispatch.h"

namespace {

// Recording through the hooks and applying the result, as the panel does with the posted message.
CaptureOutcome Record(HotkeyTable& table, int slot, uint32_t key, uint32_t sides = 0) {
  HookDispatcher hooks;
  hooks.SetTable(table);
  hooks.SetCaptureSlot(slot);
  HookVerdict verdict = hooks.OnKey(KeyTransition::Down, key, sides);
  EXPECT_TRUE(verdict.post.has_value());
  EXPECT_EQ(verdict.post->message, MsgHotkeyCaptured);
  return ApplyCapturedHotkey(table, slot, verdict.post->wParam, verdict.post->lParam);
}

TEST(HotkeyEditor, ABindingHeldByAnotherSlotIsRefusedAndNothingChanges) {
  HotkeyTable table = DefaultHotkeyTable();
  EXPECT_EQ(Record(table, HotkeySlot::SnipAlt, 0x78), CaptureOutcome::AlreadyAssigned);
  EXPECT_EQ(table, DefaultHotkeyTable());
  HotkeyStatus status = StatusAfterCapture(CaptureOutcome::AlreadyAssigned);
  EXPECT_STREQ(status.text, L"Already assigned");
  EXPECT_TRUE(status.error);
  // Sides are not told apart: right Ctrl + left Alt + H is the secondary show/hide binding.
  EXPECT_EQ(Record(table, HotkeySlot::Quit, 'H', ModifierSide::RightCtrl | ModifierSide::LeftAlt),
            CaptureOutcome::AlreadyAssigned);
}

TEST(HotkeyEditor, DeleteOnASecondaryClearsIt) {
  HotkeyTable table = DefaultHotkeyTable();
  EXPECT_EQ(Record(table, HotkeySlot::ScanAlt, 46), CaptureOutcome::Cleared);
  EXPECT_FALSE(table[HotkeySlot::ScanAlt].bound());
  EXPECT_STREQ(StatusAfterCapture(CaptureOutcome::Cleared).text, L"Cleared");
  EXPECT_FALSE(StatusAfterCapture(CaptureOutcome::Cleared).error);
  // Two cleared secondaries do not conflict with each other.
  EXPECT_EQ(Record(table, HotkeySlot::QuitAlt, 8), CaptureOutcome::Cleared);
}

TEST(HotkeyEditor, NewBindingIsStoredAndTheSameBindingAgainIsNoConflict) {
  HotkeyTable table = DefaultHotkeyTable();
  EXPECT_EQ(Record(table, HotkeySlot::Snip, 'S', ModifierSide::LeftShift), CaptureOutcome::Saved);
  EXPECT_EQ(table[HotkeySlot::Snip], (Hotkey{kModShift, 'S'}));
  EXPECT_STREQ(StatusAfterCapture(CaptureOutcome::Saved).text, L"Saved");
  EXPECT_EQ(Record(table, HotkeySlot::Scan, 0x78), CaptureOutcome::Saved);
}

TEST(HotkeyEditor, CancelAndMalformedResultsKeepTheBinding) {
  HotkeyTable table = DefaultHotkeyTable();
  EXPECT_EQ(Record(table, HotkeySlot::Scan, 27), CaptureOutcome::Cancelled);
  EXPECT_EQ(ApplyCapturedHotkey(table, HotkeySlot::Scan, kCapturedClear, 0), CaptureOutcome::Cancelled);
  EXPECT_EQ(ApplyCapturedHotkey(table, -1, 0, 'K'), CaptureOutcome::Cancelled);
  EXPECT_EQ(ApplyCapturedHotkey(table, 10, 0, 'K'), CaptureOutcome::Cancelled);
  EXPECT_EQ(ApplyCapturedHotkey(table, HotkeySlot::Snip, 0, 0x1000), CaptureOutcome::Cancelled);
  EXPECT_EQ(table, DefaultHotkeyTable());
  EXPECT_STREQ(StatusAfterCapture(CaptureOutcome::Cancelled).text, L"");
  EXPECT_EQ(ApplyCapturedHotkey(table, HotkeySlot::Snip, 0xFFF3, 'K'), CaptureOutcome::Saved);
  EXPECT_EQ(table[HotkeySlot::Snip], (Hotkey{3, 'K'}));  // stray bits above the four modifiers dropped
}

}  // namespace
