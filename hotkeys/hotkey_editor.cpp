#include "hotkeys/hotkey_editor.h"

#include "hotkeys/hook_dispatch.h"

namespace {

constexpr uint32_t kHighestKeyCode = 255;

bool HeldByAnotherSlot(const HotkeyTable& table, int slot, Hotkey hotkey) {
  for (int other = 0; other < kHotkeySlotCount; ++other) {
    if (other != slot && table[other].bound() && table[other] == hotkey) return true;
  }
  return false;
}

}  // namespace

CaptureOutcome ApplyCapturedHotkey(HotkeyTable& table, int slot, uint32_t wParam, uint32_t lParam) {
  if (!IsValidSlot(slot)) return CaptureOutcome::Cancelled;
  if (wParam == kCapturedClear && IsSecondarySlot(slot)) {
    table[slot] = Hotkey{};
    return CaptureOutcome::Cleared;
  }
  if (wParam == kCapturedClear || lParam == 0 || lParam > kHighestKeyCode) return CaptureOutcome::Cancelled;
  Hotkey hotkey{wParam & kModAll, lParam};
  if (HeldByAnotherSlot(table, slot, hotkey)) return CaptureOutcome::AlreadyAssigned;
  table[slot] = hotkey;
  return CaptureOutcome::Saved;
}

HotkeyStatus StatusAfterCapture(CaptureOutcome outcome) {
  switch (outcome) {
    case CaptureOutcome::Cleared: return {L"Cleared", false};
    case CaptureOutcome::Saved: return {L"Saved", false};
    case CaptureOutcome::AlreadyAssigned: return {L"Already assigned", true};
    case CaptureOutcome::Cancelled: break;
  }
  return {L"", false};
}
